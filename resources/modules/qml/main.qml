import QtQuick
import "basic"

// The root of the scene until the main screen is built: it defines the functions the native side
// calls and shows the start-up state. Replacing this file needs no change to native code.
Item {
    id: mainIten
    width: 1024
    height: 640
    visible: false

    property bool isPownOn: false
    property int currentDpiStage: -1
    property string lastInput: ""

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
    property string sourceTitleBar: "qrc:/modules/img/titleBar.png"
    property string sourceTitleLogo: "qrc:/modules/img/titleLogo.png"
    property string sourcePowerOn: skinImage("index", "powerOn")

    function initUI() {
        console.log("scene: initUI");
        setProtectUI(1000);
        visible = true;
        isPownOn = true;
        currentDpiStage = ui_View.mouseGetCurrentDPI() - 1;
    }
    function run() {
        console.log("scene: run");
    }
    function setProtectUI(interval) {
        busy.setBusy(true);
        ui_View.setEnabled(false);
        busyTimer.interval = interval;
        busyTimer.restart();
    }
    function setCurrentDPI(dpiValue) {
        console.log("scene: setCurrentDPI " + dpiValue);
        if (dpiValue !== 0)
            currentDpiStage = dpiValue - 1;
    }
    function detectKeyboard(isDown, usbCode) {
        console.log("scene: detectKeyboard " + isDown + " " + usbCode);
        lastInput = "key 0x" + Number(usbCode).toString(16) + (isDown ? " down" : " up");
    }
    function detectMouse(isDown, buttonCode, x, y) {
        console.log("scene: detectMouse " + isDown + " " + buttonCode + " " + x + " " + y);
        lastInput = "button 0x" + Number(buttonCode).toString(16) + (isDown ? " down" : " up")
                + " at " + x + ", " + y;
    }

    Timer {
        id: busyTimer
        interval: 1000
        onTriggered: {
            ui_View.setEnabled(true);
            busy.setBusy(false);
            if (powerOn.visible) {
                powerOn.visible = false;
                environment.visible = true;
            }
        }
    }

    Image {
        id: powerOn
        anchors.centerIn: parent
        source: sourcePowerOn
    }

    Environment {
        id: environment
        visible: false

        Column {
            anchors.centerIn: parent
            spacing: 12
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Mouse connected"
                font.family: fontFamily
                font.pixelSize: 24
                color: fontColor
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: mainIten.currentDpiStage >= 0 ? "DPI stage " + (mainIten.currentDpiStage + 1) : ""
                font.family: fontFamily
                font.pixelSize: fontMiddleSize
                color: colorOrange
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: mainIten.lastInput
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                color: colorGray3
            }
        }
    }

    BusyIndicator {
        id: busy
        anchors.centerIn: parent
        z: 10
    }
}
