// Report rate, the controller's option bytes, and the desktop's pointer settings.
#include "sensorfixture.h"

#include "platform/pointersettings.h"
#include "sensor/deviceoptions.h"
#include "sensor/gundata.h"
#include "sensor/lighting.h"
#include "sensor/pointeroptions.h"

#include <QTest>

namespace {

// Records what it is asked; refuses when told to.
class FakePointerSettings : public PointerSettings {
public:
    bool refuse = false;
    QStringList calls;

    bool setMouseSpeed(int speed) override
    {
        calls << QStringLiteral("speed %1").arg(speed);
        return !refuse;
    }
    bool setDoubleClickTime(int ms) override
    {
        calls << QStringLiteral("double-click %1").arg(ms);
        return !refuse;
    }
    bool setWheelScrollLines(unsigned lines) override
    {
        calls << QStringLiteral("lines %1").arg(lines);
        return !refuse;
    }
};

enum class PointerOp { Speed, DoubleClick, Lines };

} // namespace

Q_DECLARE_METATYPE(PointerOp)

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void rateTable_data();
    void rateTable();
    void reportRate_data();
    void reportRate();
    void setKeyboardOption_data();
    void setKeyboardOption();
    void getKeyboardOption_data();
    void getKeyboardOption();
    void pointer_data();
    void pointer();
    void refusedPointerSettingWritesItsLineOnce_data();
    void refusedPointerSettingWritesItsLineOnce();
    void withoutLinkNothingIsSent();
};

void TestOptions::rateTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("rateByte");

    QTest::newRow("125Hz") << 0 << 8;
    QTest::newRow("250Hz") << 1 << 4;
    QTest::newRow("500Hz") << 2 << 2;
    QTest::newRow("1000Hz") << 3 << 1;
    QTest::newRow("index 4") << 4 << 1;
    QTest::newRow("index -1") << -1 << 1;
}

void TestOptions::rateTable()
{
    QFETCH(int, index);
    QFETCH(int, rateByte);
    QCOMPARE(int(reportrate::rateByte(index)), rateByte);
    if (index >= 0 && index < 4) {
        const QString label = QString::fromLatin1(reportrate::kRates[index].label);
        QCOMPARE(label, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(label.chopped(2).toInt() * rateByte, 1000);
    }
}

void TestOptions::reportRate_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("553: 01H") << false << false << 4
                              << (QStringList{wire::feature({0x01, 4})} + wire::settle());
    QTest::newRow("553, byte unchanged")
        << false << true << 8 << (QStringList{wire::feature({0x01, 8})} + wire::settle());
    QTest::newRow("560: 03H for profiles 1 to 4")
        << true << false << 4
        << (QStringList{wire::feature({0x03, 1, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 2, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 3, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 4, 4})} + wire::settle());
    QTest::newRow("560 gun mouse: profile 1 only")
        << true << true << 2 << (QStringList{wire::feature({0x03, 1, 2})} + wire::settle());
}

void TestOptions::reportRate()
{
    QFETCH(bool, is560);
    QFETCH(bool, gun);
    QFETCH(int, rate);
    QFETCH(QStringList, expected);

    SensorFixture f({.is560 = is560, .isGun = gun});
    DeviceOptions(f.ctx).mouseSetReportRate(uchar(rate));
    QCOMPARE(f.lines(), expected);
    QCOMPARE(f.errors(), QStringList());
    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(int(is560 ? m.reportRates[1] : m.reportRate), rate);
}

void TestOptions::setKeyboardOption_data()
{
    QTest::addColumn<bool>("is560");
    QTest::newRow("553") << false;
    QTest::newRow("560 still gets the 553 command") << true;
}

void TestOptions::setKeyboardOption()
{
    QFETCH(bool, is560);
    SensorFixture f({.is560 = is560});
    DeviceOptions(f.ctx).mouseSetKeyboardoption(1, 2, 3, 0x40);
    QCOMPARE(f.lines(),
             (QStringList{wire::feature({0x03, 1, 2, 3, 0x40}), QStringLiteral("wait 8")}));
    if (!is560)
        QCOMPARE(f.mouse->memory().options, (std::array<uint8_t, 4>{1, 2, 3, 0x40}));
}

void TestOptions::getKeyboardOption_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QVariantList>("result");

    QTest::newRow("553") << false << true << QVariantList{0x11, 0x22, 3, 0x40};
    QTest::newRow("553 unplugged: zeros") << false << false << QVariantList{0, 0, 0, 0};
    // A 560 controller does not know the 553 command and does not answer it.
    QTest::newRow("560: zeros") << true << true << QVariantList{0, 0, 0, 0};
}

void TestOptions::getKeyboardOption()
{
    QFETCH(bool, is560);
    QFETCH(bool, plugged);
    QFETCH(QVariantList, result);

    SensorFixture f({.is560 = is560});
    VirtualMouse::Memory m = f.mouse->memory();
    m.options = {0x11, 0x22, 3, 0x40};
    m.options560 = {0x08, 0x33};
    f.mouse->setMemory(m);
    if (!plugged)
        f.mouse->unplug();

    const QVariantList v = DeviceOptions(f.ctx).GetKeyboardoption();
    QCOMPARE(v, result);
    for (const QVariant& b : v)
        QCOMPARE(b.typeId(), int(QMetaType::Int));
    if (plugged)
        QCOMPARE(f.frames(), QStringList{wire::feature({0x83})});
}

void TestOptions::pointer_data()
{
    QTest::addColumn<PointerOp>("op");
    QTest::addColumn<unsigned>("step");
    QTest::addColumn<QString>("call");

    const int speeds[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    for (unsigned step = 0; step <= 10; ++step) {
        QTest::addRow("speed step %u", step)
            << PointerOp::Speed << step << QStringLiteral("speed %1").arg(speeds[step]);
        QTest::addRow("double-click step %u", step)
            << PointerOp::DoubleClick << step
            << QStringLiteral("double-click %1").arg(900 - 70 * step);
    }
    // Steps the page never sends stay within the desktop's range.
    QTest::newRow("speed step 11 counts as 10")
        << PointerOp::Speed << 11u << QStringLiteral("speed 20");
    QTest::newRow("speed step 4294967295 counts as 10")
        << PointerOp::Speed << 4294967295u << QStringLiteral("speed 20");
    QTest::newRow("double-click step 13 counts as 10")
        << PointerOp::DoubleClick << 13u << QStringLiteral("double-click 200");
    QTest::newRow("3 lines") << PointerOp::Lines << 3u << QStringLiteral("lines 3");
    QTest::newRow("one screen: 1000 lines")
        << PointerOp::Lines << 1000u << QStringLiteral("lines 1000");
}

void TestOptions::pointer()
{
    QFETCH(PointerOp, op);
    QFETCH(unsigned, step);
    QFETCH(QString, call);

    FakePointerSettings desktop;
    PointerOptions pointer(desktop);
    DebugLines debug;
    switch (op) {
    case PointerOp::Speed:
        pointer.mouseSetCursorSpeed(step);
        break;
    case PointerOp::DoubleClick:
        pointer.mouseSetDoubleClickSpeed(step);
        break;
    case PointerOp::Lines:
        pointer.mouseSetVerticalScrollLines(step);
        break;
    }
    QCOMPARE(desktop.calls, QStringList{call});
    QCOMPARE(debug.lines(), QStringList());
}

void TestOptions::refusedPointerSettingWritesItsLineOnce_data()
{
    QTest::addColumn<PointerOp>("op");
    QTest::addColumn<QString>("line");

    QTest::newRow("speed") << PointerOp::Speed << QStringLiteral("setCursorSpeed Failed");
    QTest::newRow("double-click") << PointerOp::DoubleClick
                                  << QStringLiteral("setDoubleClickSpeed Failed");
    QTest::newRow("lines") << PointerOp::Lines << QStringLiteral("setVerticalScrollLines Failed");
}

void TestOptions::refusedPointerSettingWritesItsLineOnce()
{
    QFETCH(PointerOp, op);
    QFETCH(QString, line);

    FakePointerSettings desktop;
    desktop.refuse = true;
    PointerOptions pointer(desktop);
    DebugLines debug;
    switch (op) {
    case PointerOp::Speed:
        pointer.mouseSetCursorSpeed(5);
        break;
    case PointerOp::DoubleClick:
        pointer.mouseSetDoubleClickSpeed(5);
        break;
    case PointerOp::Lines:
        pointer.mouseSetVerticalScrollLines(5);
        break;
    }
    QCOMPARE(debug.lines(), QStringList{line});
    QCOMPARE(desktop.calls.size(), 1); // not retried
}

void TestOptions::withoutLinkNothingIsSent()
{
    // Until the window hands over its link the operations have no mouse to talk to.
    for (bool is560 : {false, true}) {
        SensorFixture f({.is560 = is560, .isGun = true});
        f.readBlocks();
        f.ctx.link = nullptr;
        DeviceOptions options(f.ctx);
        options.mouseSetReportRate(4);
        options.mouseSetKeyboardoption(1, 2, 3, 4);
        QCOMPARE(options.GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
        Lighting(f.ctx).mouseSetRGBEffect(5, 0, 4);
        Lighting(f.ctx).mouseSetRGBColor(0, QVariantList(24, 7));
        GunData(f.ctx).mouseSendGundata(1, {1, 2, 3});
        QCOMPARE(f.lines(), QStringList());
        if (is560) {
            // The copy still follows, to go out with the next block sent.
            QCOMPARE(int(f.blocks.block(4)[blockmap::kLightEffect]), 5);
            QCOMPARE(int(f.blocks.block(0)[blockmap::kColourTableMulti]), 7);
            QCOMPARE(int(f.blocks.block(1)[blockmap::kGunRepeat]), 1);
        }
    }
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
