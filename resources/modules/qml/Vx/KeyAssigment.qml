import QtQuick

// Placeholder of the key assignment dialog: the edited entry, the two capture modes with their
// key input, the display text of an entry and the macro list the macro editor fills.
Rectangle {
    id: dialog

    property var keyAssigmentLang: ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key",
        "Forward Key", "Back Key", "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate",
        "Times", "Endness", "Group Function", "Media Function", "Macro Function", "Macro Editor",
        "Macro runs one-time after pressing the button",
        "Macro runs endless loop until any button is pressed",
        "Macro runs endless loop until button is released", "DPI Function", "DPI+", "DPI-",
        "DPI LOOP", "Windows Function", "Shortcut Function", "Player", "Next", "Privous", "Stop",
        "Mute", "Play/Pause", "Volumn+", "Volumn-", "My PC", "Index", "Search", "Max", "Min",
        "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo",
        "Select All", "Gun Function", "One Gun", "Two Gun", "Three Gun", "Sniper Key", "", "", ""]
    property int keyIndex: 0
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    property string keyCode: "00000000"
    property bool isFireInput: false
    property bool isComboInput: false
    // Key events the capture modes received: {isDown, usbCode, index}.
    property var capturedKeys: []
    property alias macroList: macroListBox

    width: 416
    height: 404
    y: Math.round((640 - height) / 2)
    color: colorGray0
    border.color: colorGray1

    function init() {
        macroListBox.closeMenu();
    }

    function keyCodeToString(code0, code1, code2, code3) {
        const c0 = Number(code0), c1 = Number(code1), c2 = Number(code2), c3 = Number(code3);
        if (c0 === 0x00 && c1 === 0xF0 && c2 === 0x1E && c3 === 0x02)
            return keyAssigmentLang[7];
        if (c0 === 0x00) {
            const mouse = { 0xF0: 2, 0xF2: 3, 0xF1: 4, 0xF4: 5, 0xF3: 6 }[c2];
            if (mouse !== undefined)
                return keyAssigmentLang[mouse];
        }
        if (c0 === 0x05 && c2 >= 1 && c2 <= 4)
            return keyAssigmentLang[[22, 23, 24, 56][c2 - 1]];
        return [c0, c1, c2, c3].map((c) => (c < 16 ? "0" : "") + c.toString(16)).join(" ");
    }

    function detectKeyboard(isDown, usbCode, index) {
        capturedKeys = capturedKeys.concat([{ isDown: isDown, usbCode: usbCode, index: index }]);
        if (index === 0)
            isFireInput = false;
    }

    function keyAssigmentFocus() {
        macroListBox.closeMenu();
    }

    function close() {
        isFireInput = false;
        isComboInput = false;
        visible = false;
        mask.visible = false;
        mouseMain.selectKey = -1;
    }

    MouseArea {
        anchors.fill: parent
        drag.target: dialog
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: 1024 - dialog.width
        drag.maximumY: 640 - dialog.height
    }

    Rectangle {
        width: parent.width
        height: 40
        color: colorBlack
        Text {
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            text: keyAssigmentLang[0] + (dialog.keyIndex + 1) + " : " + dialog.keyString
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            color: fontColor
        }
        Image {
            objectName: "keyAssigmentClose"
            x: parent.width - 16 - width
            anchors.verticalCenter: parent.verticalCenter
            source: skinImage("mouse", "close")
            MouseArea {
                anchors.fill: parent
                onClicked: dialog.close()
            }
        }
    }

    Column {
        x: 16
        y: 56
        spacing: 12

        CaptureBox {
            objectName: "fireInput"
            label: keyAssigmentLang[8]
            active: dialog.isFireInput
            onClicked: {
                dialog.isComboInput = false;
                dialog.isFireInput = true;
            }
        }
        CaptureBox {
            objectName: "comboInput"
            label: keyAssigmentLang[14]
            active: dialog.isComboInput
            onClicked: {
                dialog.isFireInput = false;
                dialog.isComboInput = true;
            }
        }
        DropDownList {
            id: macroListBox
            width: 200
            currentSelect: -1
            mdItems: ListModel {}

            function addData(macroData, isInit) {
                mdItems.clear();
                for (let i = 0; i < macroData.length; ++i)
                    mdItems.append({ textValue: String(macroData[i]) });
            }
        }
    }

    component CaptureBox: Row {
        id: box
        property string label: ""
        property bool active: false
        signal clicked()
        spacing: 16

        Text {
            width: 120
            text: box.label
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }
        Rectangle {
            width: 200
            height: 24
            color: box.active ? colorOrange : colorBlack
            border.color: colorGray1
            Text {
                anchors.centerIn: parent
                text: keyAssigmentLang[10]
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                color: fontColor
            }
            MouseArea {
                anchors.fill: parent
                onClicked: box.clicked()
            }
        }
    }
}
