import QtQuick

// Placeholder of the key function panel: the working and factory key matrices, their loading and
// sending, the left-click check and one row per button. The editing belongs to the key
// assignment dialog.
Rectangle {
    id: panel

    property bool isSave: false
    property var keyMatrixLang: ["Key ", "Key Function", "", "", ""]
    property alias modKeys: modKeysModel
    property alias modKeys_tmp: modKeysTmpModel

    signal enterBtn(int index)
    signal leaveBtn(int index)
    signal clickBtn(int index)

    readonly property int rows: Math.max(0, Math.min(14, mouseMain.keyCount))

    width: 232
    height: 40 + 26 * rows + 6
    color: colorBlack

    function fill(model, index, codes) {
        const c = [0, 0, 0, 0];
        for (let k = 0; k < 4 && k < codes.length; ++k) {
            const v = parseInt(codes[k], 10);
            c[k] = isNaN(v) ? 0 : v;
        }
        const record = {
            keyCode0: c[0], keyCode1: c[1], keyCode2: c[2], keyCode3: c[3],
            keyText: keyAssigmentMain.keyCodeToString(c[0], c[1], c[2], c[3])
        };
        if (index < model.count)
            model.set(index, record);
        else
            model.append(record);
    }

    function init(isSendData, isRecovery) {
        for (let j = 0; j < 16; ++j) {
            fill(modKeysModel, j, ui_View.mouseGetKeydefine(j, isRecovery));
            fill(modKeysTmpModel, j, ui_View.mouseGetKeydefine(j, true));
        }
        if (isSendData)
            modKeysModel.saveData();
    }

    readonly property var defaults: [[0x00, 0x00, 0xF0, 0x00], [0x00, 0x00, 0xF1, 0x00],
        [0x00, 0x00, 0xF2, 0x00], [0x00, 0x00, 0xF4, 0x00], [0x00, 0x00, 0xF3, 0x00],
        [0x05, 0x00, 0x01, 0x00], [0x05, 0x00, 0x02, 0x00], [0x00, 0xF0, 0x1E, 0x02],
        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
        [0xFF, 0x00, 0x01, 0x00], [0xFF, 0x00, 0x02, 0x00]]

    Component.onCompleted: {
        for (let j = 0; j < 16; ++j) {
            fill(modKeysModel, j, defaults[j]);
            fill(modKeysTmpModel, j, defaults[j]);
        }
    }

    ListModel {
        id: modKeysModel

        function saveData() {
            const values = [];
            for (let n = 0; n < 16; ++n) {
                const key = get(n);
                values.push(key.keyCode0, key.keyCode1, key.keyCode2, key.keyCode3);
            }
            const guns = gunControlMain.gunNumberModel;
            const periods = [gunControlMain.selectGun1, gunControlMain.selectGun2,
                             gunControlMain.selectGun3].map(
                        (gun) => parseInt(guns.get(gun).gunPeriod, 10) || 0);
            ui_View.mouseSetKeyMatrix(values, true, periods);
        }

        function checkOneLeftKey() {
            let lefts = 0;
            let leftKey = -1;
            for (let n = 0; n < count; ++n) {
                const key = get(n);
                if (key.keyCode0 === 0x00 && key.keyCode2 === 0xF0) {
                    ++lefts;
                    leftKey = n;
                }
            }
            return lefts === 1 && mouseMain.selectKey === leftKey;
        }
    }

    ListModel {
        id: modKeysTmpModel
    }

    Text {
        x: 8
        y: 12
        text: keyMatrixLang[1]
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        font.bold: true
        color: fontColor
    }
    Image {
        x: parent.width - 8 - width
        y: 12
        source: skinImage("mouse", "back")
    }

    Column {
        x: 8
        y: 40
        Repeater {
            model: modKeysModel
            delegate: Rectangle {
                id: row
                required property int index
                required property string keyText
                visible: index < panel.rows
                objectName: "keyRow" + index
                width: 216
                height: 26
                color: rowArea.containsMouse ? colorOrange : "transparent"

                Text {
                    x: 8
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.index < 8 ? keyMatrixLang[0] + " " + (row.index + 1) : ""
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    color: colorGray2
                }
                Text {
                    x: 80
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.keyText
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    color: fontColor
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: panel.enterBtn(row.index)
                    onExited: panel.leaveBtn(row.index)
                    onClicked: panel.clickBtn(row.index)
                }
            }
        }
    }
}
