import QtQuick
import QtTest
import "qrc:/modules/qml/Vx"

Harness {
    id: root

    Component {
        id: sliderComponent
        DropDownSlider {
            x: 40
            y: 40
            width: 120
            textValue: "10ms"
        }
    }

    TestCase {
        name: "DropDownSlider"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function createControl(properties) {
            const control = createTemporaryObject(sliderComponent, root, properties || {});
            verify(control);
            const log = [];
            control.btnClick.connect(() => log.push("btnClick"));
            control.valueChange.connect(v => log.push("valueChange " + v));
            control.dragSignal.connect(d => log.push("dragSignal " + d));
            return {
                control: control, log: log,
                animation: findChild(control, "slideAnimation"),
                dropArea: findChild(control, "dropArea"),
            };
        }

        function test_headOpensAndCloses() {
            const t = createControl();
            compare(t.animation.duration, 180);
            mouseClick(t.control, 20, 12);
            verify(t.control.isDrop);
            mouseClick(t.control, 20, 12);
            verify(t.control.isDrop);
            tryCompare(t.animation, "running", false);
            compare(t.dropArea.height, 24);
            mouseClick(t.control, 20, 12);
            verify(!t.control.isDrop);
            tryCompare(t.animation, "running", false);
            verify(!t.dropArea.visible);
            compare(t.log, ["btnClick", "btnClick", "btnClick"]);
        }

        function test_sliderPlacement_data() {
            return [
                { tag: "gun period control", width: 120, sliderWidth: 104 },
                { tag: "fire rate control", width: 110, sliderWidth: 94 },
            ];
        }

        function test_sliderPlacement(data) {
            const t = createControl({ width: data.width });
            compare(t.control.sliderControl.width, data.sliderWidth);
            compare(t.control.sliderControl.x, 8);
        }

        // setValue goes through the slider's ratio placement and is forwarded as valueChange.
        function test_setValue_data() {
            return [
                { tag: "period 10", ratio: 5 / 86, position: 9 },
                { tag: "period 90", ratio: 85 / 86, position: 89 },
                { tag: "period 4", ratio: -1 / 86, position: 3 },
            ];
        }

        function test_setValue(data) {
            const t = createControl();
            t.control.setValue(data.ratio);
            compare(t.control.sliderControl.position, data.position);
            compare(t.log, ["valueChange " + data.position]);
        }

        function test_dragForwarded() {
            const t = createControl();
            mouseClick(t.control, 20, 12);
            tryCompare(t.animation, "running", false);
            const slider = t.control.sliderControl;
            const x = slider.position + 6;
            mousePress(slider, x, 3);
            mouseMove(slider, x + 20, 3, -1, Qt.LeftButton);
            mouseRelease(slider, x + 20, 3);
            compare(t.log, ["btnClick", "dragSignal true", "valueChange 23", "dragSignal false"]);
        }

        function test_closeMenu() {
            const t = createControl();
            t.control.closeMenu();
            verify(!t.control.isDrop);
            verify(!t.animation.running);
            mouseClick(t.control, 20, 12);
            tryCompare(t.animation, "running", false);
            t.control.closeMenu();
            verify(!t.control.isDrop);
            tryCompare(t.animation, "running", false);
            verify(!t.dropArea.visible);
        }
    }
}
