import QtQuick
import QtTest

// Every image the scene uses is in the resources at its page's path, with the size the pages
// lay out for.
Harness {
    id: root

    Component {
        id: imageComponent
        Image {}
    }

    TestCase {
        name: "Images"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function skinImages() {
            const list = [];
            const add = (page, names, w, h) => {
                for (const name of names)
                    list.push({ tag: page + "/" + name, source: root.skinImage(page, name),
                                width: w, height: h });
            };
            const withHover = names => names.reduce((all, n) => all.concat([n, n + "H"]), []);
            add("index", ["powerOn"], 400, 180);
            add("index", ["slide", "checkBtn"], 12, 12);
            add("index", ["dropBtn", "dropBtnU"], 10, 6);
            add("index", withHover(["ask", "minBtn", "closeBtn", "back"]), 16, 16);
            add("mouse", ["mouse", "key0H", "key1H", "key2H", "key3H", "key4H", "key5H", "key6H",
                          "key7H"], 324, 482);
            add("mouse", withHover(["keyLabel"]), 20, 20);
            add("mouse", withHover(["back", "close", "ok", "cancel"]), 16, 16);
            add("macros", withHover(["close"]), 16, 16);
            add("macros", ["delay", "keyDown", "keyUp", "mouseDown", "mouseUp"], 16, 16);
            add("profile", withHover(["close"]), 16, 16);
            add("lightControl", withHover(["back"]), 16, 16);
            add("lightControl", ["scale"], 96, 6);
            add("lightControl", ["hueBar"], 185, 10);
            add("lightControl", ["marker"], 9, 16);
            add("dpiSetting", withHover(["back"]), 16, 16);
            add("mouseRate", withHover(["back", "close"]), 16, 16);
            add("xySetting", ["target"], 186, 196);
            add("xySetting", ["dot"], 8, 8);
            add("gun", withHover(["close"]), 16, 16);
            add("gun", ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"], 180, 48);
            return list;
        }

        function test_image_data() {
            return [
                { tag: "background", source: root.sourceBackground, width: 1024, height: 624 },
                { tag: "backgroundTop", source: root.sourceBackgroundTop, width: 1024, height: 8 },
                { tag: "backgroundBottom", source: root.sourceBackgroundBottom, width: 1024,
                  height: 8 },
                { tag: "titleBar", source: root.sourceTitleBar, width: 1024, height: 48 },
                { tag: "titleLogo", source: root.sourceTitleLogo, width: 220, height: 48 },
            ].concat(skinImages());
        }

        function test_image(data) {
            const image = createTemporaryObject(imageComponent, root, { source: data.source });
            compare(image.status, Image.Ready, data.source);
            compare(image.implicitWidth, data.width);
            compare(image.implicitHeight, data.height);
        }

        // The window images sit at the paths the scene host names.
        function test_windowPaths() {
            compare(root.sourceBackground, "qrc:/modules/img/background.png");
            compare(root.sourceTitleBar, "qrc:/modules/img/titleBar.png");
            compare(root.sourceTitleLogo, "qrc:/modules/img/titleLogo.png");
            compare(root.sourceSlide, "qrc:/index/modules/img/skin1/index/slide.png");
        }

        // The hue bar shows, under each marker position, the colour the lighting page picks there.
        function test_hueBarColours_data() {
            return [
                { tag: "0 red", p: 0, rgb: [255, 0, 0] },
                { tag: "45", p: 45, rgb: [128, 255, 0] },
                { tag: "90 cyan", p: 90, rgb: [0, 255, 255] },
                { tag: "150", p: 150, rgb: [255, 0, 255] },
                { tag: "181 red again", p: 181, rgb: [255, 0, 0] },
                { tag: "183 white", p: 183, rgb: [255, 255, 255] },
            ];
        }

        function test_hueBarColours(data) {
            const image = createTemporaryObject(imageComponent, root,
                                                { source: root.skinImage("lightControl", "hueBar"),
                                                  x: 10, y: 10 });
            const grab = grabImage(image);
            const c = grab.pixel(data.p, 5);
            compare([Math.round(c.r * 255), Math.round(c.g * 255), Math.round(c.b * 255)],
                    data.rgb);
        }

        function test_trayIcon() {
            const image = createTemporaryObject(imageComponent, root,
                    { source: Qt.resolvedUrl("../../data/modules/img/logo.ico") });
            compare(image.status, Image.Ready);
            verify(image.implicitWidth >= 16);
            compare(image.implicitWidth, image.implicitHeight);
        }
    }
}
