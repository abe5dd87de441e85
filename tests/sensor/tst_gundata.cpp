// The gun file, the gun slots of both controller families, and the per-profile XY sensitivity and
// gun selection.
#include "sensorfixture.h"

#include "sensor/gundata.h"
#include "store/settingsstore.h"

#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

const QString kGunFile = QStringLiteral("gun/gunData.bin");

QVariantList list(std::initializer_list<QVariant> values)
{
    return QVariantList(values);
}

QVariantList strings(std::initializer_list<const char*> values)
{
    QVariantList out;
    for (const char* v : values)
        out.append(QString::fromLatin1(v));
    return out;
}

// A fixture with a settings store on a private copy of the shipped data.
struct GunFixture {
    ModulesCopy modules;
    SettingsStore store{modules.dir()};
    SensorFixture f;
    GunData gun{f.ctx};

    explicit GunFixture(Model model = {.isGun = true}) : f(model) { f.ctx.store = &store; }
    QByteArray gunFile() const { return modules.read(kGunFile); }
};

} // namespace

class TestGunData : public QObject {
    Q_OBJECT
private slots:
    void saveWritesSixEntriesAsText();
    void shippedGunsAndAbsentKeys();
    void saveWithOtherListLengths_data();
    void saveWithOtherListLengths();
    void namesThatAddressNoGun_data();
    void namesThatAddressNoGun();
    void modify_data();
    void modify();
    void missingGunFile();
    void verticalValue_data();
    void verticalValue();
    void send553_data();
    void send553();
    void send560_data();
    void send560();
    void sendRefusesSlotsAndShortLists_data();
    void sendRefusesSlotsAndShortLists();
    void xySensitivityAndGunSelection();
};

void TestGunData::saveWritesSixEntriesAsText()
{
    GunFixture g;
    QVERIFY(g.modules.isValid());
    g.gun.mouseSaveGundata(
        2, list({QStringLiteral("SCAR-L"), QStringLiteral("L-Click"), 10, 0, 10, 0}));
    QVERIFY(g.gunFile().contains("\n2=SCAR-L, L-Click, 10, 0, 10, 0\n"));
    QCOMPARE(g.gun.getGunData(2), strings({"SCAR-L", "L-Click", "10", "0", "10", "0"}));
    QCOMPARE(g.gun.getGunData(QStringLiteral("2")).size(), 6);

    // The page's numbers arrive as doubles; they are written as the numbers they are.
    g.gun.mouseSaveGundata(
        4.0, list({QStringLiteral("UNP9"), QStringLiteral("L-Click"), 12.0, 0.0, 7.0, 3.0}));
    QCOMPARE(g.gun.getGunData(4), strings({"UNP9", "L-Click", "12", "0", "7", "3"}));
}

void TestGunData::shippedGunsAndAbsentKeys()
{
    GunFixture g;
    QCOMPARE(g.gun.getGunDataKey(),
             (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                          QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")}));
    QCOMPARE(g.gun.getGunData(0), strings({"M416", "L-Click", "10", "0", "10", "0"}));
    QCOMPARE(g.gun.getGunData(7), QVariantList());
    QCOMPARE(g.gun.getGunData(QVariant()), QVariantList());
}

void TestGunData::saveWithOtherListLengths_data()
{
    QTest::addColumn<QVariantList>("src");
    QTest::addColumn<QVariantList>("stored"); // empty: the file is unchanged

    QTest::newRow("five entries: nothing")
        << strings({"AKM", "L-Click", "10", "0", "10"}) << QVariantList();
    QTest::newRow("none: nothing") << QVariantList() << QVariantList();
    QTest::newRow("seven entries: the first six")
        << strings({"AKM", "R-Click", "11", "1", "12", "13", "extra"})
        << strings({"AKM", "R-Click", "11", "1", "12", "13"});
}

void TestGunData::saveWithOtherListLengths()
{
    QFETCH(QVariantList, src);
    QFETCH(QVariantList, stored);

    GunFixture g;
    const QByteArray before = g.gunFile();
    g.gun.mouseSaveGundata(1, src);
    if (stored.isEmpty())
        QCOMPARE(g.gunFile(), before);
    else
        QCOMPARE(g.gun.getGunData(1), stored);
}

void TestGunData::namesThatAddressNoGun_data()
{
    QTest::addColumn<QVariant>("name");

    QTest::newRow("empty") << QVariant(QString());
    QTest::newRow("undefined") << QVariant();
    QTest::newRow("slash") << QVariant(QStringLiteral("M4/16"));
    QTest::newRow("trailing slash") << QVariant(QStringLiteral("0/"));
    QTest::newRow("backslash") << QVariant(QStringLiteral("a\\b"));
}

void TestGunData::namesThatAddressNoGun()
{
    // QSettings reads "gunData/" as the whole group: removing it would wipe every gun.
    QFETCH(QVariant, name);

    GunFixture g;
    const QByteArray before = g.gunFile();
    const QVariantList six = strings({"X", "L-Click", "10", "0", "10", "0"});
    g.gun.modifyGundata(0, {name});
    g.gun.mouseSaveGundata(name, six);
    g.gun.modifyGundata(1, six + QVariantList{name});
    QVariantList renamed = six + QVariantList{QStringLiteral("M416")};
    renamed[0] = name;
    g.gun.modifyGundata(1, renamed);
    QCOMPARE(g.gunFile(), before);
    QCOMPARE(g.gun.getGunData(name), QVariantList());
    QCOMPARE(g.gun.getGunDataKey().size(), 6);
}

void TestGunData::modify_data()
{
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<QVariantList>("src");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QVariantList>("newEntry"); // under "Groza"

    const QStringList shipped{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                              QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};
    QTest::newRow("0 removes by name")
        << QVariant(0) << strings({"3"})
        << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                       QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("M416")}
        << QVariantList();
    QTest::newRow("0 for an absent name")
        << QVariant(0) << strings({"Groza"}) << shipped + QStringList{QStringLiteral("M416")}
        << QVariantList();
    QTest::newRow("1 renames and writes five entries")
        << QVariant(1) << strings({"Groza", "R-Click", "20", "1", "30", "4", "M416"})
        << shipped + QStringList{QStringLiteral("Groza")}
        << strings({"R-Click", "20", "1", "30", "4"});
    QTest::newRow("1 as text") << QVariant(QStringLiteral("1"))
                               << strings({"Groza", "R-Click", "20", "1", "30", "4", "M416"})
                               << shipped + QStringList{QStringLiteral("Groza")}
                               << strings({"R-Click", "20", "1", "30", "4"});
    QTest::newRow("1 with six entries: nothing")
        << QVariant(1) << strings({"Groza", "R-Click", "20", "1", "30", "4"})
        << shipped + QStringList{QStringLiteral("M416")} << QVariantList();
    QTest::newRow("2: nothing") << QVariant(2) << strings({"M416"})
                                << shipped + QStringList{QStringLiteral("M416")} << QVariantList();
    QTest::newRow("a word: nothing")
        << QVariant(QStringLiteral("remove")) << strings({"M416"})
        << shipped + QStringList{QStringLiteral("M416")} << QVariantList();
    QTest::newRow("0 with no entries: nothing")
        << QVariant(0) << QVariantList() << shipped + QStringList{QStringLiteral("M416")}
        << QVariantList();
}

void TestGunData::modify()
{
    QFETCH(QVariant, type);
    QFETCH(QVariantList, src);
    QFETCH(QStringList, keys);
    QFETCH(QVariantList, newEntry);

    GunFixture g;
    g.gun.mouseSaveGundata(QStringLiteral("M416"),
                           strings({"M416", "L-Click", "10", "0", "10", "0"}));
    g.gun.modifyGundata(type, src);
    QStringList found = g.gun.getGunDataKey();
    found.sort();
    keys.sort();
    QCOMPARE(found, keys);
    QCOMPARE(g.gun.getGunData(QStringLiteral("Groza")), newEntry);
}

void TestGunData::missingGunFile()
{
    GunFixture g;
    QVERIFY(QFile::remove(g.modules.file(kGunFile)));
    const QVariantList six = strings({"M416", "L-Click", "10", "0", "10", "0"});
    g.gun.mouseSaveGundata(0, six);
    g.gun.modifyGundata(0, six);
    g.gun.modifyGundata(1, six + QVariantList{QStringLiteral("AKM")});
    QCOMPARE(g.gun.getGunData(0), QVariantList());
    QCOMPARE(g.gun.getGunDataKey(), QStringList());
    QVERIFY(!QFile::exists(g.modules.file(kGunFile)));
}

void TestGunData::verticalValue_data()
{
    QTest::addColumn<qint64>("vertical");
    QTest::addColumn<bool>("negate");
    QTest::addColumn<int>("sent");

    QTest::newRow("10") << qint64(10) << false << 10;
    QTest::newRow("10 negated") << qint64(10) << true << 0xF6;
    QTest::newRow("64 negated") << qint64(64) << true << 0xC0;
    QTest::newRow("0 negated") << qint64(0) << true << 0;
    QTest::newRow("266: low 8 bits") << qint64(266) << false << 10;
    QTest::newRow("266 negated: low 8 bits first") << qint64(266) << true << 0xF6;
    QTest::newRow("-1") << qint64(-1) << false << 0xFF;
    QTest::newRow("-1 negated") << qint64(-1) << true << 1;
}

void TestGunData::verticalValue()
{
    QFETCH(qint64, vertical);
    QFETCH(bool, negate);
    QFETCH(int, sent);
    QCOMPARE(int(gun::verticalValue(vertical, negate)), sent);
}

void TestGunData::send553_data()
{
    QTest::addColumn<int>("optionByte3");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<QList<int>>("sent"); // repeat, horizontal, vertical, slot

    QTest::newRow("byte 3 set: vertical negated")
        << 1 << 2 << list({0, 0, 10}) << QList<int>{0, 0, 0xF6, 2};
    QTest::newRow("byte 3 clear: vertical as is")
        << 0 << 2 << list({0, 0, 10}) << QList<int>{0, 0, 10, 2};
    QTest::newRow("any non-zero byte 3")
        << 0x80 << 1 << list({5, 3, 64}) << QList<int>{5, 3, 0xC0, 1};
    QTest::newRow("0 negated is 0") << 1 << 3 << list({255, 64, 0}) << QList<int>{255, 64, 0, 3};
    QTest::newRow("beyond a byte: low 8 bits")
        << 0 << 3 << list({300, -1, 266}) << QList<int>{44, 255, 10, 3};
    QTest::newRow("low 8 bits, then negated")
        << 1 << 3 << list({0, 0, 266}) << QList<int>{0, 0, 0xF6, 3};
    QTest::newRow("a fourth value is ignored")
        << 0 << 1 << list({1, 2, 3, 4}) << QList<int>{1, 2, 3, 1};
    QTest::newRow("text and doubles")
        << 0 << 1 << list({QStringLiteral("7"), 2.0, 9.0}) << QList<int>{7, 2, 9, 1};
}

void TestGunData::send553()
{
    QFETCH(int, optionByte3);
    QFETCH(int, slot);
    QFETCH(QVariantList, data);
    QFETCH(QList<int>, sent);

    GunFixture g;
    VirtualMouse::Memory m = g.f.mouse->memory();
    m.options = {0x11, 0x22, uint8_t(optionByte3), 0x40};
    g.f.mouse->setMemory(m);

    g.gun.mouseSendGundata(slot, data);
    QCOMPARE(g.f.frames(),
             (QStringList{wire::feature({0x83}),
                          wire::feature({0x04, 0, sent[0], sent[1], sent[2], sent[3]})}));
    QCOMPARE(g.f.errors(), QStringList());
    const auto stored = g.f.mouse->memory().gunData;
    QCOMPARE((QList<int>{stored[0], stored[1], stored[2], stored[3]}), sent);
}

void TestGunData::send560_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<QByteArray>("gunBytes"); // bytes 78 … 81

    QTest::newRow("slot 3") << 3 << list({5, 0, 20}) << bytes({0xF0, 5, 0, 20});
    QTest::newRow("slot 1") << 1 << list({0, 2, 64}) << bytes({0xF0, 0, 2, 64});
    QTest::newRow("slot 2, beyond a byte: low 8 bits, never negated")
        << 2 << list({256, -1, 10}) << bytes({0xF0, 0, 255, 10});
}

void TestGunData::send560()
{
    QFETCH(int, slot);
    QFETCH(QVariantList, data);
    QFETCH(QByteArray, gunBytes);

    GunFixture g({.is560 = true, .isGun = true});
    // Byte 65 with every bit set: only bit 2 may go.
    VirtualMouse::Memory m = g.f.mouse->memory();
    for (QByteArray& b : m.profileBlocks)
        b[blockmap::kGunFlags] = char(0xFF);
    g.f.mouse->setMemory(m);
    g.f.readBlocks();
    const Blocks before = storedBlocks(g.f);

    g.gun.mouseSendGundata(slot, data);
    verify560(g.f, before,
              {{unsigned(slot), blockmap::kGunFlags, bytes({0xFB})},
               {unsigned(slot), blockmap::kGunMarker, gunBytes}},
              {slot}, blockmap::Feature::GunData);
}

void TestGunData::sendRefusesSlotsAndShortLists_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QVariantList>("data");

    for (bool is560 : {false, true}) {
        const char* family = is560 ? "560" : "553";
        QTest::addRow("%s: no gun feature", family) << is560 << false << 1 << list({1, 2, 3});
        QTest::addRow("%s: slot 0", family) << is560 << true << 0 << list({1, 2, 3});
        QTest::addRow("%s: slot 4", family) << is560 << true << 4 << list({1, 2, 3});
        QTest::addRow("%s: slot -1", family) << is560 << true << -1 << list({1, 2, 3});
        QTest::addRow("%s: two values", family) << is560 << true << 1 << list({1, 2});
        QTest::addRow("%s: none", family) << is560 << true << 1 << QVariantList();
        QTest::addRow("%s: a word", family)
            << is560 << true << 1 << list({1, QStringLiteral("up"), 3});
    }
}

void TestGunData::sendRefusesSlotsAndShortLists()
{
    QFETCH(bool, is560);
    QFETCH(bool, gun);
    QFETCH(int, slot);
    QFETCH(QVariantList, data);

    GunFixture g({.is560 = is560, .isGun = gun});
    g.f.readBlocks();
    const Blocks before = storedBlocks(g.f);
    const auto gunData = g.f.mouse->memory().gunData;
    g.gun.mouseSendGundata(slot, data);
    QCOMPARE(g.f.lines(), QStringList());
    QCOMPARE(storedBlocks(g.f), before);
    QCOMPARE(g.f.mouse->memory().gunData, gunData);
}

void TestGunData::xySensitivityAndGunSelection()
{
    GunFixture g;
    QCOMPARE(g.gun.getXYSensitive(0).toInt(), 4);
    QCOMPARE(g.gun.getselectGun(0).typeId(), int(QMetaType::QString));
    QCOMPARE(g.gun.getselectGun(0).toString(), QString());

    g.store.setCurrentProfile(2);
    g.gun.setXYSensitive(1, 7);
    g.gun.setSelectGun(1, QStringLiteral("AKM"));
    QCOMPARE(g.gun.getXYSensitive(1).toInt(), 7);
    QCOMPARE(g.gun.getselectGun(1).toString(), QStringLiteral("AKM"));
    QCOMPARE(g.gun.getXYSensitive(0).toInt(), 4);

    // Per profile: profile 1 does not see profile 3's values.
    g.store.syncAll();
    QVERIFY(g.modules.read(QStringLiteral("setting/p3.bin")).contains("[XYSensitive]\n1=7\n"));
    g.store.setCurrentProfile(0);
    QCOMPARE(g.gun.getXYSensitive(1).toInt(), 4);
    QCOMPARE(g.gun.getselectGun(1).toString(), QString());

    // An index that names no key writes nothing.
    const QByteArray p1 = g.modules.read(QStringLiteral("setting/p1.bin"));
    g.gun.setXYSensitive(QString(), 9);
    g.gun.setSelectGun(QStringLiteral("1/2"), QStringLiteral("M416"));
    g.store.syncAll();
    QCOMPARE(g.modules.read(QStringLiteral("setting/p1.bin")), p1);
    QCOMPARE(g.gun.getXYSensitive(QString()).toInt(), 4);

    // None of them touches the mouse.
    QCOMPARE(g.f.lines(), QStringList());
}

QTEST_GUILESS_MAIN(TestGunData)
#include "tst_gundata.moc"
