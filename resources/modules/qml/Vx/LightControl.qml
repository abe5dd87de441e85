import QtQuick

// Placeholder of the lighting page: loads, stores and sends the effect, its two steps and the
// eight colours, with the effect list the main screen closes. The sliders, hue bar and colour
// fields belong to the finished page.
Rectangle {
    id: lightPage

    property bool isSave: false
    property var lightControlLang: ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color",
        "Brightness", "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO",
        "Spotlight"]
    property alias lightModel: effectList
    property int speedStep: 0
    property int brightnessStep: 4
    property var colors: [255, 0, 0, 255, 128, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255,
        160, 0, 255, 255, 255, 255]

    readonly property int effect: effectList.currentSelect
    readonly property bool speedShown: [1, 2, 5, 8, 9, 10].indexOf(effect) >= 0
    readonly property bool brightnessShown: [0, 4, 5, 7, 8, 9, 10].indexOf(effect) >= 0

    width: 232
    height: speedShown && brightnessShown ? 264 : speedShown || brightnessShown ? 224 : 176
    color: colorBlack

    function toInt(value, fallback) {
        const v = parseInt(value, 10);
        return isNaN(v) ? fallback : v;
    }

    function init(isSendData, isRecovery) {
        for (let i = 0; i < 4; ++i)
            effects.setProperty(i, "textValue", lightControlLang[i + 1]);
        if (isColorful && !isSendData && !isPownOn && effects.count === 4) {
            for (let i = 8; i <= 14; ++i)
                effects.append({ textValue: lightControlLang[i] });
        }
        const light = ui_View.getDataList("mouse/lightValue", isRecovery) || [];
        if (light.length >= 3) {
            effectList.currentSelect = toInt(light[0], effectList.currentSelect);
            speedStep = toInt(light[1], speedStep);
            brightnessStep = toInt(light[2], brightnessStep);
        }
        const stored = ui_View.getDataList("mouse/colorValue", isRecovery) || [];
        if (stored.length >= 24)
            colors = stored.slice(0, 24).map((v) => toInt(v, 0));
        if (isSendData)
            saveData(true, 0);
    }

    function saveData(isSendData, isStep) {
        const effectValues = [effect, speedStep, brightnessStep];
        if (isStep === 0 || isStep === 1)
            ui_View.setDataList("mouse/lightValue", effectValues);
        if (isStep === 0 || isStep === 2)
            ui_View.setDataList("mouse/colorValue", colors);
        if (!isSendData)
            return;
        if (isStep === 0 || isStep === 1)
            ui_View.mouseSetRGBEffect(effect, speedStep, brightnessStep);
        if (isStep === 0 || isStep === 2)
            ui_View.mouseSetRGBColor(isColorful ? 0 : 1, colors);
    }

    function lightControlFocus() {
        effectList.closeMenu();
    }

    Text {
        x: 16
        y: 12
        text: lightControlLang[0]
        font.family: fontFamily
        font.pixelSize: fontMiddleSize
        font.bold: true
        color: fontColor
    }

    Image {
        id: resetIcon
        x: parent.width - 16 - width
        y: 16
        source: skinImage("lightControl", "back")
    }

    Column {
        x: 16
        y: 56
        spacing: 16

        StepRow {
            visible: lightPage.speedShown
            label: lightControlLang[5]
            step: lightPage.speedStep
        }
        StepRow {
            visible: lightPage.brightnessShown
            label: lightControlLang[7]
            step: lightPage.brightnessStep
        }
        Text {
            text: lightControlLang[6]
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }
        Row {
            spacing: 8
            Repeater {
                model: 8
                delegate: Rectangle {
                    id: block
                    required property int index
                    visible: isColorful || dpiSettingMain.dpiCount > index
                    width: 14
                    height: 14
                    border.color: index === 0 ? "#ffffff" : "transparent"
                    color: Qt.rgba(lightPage.colors[3 * index] / 255,
                                   lightPage.colors[3 * index + 1] / 255,
                                   lightPage.colors[3 * index + 2] / 255, 1)
                }
            }
        }
        Image {
            source: skinImage("lightControl", "hueBar")
        }
    }

    DropDownList {
        id: effectList
        objectName: "lightModel"
        x: resetIcon.x - 16 - width
        y: 12
        width: 107
        currentSelect: 0
        mdItems: ListModel {
            id: effects
            ListElement { textValue: "Static" }
            ListElement { textValue: "Breath" }
            ListElement { textValue: "Neon" }
            ListElement { textValue: "OFF" }
        }
        onBtnClick: mainIten.mainFocus()
        onValueChange: lightPage.isSave = true
    }

    component StepRow: Row {
        id: stepRow
        property string label: ""
        property int step: 0
        spacing: 8
        Text {
            width: 72
            text: stepRow.label
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }
        Rectangle {
            width: 96
            height: 6
            radius: 3
            anchors.verticalCenter: parent.verticalCenter
            color: colorGray1
            Rectangle {
                width: 12 + 84 * stepRow.step / 4
                height: parent.height
                radius: 3
                color: colorOrange
            }
        }
        Text {
            text: (25 * stepRow.step) + "%"
            font.family: fontFamily
            font.pixelSize: fontNormalSize
            color: fontColor
        }
    }
}
