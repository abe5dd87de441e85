import QtQuick
import QtTest
import "qrc:/modules/qml/Vx"

Harness {
    id: root

    Component {
        id: sliderComponent
        SliderButton {
            x: 200
            y: 200
        }
    }

    TestCase {
        name: "SliderButton"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function createSlider(properties) {
            const slider = createTemporaryObject(sliderComponent, root, properties);
            verify(slider);
            const log = [];
            slider.valueChange.connect(v => log.push("valueChange " + v));
            slider.valueChangeDelay.connect(v => log.push("valueChangeDelay " + v));
            slider.btnClick.connect(() => log.push("btnClick"));
            slider.dragSignal.connect(d => log.push("dragSignal " + d));
            return { slider: slider, log: log, animation: findChild(slider, "moveAnimation") };
        }

        function knobCentre(slider) {
            return { x: slider.position + 6, y: 3 };
        }

        // Knob 12 wide: positions run from 3 to width − 15.
        function test_setRatioValue_data() {
            return [
                { tag: "DPI slider, 0", width: 176, ratio: 0, position: 4 },
                { tag: "DPI slider, 1 lands one past the range", width: 176, ratio: 1, position: 162 },
                { tag: "DPI slider, half", width: 176, ratio: 0.5, position: 83 },
                { tag: "period slider, 10 ms", width: 104, ratio: 5 / 86, position: 9 },
                { tag: "period slider, 90 ms", width: 104, ratio: 85 / 86, position: 89 },
                { tag: "fraction truncated", width: 100, ratio: 0.25, position: 24 },
            ];
        }

        function test_setRatioValue(data) {
            const t = createSlider({ width: data.width });
            t.slider.setRatioValue(data.ratio);
            compare(t.slider.position, data.position);
            compare(t.log, ["valueChange " + data.position]);
        }

        // The extra pixel makes every stored DPI value come back from the knob position.
        function test_setRatioValue_dpiRoundTrip() {
            const t = createSlider({ width: 176 });
            for (let v = 200; v <= 6000; v += 50) {
                t.slider.setRatioValue((v - 200) / (6000 - 200));
                const x = t.slider.position;
                const shown = Math.floor(((x - 3) * (6000 - 200) / 158 + 200) / 50) * 50;
                compare(shown, v, "DPI " + v + " at knob " + x);
            }
        }

        function test_setIndexValue_data() {
            return [
                { tag: "step 0, silent", index: 0, send: false, position: 3 },
                { tag: "step 1, announced", index: 1, send: true, position: 22.5 },
                { tag: "step 2, silent", index: 2, send: false, position: 42 },
                { tag: "step 4, announced", index: 4, send: true, position: 81 },
            ];
        }

        function test_setIndexValue(data) {
            // the lighting page's speed slider: 96 long, five stops
            const t = createSlider({ width: 96, segment: 4, isScale: true });
            t.slider.setIndexValue(data.index, data.send);
            compare(t.slider.position, data.position);
            compare(t.slider.segmentValue, data.index);
            compare(t.log, data.send ? ["valueChange " + data.position] : []);
        }

        function test_setValue_isSilent() {
            const t = createSlider({});
            t.slider.setValue(40);
            compare(t.slider.position, 40);
            compare(t.log, []);
        }

        function test_clickOnTrack_data() {
            return [
                { tag: "middle", x: 50, y: 3, target: 44 },
                { tag: "left end clamps", x: 20, y: 3, target: 14 },
                { tag: "right end clamps", x: 99, y: 3, target: 85 },
                { tag: "3 pixels above the track", x: 60, y: -3, target: 54 },
                { tag: "3 pixels below the track", x: 60, y: 8, target: 54 },
                { tag: "3 pixels right of the track", x: 102, y: 3, target: 85 },
                { tag: "too far above", x: 60, y: -5, target: -1 },
                { tag: "too far below", x: 60, y: 10, target: -1 },
            ];
        }

        function test_clickOnTrack(data) {
            const t = createSlider({});
            mouseClick(t.slider, data.x, data.y);
            if (data.target < 0) {
                wait(150);
                compare(t.log, []);
                compare(t.slider.position, 3);
                return;
            }
            compare(t.log, ["btnClick"]);
            verify(t.animation.running);
            tryCompare(t.animation, "running", false);
            compare(t.slider.position, data.target);
            compare(t.log, ["btnClick", "valueChange " + data.target,
                            "valueChangeDelay " + data.target]);
        }

        function test_scaledClicksStopAtElevenPlaces() {
            const t = createSlider({ width: 100, segment: 10, isScale: true });
            const step = (85 - 3) / 10;
            const seen = {};
            for (let x = -2; x <= 102; x += 4) {
                // keep the knob away from the pointer so that the click lands on the track
                t.slider.setIndexValue(x < 50 ? 10 : 0, false);
                mouseClick(t.slider, x, 3);
                tryVerify(() => !t.animation.running);
                const p = t.slider.position;
                const i = Math.round((p - 3) / step);
                fuzzyCompare(p, 3 + step * i, 1e-9, "click at " + x);
                compare(t.slider.segmentValue, i);
                seen[i] = true;
            }
            compare(Object.keys(seen).length, 11);
        }

        // A click snaps up to the first stop at or beyond the pointer.
        function test_scaledClickSnapsUp_data() {
            return [
                { tag: "on stop 0", x: 9, stop: 0 },
                { tag: "just past stop 0", x: 10, stop: 1 },
                { tag: "just before stop 3", x: 33, stop: 3 },
                { tag: "right end", x: 100, stop: 10 },
            ];
        }

        function test_scaledClickSnapsUp(data) {
            const t = createSlider({ width: 100, segment: 10, isScale: true });
            t.slider.setIndexValue(data.x < 50 ? 10 : 0, false);
            mouseClick(t.slider, data.x, 3);
            compare(t.slider.segmentValue, data.stop);
            tryCompare(t.animation, "running", false);
            fuzzyCompare(t.slider.position, 3 + 8.2 * data.stop, 1e-9);
        }

        function test_dragFree() {
            const t = createSlider({});
            const c = knobCentre(t.slider);
            mousePress(t.slider, c.x, c.y);
            mouseMove(t.slider, c.x + 10, c.y, -1, Qt.LeftButton);
            mouseMove(t.slider, c.x + 30, c.y, -1, Qt.LeftButton);
            mouseMove(t.slider, c.x + 500, c.y, -1, Qt.LeftButton);
            mouseRelease(t.slider, c.x + 500, c.y);
            compare(t.log, ["btnClick", "dragSignal true", "valueChange 13", "valueChange 33",
                            "valueChange 85", "valueChangeDelay 85", "dragSignal false"]);
        }

        // On release a scaled knob goes to the first stop it does not pass by more than a pixel.
        function test_dragScaled_data() {
            return [
                { tag: "stays", dx: 1, position: 3, stop: 0 },
                { tag: "one pixel past a stop still snaps back", dx: 9, position: 11.2, stop: 1 },
                { tag: "further goes on", dx: 10, position: 19.4, stop: 2 },
                { tag: "short move goes up", dx: 4, position: 11.2, stop: 1 },
                { tag: "to the end", dx: 300, position: 85, stop: 10 },
            ];
        }

        function test_dragScaled(data) {
            const t = createSlider({ width: 100, segment: 10, isScale: true });
            const c = knobCentre(t.slider);
            mousePress(t.slider, c.x, c.y);
            mouseMove(t.slider, c.x + data.dx, c.y, -1, Qt.LeftButton);
            mouseRelease(t.slider, c.x + data.dx, c.y);
            fuzzyCompare(t.slider.position, data.position, 1e-9);
            compare(t.slider.segmentValue, data.stop);
            compare(t.log.length, 4);
            compare(t.log.slice(0, 2), ["btnClick", "dragSignal true"]);
            verify(t.log[2].startsWith("valueChangeDelay "));
            fuzzyCompare(Number(t.log[2].split(" ")[1]), data.position, 1e-9);
            compare(t.log[3], "dragSignal false");
        }

        // The DPI page turns its sliders upright; dragging follows the pointer along the slider.
        function test_dragUpright() {
            const t = createSlider({ width: 176, rotation: -90 });
            const c = knobCentre(t.slider);
            mousePress(t.slider, c.x, c.y);
            mouseMove(t.slider, c.x + 40, c.y, -1, Qt.LeftButton);
            mouseRelease(t.slider, c.x + 40, c.y);
            compare(t.slider.position, 43);
            const knob = findChild(t.slider, "knob");
            const scenePos = knob.mapToItem(root, 0, 0);
            const startPos = t.slider.mapToItem(root, 3, 0);
            fuzzyCompare(startPos.y - scenePos.y, 40, 1e-6);
        }
    }
}
