import QtQuick

// "LOADING ......" pulsing while the scene is busy.
Item {
    id: root

    property bool isBusy: false

    function setBusy(_isBusy) {
        isBusy = _isBusy;
    }

    visible: isBusy
    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight

    Text {
        id: label
        anchors.centerIn: parent
        text: "LOADING ......"
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        color: fontColor

        SequentialAnimation on opacity {
            objectName: "pulse"
            running: root.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
