import QtQuick
import QtTest
import "qrc:/modules/qml/Vx"

Harness {
    id: root

    Component {
        id: checkComponent
        CheckBox {
            x: 100
            y: 100
            textValue: "Endness"
            index: 3
        }
    }

    Component {
        id: radioComponent
        RadioButton {
            x: 100
            y: 100
            textValue: "Number of Rows"
            index: 5
        }
    }

    TestCase {
        name: "CheckBoxRadioButton"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function createControl(component, properties) {
            const control = createTemporaryObject(component, root, properties || {});
            verify(control);
            const log = [];
            // what a handler of the signal sees
            control.btnClick.connect(i => log.push(i + " " + control.isSelect));
            return { control: control, log: log };
        }

        function test_signalOrder_data() {
            return [
                { tag: "CheckBox off", component: checkComponent, before: false,
                  seen: "3 false", after: true },
                { tag: "CheckBox on", component: checkComponent, before: true,
                  seen: "3 true", after: false },
                { tag: "RadioButton off", component: radioComponent, before: false,
                  seen: "5 true", after: true },
                { tag: "RadioButton on stays on", component: radioComponent, before: true,
                  seen: "5 true", after: true },
            ];
        }

        function test_signalOrder(data) {
            const t = createControl(data.component, { isSelect: data.before });
            mouseClick(t.control, t.control.width / 2, t.control.height / 2);
            compare(t.log, [data.seen]);
            compare(t.control.isSelect, data.after);
        }

        // Clicks count up to 6 pixels outside the control.
        function test_clickMargin_data() {
            const rows = [];
            for (const kind of [{ name: "CheckBox", component: checkComponent },
                                { name: "RadioButton", component: radioComponent }]) {
                const add = (tag, dx, dy, fromRight, fromBottom, hit) => rows.push({
                    tag: kind.name + ", " + tag, component: kind.component,
                    dx: dx, dy: dy, fromRight: fromRight, fromBottom: fromBottom, hit: hit });
                add("6 left", -6, 2, false, false, true);
                add("8 left", -8, 2, false, false, false);
                add("6 above", 4, -6, false, false, true);
                add("8 above", 4, -8, false, false, false);
                add("5 right", 5, 2, true, false, true);
                add("8 right", 8, 2, true, false, false);
                add("5 below", 4, 5, false, true, true);
                add("8 below", 4, 8, false, true, false);
            }
            return rows;
        }

        function test_clickMargin(data) {
            const t = createControl(data.component);
            const x = (data.fromRight ? Math.ceil(t.control.width) : 0) + data.dx;
            const y = (data.fromBottom ? Math.ceil(t.control.height) : 0) + data.dy;
            mouseClick(t.control, x, y);
            compare(t.log.length, data.hit ? 1 : 0);
            compare(t.control.isSelect, data.hit);
        }

        function test_checkBoxLayout() {
            const t = createControl(checkComponent, { gapValue: 10, isSelect: true });
            const box = findChild(t.control, "box");
            const check = findChild(t.control, "check");
            compare(box.width, 12);
            compare(box.height, 12);
            compare(box.radius, 2);
            compare(box.border.width, 1);
            verify(box.x > 10);
            compare(t.control.width, box.x + 12);
            compare(check.x, box.x + 3);
            compare(check.y, box.y - 3);
            verify(check.visible);
            compare(check.status, Image.Ready);
            t.control.isSelect = false;
            verify(!check.visible);
            compare(t.log, []);
        }

        function test_radioButtonLayout() {
            const t = createControl(radioComponent);
            const mark = findChild(t.control, "mark");
            const dot = findChild(t.control, "dot");
            compare(mark.width, 10);
            compare(mark.radius, 4);
            compare(dot.width, 6);
            compare(dot.radius, 2);
            compare(dot.x, 2);
            compare(dot.y, 2);
            verify(!dot.visible);
            t.control.isSelect = true;
            verify(dot.visible);
            compare(t.log, []);
        }
    }
}
