import QtQuick

// Window background: picture, title bar over it, title logo at the top left.
Item {
    width: 1024
    height: 640

    Image {
        objectName: "background"
        source: sourceBackground
    }
    Image {
        objectName: "titleBar"
        source: sourceTitleBar
    }
    Image {
        objectName: "titleLogo"
        x: 52
        y: 0
        source: sourceTitleLogo
    }
}
