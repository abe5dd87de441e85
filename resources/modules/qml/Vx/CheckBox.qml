import QtQuick

// Label followed by a 12 × 12 box. A click announces btnClick(index) before toggling, so a
// handler still sees the old isSelect.
Item {
    id: root

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property real gapValue: 8
    property color bgColor: "transparent"
    property color borderColor: colorGray2

    signal btnClick(int index)

    implicitWidth: label.width + gapValue + box.width
    implicitHeight: Math.max(label.height, box.height)

    Text {
        id: label
        anchors.verticalCenter: parent.verticalCenter
        text: root.textValue
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        color: fontColor
    }

    Rectangle {
        id: box
        objectName: "box"
        x: label.width + root.gapValue
        anchors.verticalCenter: parent.verticalCenter
        width: 12
        height: 12
        radius: 2
        color: root.bgColor
        border.color: root.borderColor
        border.width: 1
    }

    Image {
        objectName: "check"
        x: box.x + 3
        y: box.y - 3
        source: sourceCheckBtn
        visible: root.isSelect
    }

    MouseArea {
        anchors.fill: parent
        anchors.margins: -6
        onClicked: {
            root.btnClick(root.index);
            root.isSelect = !root.isSelect;
        }
    }
}
