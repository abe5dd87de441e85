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
        id: listComponent
        DropDownList {
            x: 100
            y: 40
            width: 120
        }
    }

    TestCase {
        name: "DropDownList"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function createList(itemCount, properties) {
            const model = createTemporaryObject(modelComponent, root);
            for (let i = 0; i < itemCount; ++i)
                model.append({ textValue: "item " + i });
            const props = properties || {};
            props.mdItems = model;
            const list = createTemporaryObject(listComponent, root, props);
            verify(list);
            const log = [];
            list.btnClick.connect(() => log.push("btnClick"));
            list.valueChange.connect(i => log.push("valueChange " + i));
            list.dragSignal.connect(d => log.push("dragSignal " + d));
            return {
                list: list, model: model, log: log,
                animation: findChild(list, "slideAnimation"),
                dropArea: findChild(list, "dropArea"),
                view: findChild(list, "list"),
                scrollBar: findChild(list, "scrollBar"),
            };
        }

        function open(t) {
            mouseClick(t.list, 20, 12);
            verify(t.list.isDrop);
            tryCompare(t.animation, "running", false);
        }

        function clickRow(t, row, x) {
            mouseClick(t.list, x === undefined ? 40 : x, 24 + 24 * row + 12);
        }

        function test_geometry_data() {
            return [
                { tag: "1 item", count: 1, rows: 1, scrollBar: false, duration: 170 },
                { tag: "4 items", count: 4, rows: 4, scrollBar: false, duration: 140 },
                { tag: "10 items", count: 10, rows: 10, scrollBar: false, duration: 80 },
                { tag: "11 items", count: 11, rows: 10, scrollBar: true, duration: 70 },
                { tag: "12 items", count: 12, rows: 10, scrollBar: true, duration: 60 },
                { tag: "18 items", count: 18, rows: 10, scrollBar: true, duration: 0 },
                { tag: "25 items never get a negative time", count: 25, rows: 10, scrollBar: true,
                  duration: 0 },
            ];
        }

        function test_geometry(data) {
            const t = createList(data.count);
            compare(t.list.count, data.count);
            compare(t.animation.duration, data.duration);
            verify(!t.dropArea.visible);
            open(t);
            verify(t.dropArea.visible);
            compare(t.dropArea.y, 24);
            compare(t.dropArea.height, 24 * data.rows);
            compare(t.scrollBar.visible, data.scrollBar);
            if (data.scrollBar)
                compare(t.scrollBar.width, 12);
        }

        function test_headClickTogglesUnlessAnimating() {
            const t = createList(4);
            mouseClick(t.list, 20, 12);
            verify(t.list.isDrop);
            verify(t.animation.running);
            // ignored while opening, though still announced
            mouseClick(t.list, 20, 12);
            verify(t.list.isDrop);
            compare(t.log, ["btnClick", "btnClick"]);
            tryCompare(t.animation, "running", false);
            mouseClick(t.list, 20, 12);
            verify(!t.list.isDrop);
            tryCompare(t.animation, "running", false);
            verify(!t.dropArea.visible);
            compare(t.log, ["btnClick", "btnClick", "btnClick"]);
        }

        function test_choiceAnnouncedAfterClosing_data() {
            return [
                { tag: "4 items", count: 4, row: 3 },
                { tag: "12 items", count: 12, row: 9 },
                { tag: "25 items, closing at once", count: 25, row: 0 },
            ];
        }

        function test_choiceAnnouncedAfterClosing(data) {
            const t = createList(data.count);
            open(t);
            let closedWhenAnnounced = false;
            t.list.valueChange.connect(() => closedWhenAnnounced = !t.dropArea.visible
                                                                  && !t.animation.running);
            clickRow(t, data.row);
            compare(t.list.currentSelect, data.row);
            verify(!t.list.isDrop);
            compare(t.list.textValue, "item " + data.row);
            if (data.count < 18)
                compare(t.log, ["btnClick"]);
            tryCompare(t.animation, "running", false);
            compare(t.log, ["btnClick", "valueChange " + data.row]);
            verify(closedWhenAnnounced);
        }

        function test_scrollBarStripIsNotAChoice() {
            const t = createList(4, { currentSelect: 0 });
            open(t);
            clickRow(t, 2, t.list.width - 7);
            compare(t.list.currentSelect, 0);
            verify(t.list.isDrop);
            clickRow(t, 2, t.list.width - 16);
            compare(t.list.currentSelect, 2);
        }

        function test_programmaticSelectionIsSilent() {
            const t = createList(4);
            compare(t.list.textValue, "item 2");
            t.list.currentSelect = 1;
            compare(t.list.textValue, "item 1");
            t.list.currentSelect = 7;
            compare(t.list.textValue, "");
            t.list.currentSelect = -1;
            compare(t.list.textValue, "");
            wait(50);
            compare(t.log, []);
        }

        function test_headFollowsModelEdits() {
            const t = createList(2, { currentSelect: 2 });
            compare(t.list.textValue, "");
            t.model.append({ textValue: "third" });
            compare(t.list.textValue, "third");
            t.model.setProperty(2, "textValue", "renamed");
            compare(t.list.textValue, "renamed");
            t.model.remove(0);
            compare(t.list.textValue, "");
        }

        function test_closeMenu_data() {
            return [
                { tag: "closed", prepare: "closed", isDrop: false, closes: false },
                { tag: "opening", prepare: "opening", isDrop: true, closes: false },
                { tag: "open", prepare: "open", isDrop: false, closes: true },
                { tag: "closing", prepare: "closing", isDrop: false, closes: false },
            ];
        }

        function test_closeMenu(data) {
            const t = createList(4);
            if (data.prepare !== "closed")
                mouseClick(t.list, 20, 12);
            if (data.prepare === "open" || data.prepare === "closing")
                tryCompare(t.animation, "running", false);
            if (data.prepare === "closing")
                mouseClick(t.list, 20, 12);
            const before = t.animation.to;
            t.list.closeMenu();
            compare(t.list.isDrop, data.isDrop);
            if (data.closes) {
                verify(t.animation.running);
                compare(t.animation.to, 0);
            } else {
                compare(t.animation.to, before);
            }
            tryCompare(t.animation, "running", false);
            compare(t.dropArea.visible, data.prepare === "opening");
            compare(t.log.indexOf("valueChange"), -1);
        }

        function test_scrollBarDrag() {
            const t = createList(12);
            open(t);
            compare(t.view.contentY, 0);
            const barX = t.list.width - 6;
            const barY = 24 + t.scrollBar.height / 2;
            mousePress(t.list, barX, barY);
            mouseMove(t.list, barX, barY + 20, -1, Qt.LeftButton);
            verify(t.view.contentY > 0);
            mouseMove(t.list, barX, barY + 400, -1, Qt.LeftButton);
            compare(t.view.contentY, 12 * 24 - 240);
            mouseRelease(t.list, barX, barY + 400);
            compare(t.log, ["btnClick", "dragSignal true", "dragSignal false"]);
            verify(t.list.isDrop);
            // the last row is now the tenth shown
            clickRow(t, 9);
            compare(t.list.currentSelect, 11);
        }
    }
}
