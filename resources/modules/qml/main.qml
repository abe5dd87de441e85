import QtQuick
import "basic"
import "Vx"

// The root of the scene: the palette every page and control looks up by name, the functions the
// native side calls, the start-up logo and the busy indicator. The screen itself (MainScreen.qml)
// is built in the background while the logo shows, so the window appears at once; calls that need
// it before it is ready are carried out when it is.
Item {
    id: mainIten
    objectName: "mainIten"
    width: 1024
    height: 640
    visible: false

    // ---- Palette, fonts, images -------------------------------------------------------------
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
    property string sourceBack: skinImage("index", "back")
    property string sourceBackH: skinImage("index", "backH")

    // ---- Model and state --------------------------------------------------------------------
    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
        "Reset factory setting", "Cancel", "OK", "System setting", "Save", "", "", "", ""]
    property string language: "ChineseSimplified"
    property string url: "https://www.example.com/"
    property bool isColorful: false
    property bool isGun: true
    property string icType: "553-24"
    property bool isPownOn: false
    // The screen, once built; null before.
    readonly property Item screen: screenLoader.status === Loader.Ready ? screenLoader.item : null
    readonly property bool isUnsaved: screen ? screen.isUnsaved : false
    // The first busy period has ended: the logo gives way to the screen.
    property bool startupDone: false

    signal msg_KB(var isDown, var usbCode)
    signal msg_MS(var isDown, var buttonCode, var x, var y)

    QtObject {
        id: d
        // a controlUIEnable(false) … controlUIEnable(true) span is running
        property bool sequenceBusy: false
        // initUI arrived before the screen was built
        property bool initPending: false

        function enableIfIdle() {
            if (sequenceBusy || busyTimer.running)
                return;
            ui_View.setEnabled(true);
            busy.setBusy(false);
        }
    }

    // ---- Functions the native side calls ----------------------------------------------------

    function initUI() {
        setProtectUI(1000);
        visible = true;
        if (screen)
            screen.initPages();
        else
            d.initPending = true;
    }

    function run() {
    }

    function setProtectUI(interval) {
        busy.setBusy(true);
        ui_View.setEnabled(false);
        busyTimer.interval = Math.max(0, Number(interval) || 0);
        busyTimer.restart();
    }

    function setCurrentDPI(dpiValue) {
        // Before the screen exists there is no stage to show; initUI reads it when it runs.
        if (screen)
            screen.setCurrentDPI(dpiValue);
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode);
    }

    function detectMouse(isDown, buttonCode, x, y) {
        msg_MS(isDown, buttonCode, x, y);
    }

    // ---- Functions the pages call -----------------------------------------------------------

    // Blocks input around a sequence of device commands. A protect period still running keeps
    // input blocked past the end of the sequence, and the other way round.
    function controlUIEnable(isEnable) {
        if (!isEnable) {
            d.sequenceBusy = true;
            busy.setBusy(true);
            ui_View.setEnabled(false);
        } else {
            d.sequenceBusy = false;
            d.enableIfIdle();
        }
    }

    function mainFocus() {
        if (screen)
            screen.mainFocus();
    }

    Timer {
        id: busyTimer
        interval: 1000
        onTriggered: {
            d.enableIfIdle();
            if (powerOn.visible) {
                powerOn.visible = false;
                mainIten.startupDone = true;
            }
        }
    }

    KeyCodeString {
        id: _KeyCodeString
    }

    // ---- Window -----------------------------------------------------------------------------

    Image {
        id: powerOn
        objectName: "powerOn"
        anchors.centerIn: parent
        source: sourcePowerOn
    }

    Loader {
        id: screenLoader
        objectName: "screenLoader"
        anchors.fill: parent
        asynchronous: true
        visible: mainIten.startupDone
        source: "MainScreen.qml"
        onLoaded: {
            if (d.initPending) {
                d.initPending = false;
                item.initPages();
            }
        }
    }

    BusyIndicator {
        id: busy
        objectName: "busy"
        anchors.centerIn: parent
        z: 10
    }
}
