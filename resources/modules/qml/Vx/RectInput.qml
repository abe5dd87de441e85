import QtQuick

// Numeric entry of 48 × 20: whole numbers from minValue to maxValue, at most four characters.
// Leaving it empty (or below 1) shows "0".
Item {
    id: root

    property int maxValue: 255
    property int minValue: 0
    property alias textValue: input.text
    property alias txtInput: input

    signal inputSignal()
    signal endInputSignal()

    function closeFocus() {
        if (input.activeFocus) {
            input.deselect();
            input.focus = false;
        }
    }

    width: 48
    height: 20

    TextInput {
        id: input
        anchors.fill: parent
        text: "0"
        maximumLength: 4
        validator: IntValidator {
            bottom: root.minValue
            top: root.maxValue
        }
        selectByMouse: true
        clip: true
        horizontalAlignment: TextInput.AlignHCenter
        verticalAlignment: TextInput.AlignVCenter
        font.family: fontFamily
        font.pixelSize: fontNormalSize
        color: fontColor
        selectionColor: colorOrange
        selectedTextColor: fontColor

        // The validator only marks a number above the top as unfinished and lets it stand;
        // refuse the keystroke instead, so that the field never holds more than maxValue.
        property string lastAccepted: "0"
        onTextChanged: {
            if (!(parseInt(text, 10) > root.maxValue))
                lastAccepted = text;
        }
        onTextEdited: {
            if (parseInt(text, 10) > root.maxValue) {
                const cursor = cursorPosition;
                text = lastAccepted;
                cursorPosition = Math.max(0, Math.min(cursor - 1, text.length));
            }
        }

        Keys.onReturnPressed: input.focus = false
        Keys.onEnterPressed: input.focus = false

        onActiveFocusChanged: {
            if (activeFocus) {
                root.inputSignal();
                return;
            }
            const value = parseInt(text, 10);
            if (isNaN(value) || value < 1)
                text = "0";
            root.endInputSignal();
        }
    }
}
