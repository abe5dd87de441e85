import QtQuick

// Window background: picture, title bar over it, title logo at the top left. The picture is an
// opaque body between two thin strips that carry the rounded corners: the large part then decodes
// straight into the format the renderer draws, without a second full-size copy.
Item {
    width: 1024
    height: 640

    Item {
        objectName: "background"
        width: 1024
        height: 640

        Image {
            asynchronous: true
            objectName: "backgroundTop"
            source: sourceBackgroundTop
        }
        Image {
            asynchronous: true
            objectName: "backgroundBody"
            y: 8
            source: sourceBackground
        }
        Image {
            asynchronous: true
            objectName: "backgroundBottom"
            y: 632
            source: sourceBackgroundBottom
        }
    }
    Image {
        asynchronous: true
        objectName: "titleBar"
        source: sourceTitleBar
    }
    Image {
        asynchronous: true
        objectName: "titleLogo"
        x: 52
        y: 0
        source: sourceTitleLogo
    }
}
