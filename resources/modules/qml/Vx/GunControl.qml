import QtQuick

// Placeholder of the gun editor: the six guns with their data, the three slot assignments, and
// the loading, reset and sending the main screen and the key function panel rely on. Editing a
// gun belongs to the finished page.
Rectangle {
    id: gunPage

    property int selectGun1: 0
    property int selectGun2: 0
    property int selectGun3: 0
    property bool isSave: false
    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis",
        "Y axis", "Fire adjust", "Rate", "Times", "Endness"]
    property alias gunNumberModel: guns
    property alias gunNumber_lv: gunList

    width: 640
    height: 448
    color: colorGray0
    border.color: colorGray1

    function rowValues(index) {
        const g = guns.get(index);
        return [g.gunName, g.gunKey, g.gunPeriod, g.gunX, g.gunY, g.gunTimes];
    }

    function init() {
        for (let i = 0; i < guns.count; ++i) {
            const data = ui_View.getGunData(i) || [];
            if (data.length < 6)
                continue;
            guns.set(i, {
                gunName: String(data[0]), gunKey: String(data[1]), gunPeriod: String(data[2]),
                gunX: String(data[3]), gunY: String(data[4]), gunTimes: String(data[5])
            });
        }
        const selected = ui_View.getGlobalData("mouse/selectGun");
        if (selected && selected.length >= 3) {
            const valid = (v, fallback) => {
                const n = parseInt(v, 10);
                return n >= 0 && n < guns.count ? n : fallback;
            };
            selectGun1 = valid(selected[0], 0);
            selectGun2 = valid(selected[1], 0);
            selectGun3 = valid(selected[2], 0);
        }
        gunList.currentIndex = selectGun1;
    }

    function saveData(index, all) {
        isSave = true;
        ui_View.mouseSaveGundata(index, rowValues(index));
    }

    function sendData(slot) {
        const g = guns.get([selectGun1, selectGun2, selectGun3][slot]);
        ui_View.mouseSendGundata(slot + 1, [parseInt(g.gunTimes, 10) || 0,
                                            parseInt(g.gunX, 10) || 0, parseInt(g.gunY, 10) || 0]);
    }

    function resetData() {
        selectGun1 = 0;
        selectGun2 = 1;
        selectGun3 = 2;
        ui_View.setGlobalData("mouse/selectGun", [0, 1, 2]);
        const offsets = [5, 7, 8];
        for (let i = 0; i < 3; ++i) {
            guns.setProperty(i, "gunY", String(offsets[i]));
            guns.setProperty(i, "gunPeriod", "9");
        }
        for (let i = 0; i < 3; ++i)
            saveData(i, false);
        for (let slot = 0; slot < 3; ++slot)
            sendData(slot);
        gunList.currentIndex = 0;
    }

    function gunControlFocus() {
    }

    MouseArea {
        anchors.fill: parent
        drag.target: gunPage
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: 1024 - gunPage.width
        drag.maximumY: 640 - gunPage.height
        onPressed: gunPage.gunControlFocus()
    }

    Rectangle {
        width: parent.width
        height: 40
        color: colorBlack
        Text {
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            text: gunControlLang[0]
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            color: fontColor
        }
        Image {
            asynchronous: true
            objectName: "gunControlClose"
            x: parent.width - 16 - width
            anchors.verticalCenter: parent.verticalCenter
            source: skinImage("gun", "close")
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    gunPage.visible = false;
                    mask.visible = false;
                    if (gunPage.isSave) {
                        gunPage.isSave = false;
                        for (let slot = 0; slot < 3; ++slot)
                            gunPage.sendData(slot);
                    }
                    gunPage.gunControlFocus();
                }
            }
        }
        Rectangle {
            y: parent.height
            width: parent.width
            height: 1
            color: colorOrange
        }
    }

    ListView {
        id: gunList
        x: 16
        y: 56
        width: 248
        height: 342
        clip: true
        model: ListModel {
            id: guns
            ListElement { gunName: "M416"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
            ListElement { gunName: "AKM"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
            ListElement { gunName: "M16A4"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
            ListElement { gunName: "SCAR-L"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
            ListElement { gunName: "UNP9"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
            ListElement { gunName: "Thomson"; gunKey: "L-Click"; gunPeriod: "10"; gunX: "0"; gunY: "10"; gunTimes: "0" }
        }
        delegate: Rectangle {
            id: row
            required property int index
            required property string gunName
            width: ListView.view.width
            height: 58
            color: ListView.isCurrentItem ? colorOrange : colorBlack
            Image {
                asynchronous: true
                anchors.centerIn: parent
                source: "qrc:/gun/modules/img/skin1/gun/" + row.gunName + ".png"
            }
            Text {
                x: 8
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 4
                text: row.gunName
                font.family: fontFamily
                font.pixelSize: fontMinSize
                color: fontColor
            }
        }
    }
}
