import QtQuick
import QtTest
import "qrc:/modules/qml/Vx"

Harness {
    id: root

    Component {
        id: inputComponent
        RectInput {
            x: 100
            y: 100
        }
    }

    TestCase {
        name: "RectInput"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function createInput(properties) {
            const input = createTemporaryObject(inputComponent, root, properties || {});
            verify(input);
            const log = [];
            input.inputSignal.connect(() => log.push("input " + input.textValue));
            input.endInputSignal.connect(() => log.push("end " + input.textValue));
            return { input: input, log: log };
        }

        function type(text) {
            for (const c of text)
                keyClick(c);
        }

        function test_initialState() {
            const t = createInput();
            compare(t.input.width, 48);
            compare(t.input.height, 20);
            compare(t.input.textValue, "0");
            compare(t.input.txtInput.maximumLength, 4);
        }

        // Leaving the field corrects it before announcing the end of the input.
        function test_leaving_data() {
            return [
                { tag: "empty", typed: "", shown: "0" },
                { tag: "zero stays", typed: "0", shown: "0" },
                { tag: "a number", typed: "7", shown: "7" },
                { tag: "the top", typed: "255", shown: "255" },
                { tag: "too big is refused while typing", typed: "300", shown: "30" },
                { tag: "letters are refused", typed: "a1b", shown: "1" },
            ];
        }

        function test_leaving(data) {
            for (const how of ["enter", "return", "closeFocus"]) {
                const t = createInput();
                mouseClick(t.input, 24, 10);
                verify(t.input.txtInput.activeFocus);
                compare(t.log, ["input 0"]);
                t.input.txtInput.selectAll();
                keyClick(Qt.Key_Delete);
                type(data.typed);
                if (how === "enter")
                    keyClick(Qt.Key_Enter);
                else if (how === "return")
                    keyClick(Qt.Key_Return);
                else
                    t.input.closeFocus();
                verify(!t.input.txtInput.activeFocus, how);
                compare(t.input.textValue, data.shown, how);
                compare(t.log, ["input 0", "end " + data.shown], how);
                compare(t.input.txtInput.selectedText, "", how);
            }
        }

        function test_rangeFollowsLimits() {
            const t = createInput({ maxValue: 64 });
            t.input.txtInput.forceActiveFocus();
            t.input.txtInput.selectAll();
            type("99");
            compare(t.input.textValue, "9");
            t.input.closeFocus();
            compare(t.log, ["input 0", "end 9"]);
        }

        function test_closeFocusWithoutFocusIsSilent() {
            const t = createInput();
            t.input.closeFocus();
            compare(t.log, []);
            compare(t.input.textValue, "0");
        }

        function test_pageTextIsKept() {
            const t = createInput({ textValue: "42" });
            compare(t.input.textValue, "42");
            t.input.txtInput.forceActiveFocus();
            t.input.closeFocus();
            compare(t.log, ["input 42", "end 42"]);
        }
    }
}
