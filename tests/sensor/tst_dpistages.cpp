// DPI codes of each sensor, the stage block of the 553 controllers, the stage bytes of the 560
// profile blocks, and the active stage, at the wire of a virtual mouse.
#include "sensorfixture.h"

#include "sensor/dpistages.h"
#include "sensor/scenevalues.h"

#include <QTest>

#include <cmath>

namespace {

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList out;
    for (int v : values)
        out.append(v);
    return out;
}

const QVariantList kExample = ints({400, 800, 1600, 3200, 4000, 5000, 6000, 6000});

} // namespace

class TestDpiStages : public QObject {
    Q_OBJECT
private slots:
    void sceneNumbers_data();
    void sceneNumbers();
    void codes_data();
    void codes();
    void stageBlock553_data();
    void stageBlock553();
    void profileBlocks560_data();
    void profileBlocks560();
    void listsOtherThanEightNumbers_data();
    void listsOtherThanEightNumbers();
    void stageCountsOutsideOneToEight_data();
    void stageCountsOutsideOneToEight();
    void withoutLinkOnlyTheStoreChanges();
    void setCurrentDpi_data();
    void setCurrentDpi();
    void getCurrentDpi_data();
    void getCurrentDpi();
};

void TestDpiStages::sceneNumbers_data()
{
    // How list entries from the scene or the settings files become numbers.
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<qint64>("number");

    QTest::newRow("int") << QVariant(800) << true << qint64(800);
    QTest::newRow("negative int") << QVariant(-3) << true << qint64(-3);
    QTest::newRow("unsigned") << QVariant(4000u) << true << qint64(4000);
    QTest::newRow("stored text") << QVariant(QStringLiteral("1500")) << true << qint64(1500);
    QTest::newRow("text with spaces") << QVariant(QStringLiteral(" 12 ")) << true << qint64(12);
    QTest::newRow("decimal text") << QVariant(QStringLiteral("12.6")) << true << qint64(13);
    QTest::newRow("double rounds like toInt") << QVariant(799.6) << true << qint64(800);
    QTest::newRow("negative double") << QVariant(-2.5) << true << qint64(-3);
    QTest::newRow("word") << QVariant(QStringLiteral("fast")) << false << qint64(0);
    QTest::newRow("empty text") << QVariant(QString()) << false << qint64(0);
    QTest::newRow("undefined") << QVariant() << false << qint64(0);
    QTest::newRow("NaN") << QVariant(std::nan("")) << false << qint64(0);
    QTest::newRow("infinity") << QVariant(HUGE_VAL) << false << qint64(0);
    QTest::newRow("1e300") << QVariant(1e300) << false << qint64(0);
    QTest::newRow("a list") << QVariant(QVariantList{1, 2}) << false << qint64(0);
}

void TestDpiStages::sceneNumbers()
{
    QFETCH(QVariant, value);
    QFETCH(bool, isNumber);
    QFETCH(qint64, number);

    const auto n = scenevalues::integer(value);
    QCOMPARE(n.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*n, number);
}

void TestDpiStages::codes_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("code");

    const QString s3360 = QStringLiteral("3360"), s4090 = QStringLiteral("4090"),
                  s3050 = QStringLiteral("3050");
    QTest::newRow("3360 200") << s3360 << qint64(200) << 1;
    QTest::newRow("3360 800") << s3360 << qint64(800) << 7;
    QTest::newRow("3360 6000") << s3360 << qint64(6000) << 0x3B;
    QTest::newRow("3360 12000: no extended form") << s3360 << qint64(12000) << 119;
    QTest::newRow("3360 150 truncates") << s3360 << qint64(150) << 0;
    QTest::newRow("3360 30000: low 8 bits of 299") << s3360 << qint64(30000) << 0x2B;
    QTest::newRow("3360 50: low 8 bits of -1") << s3360 << qint64(50) << 0xFF;

    QTest::newRow("4090 5000") << s4090 << qint64(5000) << 49;
    QTest::newRow("4090 5001") << s4090 << qint64(5001) << 0x59;
    QTest::newRow("4090 5200") << s4090 << qint64(5200) << 0x5A;
    QTest::newRow("4090 6000") << s4090 << qint64(6000) << 0x5E;
    QTest::newRow("4090 12000") << s4090 << qint64(12000) << 0x7C;
    QTest::newRow("4090 400") << s4090 << qint64(400) << 3;
    QTest::newRow("empty sensor like 4090") << QString() << qint64(5001) << 0x59;
    QTest::newRow("unknown sensor like 4090") << QStringLiteral("3389") << qint64(6000) << 0x5E;
    QTest::newRow("\"3360 \" is not 3360") << QStringLiteral("3360 ") << qint64(6000) << 0x5E;

    const int limits[][2] = {{250, 1},     {500, 2},     {750, 3},     {1000, 4},
                             {1250, 5},    {1500, 6},    {1750, 7},    {2000, 8},
                             {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48}};
    for (size_t i = 0; i < std::size(limits); ++i) {
        QTest::addRow("3050 %d", limits[i][0]) << s3050 << qint64(limits[i][0]) << limits[i][1];
        if (i + 1 < std::size(limits))
            QTest::addRow("3050 %d", limits[i][0] + 1)
                << s3050 << qint64(limits[i][0] + 1) << limits[i + 1][1];
    }
    QTest::newRow("3050 800") << s3050 << qint64(800) << 4;
    QTest::newRow("3050 0") << s3050 << qint64(0) << 1;
    QTest::newRow("3050 4001") << s3050 << qint64(4001) << 0;
    QTest::newRow("3050 100000") << s3050 << qint64(100000) << 0;
}

void TestDpiStages::codes()
{
    QFETCH(QString, sensor);
    QFETCH(qint64, value);
    QFETCH(int, code);
    QCOMPARE(int(dpi::code(dpi::ruleFor(sensor), value)), code);
}

void TestDpiStages::stageBlock553_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QByteArray>("block");

    QTest::newRow("3360, four stages")
        << 4 << QStringLiteral("3360") << kExample << bytes({3, 7, 15, 31, 0x80, 0x80, 0x80, 0x80});
    QTest::newRow("4090, eight stages")
        << 8 << QStringLiteral("4090") << ints({200, 1000, 5000, 5001, 5200, 6000, 8000, 12000})
        << bytes({1, 9, 49, 0x59, 0x5A, 0x5E, 0x68, 0x7C});
    QTest::newRow("3050, two stages") << 2 << QStringLiteral("3050") << kExample
                                      << bytes({2, 4, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    QTest::newRow("one stage") << 1 << QStringLiteral("3360") << kExample
                               << bytes({3, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
    QTest::newRow("values as stored text")
        << 3 << QStringLiteral("3360")
        << QVariantList{QStringLiteral("500"),  QStringLiteral("1000"), QStringLiteral("1500"),
                        QStringLiteral("2000"), QStringLiteral("3000"), QStringLiteral("4000"),
                        QStringLiteral("5000"), QStringLiteral("6000")}
        << bytes({4, 9, 14, 0x80, 0x80, 0x80, 0x80, 0x80});
    QTest::newRow("values as the scene's numbers")
        << 2 << QStringLiteral("3360")
        << QVariantList{800.0, 1600.0, 400.0, 400.0, 400.0, 400.0, 400.0, 400.0}
        << bytes({7, 15, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
}

void TestDpiStages::stageBlock553()
{
    QFETCH(int, count);
    QFETCH(QString, sensor);
    QFETCH(QVariantList, values);
    QFETCH(QByteArray, block);

    SensorFixture f({});
    DpiStages(f.ctx).mouseSetDpi(count, sensor, values);
    QCOMPARE(f.lines(), QStringList{wire::feature({0x11, count, 8})} + wire::settle() +
                            wire::out(block) + wire::settle());
    QCOMPARE(f.errors(), QStringList());
    QCOMPARE(f.mouse->memory().dpiSets.value(count), block);
}

void TestDpiStages::profileBlocks560_data()
{
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QList<int>>("sent");

    const QByteArray example = bytes({3, 7, 15, 31, 39, 49, 59, 59});
    QTest::newRow("three stages, no gun: block 1 only")
        << false << 3 << QStringLiteral("3360") << kExample << example << 0x07 << QList<int>{1};
    QTest::newRow("three stages, gun: blocks 1 to 4")
        << true << 3 << QStringLiteral("3360") << kExample << example << 0x07
        << QList<int>{1, 2, 3, 4};
    QTest::newRow("eight stages, 4090")
        << false << 8 << QStringLiteral("4090") << kExample
        << bytes({3, 7, 15, 31, 39, 49, 0x5E, 0x5E}) << 0xFF << QList<int>{1};
    QTest::newRow("one stage, 3050, gun")
        << true << 1 << QStringLiteral("3050") << kExample << bytes({2, 4, 7, 0x47, 0x48, 0, 0, 0})
        << 0x01 << QList<int>{1, 2, 3, 4};
}

void TestDpiStages::profileBlocks560()
{
    QFETCH(bool, gun);
    QFETCH(int, count);
    QFETCH(QString, sensor);
    QFETCH(QVariantList, values);
    QFETCH(QByteArray, codes);
    QFETCH(int, mask);
    QFETCH(QList<int>, sent);

    SensorFixture f({.is560 = true, .isGun = gun});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    DpiStages(f.ctx).mouseSetDpi(count, sensor, values);

    // All four profiles carry the stages, also those a mouse without the gun feature is not sent.
    Patches patches;
    for (unsigned n = 1; n <= 4; ++n)
        patches << Patch{n, 84, codes} << Patch{n, 92, codes} << Patch{n, 100, bytes({mask})};
    verify560(f, before, patches, sent, blockmap::Feature::DpiStages);
}

void TestDpiStages::listsOtherThanEightNumbers_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("sent");

    QVariantList seven = kExample.mid(0, 7);
    QVariantList nine = kExample + QVariantList{100000};
    QVariantList word = kExample;
    word[5] = QStringLiteral("fast");
    QVariantList missing = kExample;
    missing[2] = QVariant();
    for (bool is560 : {false, true}) {
        const char* family = is560 ? "560" : "553";
        QTest::addRow("%s: empty", family) << is560 << QVariantList() << false;
        QTest::addRow("%s: seven values", family) << is560 << seven << false;
        QTest::addRow("%s: a word", family) << is560 << word << false;
        QTest::addRow("%s: an undefined value", family) << is560 << missing << false;
        QTest::addRow("%s: nine values, the ninth ignored", family) << is560 << nine << true;
    }
}

void TestDpiStages::listsOtherThanEightNumbers()
{
    QFETCH(bool, is560);
    QFETCH(QVariantList, values);
    QFETCH(bool, sent);

    SensorFixture f({.is560 = is560});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    DpiStages(f.ctx).mouseSetDpi(4, QStringLiteral("3360"), values);

    if (!sent) {
        QCOMPARE(f.lines(), QStringList());
        QCOMPARE(storedBlocks(f), before);
        return;
    }
    // Exactly what the first eight give.
    SensorFixture g({.is560 = is560});
    g.readBlocks();
    DpiStages(g.ctx).mouseSetDpi(4, QStringLiteral("3360"), kExample);
    QCOMPARE(f.lines(), g.lines());
    QCOMPARE(storedBlocks(f), storedBlocks(g));
}

void TestDpiStages::stageCountsOutsideOneToEight_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stageArgument");
    QTest::addColumn<QByteArray>("block553");
    QTest::addColumn<int>("mask560");

    const QByteArray all = bytes({3, 7, 15, 31, 39, 49, 59, 59});
    QTest::newRow("9 counts as 8") << 9 << 8 << all << 0xFF;
    QTest::newRow("260 counts as 8, not as its low byte 4") << 260 << 8 << all << 0xFF;
    QTest::newRow("0") << 0 << 0 << repeated(8, 0x80) << 0x00;
    QTest::newRow("-1 counts as 0") << -1 << 0 << repeated(8, 0x80) << 0x00;
}

void TestDpiStages::stageCountsOutsideOneToEight()
{
    QFETCH(int, count);
    QFETCH(int, stageArgument);
    QFETCH(QByteArray, block553);
    QFETCH(int, mask560);

    SensorFixture f553({});
    DpiStages(f553.ctx).mouseSetDpi(count, QStringLiteral("3360"), kExample);
    QCOMPARE(f553.frames(), QStringList{wire::feature({0x11, stageArgument, 8})});
    QCOMPARE(f553.mouse->memory().dpiSets.value(stageArgument), block553);

    SensorFixture f560({.is560 = true});
    f560.readBlocks();
    DpiStages(f560.ctx).mouseSetDpi(count, QStringLiteral("3360"), kExample);
    for (unsigned n = 1; n <= 4; ++n)
        QCOMPARE(int(f560.blocks.block(n)[blockmap::kStageMask]), mask560);
    QCOMPARE(uint8_t(f560.onMouse(1)[blockmap::kStageMask]), uint8_t(mask560));
}

void TestDpiStages::withoutLinkOnlyTheStoreChanges()
{
    SensorFixture f({.is560 = true, .isGun = true});
    f.readBlocks();
    const Blocks mouse = mouseBlocks(f);
    f.ctx.link = nullptr;
    DpiStages(f.ctx).mouseSetDpi(2, QStringLiteral("3360"), kExample);
    QCOMPARE(int(f.blocks.block(4)[blockmap::kStageMask]), 0x03);
    QCOMPARE(f.lines(), QStringList());
    QCOMPARE(mouseBlocks(f), mouse);

    DpiStages(f.ctx).mouseSetCurrentDPI(2);
    QCOMPARE(DpiStages(f.ctx).mouseGetCurrentDPI().toInt(), 0);
    f.ctx.icType = QStringLiteral("553-24");
    DpiStages(f.ctx).mouseSetDpi(2, QStringLiteral("3360"), kExample);
    QCOMPARE(f.lines(), QStringList());
}

void TestDpiStages::setCurrentDpi_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("553 stage 2, unchanged")
        << false << false << 2 << (QStringList{wire::feature({0x0B, 2})} + wire::settle());
    QTest::newRow("553 stage 9 is not range-checked")
        << false << false << 9 << (QStringList{wire::feature({0x0B, 9})} + wire::settle());
    QTest::newRow("560 stage 2, four profiles")
        << true << false << 2
        << (QStringList{wire::feature({0x04, 1, 2})} + wire::settle() +
            QStringList{wire::feature({0x04, 2, 2})} + wire::settle() +
            QStringList{wire::feature({0x04, 3, 2})} + wire::settle() +
            QStringList{wire::feature({0x04, 4, 2})} + wire::settle());
    QTest::newRow("560 gun mouse: profile 1 only")
        << true << true << 5 << (QStringList{wire::feature({0x04, 1, 5})} + wire::settle());
}

void TestDpiStages::setCurrentDpi()
{
    QFETCH(bool, is560);
    QFETCH(bool, gun);
    QFETCH(int, stage);
    QFETCH(QStringList, expected);

    SensorFixture f({.is560 = is560, .isGun = gun});
    DpiStages(f.ctx).mouseSetCurrentDPI(uchar(stage));
    QCOMPARE(f.lines(), expected);
    QCOMPARE(f.errors(), QStringList());
    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(int(is560 ? m.currentDpis[1] : m.currentDpi), stage);
    if (is560)
        QCOMPARE(int(m.currentDpis[4]), gun ? 1 : stage);
}

void TestDpiStages::getCurrentDpi_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("553") << false << true << 5 << QStringList{wire::feature({0x8B})};
    QTest::newRow("560 asks for profile 1")
        << true << true << 6 << QStringList{wire::feature({0x84, 1})};
    QTest::newRow("553 unplugged: 0") << false << false << 0 << QStringList();
    QTest::newRow("560 unplugged: 0") << true << false << 0 << QStringList();
}

void TestDpiStages::getCurrentDpi()
{
    QFETCH(bool, is560);
    QFETCH(bool, plugged);
    QFETCH(int, result);
    QFETCH(QStringList, frames);

    SensorFixture f({.is560 = is560});
    VirtualMouse::Memory m = f.mouse->memory();
    m.currentDpi = 5;
    m.currentDpis = {0, 6, 7, 7, 7};
    f.mouse->setMemory(m);
    if (!plugged)
        f.mouse->unplug();

    const QVariant v = DpiStages(f.ctx).mouseGetCurrentDPI();
    QCOMPARE(v.typeId(), int(QMetaType::Int));
    QCOMPARE(v.toInt(), result);
    QCOMPARE(f.frames(), frames);
}

QTEST_GUILESS_MAIN(TestDpiStages)
#include "tst_dpistages.moc"
