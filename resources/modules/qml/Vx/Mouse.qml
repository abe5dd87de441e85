import QtQuick

// Placeholder of the mouse picture: the picture, the lit button and the number labels. A label
// selects its button and opens the key assignment dialog.
Item {
    id: picture

    property int keyCount: 8
    property int selectKey: -1

    signal btnClick()

    width: 1024
    height: 640

    // Label centres, buttons 0 … 7.
    readonly property var labelCentres: [[340, 160], [684, 140], [684, 180], [340, 339],
        [340, 387], [684, 233], [684, 263], [340, 236]]

    // The picture and its lit buttons are cropped to the part of the window they cover.
    readonly property point pictureOrigin: Qt.point(350, 115)

    Image {
        asynchronous: true
        x: picture.pictureOrigin.x
        y: picture.pictureOrigin.y
        source: skinImage("mouse", "mouse")
    }
    Image {
        asynchronous: true
        x: picture.pictureOrigin.x
        y: picture.pictureOrigin.y
        visible: picture.selectKey >= 0 && picture.selectKey < 8
        source: visible ? skinImage("mouse", "key" + picture.selectKey + "H") : ""
    }

    Repeater {
        model: 8
        delegate: Image {
            asynchronous: true
            id: label
            required property int index
            objectName: "keyLabel" + index
            visible: index < picture.keyCount
            x: picture.labelCentres[index][0] - 10
            y: picture.labelCentres[index][1] - 10
            source: picture.selectKey === index || labelArea.containsMouse
                    ? skinImage("mouse", "keyLabelH") : skinImage("mouse", "keyLabel")

            Text {
                anchors.centerIn: parent
                text: label.index + 1
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                color: fontColor
            }
            MouseArea {
                id: labelArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    picture.selectKey = label.index;
                    picture.btnClick();
                    mask.visible = true;
                    keyAssigmentMain.show(label.index);
                }
            }
        }
    }
}
