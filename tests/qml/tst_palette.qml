import QtQuick
import QtTest
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/Vx"

// The controls take the palette, fonts and images from the scene's root item by name.
Harness {
    id: root

    Component { id: checkComponent; CheckBox { textValue: "x" } }
    Component { id: radioComponent; RadioButton { textValue: "x" } }
    Component { id: inputComponent; RectInput {} }
    Component { id: listComponent; DropDownList {} }
    Component { id: gridComponent; DropDownGrid {} }
    Component { id: dropSliderComponent; DropDownSlider {} }
    Component { id: sliderComponent; SliderButton {} }
    Component { id: busyComponent; BusyIndicator {} }

    TestCase {
        name: "Palette"
        when: windowShown

        function init() {
            failOnWarning(/.+/);
        }

        function test_colours_data() {
            return [
                { tag: "CheckBox border", component: checkComponent, property: "borderColor",
                  colour: "colorGray2" },
                { tag: "DropDownList border", component: listComponent, property: "borderColor",
                  colour: "colorGray1" },
                { tag: "DropDownList fill", component: listComponent, property: "bgColor",
                  colour: "colorGray0" },
                { tag: "DropDownGrid border", component: gridComponent, property: "borderColor",
                  colour: "colorGray1" },
                { tag: "DropDownGrid fill", component: gridComponent, property: "bgColor",
                  colour: "colorGray0" },
                { tag: "DropDownSlider panel", component: dropSliderComponent,
                  property: "sliderBgColor", colour: "colorGray0" },
                { tag: "DropDownSlider track", component: dropSliderComponent,
                  property: "sliderbarBg", colour: "colorGray1" },
                { tag: "SliderButton fill", component: sliderComponent, property: "colorS",
                  colour: "colorOrange" },
                { tag: "SliderButton track", component: sliderComponent, property: "colorBg",
                  colour: "colorGray1" },
            ];
        }

        function test_colours(data) {
            const control = createTemporaryObject(data.component, root);
            verify(Qt.colorEqual(control[data.property], root[data.colour]));
            // the lookup is live: a new palette reaches the control
            const saved = root[data.colour];
            root[data.colour] = "#123456";
            verify(Qt.colorEqual(control[data.property], "#123456"));
            root[data.colour] = saved;
        }

        function test_radioColours() {
            const radio = createTemporaryObject(radioComponent, root);
            verify(Qt.colorEqual(findChild(radio, "mark").color, root.colorGray3));
            verify(Qt.colorEqual(findChild(radio, "dot").color, root.colorOrange));
        }

        function test_fonts() {
            const input = createTemporaryObject(inputComponent, root).txtInput;
            compare(input.font.family, root.fontFamily);
            compare(input.font.pixelSize, root.fontNormalSize);
            verify(Qt.colorEqual(input.color, root.fontColor));
        }

        function test_images() {
            const slider = createTemporaryObject(sliderComponent, root);
            const knob = findChild(slider, "knob");
            compare(knob.status, Image.Ready);
            compare(knob.width, 12);
            compare(String(knob.source), root.sourceSlide);
            const check = findChild(createTemporaryObject(checkComponent, root, { isSelect: true }),
                                    "check");
            compare(check.status, Image.Ready);
            compare(String(check.source), root.sourceCheckBtn);
        }

        function test_dropArrows_data() {
            return [
                { tag: "list", component: listComponent },
                { tag: "grid", component: gridComponent },
                { tag: "slider", component: dropSliderComponent },
            ];
        }

        function test_dropArrows(data) {
            const control = createTemporaryObject(data.component, root, { x: 300, y: 300 });
            const head = findChild(control, "head");
            const arrow = findChild(head, "arrow");
            compare(arrow.status, Image.Ready);
            compare(String(arrow.source), root.sourceDropBtn);
            compare(arrow.x + arrow.width, head.width - 8);
            mouseClick(control, 10, 12);
            compare(String(arrow.source), root.sourceDropBtnU);
            compare(arrow.status, Image.Ready);
        }
    }
}
