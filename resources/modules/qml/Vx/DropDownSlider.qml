import QtQuick

// Drop-down slider: a head like the drop-down list's; below it opens a 24-pixel panel holding a
// slider 16 pixels narrower than the control.
Item {
    id: root

    property bool isDrop: false
    property string textValue: ""
    property color borderColor: colorGray1
    property color bgColor: colorGray0
    property color sliderBgColor: colorGray0
    property color sliderbarBg: colorGray1
    property alias sliderControl: slider
    property real horizontalOffset: 0

    signal btnClick()
    signal dragSignal(bool isDrag)
    signal valueChange(real index)

    function closeMenu() {
        if (isDrop)
            d.slide(false);
    }

    function setValue(ration) {
        slider.setRatioValue(ration);
    }

    width: 120
    height: 24

    QtObject {
        id: d

        readonly property int panelHeight: 24
        property real openness: 0

        function slide(open) {
            root.isDrop = open;
            slideAnimation.to = open ? 1 : 0;
            slideAnimation.restart();
        }
    }

    NumberAnimation {
        id: slideAnimation
        objectName: "slideAnimation"
        target: d
        property: "openness"
        duration: 180
        easing.type: Easing.OutQuad
    }

    Rectangle {
        id: head
        objectName: "head"
        width: root.width
        height: 24
        color: root.bgColor
        border.color: root.borderColor
        border.width: 1

        Text {
            anchors.verticalCenter: parent.verticalCenter
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: root.horizontalOffset
            text: root.textValue
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }

        Image {
            objectName: "arrow"
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            source: root.isDrop ? sourceDropBtnU : sourceDropBtn
        }

        MouseArea {
            anchors.fill: parent
            onClicked: {
                root.btnClick();
                if (!slideAnimation.running)
                    d.slide(!root.isDrop);
            }
        }
    }

    Item {
        id: dropArea
        objectName: "dropArea"
        y: head.height
        width: root.width
        height: d.panelHeight
        clip: true
        visible: d.openness > 0

        Rectangle {
            id: panel
            width: parent.width
            height: d.panelHeight
            y: -d.panelHeight * (1 - d.openness)
            color: root.sliderBgColor
            border.color: root.borderColor
            border.width: 1

            SliderButton {
                id: slider
                objectName: "slider"
                width: root.width - 16
                anchors.centerIn: parent
                colorBg: root.sliderbarBg
                onValueChange: (tmpValue) => root.valueChange(tmpValue)
                onDragSignal: (isDrag) => root.dragSignal(isDrag)
            }
        }
    }
}
