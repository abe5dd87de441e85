// The main screen on the real bridge and window, attached to the virtual mouse: start-up, the
// report rate, Save, the factory reset, the help menu, dragging, key routing, the macro editor's
// events, busy periods and the language fallback.
#include "scenefixture.h"

#include "shell/ui_controler.h"

#include <QApplication>
#include <QDesktopServices>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString ApConfig = QStringLiteral("setting/apConfig.bin");
const QString P1 = QStringLiteral("setting/p1.bin");

const QColor SaveRed(QStringLiteral("#ff3030"));
const QColor Blue(QStringLiteral("#09347f"));
const QColor Orange(QStringLiteral("#cf3e00"));

QStringList builtInMainTexts()
{
    return {QStringLiteral("Editor"),
            QStringLiteral("Macro Editor"),
            QStringLiteral("Gun Editor"),
            QStringLiteral("Report Rate"),
            QStringLiteral("Config"),
            QStringLiteral("Reset"),
            QStringLiteral("Reset factory setting"),
            QStringLiteral("Cancel"),
            QStringLiteral("OK"),
            QStringLiteral("System setting"),
            QStringLiteral("Save"),
            QString(),
            QString(),
            QString(),
            QString()};
}

} // namespace

// Receives what the scene hands to the system's web browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestMainScreen : public QObject {
    Q_OBJECT

private slots:
    void startupShowsLogoUntilFirstBusyPeriodEnds();
    void firstInitUISendsNothingButReads_data();
    void firstInitUISendsNothingButReads();
    void laterInitUIOnlyBlocksAndRefreshesStage();
    void layoutFollowsTable();
    void reportRateStoresAndSends_data();
    void reportRateStoresAndSends();
    void reportRateShowsStoredIndex_data();
    void reportRateShowsStoredIndex();
    void saveButton_data();
    void saveButton();
    void resetDialog();
    void resetWithoutGun();
    void helpMenu();
    void titleBarButtons();
    void pressOnEmptyAreaClosesWhatIsOpen();
    void draggingMovesWindow();
    void dialogsOpenCentredOverMask();
    void keyMatrixRowOpensKeyAssignment();
    void capturedKeysReachRecordingPages();
    void macroEditorEvents();
    void currentDpiStage();
    void languageFallback_data();
    void languageFallback();
    void busyPeriodBlocksInput();
    void busyPeriodAndSequenceOverlap();
};

void TestMainScreen::startupShowsLogoUntilFirstBusyPeriodEnds()
{
    SceneFixture f;
    f.setting(ApConfig, QStringLiteral("common/name"), QStringLiteral("My Mouse"));
    QVERIFY(f.start());
    QCOMPARE(f.widget->windowTitle(), QStringLiteral("My Mouse"));
    QCOMPARE(f.widget->size(), QSize(1024, 640));

    // The first busy period: only the logo and the busy indicator.
    QVERIFY(f.root()->isVisible());
    QVERIFY(f.item(QStringLiteral("powerOn"))->isVisible());
    QVERIFY(f.item(QStringLiteral("busy"))->isVisible());
    QVERIFY(!f.view()->isEnabled());
    const QStringList hidden = {QStringLiteral("environment"), QStringLiteral("leftPanel"),
                                QStringLiteral("rightPanel"),  QStringLiteral("bottomBar"),
                                QStringLiteral("upItem"),      QStringLiteral("mouseMain")};
    for (const QString& name : hidden)
        QVERIFY2(!f.item(name)->isVisible(), qPrintable(name));

    // Its own timer ends it; then the whole screen shows at once.
    QTRY_VERIFY_WITH_TIMEOUT(f.view()->isEnabled(), 10000);
    QVERIFY(!f.item(QStringLiteral("powerOn"))->isVisible());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
    for (const QString& name : hidden)
        QVERIFY2(f.item(name)->isVisible(), qPrintable(name));
}

void TestMainScreen::firstInitUISendsNothingButReads_data()
{
    QTest::addColumn<SceneModel>("model");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("553: reads the DPI stage") << SceneModel{} << QStringList{wire::feature({0x8B})};
    QTest::newRow("560 on profile 1: nothing switched")
        << SceneModel{.is560 = true, .isGun = false, .onBoardProfile = 1}
        << QStringList{wire::feature({0x82}), wire::feature({0x84, 1})};
    QTest::newRow("560 on profile 2: back to profile 1")
        << SceneModel{.is560 = true, .isGun = false, .onBoardProfile = 2}
        << QStringList{wire::feature({0x82}), wire::feature({0x02, 1}), wire::feature({0x84, 1})};
}

void TestMainScreen::firstInitUISendsNothingButReads()
{
    QFETCH(SceneModel, model);
    QFETCH(QStringList, sent);

    SceneFixture f(model);
    QVERIFY(f.start());
    QCOMPARE(f.backend.trace().lines(WireTrace::FeatureOut), sent);
    QVERIFY(f.pointerNotes().isEmpty());
    QCOMPARE(f.mouse->memory().currentProfile, uint8_t(1));

    // The pages show the stored profile and the model flags came from the global file.
    QCOMPARE(f.eval(QStringLiteral("icType")).toString(),
             model.is560 ? QStringLiteral("560") : QStringLiteral("553-24"));
    QCOMPARE(f.eval(QStringLiteral("isGun")).toBool(), model.isGun);
    QCOMPARE(f.eval(QStringLiteral("isColorful")).toBool(), true);
    QCOMPARE(f.eval(QStringLiteral("mouseMain.keyCount")).toInt(), 8);
    QCOMPARE(f.item(QStringLiteral("reportRateList"))->property("textValue").toString(),
             QStringLiteral("1000Hz"));
    QCOMPARE(f.eval(QStringLiteral("dpiSettingMain.currentDPI")).toInt(), 0);
    QCOMPARE(f.eval(QStringLiteral("profileMain.profileNo")).toInt(), 0);
    QCOMPARE(f.eval(QStringLiteral("upItem.profileBtn.textValue")).toString(),
             QStringLiteral("Standard"));
}

void TestMainScreen::laterInitUIOnlyBlocksAndRefreshesStage()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    // What a second initUI would pick up if it read anything again.
    f.writeFile(QStringLiteral("i18n/English.ini"), "[main]\ntotal=1\n0=Changed\n");
    f.setting(ApConfig, QStringLiteral("mouse/isGun"), false);
    f.view()->setCurrentProfile(1); // a stray change the scene must not repeat
    f.view()->setCurrentProfile(0);
    VirtualMouse::Memory memory = f.mouse->memory();
    memory.currentDpi = 4;
    f.mouse->setMemory(memory);
    f.clearTrace();

    f.view()->initUI();
    QTRY_VERIFY(!f.view()->isEnabled());
    QVERIFY(f.item(QStringLiteral("busy"))->isVisible());
    QCOMPARE(f.backend.trace().lines(WireTrace::FeatureOut), QStringList{wire::feature({0x8B})});
    QCOMPARE(f.eval(QStringLiteral("dpiSettingMain.currentDPI")).toInt(), 3);
    QCOMPARE(f.eval(QStringLiteral("mainLang[0]")).toString(), QStringLiteral("Editor"));
    QCOMPARE(f.eval(QStringLiteral("isGun")).toBool(), true);
    QCOMPARE(f.eval(QStringLiteral("profileMain.profileDataModel0.count")).toInt(), 1);
    // The screen stays as it was, only blocked for a while.
    QVERIFY(f.item(QStringLiteral("leftPanel"))->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(f.view()->isEnabled(), 10000);
    QVERIFY(f.pointerNotes().isEmpty());
}

void TestMainScreen::layoutFollowsTable()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    const auto at = [&](const QString& name) {
        QQuickItem* i = f.item(name);
        return i ? QRect(f.pointIn(i, 0, 0), QSize(int(i->width()), int(i->height()))) : QRect();
    };
    QCOMPARE(at(QStringLiteral("leftPanel")).topLeft(), QPoint(24, 88));
    QCOMPARE(at(QStringLiteral("keyMatrixMain")).topLeft(), QPoint(24, 88));
    const QRect keys = at(QStringLiteral("keyMatrixMain"));
    QCOMPARE(at(QStringLiteral("editorBox")), QRect(24, keys.bottom() + 1 + 8, 232, 100));
    const QRect editor = at(QStringLiteral("editorBox"));
    QCOMPARE(at(QStringLiteral("reportRate")), QRect(24, editor.bottom() + 1 + 8, 232, 42));
    QCOMPARE(at(QStringLiteral("reportRateList")).width(), 120);
    const QRect rate = at(QStringLiteral("reportRate"));
    QCOMPARE(at(QStringLiteral("systemSettingButton")), QRect(24, rate.bottom() + 1 + 8, 232, 24));
    QCOMPARE(at(QStringLiteral("rightPanel")).topLeft(), QPoint(768, 56));
    const QRect dpi = at(QStringLiteral("dpiSettingMain"));
    QCOMPARE(dpi.topLeft(), QPoint(768, 56));
    QCOMPARE(at(QStringLiteral("lightControlMain")).topLeft(), QPoint(768, dpi.bottom() + 1 + 8));
    QCOMPARE(at(QStringLiteral("upItem")).topLeft(), QPoint(920, 16));
    QCOMPARE(at(QStringLiteral("profileList")).size(), QSize(144, 24));

    // Bottom bar: Config, Reset, Save, 16 apart, the last ending 24 from the right, 8 from below.
    const QRect config = at(QStringLiteral("configButton"));
    const QRect reset = at(QStringLiteral("resetButton"));
    const QRect save = at(QStringLiteral("saveButton"));
    QCOMPARE(save, QRect(1024 - 24 - 64, 640 - 8 - 24, 64, 24));
    QCOMPARE(reset, save.translated(-64 - 16, 0));
    QCOMPARE(config, reset.translated(-64 - 16, 0));

    QQuickItem* mask = f.item(QStringLiteral("mask"));
    QCOMPARE(at(QStringLiteral("mask")), QRect(0, 0, 1024, 640));
    QCOMPARE(mask->property("color").value<QColor>(), QColor(0, 0, 0, 0x90));
    QVERIFY(!mask->isVisible());
}

void TestMainScreen::reportRateStoresAndSends_data()
{
    QTest::addColumn<SceneModel>("model");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("553") << SceneModel{}
                         << (QStringList{wire::feature({0x01, 4})} + wire::settle());
    QTest::newRow("560 with gun: profile 1")
        << SceneModel{.is560 = true} << (QStringList{wire::feature({0x03, 1, 4})} + wire::settle());
    QStringList all;
    for (int k = 1; k <= 4; ++k)
        all << wire::feature({0x03, k, 4}) << wire::settle();
    QTest::newRow("560 without gun: profiles 1 to 4")
        << SceneModel{.is560 = true, .isGun = false} << all;
}

void TestMainScreen::reportRateStoresAndSends()
{
    QFETCH(SceneModel, model);
    QFETCH(QStringList, sent);

    SceneFixture f(model);
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    f.clearTrace();

    QVERIFY(f.chooseInDropDown(f.item(QStringLiteral("reportRateList")), 1));
    QTRY_COMPARE(f.lines(), sent);
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/reportRate")).toString(), QStringLiteral("1"));
    QCOMPARE(model.is560 ? f.mouse->memory().reportRates[1] : f.mouse->memory().reportRate,
             uint8_t(4));
}

void TestMainScreen::reportRateShowsStoredIndex_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");

    QTest::newRow("0") << QVariant(0) << QStringLiteral("125Hz");
    QTest::newRow("2") << QVariant(2) << QStringLiteral("500Hz");
    // What cannot be shown shows the entry whose rate byte is sent: 1000Hz.
    QTest::newRow("7") << QVariant(7) << QStringLiteral("1000Hz");
    QTest::newRow("text") << QVariant(QStringLiteral("fast")) << QStringLiteral("1000Hz");
    QTest::newRow("absent") << QVariant() << QStringLiteral("1000Hz");
}

void TestMainScreen::reportRateShowsStoredIndex()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);

    SceneFixture f;
    f.setting(P1, QStringLiteral("mouse/reportRate"), stored);
    QVERIFY(f.start());
    QCOMPARE(f.item(QStringLiteral("reportRateList"))->property("textValue").toString(), shown);
    // Showing sends nothing; the stored value stays as it was.
    QCOMPARE(f.backend.trace().lines(WireTrace::FeatureOut), QStringList{wire::feature({0x8B})});
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/reportRate")),
             stored.isValid() ? QVariant(stored.toString()) : QVariant());
}

void TestMainScreen::saveButton_data()
{
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QStringList>("steps");

    const QString keys = QStringLiteral("keyMatrixMain");
    const QString dpi = QStringLiteral("dpiSettingMain");
    const QString light = QStringLiteral("lightControlMain");
    QTest::newRow("nothing unsaved") << QStringList{} << QStringList{};
    QTest::newRow("key matrix") << QStringList{keys} << QStringList{QStringLiteral("12")};
    QTest::newRow("DPI") << QStringList{dpi} << QStringList{QStringLiteral("11")};
    QTest::newRow("lighting") << QStringList{light}
                              << QStringList{QStringLiteral("0d"), QStringLiteral("10")};
    // Always key matrix, DPI, lighting, whatever order the changes were made in.
    QTest::newRow("all three") << QStringList{light, dpi, keys}
                               << QStringList{QStringLiteral("12"), QStringLiteral("11"),
                                              QStringLiteral("0d"), QStringLiteral("10")};
}

void TestMainScreen::saveButton()
{
    QFETCH(QStringList, flags);
    QFETCH(QStringList, steps);

    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    QQuickItem* save = f.item(QStringLiteral("saveButton"));
    const auto colour = [save] { return save->property("color").value<QColor>(); };
    QCOMPARE(colour(), Blue);

    for (const QString& page : flags) {
        f.eval(page + QStringLiteral(".isSave = true"));
        QCOMPARE(colour(), SaveRed);
    }
    // Unsent changes stay red under the pointer.
    f.hover(f.centreOf(save));
    QCOMPARE(colour(), flags.isEmpty() ? Orange : SaveRed);

    f.clearTrace();
    f.clickAt(f.centreOf(save));
    QCOMPARE(f.steps(), steps);
    for (const QString& page : {QStringLiteral("keyMatrixMain"), QStringLiteral("dpiSettingMain"),
                                QStringLiteral("lightControlMain")})
        QVERIFY(!f.eval(page + QStringLiteral(".isSave")).toBool());
    QCOMPARE(colour(), Orange);
    f.hover(QPoint(600, 600));
    QCOMPARE(colour(), Blue);
    QVERIFY(f.view()->isEnabled());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
    if (flags.contains(QStringLiteral("dpiSettingMain")))
        QCOMPARE(f.profileValue(0, QStringLiteral("mouse/currentDpiCount")).toString(),
                 QStringLiteral("4"));
}

void TestMainScreen::resetDialog()
{
    SceneFixture f;
    f.setting(P1, QStringLiteral("mouse/reportRate"), 0);
    f.setting(P1, QStringLiteral("mouse/dpiValueArray"),
              QStringList{QStringLiteral("800"), QStringLiteral("800"), QStringLiteral("800"),
                          QStringLiteral("800"), QStringLiteral("800"), QStringLiteral("800"),
                          QStringLiteral("800"), QStringLiteral("800")});
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    f.eval(QStringLiteral("keyMatrixMain.isSave = true; dpiSettingMain.isSave = true; "
                          "lightControlMain.isSave = true"));

    QQuickItem* dialog = f.item(QStringLiteral("resetDialog"));
    QQuickItem* mask = f.item(QStringLiteral("mask"));
    f.clearTrace();
    f.click(QStringLiteral("resetButton"));
    QVERIFY(dialog->isVisible());
    QVERIFY(mask->isVisible());
    QCOMPARE(f.pointIn(dialog, 0, 0), QPoint((1024 - 427) / 2, (640 - 102) / 2));
    QCOMPARE(QSizeF(dialog->width(), dialog->height()), QSizeF(427, 102));

    // It can be dragged, never beyond the window.
    const QPoint grab = f.pointIn(dialog, 200, 60);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(f.view(), grab + QPoint(-20, -20));
    QTest::mouseMove(f.view(), grab + QPoint(-600, -600));
    QTest::mouseMove(f.view(), grab + QPoint(-950, -950));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, grab + QPoint(-950, -950));
    QCOMPARE(f.pointIn(dialog, 0, 0), QPoint(0, 0));

    // Cancel: nothing happens.
    f.click(QStringLiteral("resetCancel"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(!mask->isVisible());
    QVERIFY(f.lines().isEmpty());
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/reportRate")).toString(), QStringLiteral("0"));

    // OK: the active profile becomes the factory profile and all of it is sent, then stage 2.
    f.click(QStringLiteral("resetButton"));
    QCOMPARE(f.pointIn(dialog, 0, 0), QPoint((1024 - 427) / 2, (640 - 102) / 2));
    f.click(QStringLiteral("resetOk"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(!mask->isVisible());
    QStringList expected = resendSteps553Gun();
    expected << QStringLiteral("0b");
    QCOMPARE(f.steps().mid(0, expected.size()), expected);
    // Then the gun page's reset sends the three gun slots.
    QCOMPARE(
        f.backend.trace().lines(WireTrace::FeatureOut).filter(QStringLiteral("> 00 04 ")).size(),
        3);
    QVERIFY(f.backend.trace().lines(WireTrace::FeatureOut).contains(wire::feature({0x0B, 2})));
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/reportRate")).toString(), QStringLiteral("3"));
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/dpiValueArray")).toStringList().first(),
             QStringLiteral("500"));
    QCOMPARE(f.mouse->memory().reportRate, uint8_t(1));
    QCOMPARE(f.mouse->memory().currentDpi, uint8_t(2));
    QCOMPARE(f.eval(QStringLiteral("dpiSettingMain.currentDPI")).toInt(), 1);
    for (const QString& page : {QStringLiteral("keyMatrixMain"), QStringLiteral("dpiSettingMain"),
                                QStringLiteral("lightControlMain")})
        QVERIFY(!f.eval(page + QStringLiteral(".isSave")).toBool());
    QVERIFY(f.view()->isEnabled());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
    // Only the active slot was reset.
    QCOMPARE(f.view()->store().currentProfile(), 0);

    // The gun page's reset stores the slots 0, 1, 2 as a list the program can read back.
    f.sync();
    QCOMPARE(
        valueOnDisk(f.modules.file(ApConfig), QStringLiteral("mouse/selectGun")).toStringList(),
        (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
}

void TestMainScreen::resetWithoutGun()
{
    SceneFixture f({.isGun = false});
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    QCOMPARE(f.item(QStringLiteral("editorBox"))->height(), 76.0);
    QVERIFY(!f.item(QStringLiteral("gunEditorEntry"))->isVisible());
    f.clearTrace();
    f.click(QStringLiteral("resetButton"));
    f.click(QStringLiteral("resetOk"));
    // No key matrix switch and reset without the gun feature.
    QCOMPARE(f.steps().mid(0, 7),
             (QStringList{QStringLiteral("12"), QStringLiteral("01"), QStringLiteral("11"),
                          QStringLiteral("0d"), QStringLiteral("10"), QStringLiteral("pointer"),
                          QStringLiteral("0b")}));
}

void TestMainScreen::helpMenu()
{
    SceneFixture f;
    f.setting(ApConfig, QStringLiteral("common/url"), QStringLiteral("https://example.org/help"));
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    QQuickItem* menu = f.item(QStringLiteral("helpMenu"));
    QVERIFY(!menu->isVisible());
    f.click(QStringLiteral("helpButton"));
    QVERIFY(menu->isVisible());
    QCOMPARE(QRect(f.pointIn(menu, 0, 0), QSize(int(menu->width()), int(menu->height()))),
             QRect(1024 - 300, 30, 200, 48));
    QCOMPARE(f.item(QStringLiteral("helpEntry0"))->property("textValue").toString(),
             QStringLiteral("https://example.org/help"));
    QCOMPARE(f.item(QStringLiteral("helpEntry1"))->property("textValue").toString(),
             QStringLiteral("verison:1.0"));

    f.click(QStringLiteral("helpEntry1"));
    QVERIFY(!menu->isVisible());
    QVERIFY(browser.opened.isEmpty());

    f.click(QStringLiteral("helpButton"));
    f.click(QStringLiteral("helpEntry0"));
    QVERIFY(!menu->isVisible());
    QCOMPARE(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/help"))});
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void TestMainScreen::titleBarButtons()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    f.click(QStringLiteral("minimizeButton"));
    QTRY_VERIFY(f.widget->isMinimized());
    f.widget->showNormal();
    QTRY_VERIFY(!f.widget->isMinimized());
    // Closing hides the window; the program goes on in the tray.
    f.click(QStringLiteral("closeButton"));
    QVERIFY(!f.widget->isVisible());
}

void TestMainScreen::pressOnEmptyAreaClosesWhatIsOpen()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    const QPoint empty(600, 600);

    const QStringList dropDowns = {QStringLiteral("reportRateList"), QStringLiteral("profileList"),
                                   QStringLiteral("dpiSegment"), QStringLiteral("lightModel")};
    for (const QString& name : dropDowns) {
        QQuickItem* list = f.item(name);
        f.clickAt(f.pointIn(list, list->width() / 2, 12));
        QTRY_VERIFY(list->property("isDrop").toBool());
        QVERIFY(f.waitForAnimation(list));
        f.clearTrace();
        f.clickAt(empty);
        QVERIFY2(!list->property("isDrop").toBool(), qPrintable(name));
        QVERIFY(f.waitForAnimation(list));
        // Closing is no choice.
        QVERIFY(f.lines().isEmpty());
    }

    f.click(QStringLiteral("helpButton"));
    QVERIFY(f.item(QStringLiteral("helpMenu"))->isVisible());
    f.clickAt(empty);
    QVERIFY(!f.item(QStringLiteral("helpMenu"))->isVisible());

    // Opening another drop-down closes the open one.
    QQuickItem* rate = f.item(QStringLiteral("reportRateList"));
    QQuickItem* profiles = f.item(QStringLiteral("profileList"));
    f.clickAt(f.pointIn(profiles, 20, 12));
    QVERIFY(f.waitForAnimation(profiles));
    f.clickAt(f.pointIn(rate, 20, 12));
    QVERIFY(!profiles->property("isDrop").toBool());
    QVERIFY(rate->property("isDrop").toBool());
}

void TestMainScreen::draggingMovesWindow()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    const QPoint start = f.widget->pos();

    const QPoint press(600, 600);
    QTest::mousePress(f.view(), Qt::LeftButton, {}, press);
    QTest::mouseMove(f.view(), press + QPoint(30, 20));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, press + QPoint(30, 20));
    QCOMPARE(f.widget->pos(), start + QPoint(30, 20));

    // Over an open dialog the mask moves the window the same way.
    f.click(QStringLiteral("configButton"));
    QVERIFY(f.item(QStringLiteral("mask"))->isVisible());
    const QPoint moved = f.widget->pos();
    QTest::mousePress(f.view(), Qt::LeftButton, {}, QPoint(50, 600));
    QTest::mouseMove(f.view(), QPoint(40, 590));
    QTest::mouseRelease(f.view(), Qt::LeftButton, {}, QPoint(40, 590));
    QCOMPARE(f.widget->pos(), moved + QPoint(-10, -10));
    QVERIFY(f.item(QStringLiteral("profileMain"))->isVisible());
}

void TestMainScreen::dialogsOpenCentredOverMask()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    QQuickItem* mask = f.item(QStringLiteral("mask"));

    struct Case {
        QString opener, dialog, closer;
        QSize size;
    };
    const QList<Case> cases = {
        {QStringLiteral("macroEditorEntry"), QStringLiteral("macroEditorMain"),
         QStringLiteral("macroEditorClose"), QSize(640, 448)},
        {QStringLiteral("gunEditorEntry"), QStringLiteral("gunControlMain"),
         QStringLiteral("gunControlClose"), QSize(640, 448)},
        {QStringLiteral("systemSettingButton"), QStringLiteral("systemSettingMain"),
         QStringLiteral("systemSettingClose"), QSize(416, 312)},
        {QStringLiteral("configButton"), QStringLiteral("profileMain"),
         QStringLiteral("profileClose"), QSize(415, 288)},
    };
    for (const Case& c : cases) {
        // An open drop-down closes when a dialog opens.
        QQuickItem* rate = f.item(QStringLiteral("profileList"));
        f.clickAt(f.pointIn(rate, 20, 12));
        QVERIFY(f.waitForAnimation(rate));
        f.click(c.opener);
        QVERIFY(!rate->property("isDrop").toBool());
        QVERIFY(f.waitForAnimation(rate));

        QQuickItem* dialog = f.item(c.dialog);
        QVERIFY2(dialog->isVisible(), qPrintable(c.dialog));
        QVERIFY(mask->isVisible());
        QCOMPARE(QSize(int(dialog->width()), int(dialog->height())), c.size);
        QCOMPARE(f.pointIn(dialog, 0, 0),
                 QPoint((1024 - c.size.width()) / 2, (640 - c.size.height()) / 2));
        f.click(c.closer);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!mask->isVisible());
    }

    // The gun page opens on the gun of the first gun slot.
    f.eval(QStringLiteral("gunControlMain.selectGun1 = 4"));
    f.click(QStringLiteral("gunEditorEntry"));
    QCOMPARE(f.eval(QStringLiteral("gunControlMain.gunNumber_lv.currentIndex")).toInt(), 4);
}

void TestMainScreen::keyMatrixRowOpensKeyAssignment()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    QQuickItem* dialog = f.item(QStringLiteral("keyAssigmentMain"));

    // Hovering a row lights its button; leaving clears it.
    f.hover(f.centreOf(f.item(QStringLiteral("keyRow2"))));
    QCOMPARE(f.eval(QStringLiteral("mouseMain.selectKey")).toInt(), 2);
    f.hover(QPoint(600, 600));
    QCOMPARE(f.eval(QStringLiteral("mouseMain.selectKey")).toInt(), -1);

    // The only left-click button cannot be opened from the list.
    f.click(QStringLiteral("keyRow0"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(!f.item(QStringLiteral("mask"))->isVisible());

    f.click(QStringLiteral("keyRow4"));
    QVERIFY(dialog->isVisible());
    QVERIFY(f.item(QStringLiteral("mask"))->isVisible());
    QCOMPARE(f.pointIn(dialog, 0, 0).x(), (1024 - 416) / 2);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.keyIndex")).toInt(), 4);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.keyCode2")).toInt(), 0xF3);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.keyString")).toString(),
             QStringLiteral("Back Key"));
    // While it is open, leaving the row keeps the button lit.
    f.hover(QPoint(600, 600));
    QCOMPARE(f.eval(QStringLiteral("mouseMain.selectKey")).toInt(), 4);
}

void TestMainScreen::capturedKeysReachRecordingPages()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    const auto key = [&](bool isDown, int code) {
        f.view()->invokeRoot("detectKeyboard", Qt::QueuedConnection, {isDown, code});
        QCoreApplication::processEvents();
    };
    const auto captured = [&](const QString& page) {
        return f.eval(page + QStringLiteral(".length")).toInt();
    };

    // Nobody records: nothing is delivered.
    key(true, 0x04);
    QCOMPARE(captured(QStringLiteral("keyAssigmentMain.capturedKeys")), 0);
    QCOMPARE(captured(QStringLiteral("macroEditorMain.receivedKeys")), 0);

    // Fire key: index 0, and the capture ends at the first event.
    f.eval(QStringLiteral("keyAssigmentMain.isFireInput = true"));
    key(true, 0x05);
    key(false, 0x05);
    QCOMPARE(captured(QStringLiteral("keyAssigmentMain.capturedKeys")), 1);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.capturedKeys[0].usbCode")).toInt(), 0x05);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.capturedKeys[0].index")).toInt(), 0);

    // Key combination: index 1, presses and releases.
    f.eval(QStringLiteral("keyAssigmentMain.isComboInput = true"));
    key(true, 0xE0);
    key(false, 0xE0);
    QCOMPARE(captured(QStringLiteral("keyAssigmentMain.capturedKeys")), 3);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.capturedKeys[2].index")).toInt(), 1);
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.capturedKeys[2].isDown")).toBool(), false);
    f.eval(QStringLiteral("keyAssigmentMain.isComboInput = false"));

    // The macro editor gets keys only while a macro is selected.
    f.eval(QStringLiteral("macroEditorMain.isInputting = true"));
    key(true, 0x06);
    QCOMPARE(captured(QStringLiteral("macroEditorMain.receivedKeys")), 0);
    f.eval(QStringLiteral("macroEditorMain.currentMacro = 0"));
    key(true, 0x06);
    f.eval(
        QStringLiteral("macroEditorMain.isInputting = false; macroEditorMain.isInsertting = true"));
    key(false, 0x07);
    QCOMPARE(captured(QStringLiteral("macroEditorMain.receivedKeys")), 2);
    QCOMPARE(f.eval(QStringLiteral("macroEditorMain.receivedKeys[0].kind")).toString(),
             QStringLiteral("record"));
    QCOMPARE(f.eval(QStringLiteral("macroEditorMain.receivedKeys[1].kind")).toString(),
             QStringLiteral("insert"));
    QCOMPARE(f.eval(QStringLiteral("macroEditorMain.receivedKeys[1].usbCode")).toInt(), 0x07);

    // Mouse buttons are announced on msg_MS only.
    QSignalSpy buttons(f.root(), SIGNAL(msg_MS(QVariant, QVariant, QVariant, QVariant)));
    QSignalSpy keys(f.root(), SIGNAL(msg_KB(QVariant, QVariant)));
    f.view()->invokeRoot("detectMouse", Qt::QueuedConnection, {true, 0xF0, 12, 34});
    QTRY_COMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first(), (QVariantList{true, 0xF0, 12, 34}));
    QCOMPARE(keys.size(), 0);
    QCOMPARE(captured(QStringLiteral("macroEditorMain.receivedKeys")), 2);
}

void TestMainScreen::macroEditorEvents()
{
    SceneFixture f;
    // Buttons 2 and 4 play macro "M1" (button 2 from macro slot 7), button 3 plays "M2".
    const auto entry = [](int b0, int b1, int b2, int b3) {
        return QStringList{QString::number(b0), QString::number(b1), QString::number(b2),
                           QString::number(b3)};
    };
    f.setting(P1, QStringLiteral("mouseKeyMatrix/2"), entry(4, 1, 7, 0));
    f.setting(P1, QStringLiteral("mouseKeyMatrix/3"), entry(4, 1, 3, 0));
    f.setting(P1, QStringLiteral("mouseKeyMatrix/4"), entry(4, 0, 4, 0));
    f.setting(P1, QStringLiteral("mouseMacroKey/7"), QStringLiteral("M1"));
    f.setting(P1, QStringLiteral("mouseMacroKey/3"), QStringLiteral("M2"));
    f.setting(P1, QStringLiteral("mouseMacroKey/4"), QStringLiteral("M1"));
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    // Changed steps go to every button that plays the macro, by button index.
    f.eval(QStringLiteral("macroEditorMain.modifyMacroData('M1')"));
    QCOMPARE(f.eval(QStringLiteral("JSON.stringify(macroEditorMain.sentMacros)")).toString(),
             QStringLiteral(R"([{"index":2,"name":"M1"},{"index":4,"name":"M1"}])"));

    // A new name is stored for those buttons and shown on them.
    f.eval(QStringLiteral("macroEditorMain.modifyMacroName('M1', 'Mx')"));
    QCOMPARE(f.profileValue(0, QStringLiteral("mouseMacroKey/7")).toString(), QStringLiteral("Mx"));
    QCOMPARE(f.profileValue(0, QStringLiteral("mouseMacroKey/4")).toString(), QStringLiteral("Mx"));
    QCOMPARE(f.profileValue(0, QStringLiteral("mouseMacroKey/3")).toString(), QStringLiteral("M2"));
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(2).keyText")).toString(),
             QStringLiteral("Mx"));
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(4).keyText")).toString(),
             QStringLiteral("Mx"));

    // Deleting it gives both buttons back their factory entries and sends the matrix each time.
    f.clearTrace();
    f.eval(QStringLiteral("macroEditorMain.deleteMacro('Mx')"));
    QCOMPARE(
        f.backend.trace().lines(WireTrace::FeatureOut).filter(QStringLiteral("> 00 12 ")).size(),
        2);
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(2).keyCode2")).toInt(), 0xF2);
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(2).keyText")).toString(),
             QStringLiteral("Middle Key"));
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(4).keyCode0")).toInt(), 0);
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(4).keyCode2")).toInt(), 0xF3);
    QCOMPARE(f.eval(QStringLiteral("keyMatrixMain.modKeys.get(3).keyCode0")).toInt(), 4);
}

void TestMainScreen::currentDpiStage()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    const auto stage = [&] { return f.eval(QStringLiteral("dpiSettingMain.currentDPI")).toInt(); };

    f.view()->setCurrentDPI(3);
    QCOMPARE(stage(), 2);
    f.view()->setCurrentDPI(0);
    QCOMPARE(stage(), 2);
    f.view()->setCurrentDPI(8);
    QCOMPARE(stage(), 7);

    // The mouse's DPI button, through the report listener.
    f.mouse->pressDpiButton(5);
    QTRY_COMPARE(stage(), 4);
}

void TestMainScreen::languageFallback_data()
{
    QTest::addColumn<QByteArray>("languageFile");
    QTest::addColumn<QStringList>("mainTexts");
    QTest::addColumn<QString>("standardName");

    QStringList builtIn = builtInMainTexts();
    QTest::newRow("groups missing")
        << QByteArray("[keyMatrix]\ntotal=1\n0=Taste\n") << builtIn << QStringLiteral("Standard");
    QTest::newRow("no file") << QByteArray() << builtIn << QStringLiteral("Standard");

    QStringList shortList = builtIn;
    shortList[0] = QStringLiteral("Éditeur");
    shortList[1] = QStringLiteral("Macros");
    QTest::newRow("shorter than the built-in list")
        << QByteArray("[main]\ntotal=2\n0=\xc3\x89"
                      "diteur\n1=Macros\n"
                      "[profile]\ntotal=6\n0=a\n1=b\n2=c\n3=d\n4=e\n5=Norm\n")
        << shortList << QStringLiteral("Norm");
}

void TestMainScreen::languageFallback()
{
    QFETCH(QByteArray, languageFile);
    QFETCH(QStringList, mainTexts);
    QFETCH(QString, standardName);

    SceneFixture f;
    f.setting(ApConfig, QStringLiteral("common/language"), QStringLiteral("Test"));
    if (!languageFile.isEmpty())
        f.writeFile(QStringLiteral("i18n/Test.ini"), languageFile);
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    QCOMPARE(f.eval(QStringLiteral("mainLang")).toStringList(), mainTexts);
    QCOMPARE(f.eval(QStringLiteral("profileMain.profileDataModel0.get(0).textValue")).toString(),
             standardName);
    // The other pages keep their own English texts, and the key names their table.
    QCOMPARE(f.eval(QStringLiteral("dpiSettingMain.dpiSettingLang[0]")).toString(),
             QStringLiteral("DPI"));
    QCOMPARE(f.eval(QStringLiteral("keyAssigmentMain.keyAssigmentLang[56]")).toString(),
             QStringLiteral("Sniper Key"));
    QCOMPARE(f.eval(QStringLiteral("_KeyCodeString.keycodeTostr(0xF0)")).toString(),
             QStringLiteral("MS-L"));
    QCOMPARE(f.item(QStringLiteral("configButton"))->property("text").toString(), mainTexts[4]);
}

void TestMainScreen::busyPeriodBlocksInput()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    f.eval(QStringLiteral("keyMatrixMain.isSave = true"));
    f.clearTrace();

    f.view()->setBusy(1000);
    QVERIFY(!f.view()->isEnabled());
    QVERIFY(f.item(QStringLiteral("busy"))->isVisible());
    f.click(QStringLiteral("saveButton"));
    f.click(QStringLiteral("configButton"));
    QTest::keyClick(f.view(), Qt::Key_Return);
    QQuickItem* rate = f.item(QStringLiteral("reportRateList"));
    f.clickAt(f.pointIn(rate, 20, 12));
    f.clickAt(f.pointIn(rate, 20, 24 + 12));
    QVERIFY(!rate->property("isDrop").toBool());
    QVERIFY(f.lines().isEmpty());
    QVERIFY(f.eval(QStringLiteral("keyMatrixMain.isSave")).toBool());
    QVERIFY(!f.item(QStringLiteral("profileMain"))->isVisible());
    QCOMPARE(f.profileValue(0, QStringLiteral("mouse/reportRate")).toString(), QStringLiteral("3"));

    // When the period is over, the same click works.
    QTRY_VERIFY_WITH_TIMEOUT(f.view()->isEnabled(), 10000);
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
    f.click(QStringLiteral("saveButton"));
    QCOMPARE(f.steps(), QStringList{QStringLiteral("12")});
}

void TestMainScreen::busyPeriodAndSequenceOverlap()
{
    SceneFixture f;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());

    // A protect period ending inside a command sequence leaves input blocked until it ends.
    f.eval(QStringLiteral("controlUIEnable(false)"));
    f.view()->setBusy(0);
    QTRY_VERIFY(!f.eval(QStringLiteral("busyTimer.running")).toBool());
    QVERIFY(!f.view()->isEnabled());
    QVERIFY(f.item(QStringLiteral("busy"))->isVisible());
    f.eval(QStringLiteral("controlUIEnable(true)"));
    QVERIFY(f.view()->isEnabled());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());

    // A sequence ending inside a protect period leaves input blocked until the period ends.
    f.view()->setBusy(60000);
    f.eval(QStringLiteral("controlUIEnable(false)"));
    f.eval(QStringLiteral("controlUIEnable(true)"));
    QVERIFY(!f.view()->isEnabled());
    f.widget->controller()->setBusy(0);
    QTRY_VERIFY(f.view()->isEnabled());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
}

int main(int argc, char* argv[])
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestMainScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainscreen.moc"
