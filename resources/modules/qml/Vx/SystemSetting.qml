import QtQuick

// Placeholder of the system settings page: loads, stores and applies the pointer speed,
// double-click speed and wheel lines of the current profile. The sliders and fields belong to
// the finished page; the values are shown as text.
Rectangle {
    id: systemPage

    property var systemSettingLang: ["System Setting", "Mouse Speed", "Double Click Speed", "Slow",
        "Fast", "Scroll Speed", "Number of Rows", "Scroll one Screen", "", "", "", "", "", "", ""]
    readonly property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
    property int mouseRate: 3
    property int doubleRate: 3
    property int scrollRate: 1

    width: 416
    height: 312
    color: colorGray0
    border.color: colorGray1

    function step(x) {
        for (let i = 0; i < compareValue.length; ++i) {
            if (compareValue[i] > x)
                return i;
        }
        return 0;
    }

    function toInt(value, fallback) {
        const v = parseInt(value, 10);
        return isNaN(v) ? fallback : v;
    }

    function init(isSendData, isRecovery) {
        mouseRate = toInt(ui_View.getData("mouse/mouseRate", isRecovery), mouseRate);
        doubleRate = toInt(ui_View.getData("mouse/doubleRate", isRecovery), doubleRate);
        scrollRate = toInt(ui_View.getData("mouse/scrollRate", isRecovery), scrollRate);
        if (isSendData)
            saveData(true, 0);
    }

    function saveData(isSendData, isStep) {
        ui_View.setData("mouse/mouseRate", mouseRate);
        ui_View.setData("mouse/doubleRate", doubleRate);
        const scroll = scrollRate > 100 ? 1000 : scrollRate;
        ui_View.setData("mouse/scrollRate", scroll);
        if (!isSendData)
            return;
        if (isStep === 0 || isStep === 1)
            ui_View.mouseSetCursorSpeed(step(mouseRate));
        if (isStep === 0 || isStep === 2)
            ui_View.mouseSetDoubleClickSpeed(step(doubleRate));
        if (isStep === 0 || isStep === 3)
            ui_View.mouseSetVerticalScrollLines(scroll);
    }

    function systemSettingFocus() {
    }

    MouseArea {
        anchors.fill: parent
        drag.target: systemPage
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: 1024 - systemPage.width
        drag.maximumY: 640 - systemPage.height
        onPressed: systemPage.systemSettingFocus()
    }

    Rectangle {
        width: parent.width
        height: 40
        color: colorBlack
        Text {
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            text: systemSettingLang[0]
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            color: fontColor
        }
        Image {
            objectName: "systemSettingClose"
            x: parent.width - 16 - width
            anchors.verticalCenter: parent.verticalCenter
            source: skinImage("mouseRate", "close")
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    systemPage.visible = false;
                    mask.visible = false;
                }
            }
        }
        Rectangle {
            y: parent.height
            width: parent.width
            height: 1
            color: colorOrange
        }
    }

    Column {
        x: 32
        y: 64
        spacing: 16
        Repeater {
            model: [
                systemSettingLang[1] + ": " + systemPage.step(systemPage.mouseRate),
                systemSettingLang[2] + ": " + systemPage.step(systemPage.doubleRate),
                systemSettingLang[5] + ": " + (systemPage.scrollRate > 100
                    ? systemSettingLang[7] : systemSettingLang[6] + " " + systemPage.scrollRate)
            ]
            delegate: Text {
                required property string modelData
                text: modelData
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                color: fontColor
            }
        }
    }
}
