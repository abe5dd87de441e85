import QtQuick

// Horizontal slider: a 6-pixel track filled up to the middle of the knob. Positions are the
// knob's left edge in pixels, between w/4 and width − w − w/4 (w = knob width); the signals
// carry that position and the pages convert it.
Item {
    id: root

    property int segment: 10
    property int segmentValue: 0
    property bool isScale: false
    property color colorS: colorOrange
    // colour of the unfilled track
    property color colorBg: colorGray1
    readonly property real position: knob.x

    signal valueChange(real tmpValue)
    signal valueChangeDelay(real tmpValue)
    signal btnClick()
    signal dragSignal(bool isDrag)

    function setRatioValue(ration) {
        const x = Math.trunc((d.maxPos - d.minPos) * ration) + d.minPos + 1;
        d.place(x);
        valueChange(x);
    }

    function setIndexValue(Index, isSendSignal) {
        const x = d.step * Index + d.minPos;
        d.place(x);
        segmentValue = Index;
        if (isSendSignal)
            valueChange(x);
    }

    function setValue(tmpvalue) {
        d.place(tmpvalue);
    }

    width: 100
    height: 6

    QtObject {
        id: d

        readonly property real knobWidth: knob.status === Image.Ready ? knob.width : 12
        readonly property real minPos: knobWidth / 4
        readonly property real maxPos: root.width - knobWidth - knobWidth / 4
        readonly property real step: (maxPos - minPos) / root.segment

        function clamp(x) {
            return Math.max(minPos, Math.min(maxPos, x));
        }

        function place(x) {
            moveAnimation.stop();
            knob.x = x;
        }

        // First stop i (0 … segment − 1) with x ≤ minPos + step × i + tolerance; segment if none.
        function stopFor(x, tolerance) {
            for (let i = 0; i < root.segment; ++i) {
                if (x <= minPos + step * i + tolerance)
                    return i;
            }
            return root.segment;
        }
    }

    Rectangle {
        id: track
        anchors.fill: parent
        radius: 3
        color: root.colorBg
    }

    Rectangle {
        id: fill
        height: parent.height
        width: Math.max(0, Math.min(root.width, knob.x + d.knobWidth / 2))
        radius: 3
        color: root.colorS
    }

    // Clicks on the track, or up to 3 pixels around it, send the knob there.
    MouseArea {
        id: trackArea
        x: -3
        y: -3
        width: root.width + 6
        height: root.height + 6
        onPressed: (mouse) => {
            root.btnClick();
            let target = d.clamp(mouse.x + trackArea.x - d.knobWidth / 2);
            if (root.isScale) {
                const i = d.stopFor(target, 0);
                root.segmentValue = i;
                target = d.minPos + d.step * i;
            }
            moveAnimation.to = target;
            moveAnimation.restart();
        }
    }

    NumberAnimation {
        id: moveAnimation
        objectName: "moveAnimation"
        target: knob
        property: "x"
        duration: 120
        easing.type: Easing.OutQuad
        onFinished: {
            root.valueChange(knob.x);
            root.valueChangeDelay(knob.x);
        }
    }

    Image {
        id: knob
        objectName: "knob"
        x: d.minPos
        y: -d.knobWidth / 4
        source: sourceSlide

        MouseArea {
            id: knobArea
            anchors.fill: parent
            preventStealing: true

            property real pressX: 0
            property real pressKnobX: 0

            function finish() {
                if (root.isScale) {
                    const i = d.stopFor(knob.x, 1);
                    root.segmentValue = i;
                    knob.x = d.minPos + d.step * i;
                }
                root.valueChangeDelay(knob.x);
                root.dragSignal(false);
            }

            onPressed: (mouse) => {
                moveAnimation.stop();
                pressX = mapToItem(root, mouse.x, mouse.y).x;
                pressKnobX = knob.x;
                root.btnClick();
                root.dragSignal(true);
            }
            onPositionChanged: (mouse) => {
                const x = d.clamp(pressKnobX + mapToItem(root, mouse.x, mouse.y).x - pressX);
                if (x === knob.x)
                    return;
                knob.x = x;
                if (!root.isScale)
                    root.valueChange(x);
            }
            onReleased: finish()
            onCanceled: finish()
        }
    }
}
