import QtQuick

// The profile page: the user's profiles by name, with New, Import, rename, delete and export.
// Its list is also the title-bar drop-down's list.
//
// Each entry carries a number, allocated once, which is its profile slot ("p<number + 1>.bin").
// Every slot operation goes by that number, never by the entry's position: positions shift when
// an entry before the last is deleted, numbers do not, so an entry always reads, writes and sends
// its own file. A deleted entry's number is free again; New and Import give it to the next entry
// together with a fresh file.
Rectangle {
    id: page

    property int profileNo: -1
    property var profileLang: ["config", "New", "Import", "Delete", "Export", "Standard", "", "", "",
        "", "", "", "", "", "", "", "", "", "", ""]
    property ListModel profileDataModel0: ListModel {}
    readonly property int maxEntries: 6
    // Row whose name is being edited, −1 for none.
    property int editIndex: -1
    readonly property int currentIndex: list.currentIndex

    signal changeProfile(int tmpProfileNo)
    signal listViewFocus()

    width: 415
    height: 288
    color: colorGray0

    // ---- The list and its file --------------------------------------------------------------

    function init() {
        const stored = ui_View.getNameList(2) || [];
        let entries = [];
        for (let i = 0; i < stored.length; ++i)
            entries.push(String(stored[i]));
        if (entries.length === 2 && entries[1] === "quillmarker")
            entries.pop();

        profileDataModel0.clear();
        let remembered = 0;
        for (const text of entries) {
            // A damaged entry (no trailing digit, a number beyond the six slots, a number already
            // taken) would share or invent a slot; it is left out and the list written back.
            if (profileDataModel0.count >= maxEntries || text.length < 1)
                continue;
            const digit = text.charAt(text.length - 1);
            if (digit < "0" || digit > "5")
                continue;
            const number = parseInt(digit, 10);
            if (positionOf(number) >= 0)
                continue;
            profileDataModel0.append({ textValue: text.slice(0, -1), profileNo: number });
            if (number === profileNo)
                remembered = profileDataModel0.count - 1;
        }
        // Without the standard entry, New would hand out number 0 and reset the file of the
        // profile in use.
        if (profileDataModel0.count === 0)
            profileDataModel0.append({ textValue: "", profileNo: 0 });
        selectPosition(remembered);
        profileDataModel0.setProperty(0, "textValue", String(profileLang[5]));
        writeNameList();
    }

    function writeNameList() {
        const names = [];
        for (let i = 0; i < profileDataModel0.count; ++i) {
            const entry = profileDataModel0.get(i);
            names.push(entry.textValue + entry.profileNo);
        }
        ui_View.updataNameList(2, names);
    }

    // The slot of the entry at a position; −1 when there is no such entry.
    function numberAt(position) {
        if (position < 0 || position >= profileDataModel0.count)
            return -1;
        return profileDataModel0.get(position).profileNo;
    }

    // The position of the entry with that number; −1 when none has it.
    function positionOf(number) {
        for (let i = 0; i < profileDataModel0.count; ++i) {
            if (profileDataModel0.get(i).profileNo === number)
                return i;
        }
        return -1;
    }

    function hasName(name) {
        for (let i = 0; i < profileDataModel0.count; ++i) {
            if (profileDataModel0.get(i).textValue === name)
                return true;
        }
        return false;
    }

    function selectPosition(position) {
        list.currentIndex = position;
    }

    function freeName() {
        let i = 0;
        while (i < 12 && hasName("profile_" + i))
            ++i;
        return "profile_" + i;
    }

    function freeNumber() {
        let n = 0;
        while (n < maxEntries && positionOf(n) >= 0)
            ++n;
        return n;
    }

    // Appends an entry and selects it; false when the list is full.
    function addEntry(name, number) {
        if (profileDataModel0.count >= maxEntries)
            return false;
        profileDataModel0.append({ textValue: name, profileNo: number });
        selectPosition(profileDataModel0.count - 1);
        writeNameList();
        return true;
    }

    // ---- Actions ----------------------------------------------------------------------------

    function newProfile() {
        endEdit();
        const number = freeNumber();
        if (!addEntry(freeName(), number))
            return;
        ui_View.resetProfile(number);
    }

    function importProfile() {
        endEdit();
        const added = addEntry(freeName(), freeNumber());
        const number = numberAt(list.currentIndex);
        if (number < 0)
            return;
        // A cancelled import must not leave the new entry on whatever an earlier, deleted
        // profile left in that file.
        if (!ui_View.loadProfile(number) && added)
            ui_View.resetProfile(number);
    }

    function deleteSelected() {
        const position = list.currentIndex;
        if (position <= 0 || position >= profileDataModel0.count)
            return;
        if (position === upItem.profileBtn.currentSelect || numberAt(position) === profileNo)
            return;
        profileDataModel0.remove(position);
        // The drop-down shows its entry by position: keep it on the active profile.
        const active = positionOf(profileNo);
        if (active >= 0)
            upItem.profileBtn.currentSelect = active;
        selectPosition(Math.min(position, profileDataModel0.count - 1));
        writeNameList();
    }

    function profileMenuCmd(cmd) {
        contextMenu.visible = false;
        if (cmd === 0)
            deleteSelected();
        else if (cmd === 1)
            ui_View.saveProfile(profileNo);
        else if (cmd === 2)
            importProfile();
    }

    function startEdit(position) {
        endEdit();
        editIndex = position;
        nameEditor.text = profileDataModel0.get(position).textValue;
        nameEditor.forceActiveFocus();
        nameEditor.selectAll();
    }

    function endEdit() {
        if (editIndex < 0)
            return;
        const position = editIndex;
        const text = nameEditor.text;
        editIndex = -1;
        nameEditor.focus = false;
        if (position >= profileDataModel0.count || hasName(text))
            return;
        profileDataModel0.setProperty(position, "textValue", text);
        writeNameList();
    }

    function profileFocus() {
        listViewFocus();
        contextMenu.visible = false;
    }

    onListViewFocus: endEdit()

    // ---- Layout -----------------------------------------------------------------------------

    // Dragging the background moves the page, never beyond the window.
    MouseArea {
        anchors.fill: parent
        drag.target: page
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: mainIten.width - page.width
        drag.maximumY: mainIten.height - page.height
        onPressed: page.profileFocus()
    }

    Rectangle {
        id: titleBar
        width: parent.width
        height: 40
        color: colorBlack

        Text {
            x: 16
            anchors.verticalCenter: parent.verticalCenter
            text: profileLang[0]
            font.family: fontFamily
            font.pixelSize: fontMiddleSize
            font.bold: true
            color: fontColor
        }

        Image {
            objectName: "profileClose"
            x: parent.width - 16 - width
            anchors.verticalCenter: parent.verticalCenter
            source: closeArea.containsMouse ? skinImage("profile", "closeH")
                                            : skinImage("profile", "close")
            MouseArea {
                id: closeArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    page.visible = false;
                    mask.visible = false;
                    page.profileFocus();
                    upItem.profileBtn.closeMenu();
                }
            }
        }
    }

    Rectangle {
        id: listArea
        objectName: "profileListArea"
        x: 16
        y: titleBar.height + 16
        width: 384
        height: 180
        color: colorBlack

        MouseArea {
            anchors.fill: parent
            onPressed: page.profileFocus()
        }

        ListView {
            id: list
            objectName: "profileListView"
            width: parent.width
            height: Math.min(27 * count, parent.height)
            clip: true
            interactive: false
            model: page.profileDataModel0
            currentIndex: 0

            delegate: Rectangle {
                id: row
                required property int index
                required property string textValue
                objectName: "profileRow" + index
                width: ListView.view.width
                height: 27
                color: ListView.isCurrentItem || rowArea.containsMouse ? colorOrange : "transparent"

                Text {
                    x: 16
                    anchors.verticalCenter: parent.verticalCenter
                    visible: page.editIndex !== row.index
                    text: row.textValue
                    font.family: fontFamily
                    font.pixelSize: fontNormalSize
                    color: fontColor
                }

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: (mouse) => {
                        if (page.editIndex !== row.index)
                            page.profileFocus();
                        list.currentIndex = row.index;
                        if (mouse.button === Qt.RightButton) {
                            const p = mapToItem(page, mouse.x, mouse.y);
                            contextMenu.x = Math.min(p.x, page.width - contextMenu.width);
                            contextMenu.y = Math.min(p.y, page.height - contextMenu.height);
                            contextMenu.visible = true;
                        }
                    }
                    onDoubleClicked: (mouse) => {
                        if (mouse.button === Qt.LeftButton)
                            page.startEdit(row.index);
                    }
                }
            }
        }

        TextInput {
            id: nameEditor
            objectName: "profileNameEditor"
            x: 16
            y: 27 * Math.max(0, page.editIndex)
            width: parent.width - 32
            height: 27
            visible: page.editIndex >= 0
            verticalAlignment: TextInput.AlignVCenter
            selectByMouse: true
            clip: true
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
            selectionColor: colorOrange
            selectedTextColor: fontColor
            Keys.onReturnPressed: page.endEdit()
            Keys.onEnterPressed: page.endEdit()
        }
    }

    Row {
        x: listArea.x
        y: listArea.y + listArea.height + 12
        spacing: 8

        PageButton {
            objectName: "profileNew"
            text: profileLang[1]
            onClicked: page.newProfile()
        }
        PageButton {
            objectName: "profileImport"
            text: profileLang[2]
            onClicked: page.importProfile()
        }
    }

    // The menu of a right click on an entry: delete, export.
    Rectangle {
        id: contextMenu
        objectName: "profileMenu"
        width: 100
        height: 48
        color: colorGray0
        border.color: colorGray1
        visible: false

        Column {
            Repeater {
                model: [profileLang[3], profileLang[4]]
                delegate: Rectangle {
                    id: menuRow
                    required property int index
                    required property string modelData
                    objectName: "profileMenu" + index
                    width: contextMenu.width
                    height: 24
                    color: menuArea.containsMouse ? colorOrange : "transparent"

                    Text {
                        x: 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: menuRow.modelData
                        font.family: fontFamily
                        font.pixelSize: fontNormalSize
                        color: fontColor
                    }
                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: page.profileMenuCmd(menuRow.index)
                    }
                }
            }
        }
    }

    component PageButton: Rectangle {
        id: button
        property alias text: label.text
        signal clicked()

        width: 64
        height: 24
        color: area.containsMouse ? colorOrange : colorGray0
        border.color: colorGray1

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
