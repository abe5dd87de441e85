import QtQuick
import "basic"
import "Vx"

// The main screen: lays out the window, hosts every page, initialises them when the mouse
// connects and routes captured keys to the pages that record them. Built by the root in the
// background while the start-up logo shows; the palette and the root's state are looked up there.
Item {
    id: screenMain
    objectName: "screenMain"

    readonly property bool isUnsaved: keyMatrixMain.isSave || dpiSettingMain.isSave
                                      || lightControlMain.isSave

    QtObject {
        id: d
        // Stored texts are strings; booleans are "true" / "false".
        function toBool(value, fallback) {
            if (value === undefined || value === null)
                return fallback;
            if (typeof value === "boolean")
                return value;
            const text = String(value).toLowerCase();
            if (text === "true" || text === "1")
                return true;
            if (text === "false" || text === "0")
                return false;
            return fallback;
        }

        function toText(value, fallback) {
            return value === undefined || value === null ? fallback : String(value);
        }

        // The language file's texts where it has them, the built-in text where it has none: a
        // missing group or a short list never blanks a label.
        function mergeLang(loaded, builtIn) {
            const result = [];
            const texts = loaded || [];
            const n = Math.max(texts.length, builtIn.length);
            for (let i = 0; i < n; ++i)
                result.push(i < texts.length ? String(texts[i]) : builtIn[i]);
            return result;
        }

        function loadLang(group, builtIn) {
            return mergeLang(ui_View.getLangStrings(group, mainIten.language), builtIn);
        }

        function centre(item) {
            item.x = Math.floor((mainIten.width - item.width) / 2);
            item.y = Math.floor((mainIten.height - item.height) / 2);
        }

        function openDialog(item) {
            mainIten.mainFocus();
            centre(item);
            item.visible = true;
            mask.visible = true;
        }

        // Re-sends every setting of the current profile, in the order the mouse expects them.
        function sendCurrentProfile() {
            keyMatrixMain.init(true, false);
            reportRate.init(true);
            dpiSettingMain.init(true, false);
            lightControlMain.init(true, false);
            systemSettingMain.init(true, false);
            if (mainIten.isGun) {
                ui_View.mouseSwitchKeyMatrix(1);
                ui_View.mouseResetKeyMatrix();
            }
        }

        // Buttons of the working key matrix assigned to the macro of that name.
        function buttonsWithMacro(name) {
            const found = [];
            const keys = keyMatrixMain.modKeys;
            for (let i = 0; i < keys.count; ++i) {
                const key = keys.get(i);
                if (Number(key.keyCode0) !== 0x04)
                    continue;
                const stored = ui_View.getData("mouseMacroKey/" + key.keyCode2, false);
                if (stored !== undefined && stored !== null && String(stored) === String(name))
                    found.push(i);
            }
            return found;
        }
    }

    // The pages' part of initUI: the first time, read the model, load the texts and initialise
    // every page from the current profile without sending; every time, refresh the DPI stage.
    function initPages() {
        if (!mainIten.isPownOn) {
            mainIten.isColorful = d.toBool(ui_View.getGlobalData("mouse/isColorful"), isColorful);
            mainIten.icType = d.toText(ui_View.getGlobalData("mouse/icType"), icType);
            mainIten.isGun = d.toBool(ui_View.getGlobalData("mouse/isGun"), isGun);
            const keyCount = parseInt(ui_View.getGlobalData("mouse/keyCount"), 10);
            if (!isNaN(keyCount))
                mouseMain.keyCount = Math.max(0, Math.min(8, keyCount));
            mainIten.language = d.toText(ui_View.getGlobalData("common/language"), language);
            mainIten.url = d.toText(ui_View.getGlobalData("common/url"), url);
            helpModel.setProperty(0, "textValue", url);

            // Our profiles are realised by re-sending settings; the mouse stays on its profile 1.
            if (icType === "560") {
                const onBoard = Number(ui_View.mouseReadCurrentProfile());
                if (onBoard !== 1)
                    hid.hid560_02H_SetCurrentProfile(1);
            }

            mainIten.mainLang = d.loadLang("main", mainLang);
            keyMatrixMain.keyMatrixLang = d.loadLang("keyMatrix", keyMatrixMain.keyMatrixLang);
            keyAssigmentMain.keyAssigmentLang = d.loadLang("keyAssigment",
                                                           keyAssigmentMain.keyAssigmentLang);
            dpiSettingMain.dpiSettingLang = d.loadLang("dpiSetting", dpiSettingMain.dpiSettingLang);
            lightControlMain.lightControlLang = d.loadLang("lightControl",
                                                           lightControlMain.lightControlLang);
            macroEditorMain.macroEditorLang = d.loadLang("macroEditor",
                                                         macroEditorMain.macroEditorLang);
            systemSettingMain.systemSettingLang = d.loadLang("systemSetting",
                                                             systemSettingMain.systemSettingLang);
            gunControlMain.gunControlLang = d.loadLang("gunControl", gunControlMain.gunControlLang);
            profileMain.profileLang = d.loadLang("profile", profileMain.profileLang);
            _KeyCodeString.keyCodeStr = d.loadLang("keyCode", _KeyCodeString.keyCodeStr);
            // Kept by the native side for its DPI notifications.
            ui_View.getLangStrings("other", language);

            reportRate.init(false);
            profileMain.init();

            // A stored number that names no entry falls back to the first entry, so that no
            // edit lands in a profile file the list does not show.
            const stored = parseInt(ui_View.getGlobalData("mouse/profileNo"), 10);
            let position = isNaN(stored) ? -1 : profileMain.positionOf(stored);
            if (position < 0)
                position = 0;
            const number = profileMain.numberAt(position);
            profileMain.profileNo = number >= 0 ? number : 0;
            profileMain.selectPosition(position);
            upItem.profileBtn.currentSelect = position;
            upItem.profileBtn.closeMenu();
            ui_View.setCurrentProfile(profileMain.profileNo);

            macroEditorMain.init();
            gunControlMain.init();
            keyAssigmentMain.init();

            keyMatrixMain.init(false, false);
            dpiSettingMain.init(false, false);
            lightControlMain.init(false, false);
            systemSettingMain.init(false, false);
            mainIten.isPownOn = true;
        }
        dpiSettingMain.currentDPI = Number(ui_View.mouseGetCurrentDPI()) - 1;
    }

    function setCurrentDPI(dpiValue) {
        const stage = Number(dpiValue);
        if (stage !== 0 && !isNaN(stage))
            dpiSettingMain.currentDPI = stage - 1;
    }

    function mainFocus() {
        reportRate.closeMenu();
        dpiSettingMain.dpiSegment.closeMenu();
        upItem.profileBtn.closeMenu();
        helpMenu.visible = false;
        lightControlMain.lightModel.closeMenu();
    }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) {
            if (macroEditorMain.currentMacro >= 0) {
                if (macroEditorMain.isInputting)
                    macroEditorMain.detectKeyboard(isDown, usbCode);
                if (macroEditorMain.isInsertting)
                    macroEditorMain.detectInput(isDown, usbCode);
            }
            if (keyAssigmentMain.isFireInput)
                keyAssigmentMain.detectKeyboard(isDown, usbCode, 0);
            else if (keyAssigmentMain.isComboInput)
                keyAssigmentMain.detectKeyboard(isDown, usbCode, 1);
        }
    }

    Environment {
        id: environment
        objectName: "environment"
    }

    // Pressing the empty window area closes what is open; dragging moves the window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property real pressX: 0
        property real pressY: 0
        onPressed: (mouse) => {
            pressX = mouse.x;
            pressY = mouse.y;
            screenMain.mainFocus();
        }
        onPositionChanged: (mouse) => {
            ui_Ctl.onXChanged(Math.round(mouse.x - pressX));
            ui_Ctl.onYChanged(Math.round(mouse.y - pressY));
        }
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        onBtnClick: screenMain.mainFocus()
    }

    // ---- Left panel -------------------------------------------------------------------------

    Column {
        id: leftPanel
        objectName: "leftPanel"
        x: 24
        y: 88
        spacing: 8

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
            onEnterBtn: (index) => mouseMain.selectKey = index
            onLeaveBtn: (index) => {
                if (!keyAssigmentMain.visible)
                    mouseMain.selectKey = -1;
            }
            onClickBtn: (index) => {
                mouseMain.selectKey = index;
                if (keyMatrixMain.modKeys.checkOneLeftKey())
                    return;
                keyAssigmentMain.show(index);
                mask.visible = true;
                screenMain.mainFocus();
            }
        }

        Rectangle {
            id: editorBox
            objectName: "editorBox"
            width: 232
            height: mainIten.isGun ? 100 : 76
            color: colorBlack

            Text {
                x: 8
                y: 8
                height: 24
                verticalAlignment: Text.AlignVCenter
                text: mainLang[0]
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                font.bold: true
                color: fontColor
            }

            PanelEntry {
                objectName: "macroEditorEntry"
                x: 8
                y: 40
                text: mainLang[1]
                onClicked: d.openDialog(macroEditorMain)
            }
            Rectangle {
                x: 8
                y: 68
                width: 216
                height: 1
                color: colorGray1
                visible: mainIten.isGun
            }
            PanelEntry {
                objectName: "gunEditorEntry"
                x: 8
                y: 72
                visible: mainIten.isGun
                text: mainLang[2]
                onClicked: {
                    gunControlMain.gunNumber_lv.currentIndex = gunControlMain.selectGun1;
                    d.openDialog(gunControlMain);
                }
            }
        }

        // Drawn above its neighbours so that its open list covers them.
        Rectangle {
            id: reportRate
            objectName: "reportRate"
            width: 232
            height: 42
            z: 1
            color: colorBlack

            // Rate byte = 1000 / rate in hertz; any other index sends 1.
            readonly property var rateBytes: [8, 4, 2, 1]

            function rateByte(index) {
                return index >= 0 && index < 3 ? rateBytes[index] : 1;
            }

            function closeMenu() {
                rateList.closeMenu();
            }

            function init(isSendData) {
                let index = parseInt(ui_View.getData("mouse/reportRate", false), 10);
                // Show what is sent for a value outside the table.
                if (isNaN(index) || index < 0 || index > 3)
                    index = 3;
                rateList.currentSelect = index;
                if (isSendData)
                    ui_View.mouseSetReportRate(rateByte(index));
            }

            Text {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                text: mainLang[3]
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                color: fontColor
            }

            DropDownList {
                id: rateList
                objectName: "reportRateList"
                x: parent.width - width - 8
                anchors.verticalCenter: parent.verticalCenter
                width: 120
                currentSelect: 3
                mdItems: ListModel {
                    ListElement { textValue: "125Hz" }
                    ListElement { textValue: "250Hz" }
                    ListElement { textValue: "500Hz" }
                    ListElement { textValue: "1000Hz" }
                }
                onBtnClick: screenMain.mainFocus()
                onValueChange: (index) => {
                    ui_View.setData("mouse/reportRate", index);
                    ui_View.mouseSetReportRate(reportRate.rateByte(index));
                }
            }
        }

        PanelEntry {
            id: systemButton
            objectName: "systemSettingButton"
            width: 232
            bold: true
            normalColor: colorBlack
            text: mainLang[9]
            onClicked: d.openDialog(systemSettingMain)
        }
    }

    // ---- Right panel ------------------------------------------------------------------------

    Column {
        id: rightPanel
        objectName: "rightPanel"
        x: 768
        y: 56
        spacing: 8

        DpiSetting {
            id: dpiSettingMain
            objectName: "dpiSettingMain"
        }
        LightControl {
            id: lightControlMain
            objectName: "lightControlMain"
        }
    }

    // ---- Bottom bar -------------------------------------------------------------------------

    Row {
        id: bottomBar
        objectName: "bottomBar"
        anchors.right: parent.right
        anchors.rightMargin: 24
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 8
        spacing: 16

        BarButton {
            objectName: "configButton"
            text: mainLang[4]
            onClicked: {
                screenMain.mainFocus();
                d.centre(profileMain);
                profileMain.visible = true;
                mask.visible = true;
            }
        }
        BarButton {
            objectName: "resetButton"
            text: mainLang[5]
            onClicked: {
                screenMain.mainFocus();
                d.centre(resetDialog);
                resetDialog.visible = true;
                mask.visible = true;
            }
        }
        BarButton {
            id: saveButton
            objectName: "saveButton"
            text: mainLang[10]
            // Unsent changes stay visible, also under the pointer.
            color: screenMain.isUnsaved ? "#ff3030" : hovered ? colorOrange : colorBlue
            onClicked: {
                screenMain.mainFocus();
                const any = screenMain.isUnsaved;
                if (any)
                    mainIten.controlUIEnable(false);
                if (keyMatrixMain.isSave) {
                    keyMatrixMain.isSave = false;
                    keyMatrixMain.modKeys.saveData();
                }
                if (dpiSettingMain.isSave) {
                    dpiSettingMain.isSave = false;
                    dpiSettingMain.saveData(true);
                }
                if (lightControlMain.isSave) {
                    lightControlMain.isSave = false;
                    lightControlMain.saveData(true, 0);
                }
                mainIten.controlUIEnable(true);
            }
        }
    }

    // ---- Title bar --------------------------------------------------------------------------

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: 920
        y: 16
        profilePage: profileMain
        onBtnClicked: (btnIndex) => {
            if (btnIndex === 0)
                ui_Ctl.onMinimize();
            else if (btnIndex === 1)
                ui_Ctl.onClose();
            else if (btnIndex === 2)
                helpMenu.visible = true;
        }
    }

    // ---- Dialogs over the mask --------------------------------------------------------------

    Rectangle {
        id: mask
        objectName: "mask"
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0x90 / 255)
        visible: false

        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            property real pressX: 0
            property real pressY: 0
            onPressed: (mouse) => {
                pressX = mouse.x;
                pressY = mouse.y;
                if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus();
                if (profileMain.visible)
                    profileMain.profileFocus();
                if (gunControlMain.visible)
                    gunControlMain.gunControlFocus();
                if (lightControlMain.visible)
                    lightControlMain.lightControlFocus();
                if (systemSettingMain.visible)
                    systemSettingMain.systemSettingFocus();
            }
            onPositionChanged: (mouse) => {
                if (!pressed)
                    return;
                ui_Ctl.onXChanged(Math.round(mouse.x - pressX));
                ui_Ctl.onYChanged(Math.round(mouse.y - pressY));
            }
        }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        visible: false
        onDeleteMacro: (macroName) => {
            const keys = keyMatrixMain.modKeys;
            const saved = keyMatrixMain.modKeys_tmp;
            for (const i of d.buttonsWithMacro(macroName)) {
                const factory = saved.get(i);
                keys.set(i, {
                    keyCode0: factory.keyCode0, keyCode1: factory.keyCode1,
                    keyCode2: factory.keyCode2, keyCode3: factory.keyCode3,
                    keyText: factory.keyText
                });
                keys.saveData();
            }
            ui_View.deleteMacroUpdateProfile(macroName);
        }
        onModifyMacroName: (oldMacroName, newMacroName) => {
            const keys = keyMatrixMain.modKeys;
            for (const i of d.buttonsWithMacro(oldMacroName)) {
                ui_View.setData("mouseMacroKey/" + keys.get(i).keyCode2, newMacroName);
                keys.setProperty(i, "keyText", String(newMacroName));
            }
            ui_View.modifyMacroNameUpdateProfile(oldMacroName, newMacroName);
        }
        onModifyMacroData: (macroName) => {
            for (const i of d.buttonsWithMacro(macroName))
                macroEditorMain.sendMacro(i, macroName);
        }
    }

    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        visible: false
    }

    SystemSetting {
        id: systemSettingMain
        objectName: "systemSettingMain"
        visible: false
    }

    KeyAssigment {
        id: keyAssigmentMain
        objectName: "keyAssigmentMain"
        visible: false

        function show(index) {
            const key = keyMatrixMain.modKeys.get(index);
            keyAssigmentMain.keyIndex = index;
            keyAssigmentMain.keyString = key.keyText;
            keyAssigmentMain.keyCode0 = key.keyCode0;
            keyAssigmentMain.keyCode1 = key.keyCode1;
            keyAssigmentMain.keyCode2 = key.keyCode2;
            keyAssigmentMain.keyCode3 = key.keyCode3;
            keyAssigmentMain.x = Math.floor((mainIten.width - keyAssigmentMain.width) / 2);
            keyAssigmentMain.visible = true;
        }
    }

    Profile {
        id: profileMain
        objectName: "profileMain"
        visible: false

        onChangeProfile: (tmpProfileNo) => {
            // Positions shift when an entry before the last is deleted; the slot is the entry's
            // number, so each entry keeps its own file.
            const number = profileMain.numberAt(tmpProfileNo);
            if (number < 0 || number === profileMain.profileNo)
                return;
            mainIten.controlUIEnable(false);
            profileMain.profileNo = number;
            ui_View.setGlobalData("mouse/profileNo", number);
            ui_View.setCurrentProfile(number);
            d.sendCurrentProfile();
            mainIten.controlUIEnable(true);
        }
    }

    Rectangle {
        id: resetDialog
        objectName: "resetDialog"
        width: 427
        height: 102
        color: colorGray0
        visible: false

        MouseArea {
            anchors.fill: parent
            drag.target: resetDialog
            drag.minimumX: 0
            drag.minimumY: 0
            drag.maximumX: mainIten.width - resetDialog.width
            drag.maximumY: mainIten.height - resetDialog.height
        }

        Rectangle {
            width: parent.width
            height: 30
            color: colorBlack
            Text {
                x: 16
                anchors.verticalCenter: parent.verticalCenter
                text: mainLang[5]
                font.family: fontFamily
                font.pixelSize: fontNormalSize
                font.bold: true
                color: fontColor
            }
        }

        Text {
            x: 16
            y: 30 + 12
            text: mainLang[6]
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 16

            BarButton {
                objectName: "resetCancel"
                width: 88
                height: 25
                text: mainLang[7]
                onClicked: {
                    resetDialog.visible = false;
                    mask.visible = false;
                }
            }
            BarButton {
                objectName: "resetOk"
                width: 88
                height: 25
                text: mainLang[8]
                onClicked: {
                    mainIten.controlUIEnable(false);
                    resetDialog.visible = false;
                    mask.visible = false;
                    keyMatrixMain.isSave = false;
                    dpiSettingMain.isSave = false;
                    lightControlMain.isSave = false;
                    ui_View.resetProfile(profileMain.profileNo);
                    d.sendCurrentProfile();
                    ui_View.mouseSetCurrentDPI(2);
                    dpiSettingMain.currentDPI = 1;
                    gunControlMain.resetData();
                    mainIten.controlUIEnable(true);
                }
            }
        }
    }

    // ---- Help menu --------------------------------------------------------------------------

    Rectangle {
        id: helpMenu
        objectName: "helpMenu"
        x: mainIten.width - 300
        y: 30
        width: 200
        height: 24 * helpModel.count
        color: colorGray0
        border.color: colorGray1
        visible: false

        ListModel {
            id: helpModel
            ListElement { textValue: "" }
            ListElement { textValue: "verison:1.0" }
        }

        Column {
            Repeater {
                model: helpModel
                delegate: Rectangle {
                    id: helpRow
                    required property int index
                    required property string textValue
                    objectName: "helpEntry" + index
                    width: helpMenu.width
                    height: 24
                    color: helpArea.containsMouse ? colorOrange : "transparent"
                    border.color: colorGray1

                    Text {
                        x: 8
                        width: parent.width - 16
                        anchors.verticalCenter: parent.verticalCenter
                        elide: Text.ElideRight
                        text: helpRow.textValue
                        font.family: fontFamily
                        font.pixelSize: fontNormalSize
                        color: fontColor
                    }
                    MouseArea {
                        id: helpArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            if (helpRow.index === 0)
                                Qt.openUrlExternally(mainIten.url);
                            helpMenu.visible = false;
                        }
                    }
                }
            }
        }
    }

    // ---- Small building blocks of this screen -----------------------------------------------

    // An entry of the left panel: black, orange while hovered.
    component PanelEntry: Rectangle {
        id: entry
        property alias text: label.text
        property bool bold: false
        property color normalColor: "transparent"
        signal clicked()

        width: 216
        height: 24
        color: area.containsMouse ? colorOrange : normalColor

        Text {
            id: label
            x: 8
            anchors.verticalCenter: parent.verticalCenter
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            font.bold: entry.bold
            color: fontColor
        }
        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: entry.clicked()
        }
    }

    // A blue button of the main screen, orange while hovered.
    component BarButton: Rectangle {
        id: button
        property alias text: label.text
        readonly property bool hovered: area.containsMouse
        signal clicked()

        width: 64
        height: 24
        color: hovered ? colorOrange : colorBlue

        Text {
            id: label
            anchors.centerIn: parent
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }
        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }
}
