import QtQuick

// Stands in for the scene's root item: the palette, fonts and image paths the shared controls
// look up by name.
Item {
    id: mainIten

    width: 1024
    height: 640

    property int skin_No: 1

    function skinImage(page, name) {
        return "qrc:/" + page + "/modules/img/skin" + skin_No + "/" + page + "/" + name + ".png";
    }

    property string fontFamily: "微软雅黑"
    property int fontNormalSize: 12
    property int fontMiddleSize: 14
    property int fontMinSize: 10
    property color fontColor: "#ffffff"
    property color colorGray0: "#1a1a1a"
    property color colorGray1: "#3c3c3c"
    property color colorGray2: "#969696"
    property color colorGray3: "#d1d1d1"
    property color colorBlue: "#09347f"
    property color colorOrange: "#cf3e00"
    property color colorBlack: Qt.rgba(0, 0, 0, 1)

    property string sourceBackground: "qrc:/modules/img/background.png"
    property string sourceBackgroundTop: "qrc:/modules/img/backgroundTop.png"
    property string sourceBackgroundBottom: "qrc:/modules/img/backgroundBottom.png"
    property string sourceTitleBar: "qrc:/modules/img/titleBar.png"
    property string sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
    property string sourcePowerOn: skinImage("index", "powerOn")
    property string sourceSlide: skinImage("index", "slide")
    property string sourceDropBtn: skinImage("index", "dropBtn")
    property string sourceDropBtnU: skinImage("index", "dropBtnU")
    property string sourceCheckBtn: skinImage("index", "checkBtn")
    property string sourceAsk: skinImage("index", "ask")
    property string sourceAskH: skinImage("index", "askH")
    property string sourceMinBtn: skinImage("index", "minBtn")
    property string sourceMinBtnH: skinImage("index", "minBtnH")
    property string sourceCloseBtn: skinImage("index", "closeBtn")
    property string sourceCloseBtnH: skinImage("index", "closeBtnH")
}
