// The store of a 560 mouse's profile blocks: its map, its bounds, and the moves between the store
// and the mouse.
#include "sensorfixture.h"

#include <QTest>

using blockmap::Feature;

class TestProfileBlocks : public QObject {
    Q_OBJECT
private slots:
    void mapStaysInsideBlocksAndFeaturesDoNotShareBytes();
    void writeRefusesAnythingPastABlock_data();
    void writeRefusesAnythingPastABlock();
    void blocksReadAndSentBackTravelUnchanged();
    void connectionReadsTheBlocksOfTheModel_data();
    void connectionReadsTheBlocksOfTheModel();
    void failedReadKeepsTheChunksThatDidNotArrive();
    void blockNumbersAboveFourMoveNothing();
    void currentProfile_data();
    void currentProfile();
};

void TestProfileBlocks::mapStaysInsideBlocksAndFeaturesDoNotShareBytes()
{
    for (const blockmap::Region& r : blockmap::kRegions) {
        QVERIFY(r.firstBlock <= r.lastBlock);
        QVERIFY(r.lastBlock < unsigned(blockmap::kBlockCount));
        QVERIFY(r.offset >= 0 && r.length > 0 && r.offset + r.length <= blockmap::kBlockSize);
    }
    const Feature all[] = {Feature::ButtonAssignment,   Feature::DpiStages,
                           Feature::LightEffect,        Feature::LightColoursMulti,
                           Feature::LightColoursSingle, Feature::GunData};
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n) {
        for (int i = 0; i < blockmap::kBlockSize; ++i) {
            int owners = 0;
            for (Feature f : all)
                owners += blockmap::featureWrites(f, n, i) ? 1 : 0;
            QVERIFY2(owners <= 1, qPrintable(QStringLiteral("block %1 byte %2").arg(n).arg(i)));
        }
    }
    // Gun data never reaches block 4, nor the common block.
    QVERIFY(!blockmap::featureWrites(Feature::GunData, 4, blockmap::kGunMarker));
    QVERIFY(!blockmap::featureWrites(Feature::GunData, 0, blockmap::kGunFlags));
}

void TestProfileBlocks::writeRefusesAnythingPastABlock_data()
{
    QTest::addColumn<unsigned>("block");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("written");

    QTest::newRow("start") << 0u << 0 << 24 << true;
    QTest::newRow("last byte") << 4u << 127 << 1 << true;
    QTest::newRow("ends at the block's end") << 1u << 104 << 24 << true;
    QTest::newRow("one byte past the end") << 1u << 105 << 24 << false;
    QTest::newRow("offset at the end") << 2u << 128 << 1 << false;
    QTest::newRow("negative offset") << 2u << -1 << 2 << false;
    QTest::newRow("a whole block from byte 1") << 2u << 1 << 128 << false;
    QTest::newRow("far offset") << 2u << 2147483647 << 1 << false;
    QTest::newRow("no block 5") << 5u << 0 << 1 << false;
}

void TestProfileBlocks::writeRefusesAnythingPastABlock()
{
    QFETCH(unsigned, block);
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(bool, written);

    ProfileBlocks blocks;
    const std::vector<uint8_t> data(size_t(size), 0xA5);
    const bool ok = blocks.write(block, offset, data);
    QCOMPARE(ok, written);
    int changed = 0;
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n) {
        for (int i = 0; i < blockmap::kBlockSize; ++i)
            changed += blocks.block(n)[i] == 0xA5 ? 1 : 0;
    }
    QCOMPARE(changed, written ? size : 0);
}

void TestProfileBlocks::blocksReadAndSentBackTravelUnchanged()
{
    // Every byte, those no feature knows included, goes back exactly as it was read.
    SensorFixture f({.is560 = true, .isGun = true});
    const Blocks mouse = mouseBlocks(f);
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n)
        f.blocks.mouseReadProfile(*f.link, n);
    QCOMPARE(f.frames(), (QStringList{wire::feature({0x8C, 0}), wire::feature({0x8C, 1}),
                                      wire::feature({0x8C, 2}), wire::feature({0x8C, 3}),
                                      wire::feature({0x8C, 4})}));
    QCOMPARE(storedBlocks(f), mouse);

    f.clearTrace();
    QStringList wire;
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n) {
        f.blocks.mouseSetProfile(*f.link, n);
        wire += setProfileLines(n, mouse[n]);
    }
    QCOMPARE(f.lines(), wire);
    QCOMPARE(mouseBlocks(f), mouse);
    QCOMPARE(f.errors(), QStringList());
}

void TestProfileBlocks::connectionReadsTheBlocksOfTheModel_data()
{
    QTest::addColumn<bool>("gun");
    QTest::addColumn<QList<int>>("read");

    QTest::newRow("no gun: blocks 0 and 1") << false << QList<int>{0, 1};
    QTest::newRow("gun: blocks 0 to 4") << true << QList<int>{0, 1, 2, 3, 4};
}

void TestProfileBlocks::connectionReadsTheBlocksOfTheModel()
{
    QFETCH(bool, gun);
    QFETCH(QList<int>, read);

    SensorFixture f({.is560 = true, .isGun = gun});
    f.blocks.readAtConnection(*f.link, gun);
    QStringList frames;
    for (int n : read)
        frames << wire::feature({0x8C, n});
    QCOMPARE(f.frames(), frames);
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n)
        QCOMPARE(f.stored(n),
                 read.contains(int(n)) ? f.onMouse(n) : QByteArray(blockmap::kBlockSize, '\0'));
}

void TestProfileBlocks::failedReadKeepsTheChunksThatDidNotArrive()
{
    SensorFixture f({.is560 = true});
    const QByteArray mouse = f.onMouse(2);
    const QByteArray old(blockmap::kBlockSize, '\x5a');
    f.blocks.write(2, 0, std::span(reinterpret_cast<const uint8_t*>(old.constData()), 128));

    f.cuttable.failInputReadsAfter(2); // two of the four 32-byte reports arrive
    f.blocks.mouseReadProfile(*f.link, 2);
    QCOMPARE(f.stored(2), mouse.left(64) + old.mid(64));
    QCOMPARE(f.stored(1), QByteArray(blockmap::kBlockSize, '\0'));
    QVERIFY(f.link->linkFree());
}

void TestProfileBlocks::blockNumbersAboveFourMoveNothing()
{
    SensorFixture f({.is560 = true});
    f.readBlocks();
    const Blocks before = storedBlocks(f);
    f.blocks.mouseReadProfile(*f.link, 5);
    f.blocks.mouseSetProfile(*f.link, 5);
    f.blocks.mouseSetProfile(*f.link, 0xFFFFFFFFu);
    QCOMPARE(f.lines(), QStringList());
    QCOMPARE(storedBlocks(f), before);
}

void TestProfileBlocks::currentProfile_data()
{
    QTest::addColumn<int>("onMouse");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("result");

    QTest::newRow("profile 3") << 3 << true << 3;
    QTest::newRow("profile 1") << 1 << true << 1;
    QTest::newRow("no answer: 0") << 3 << false << 0;
}

void TestProfileBlocks::currentProfile()
{
    QFETCH(int, onMouse);
    QFETCH(bool, plugged);
    QFETCH(int, result);

    SensorFixture f({.is560 = true});
    VirtualMouse::Memory m = f.mouse->memory();
    m.currentProfile = uint8_t(onMouse);
    f.mouse->setMemory(m);
    if (!plugged)
        f.mouse->unplug();

    const QVariant v = ProfileBlocks::mouseReadCurrentProfile(*f.link);
    QCOMPARE(v.typeId(), int(QMetaType::Int));
    QCOMPARE(v.toInt(), result);
    if (plugged)
        QCOMPARE(f.frames(), QStringList{wire::feature({0x82})});
}

QTEST_GUILESS_MAIN(TestProfileBlocks)
#include "tst_profileblocks.moc"
