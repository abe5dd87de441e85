import QtQuick
import QtTest
import "qrc:/modules/qml/Vx"

Harness {
    id: root

    Component {
        id: modelComponent
        ListModel {}
    }

    Component {
        id: gridComponent
        DropDownGrid {
            x: 40
            y: 40
            width: 100
        }
    }

    TestCase {
        name: "DropDownGrid"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        // the media grid: eight choices and an empty ninth cell
        function createGrid(texts) {
            const model = createTemporaryObject(modelComponent, root);
            for (const text of texts)
                model.append({ textValue: text });
            const grid = createTemporaryObject(gridComponent, root, { mdItems: model });
            verify(grid);
            const log = [];
            grid.btnClick.connect(() => log.push("btnClick"));
            grid.valueChange.connect(i => log.push("valueChange " + i));
            return {
                grid: grid, log: log,
                animation: findChild(grid, "slideAnimation"),
                dropArea: findChild(grid, "dropArea"),
            };
        }

        function mediaTexts() {
            return ["Player", "Next", "Privous", "Stop", "Mute", "Play/Pause", "Volumn+",
                    "Volumn-", ""];
        }

        function open(t) {
            mouseClick(t.grid, 20, 12);
            verify(t.grid.isDrop);
            tryCompare(t.animation, "running", false);
        }

        function clickCell(t, index) {
            mouseClick(t.grid, 100 * (index % 3) + 50, 24 + 24 * Math.floor(index / 3) + 12);
        }

        function test_geometry_data() {
            return [
                { tag: "9 items", count: 9, height: 72, duration: 90 },
                { tag: "12 items", count: 12, height: 96, duration: 60 },
                { tag: "7 items, last row partly filled", count: 7, height: 72, duration: 110 },
            ];
        }

        function test_geometry(data) {
            const texts = [];
            for (let i = 0; i < data.count; ++i)
                texts.push("t" + i);
            const t = createGrid(texts);
            compare(t.animation.duration, data.duration);
            open(t);
            compare(t.dropArea.width, 300);
            compare(t.dropArea.height, data.height);
            compare(t.log, []);
        }

        function test_cellClick_data() {
            return [
                { tag: "a choice", cell: 4, selected: 4 },
                { tag: "the last choice", cell: 7, selected: 7 },
                { tag: "the empty cell", cell: 8, selected: 1 },
            ];
        }

        function test_cellClick(data) {
            const t = createGrid(mediaTexts());
            t.grid.currentSelect = 1;
            open(t);
            clickCell(t, data.cell);
            compare(t.grid.currentSelect, data.selected);
            verify(!t.grid.isDrop);
            compare(t.log, ["btnClick"]);
            tryCompare(t.animation, "running", false);
            verify(!t.dropArea.visible);
            compare(t.log, ["btnClick"]);
        }

        function test_headClickIsSilent() {
            const t = createGrid(mediaTexts());
            mouseClick(t.grid, 20, 12);
            verify(t.grid.isDrop);
            mouseClick(t.grid, 20, 12);
            verify(t.grid.isDrop);
            tryCompare(t.animation, "running", false);
            mouseClick(t.grid, 20, 12);
            verify(!t.grid.isDrop);
            tryCompare(t.animation, "running", false);
            compare(t.log, []);
        }

        function test_closeMenuAlwaysCloses_data() {
            return [
                { tag: "open", settle: true },
                { tag: "opening", settle: false },
            ];
        }

        function test_closeMenuAlwaysCloses(data) {
            const t = createGrid(mediaTexts());
            mouseClick(t.grid, 20, 12);
            if (data.settle)
                tryCompare(t.animation, "running", false);
            t.grid.closeMenu();
            verify(!t.grid.isDrop);
            tryCompare(t.animation, "running", false);
            verify(!t.dropArea.visible);
            compare(t.log, []);
        }

        function test_headShowsSelection() {
            const t = createGrid(mediaTexts());
            compare(t.grid.textValue, "Player");
            t.grid.currentSelect = 5;
            compare(t.grid.textValue, "Play/Pause");
        }
    }
}
