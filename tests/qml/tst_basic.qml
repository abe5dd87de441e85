import QtQuick
import QtTest
import "qrc:/modules/qml/basic"

Harness {
    id: root

    Component {
        id: busyComponent
        BusyIndicator {}
    }

    Component {
        id: environmentComponent
        Environment {}
    }

    Component {
        id: menuComponent
        Menu_Up {
            x: 920
            y: 16
        }
    }

    // stands in for the profile page: its list and its switch signal
    Component {
        id: profilePageComponent
        Item {
            signal changeProfile(int tmpProfileNo)
            property ListModel profileDataModel0: ListModel {
                ListElement { textValue: "Standard"; profileNo: 0 }
                ListElement { textValue: "profile_1"; profileNo: 1 }
                ListElement { textValue: "profile_2"; profileNo: 2 }
            }
        }
    }

    TestCase {
        name: "Basic"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function test_busyIndicator() {
            const busy = createTemporaryObject(busyComponent, root);
            const pulse = findChild(busy, "pulse");
            verify(pulse);
            verify(!busy.visible);
            verify(!pulse.running);
            busy.setBusy(true);
            verify(busy.visible);
            verify(pulse.running);
            verify(pulse.loops < 0); // endless
            compare(pulse.animations[0].from, 1.0);
            compare(pulse.animations[0].to, 0.2);
            compare(pulse.animations[0].duration, 400);
            compare(pulse.animations[1].to, 1.0);
            compare(pulse.animations[1].duration, 400);
            busy.setBusy(false);
            verify(!busy.visible);
            verify(!pulse.running);
        }

        function test_environment() {
            const env = createTemporaryObject(environmentComponent, root);
            compare(env.width, 1024);
            compare(env.height, 640);
            compare(findChild(env, "background").width, 1024);
            compare(findChild(env, "background").height, 640);
            const parts = [["backgroundTop", 0, 0, 1024, 8], ["backgroundBody", 0, 8, 1024, 624],
                           ["backgroundBottom", 0, 632, 1024, 8], ["titleBar", 0, 0, 1024, 48],
                           ["titleLogo", 52, 0, 220, 48]];
            for (const [name, x, y, w, h] of parts) {
                const image = findChild(env, name);
                tryCompare(image, "status", Image.Ready, 5000, name);
                compare(image.x, x, name);
                compare(image.y, y, name);
                compare(image.width, w, name);
                compare(image.height, h, name);
            }
            // drawn in that order: background, bar over it, logo over both
            compare(env.children[0].objectName, "background");
            compare(env.children[1].objectName, "titleBar");
            compare(env.children[2].objectName, "titleLogo");
        }

        function test_menuButtons_data() {
            return [
                { tag: "help", button: "helpButton", index: 2, hover: "askH.png" },
                { tag: "minimise", button: "minimizeButton", index: 0, hover: "minBtnH.png" },
                { tag: "close", button: "closeButton", index: 1, hover: "closeBtnH.png" },
            ];
        }

        function test_menuButtons(data) {
            const menu = createTemporaryObject(menuComponent, root);
            const clicked = [];
            menu.btnClicked.connect(i => clicked.push(i));
            const button = findChild(menu, data.button);
            compare(button.status, Image.Ready);
            compare(button.width, 16);
            verify(!String(button.source).endsWith(data.hover));
            mouseMove(button, 8, 8);
            verify(String(button.source).endsWith(data.hover));
            compare(button.status, Image.Ready);
            mouseMove(root, 10, 300);
            verify(!String(button.source).endsWith(data.hover));
            mouseClick(button, 8, 8);
            compare(clicked, [data.index]);
        }

        function test_menuLayout() {
            const menu = createTemporaryObject(menuComponent, root);
            const help = findChild(menu, "helpButton");
            const minimise = findChild(menu, "minimizeButton");
            const close = findChild(menu, "closeButton");
            compare(minimise.x - (help.x + help.width), 16);
            compare(close.x - (minimise.x + minimise.width), 16);
            const list = menu.profileBtn;
            compare(list.width, 144);
            compare(list.height, 24);
            compare(help.x - (list.x + list.width), 16);
            compare(list.y + list.height / 2, help.y + help.height / 2);
        }

        function test_profileChoiceCallsThePage() {
            const page = createTemporaryObject(profilePageComponent, root);
            const menu = createTemporaryObject(menuComponent, root, { profilePage: page });
            const switched = [];
            page.changeProfile.connect(i => switched.push(i));
            const list = menu.profileBtn;
            compare(list.count, 3);
            compare(list.textValue, "profile_2");
            list.currentSelect = 0;
            list.closeMenu();
            compare(list.textValue, "Standard");
            mouseClick(list, 40, 12);
            tryCompare(findChild(list, "slideAnimation"), "running", false);
            mouseClick(list, 40, 24 + 24 + 12);
            compare(switched, []);
            tryCompare(findChild(list, "slideAnimation"), "running", false);
            compare(switched, [1]);
            // entries added by the page show up at once
            page.profileDataModel0.append({ textValue: "profile_3", profileNo: 3 });
            compare(list.count, 4);
        }

        function test_profileChoiceWithoutPage() {
            const menu = createTemporaryObject(menuComponent, root);
            const list = menu.profileBtn;
            compare(list.count, 0);
            mouseClick(list, 40, 12);
            verify(list.isDrop);
            tryCompare(findChild(list, "slideAnimation"), "running", false);
            list.closeMenu();
            verify(!list.isDrop);
        }
    }
}
