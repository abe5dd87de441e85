import QtQuick

// Placeholder of the DPI page: loads, stores and sends the stage values and the stage count, and
// marks the stage the mouse uses. The sliders belong to the finished page; the stage values are
// drawn as bars.
Rectangle {
    id: dpiPage

    property bool isSave: false
    property int currentDPI: 0
    property int dpiCount: 4
    property int currentDpiCount: 4
    property int minDPI: 200
    property int maxDPI: 6000
    property string sensorType: "3360"
    property int dpiBase: 50
    property var dpiValueArray: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    property var shownValues: [2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000]
    property var dpiSettingLang: ["DPI"]
    property alias dpiSegment: segmentList

    width: 232
    height: 248
    color: colorBlack

    function toInt(value, fallback) {
        const v = parseInt(value, 10);
        return isNaN(v) ? fallback : v;
    }

    function init(isSendData, isRecovery) {
        if (!isRecovery) {
            dpiCount = toInt(ui_View.getData("mouse/dpiCount", false), dpiCount);
            currentDpiCount = toInt(ui_View.getData("mouse/currentDpiCount", false), currentDpiCount);
            minDPI = toInt(ui_View.getGlobalData("mouse/minDPI"), minDPI);
            maxDPI = toInt(ui_View.getGlobalData("mouse/maxDPI"), maxDPI);
            const sensor = ui_View.getGlobalData("mouse/sensorType");
            if (sensor !== undefined && sensor !== null)
                sensorType = String(sensor);
            dpiBase = toInt(ui_View.getGlobalData("mouse/dpiBase"), dpiBase);
        }
        const stored = ui_View.getDataList("mouse/dpiValueArray", isRecovery) || [];
        dpiValueArray = stored.map((v) => toInt(v, 0));
        if (dpiCount > 8)
            return;
        if (!isRecovery) {
            segmentList.currentSelect = currentDpiCount - 1;
            while (segmentModel.count > Math.max(dpiCount, 0))
                segmentModel.remove(segmentModel.count - 1);
            segmentList.closeMenu();
        }
        const values = shownValues.slice();
        for (let i = 0; i < 8 && i < dpiValueArray.length; ++i)
            values[i] = dpiValueArray[i];
        shownValues = values;
        if (isSendData)
            saveData(true);
    }

    function saveData(isSendData) {
        const values = shownValues.map((v) => toInt(v, 0));
        ui_View.setDataList("mouse/dpiValueArray", values);
        ui_View.setData("mouse/currentDpiCount", currentDpiCount);
        if (isSendData)
            ui_View.mouseSetDpi(currentDpiCount, sensorType, values);
    }

    Text {
        x: 16
        y: 12
        text: dpiSettingLang[0]
        font.family: fontFamily
        font.pixelSize: fontMiddleSize
        font.bold: true
        color: fontColor
    }

    Image {
        id: resetIcon
        x: parent.width - 16 - width
        y: 16
        source: skinImage("dpiSetting", "back")
    }

    Row {
        x: 16
        y: 56
        spacing: 4
        Repeater {
            model: 8
            delegate: Item {
                id: stage
                required property int index
                visible: index < dpiPage.currentDpiCount
                width: (200 - 4 * (dpiPage.currentDpiCount - 1)) / Math.max(1, dpiPage.currentDpiCount)
                height: 176

                Rectangle {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 6
                    height: parent.height
                    radius: 3
                    color: colorGray1
                }
                Rectangle {
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    width: 6
                    radius: 3
                    height: parent.height * Math.max(0, Math.min(1,
                            (dpiPage.shownValues[stage.index] - dpiPage.minDPI)
                            / Math.max(1, dpiPage.maxDPI - dpiPage.minDPI)))
                    color: dpiPage.currentDPI === stage.index ? colorOrange : colorBlue
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: parent.height + 4
                    text: dpiPage.shownValues[stage.index]
                    font.family: fontFamily
                    font.pixelSize: fontMinSize
                    color: dpiPage.currentDPI === stage.index ? colorOrange : fontColor
                }
            }
        }
    }

    // Above the bars, so that its open list covers them.
    DropDownList {
        id: segmentList
        objectName: "dpiSegment"
        x: resetIcon.x - 16 - width
        y: 12
        width: 64
        currentSelect: 3
        mdItems: ListModel {
            id: segmentModel
            ListElement { textValue: "1" }
            ListElement { textValue: "2" }
            ListElement { textValue: "3" }
            ListElement { textValue: "4" }
            ListElement { textValue: "5" }
            ListElement { textValue: "6" }
            ListElement { textValue: "7" }
            ListElement { textValue: "8" }
        }
        onBtnClick: mainIten.mainFocus()
        onValueChange: (index) => {
            dpiPage.currentDpiCount = index + 1;
            dpiPage.isSave = true;
        }
    }
}
