import QtQuick

// Drop-down grid: a head like the drop-down list's; its items open below it in three columns,
// each cell as wide as the head. Choosing a cell emits btnClick(); the page then reads
// currentSelect.
Item {
    id: root

    property bool isDrop: false
    property var mdItems: ListModel {}
    property int currentSelect: 0
    property string textValue: d.itemText(currentSelect, d.revision)
    property color borderColor: colorGray1
    property color bgColor: colorGray0
    property real horizontalOffset: 0

    signal btnClick()
    signal valueChange(int index)

    function closeMenu() {
        d.slide(false);
    }

    width: 120
    height: 24

    QtObject {
        id: d

        readonly property int itemCount: root.mdItems ? root.mdItems.count : 0
        readonly property int rowHeight: 24
        readonly property int gridHeight: rowHeight * Math.ceil(itemCount / 3)
        property real openness: 0
        property int revision: 0

        function itemText(index, rev) {
            const items = root.mdItems;
            if (!items || index < 0 || index >= items.count)
                return "";
            const item = items.get(index);
            return item && item.textValue !== undefined ? String(item.textValue) : "";
        }

        function slide(open) {
            root.isDrop = open;
            slideAnimation.to = open ? 1 : 0;
            slideAnimation.restart();
        }

        function choose(index) {
            if (!root.isDrop || slideAnimation.running)
                return;
            if (itemText(index, revision) !== "")
                root.currentSelect = index;
            slide(false);
            root.btnClick();
        }
    }

    Connections {
        target: root.mdItems
        ignoreUnknownSignals: true
        function onDataChanged() { d.revision++; }
        function onRowsInserted() { d.revision++; }
        function onRowsRemoved() { d.revision++; }
        function onModelReset() { d.revision++; }
    }

    NumberAnimation {
        id: slideAnimation
        objectName: "slideAnimation"
        target: d
        property: "openness"
        duration: Math.max(0, 180 - 10 * d.itemCount)
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
                if (!slideAnimation.running)
                    d.slide(!root.isDrop);
            }
        }
    }

    Item {
        id: dropArea
        objectName: "dropArea"
        y: head.height
        width: root.width * 3
        height: d.gridHeight
        clip: true
        visible: d.openness > 0

        Item {
            id: slider
            width: parent.width
            height: d.gridHeight
            y: -d.gridHeight * (1 - d.openness)

            Grid {
                columns: 3

                Repeater {
                    model: root.mdItems

                    delegate: Rectangle {
                        id: cell
                        required property int index
                        required property var model

                        width: root.width
                        height: d.rowHeight
                        color: index === root.currentSelect || cellArea.containsMouse
                               ? colorOrange : root.bgColor
                        border.color: root.borderColor
                        border.width: 1

                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            anchors.horizontalCenter: parent.horizontalCenter
                            anchors.horizontalCenterOffset: root.horizontalOffset
                            text: cell.model.textValue !== undefined ? cell.model.textValue : ""
                            font.family: fontFamily
                            font.pixelSize: fontNormalSize
                            color: fontColor
                        }

                        MouseArea {
                            id: cellArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: d.choose(cell.index)
                        }
                    }
                }
            }
        }
    }
}
