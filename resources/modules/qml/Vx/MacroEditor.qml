import QtQuick

// Placeholder of the macro editor: its macro list, the recording and inserting states the main
// screen routes keys by, the three signals the main screen handles, and the calls it makes.
// Recording, editing and sending macros belong to the finished page.
Rectangle {
    id: editor

    property var macroEditorLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action",
        "Stop Record", "Times", "OK", "Start Record", "Delay", "Delete", "Import", "Export",
        "Insert Delay", "Insert Key", "Insert Left Key", "Insert Middle Key", "Insert Right Key",
        "", ""]
    property bool isInputting: false
    property bool isInsertting: false
    // Selected macro, −1 for none.
    property int currentMacro: -1
    property alias macroNames: names
    // What reached this page: key events {kind, isDown, usbCode} and macro sends {index, name}.
    property var receivedKeys: []
    property var sentMacros: []

    signal deleteMacro(var macroName)
    signal modifyMacroName(var oldMacroName, var newMacroName)
    signal modifyMacroData(var macroName)

    width: 640
    height: 448
    color: colorGray0
    border.color: colorGray1

    function init() {
        const stored = ui_View.getNameList(0) || [];
        const list = [];
        for (let i = 0; i < stored.length; ++i)
            list.push(String(stored[i]));
        if (list.length === 2 && list[1] === "quillmarker")
            list.pop();
        names.clear();
        for (const name of list)
            names.append({ textValue: name });
        keyAssigmentMain.macroList.addData(list, true);
    }

    function sendMacro(index, macroName) {
        sentMacros = sentMacros.concat([{ index: index, name: String(macroName) }]);
    }

    function detectKeyboard(isDown, usbCode) {
        receivedKeys = receivedKeys.concat([{ kind: "record", isDown: isDown, usbCode: usbCode }]);
    }

    function detectInput(isDown, usbCode) {
        receivedKeys = receivedKeys.concat([{ kind: "insert", isDown: isDown, usbCode: usbCode }]);
    }

    function macroEditorFocus() {
    }

    MouseArea {
        anchors.fill: parent
        drag.target: editor
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: 1024 - editor.width
        drag.maximumY: 640 - editor.height
    }

    Rectangle {
        width: parent.width
        height: 40
        color: colorBlack
        Text {
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            text: macroEditorLang[0]
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            color: fontColor
        }
        Image {
            objectName: "macroEditorClose"
            x: parent.width - 16 - width
            anchors.verticalCenter: parent.verticalCenter
            source: skinImage("macros", "close")
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    editor.isInputting = false;
                    editor.visible = false;
                    mask.visible = false;
                }
            }
        }
    }

    Rectangle {
        x: 16
        y: 64
        width: 200
        height: 27 * 12
        color: colorBlack
        Text {
            x: 8
            y: -18
            text: macroEditorLang[1]
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: colorGray2
        }
        ListView {
            anchors.fill: parent
            clip: true
            model: ListModel { id: names }
            delegate: Rectangle {
                id: row
                required property int index
                required property string textValue
                width: ListView.view.width
                height: 27
                color: row.index === editor.currentMacro ? colorOrange : "transparent"
                Text {
                    x: 16
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.textValue
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    color: fontColor
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: editor.currentMacro = row.index
                }
            }
        }
    }

    Rectangle {
        x: 232
        y: 64
        width: 392
        height: 27 * 12
        color: colorBlack
        Text {
            x: 8
            y: -18
            text: macroEditorLang[4]
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: colorGray2
        }
    }
}
