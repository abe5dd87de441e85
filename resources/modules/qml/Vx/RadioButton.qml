import QtQuick

// 10 × 10 mark with an orange dot while selected, label to its right. A click selects first
// and then announces btnClick(index); it never deselects — the page clears the other buttons
// of its group.
Item {
    id: root

    property string textValue: ""
    property bool isSelect: false
    property int index: -1
    property real gapValue: 16

    signal btnClick(int index)

    implicitWidth: mark.width + gapValue + label.width
    implicitHeight: Math.max(mark.height, label.height)

    Rectangle {
        id: mark
        objectName: "mark"
        anchors.verticalCenter: parent.verticalCenter
        width: 10
        height: 10
        radius: 4
        color: colorGray3

        Rectangle {
            objectName: "dot"
            anchors.centerIn: parent
            width: 6
            height: 6
            radius: 2
            color: colorOrange
            visible: root.isSelect
        }
    }

    Text {
        id: label
        x: mark.width + root.gapValue
        anchors.verticalCenter: parent.verticalCenter
        text: root.textValue
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        color: fontColor
    }

    MouseArea {
        anchors.fill: parent
        anchors.margins: -6
        onClicked: {
            root.isSelect = true;
            root.btnClick(root.index);
        }
    }
}
