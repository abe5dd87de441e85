// Light effects and colour tables: the value tables, and what reaches each controller family.
#include "sensorfixture.h"

#include "sensor/lighting.h"

#include <QTest>

namespace {

QVariantList colourList(int first)
{
    QVariantList out;
    for (int i = 0; i < 24; ++i)
        out.append((first + i * 10) % 256);
    return out;
}

QByteArray colourBytes(int first)
{
    QByteArray out;
    for (const QVariant& v : colourList(first))
        out.append(char(v.toInt()));
    return out;
}

} // namespace

class TestLighting : public QObject {
    Q_OBJECT
private slots:
    void effect_data();
    void effect();
    void effect560_data();
    void effect560();
    void colours553_data();
    void colours553();
    void colours560_data();
    void colours560();
    void colourListsOtherThan24Numbers_data();
    void colourListsOtherThan24Numbers();
};

void TestLighting::effect_data()
{
    QTest::addColumn<bool>("colourful");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");

    // Multicolour: every row, and every step of every value table.
    const int brightness[] = {0, 64, 128, 192, 255};
    const int speedA[] = {10, 7, 5, 3, 1};
    const int speedB[] = {20, 17, 15, 13, 11};
    const int speedC[] = {15, 13, 10, 7, 5};
    const int speedD[] = {30, 27, 24, 22, 20};
    for (int step = 0; step <= 5; ++step) {
        const auto at = [step](const int(&t)[5]) { return step < 5 ? t[step] : 0; };
        QTest::addRow("Static, brightness %d", step)
            << true << 0 << 2 << step << 1 << at(brightness) << 0;
        QTest::addRow("Breath, speed %d", step) << true << 1 << step << 4 << 3 << 0 << at(speedA);
        QTest::addRow("Neon, speed %d", step) << true << 2 << step << 4 << 4 << 0 << at(speedA);
        QTest::addRow("Twinkling, brightness %d", step)
            << true << 4 << 0 << step << 2 << at(brightness) << 0;
        QTest::addRow("Wave, speed %d", step) << true << 5 << step << 4 << 5 << 255 << at(speedA);
        QTest::addRow("Wave, brightness %d", step)
            << true << 5 << 0 << step << 5 << at(brightness) << 10;
        QTest::addRow("Finger Moving, brightness %d", step)
            << true << 7 << 3 << step << 7 << at(brightness) << 0;
        QTest::addRow("Vertical Flipping, speed %d", step)
            << true << 8 << step << 1 << 8 << 64 << at(speedB);
        QTest::addRow("YO-YO, speed %d", step) << true << 9 << step << 3 << 9 << 192 << at(speedC);
        QTest::addRow("Spotlight, speed %d", step)
            << true << 10 << step << 4 << 10 << 255 << at(speedD);
    }
    QTest::newRow("OFF") << true << 3 << 2 << 2 << 0 << 0 << 0;
    QTest::newRow("Gliding") << true << 6 << 4 << 4 << 6 << 0 << 0;
    QTest::newRow("position 11") << true << 11 << 2 << 2 << 0 << 0 << 0;
    QTest::newRow("position 255") << true << 255 << 2 << 2 << 0 << 0 << 0;

    // Single colour.
    const int staticP1[] = {1, 3, 5, 7, 10};
    const int neonP1[] = {30, 24, 18, 12, 6};
    for (int step = 0; step <= 5; ++step) {
        QTest::addRow("single Static, brightness %d", step)
            << false << 0 << 3 << step << 1 << (step < 5 ? staticP1[step] : 0) << 2;
        QTest::addRow("single Breath, speed %d", step)
            << false << 1 << step << 0 << 2 << step + 1 << 2;
        QTest::addRow("single Neon, speed %d", step)
            << false << 2 << step << 4 << 3 << (step < 5 ? neonP1[step] : 0) << 2;
    }
    QTest::newRow("single position 3") << false << 3 << 2 << 2 << 0 << 0 << 2;
    QTest::newRow("single position 200") << false << 200 << 2 << 2 << 0 << 0 << 2;
}

void TestLighting::effect()
{
    // The table, and the same through a 553 controller's effect command.
    QFETCH(bool, colourful);
    QFETCH(int, effect);
    QFETCH(int, speed);
    QFETCH(int, brightness);
    QFETCH(int, code);
    QFETCH(int, p1);
    QFETCH(int, p2);

    const lighting::Setting s =
        lighting::effectSetting(colourful, uint8_t(effect), uint8_t(speed), uint8_t(brightness));
    QCOMPARE((QList<int>{s.code, s.p1, s.p2}), (QList<int>{code, p1, p2}));

    SensorFixture f({.isColorful = colourful});
    Lighting(f.ctx).mouseSetRGBEffect(uchar(effect), uchar(speed), uchar(brightness));
    QCOMPARE(f.lines(), QStringList{wire::feature({0x0D, code, p1, p2})} + wire::settle());
    QCOMPARE(f.mouse->memory().ledEffect,
             (std::array<uint8_t, 3>{uint8_t(code), uint8_t(p1), uint8_t(p2)}));
}

void TestLighting::effect560_data()
{
    QTest::addColumn<bool>("colourful");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("effect");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<QByteArray>("profileBytes"); // bytes 71 … 73 of blocks 2 … 4
    QTest::addColumn<QByteArray>("block1Bytes");
    QTest::addColumn<QList<int>>("sent");

    QTest::newRow("multicolour Wave, no gun") << true << false << 5 << 0 << 4 << bytes({5, 255, 10})
                                              << bytes({5, 255, 10}) << QList<int>{1};
    QTest::newRow("multicolour Spotlight, gun")
        << true << true << 10 << 3 << 4 << bytes({10, 255, 22}) << bytes({10, 255, 22})
        << QList<int>{1, 2, 3, 4};
    QTest::newRow("single Breath, gun") << false << true << 1 << 4 << 0 << bytes({2, 5, 2})
                                        << bytes({2, 5, 2}) << QList<int>{1, 2, 3, 4};
    QTest::newRow("single Breath, no gun: block 1 takes 3")
        << false << false << 1 << 4 << 0 << bytes({2, 5, 2}) << bytes({2, 5, 3}) << QList<int>{1};
    QTest::newRow("single OFF, no gun")
        << false << false << 3 << 0 << 0 << bytes({0, 0, 2}) << bytes({0, 0, 3}) << QList<int>{1};
}

void TestLighting::effect560()
{
    QFETCH(bool, colourful);
    QFETCH(bool, gun);
    QFETCH(int, effect);
    QFETCH(int, speed);
    QFETCH(int, brightness);
    QFETCH(QByteArray, profileBytes);
    QFETCH(QByteArray, block1Bytes);
    QFETCH(QList<int>, sent);

    SensorFixture f({.is560 = true, .isGun = gun, .isColorful = colourful});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    Lighting(f.ctx).mouseSetRGBEffect(uchar(effect), uchar(speed), uchar(brightness));
    verify560(
        f, before,
        {{1, 71, block1Bytes}, {2, 71, profileBytes}, {3, 71, profileBytes}, {4, 71, profileBytes}},
        sent, blockmap::Feature::LightEffect);
}

void TestLighting::colours553_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("onWire");

    QTest::newRow("multicolour, type 0") << 0 << colourBytes(5);
    QTest::newRow("single colour, type 1") << 1 << colourBytes(5);
    QTest::newRow("type 2 takes the first four") << 2 << colourBytes(5).left(4);
}

void TestLighting::colours553()
{
    // The same command twice in a row.
    QFETCH(int, type);
    QFETCH(QByteArray, onWire);

    SensorFixture f({});
    Lighting(f.ctx).mouseSetRGBColor(uchar(type), colourList(5));
    const QStringList once = QStringList{wire::feature({0x10, type, int(onWire.size())})} +
                             wire::settle() + wire::out(onWire) + wire::settle();
    QCOMPARE(f.lines(), once + once);
    QCOMPARE(f.errors(), QStringList());
    QCOMPARE(f.mouse->memory().ledColors.value(type), onWire);
}

void TestLighting::colours560_data()
{
    QTest::addColumn<bool>("colourful");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("offset");

    QTest::newRow("multicolour: block 0") << true << false << 0 << 0 << 24;
    QTest::newRow("multicolour, gun: block 0 still") << true << true << 0 << 0 << 24;
    QTest::newRow("single colour: block 1") << false << false << 1 << 1 << 104;
    QTest::newRow("single colour, gun: block 1 only") << false << true << 1 << 1 << 104;
    QTest::newRow("type is not used") << true << false << 7 << 0 << 24;
}

void TestLighting::colours560()
{
    QFETCH(bool, colourful);
    QFETCH(bool, gun);
    QFETCH(int, type);
    QFETCH(int, block);
    QFETCH(int, offset);

    SensorFixture f({.is560 = true, .isGun = gun, .isColorful = colourful});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    Lighting(f.ctx).mouseSetRGBColor(uchar(type), colourList(9));
    verify560(f, before, {{unsigned(block), offset, colourBytes(9)}}, {block},
              colourful ? blockmap::Feature::LightColoursMulti
                        : blockmap::Feature::LightColoursSingle);
}

void TestLighting::colourListsOtherThan24Numbers_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QByteArray>("sent"); // empty: nothing

    QVariantList beyond = colourList(0);
    beyond[0] = 256;
    beyond[1] = -1;
    beyond[2] = 300;
    beyond[3] = QStringLiteral("17");
    QByteArray beyondBytes = colourBytes(0);
    beyondBytes[0] = char(0);
    beyondBytes[1] = char(255);
    beyondBytes[2] = char(44);
    beyondBytes[3] = char(17);
    QVariantList word = colourList(0);
    word[23] = QStringLiteral("red");

    for (bool is560 : {false, true}) {
        const char* family = is560 ? "560" : "553";
        QTest::addRow("%s: 23 values", family) << is560 << colourList(0).mid(0, 23) << QByteArray();
        QTest::addRow("%s: none", family) << is560 << QVariantList() << QByteArray();
        QTest::addRow("%s: a word", family) << is560 << word << QByteArray();
        QTest::addRow("%s: 25 values, the last ignored", family)
            << is560 << (colourList(0) + QVariantList{99}) << colourBytes(0);
        QTest::addRow("%s: values beyond a byte: low 8 bits", family)
            << is560 << beyond << beyondBytes;
    }
}

void TestLighting::colourListsOtherThan24Numbers()
{
    QFETCH(bool, is560);
    QFETCH(QVariantList, values);
    QFETCH(QByteArray, sent);

    SensorFixture f({.is560 = is560});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    Lighting(f.ctx).mouseSetRGBColor(0, values);
    if (sent.isEmpty()) {
        QCOMPARE(f.lines(), QStringList());
        QCOMPARE(storedBlocks(f), before);
        return;
    }
    if (is560) {
        verify560(f, before, {{0, 24, sent}}, {0}, blockmap::Feature::LightColoursMulti);
    } else {
        QCOMPARE(f.frames().size(), 2);
        QCOMPARE(f.mouse->memory().ledColors.value(0), sent);
    }
}

QTEST_GUILESS_MAIN(TestLighting)
#include "tst_lighting.moc"
