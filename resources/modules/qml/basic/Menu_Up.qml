import QtQuick
import "../Vx"

// Title-bar controls: help, minimise and close buttons with the profile drop-down left of them.
// btnClicked(0) minimise, (1) close, (2) help.
Item {
    id: root

    signal btnClicked(int btnIndex)

    property alias profileBtn: profileList

    // The page that owns the profiles. A choice in the drop-down calls its changeProfile(index);
    // its profileDataModel0, when it has one, supplies the drop-down's items.
    property var profilePage: null

    width: buttons.width
    height: buttons.height

    component TitleButton: Image {
        id: button

        property url normalSource
        property url hoverSource
        signal clicked()

        source: area.containsMouse ? hoverSource : normalSource

        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }

    ListModel {
        id: noProfiles
    }

    Row {
        id: buttons
        spacing: 16

        TitleButton {
            objectName: "helpButton"
            normalSource: sourceAsk
            hoverSource: sourceAskH
            onClicked: root.btnClicked(2)
        }
        TitleButton {
            objectName: "minimizeButton"
            normalSource: sourceMinBtn
            hoverSource: sourceMinBtnH
            onClicked: root.btnClicked(0)
        }
        TitleButton {
            objectName: "closeButton"
            normalSource: sourceCloseBtn
            hoverSource: sourceCloseBtnH
            onClicked: root.btnClicked(1)
        }
    }

    DropDownList {
        id: profileList
        objectName: "profileList"
        width: 144
        height: 24
        x: -16 - width
        y: (buttons.height - height) / 2
        mdItems: root.profilePage && root.profilePage.profileDataModel0
                 ? root.profilePage.profileDataModel0 : noProfiles
        onValueChange: (index) => {
            if (root.profilePage)
                root.profilePage.changeProfile(index);
        }
    }
}
