import QtQuick

// Drop-down list: a 24-pixel head showing the chosen item, and a list that slides open below it
// (at most 10 rows, a scroll bar beyond that).
Item {
    id: root

    property bool isDrop: false
    property int count: mdItems ? mdItems.count : 0
    property var mdItems: ListModel {}
    property int currentSelect: 2
    property string textValue: d.itemText(currentSelect, d.revision)
    property color borderColor: colorGray1
    property color bgColor: colorGray0
    property real horizontalOffset: 0

    signal btnClick()
    signal valueChange(int index)
    signal dragSignal(bool isDrag)

    function closeMenu() {
        if (isDrop && !slideAnimation.running)
            d.slide(false);
    }

    width: 120
    height: 24

    QtObject {
        id: d

        readonly property int rowHeight: 24
        readonly property int maxRows: 10
        readonly property int listHeight: rowHeight * Math.min(Math.max(root.count, 0), maxRows)
        readonly property bool scrolls: root.count > maxRows
        // 0 closed … 1 open; the list's position follows it
        property real openness: 0
        // item chosen by a click, announced once the list has closed
        property int pendingIndex: -1
        // bumped on every model change so that the head text follows edits of the items
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
            root.currentSelect = index;
            pendingIndex = index;
            slide(false);
        }
    }

    Connections {
        target: root.mdItems
        ignoreUnknownSignals: true
        function onDataChanged() { d.revision++; }
        function onRowsInserted() { d.revision++; }
        function onRowsRemoved() { d.revision++; }
        function onRowsMoved() { d.revision++; }
        function onModelReset() { d.revision++; }
    }

    NumberAnimation {
        id: slideAnimation
        objectName: "slideAnimation"
        target: d
        property: "openness"
        // 20 or more items would give no time at all, never a negative one
        duration: Math.max(0, 180 - 10 * root.count)
        easing.type: Easing.OutQuad
        onFinished: {
            if (d.openness === 0 && d.pendingIndex >= 0) {
                const index = d.pendingIndex;
                d.pendingIndex = -1;
                root.valueChange(index);
            }
        }
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

    // The list hangs below the head and is clipped there, so it slides out from under it.
    Item {
        id: dropArea
        objectName: "dropArea"
        y: head.height
        width: root.width
        height: d.listHeight
        clip: true
        visible: d.openness > 0

        Item {
            id: slider
            width: parent.width
            height: d.listHeight
            y: -d.listHeight * (1 - d.openness)

            ListView {
                id: list
                objectName: "list"
                anchors.fill: parent
                model: root.mdItems
                boundsBehavior: Flickable.StopAtBounds
                interactive: d.scrolls

                delegate: Rectangle {
                    id: row
                    required property int index
                    required property var model

                    width: list.width
                    height: d.rowHeight
                    color: index === root.currentSelect || rowArea.containsMouse
                           ? colorOrange : root.bgColor

                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.horizontalCenter: parent.horizontalCenter
                        anchors.horizontalCenterOffset: root.horizontalOffset
                        text: row.model.textValue !== undefined ? row.model.textValue : ""
                        font.family: fontFamily
                        font.pixelSize: fontNormalSize
                        color: fontColor
                    }

                    // The rightmost 15 pixels belong to the scroll bar.
                    MouseArea {
                        id: rowArea
                        width: parent.width - 15
                        height: parent.height
                        hoverEnabled: true
                        onClicked: d.choose(row.index)
                    }
                }
            }

            Rectangle {
                anchors.fill: parent
                color: "transparent"
                border.color: root.borderColor
                border.width: 1
            }

            Rectangle {
                id: scrollBar
                objectName: "scrollBar"
                visible: d.scrolls
                x: parent.width - width
                width: 12
                height: d.scrolls ? Math.max(12, parent.height * d.maxRows / root.count) : 0
                y: list.contentHeight > list.height
                   ? (parent.height - height) * list.contentY / (list.contentHeight - list.height) : 0
                color: "#ffffff"
                border.color: colorGray3
                border.width: 1

                MouseArea {
                    id: barArea
                    anchors.fill: parent
                    preventStealing: true

                    property real pressY: 0
                    property real pressContentY: 0

                    onPressed: (mouse) => {
                        pressY = mapToItem(slider, mouse.x, mouse.y).y;
                        pressContentY = list.contentY;
                        root.dragSignal(true);
                    }
                    onPositionChanged: (mouse) => {
                        const track = slider.height - scrollBar.height;
                        const range = list.contentHeight - list.height;
                        if (track <= 0 || range <= 0)
                            return;
                        const dy = mapToItem(slider, mouse.x, mouse.y).y - pressY;
                        list.contentY = Math.max(0, Math.min(range, pressContentY + dy * range / track));
                    }
                    onReleased: root.dragSignal(false)
                    onCanceled: root.dragSignal(false)
                }
            }
        }
    }
}
