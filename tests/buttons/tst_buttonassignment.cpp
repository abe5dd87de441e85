// Button assignment at the wire, for both controller families: the translation of every scene
// entry type, the gun-switch cycles, the 560 common block, reset and switch of matrices, reading
// entries back, and what short, long or out-of-range input does.
#include "buttonsfixture.h"

#include "buttons/buttonassignment.h"

#include <QSettings>
#include <QTest>

namespace {

using Overrides = QMap<int, QByteArray>; // button → 4-byte entry

// The shipped assignments in scene form, and the shipped Fw key matrix (device form).
const QByteArray kScene = QByteArray::fromHex("0000f000"
                                              "0000f100"
                                              "0000f200"
                                              "0000f400"
                                              "0000f300"
                                              "05000100"
                                              "05000200"
                                              "00f01e02"
                                              "00000000000000000000000000000000"
                                              "0000000000000000"
                                              "ff000100"
                                              "ff000200");
const QByteArray kFw = QByteArray::fromHex("0100f000"
                                           "0100f100"
                                           "0100f200"
                                           "0100f400"
                                           "0100f300"
                                           "07000100"
                                           "07000200"
                                           "0af01e02"
                                           "01000000010000000100000001000000"
                                           "0100000001000000"
                                           "04000100"
                                           "04000200");

QByteArray with(QByteArray m, const Overrides& entries)
{
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        m.replace(4 * it.key(), 4, it.value());
    return m;
}

QVariantList values(const QByteArray& bytes)
{
    QVariantList list;
    for (char b : bytes)
        list << int(uint8_t(b));
    return list;
}

QByteArray e(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// The block a 560 mouse keeps for a key matrix: 64 bytes and 64 zeros.
QByteArray kept(const QByteArray& m, bool is560)
{
    return is560 ? m + QByteArray(64, '\0') : m;
}

QStringList matrixCommand(bool is560, int k, const QByteArray& m)
{
    return is560 ? wire::blockCommand({0x0D, k, 0x80}, kept(m, true))
                 : wire::blockCommand({0x12, k, 0x40, 0x08}, m);
}

QStringList activateCommand(bool is560, int k)
{
    return is560 ? QStringList{wire::feature({0x02, k}), QStringLiteral("wait 8")}
                 : QStringList{wire::feature({0x02, k})} + wire::settle();
}

uint8_t activeMatrix(const VirtualMouse::Memory& m, bool is560)
{
    return is560 ? m.currentProfile : m.currentKeyMatrix;
}

// The mouse with a recognisable key matrix 1 … 4, active matrix 3 and a macro, so that a test can
// see what an operation leaves alone.
void seed(ButtonsFixture& f, bool is560)
{
    VirtualMouse::Memory m = f.mouse->memory();
    for (int k = 1; k <= 4; ++k)
        m.keyMatrices[k] = kept(QByteArray(64, char(0x40 + k)), is560);
    m.currentKeyMatrix = 3;
    m.currentProfile = 3;
    f.mouse->setMemory(m);
}

QMap<int, QByteArray> keptMatrices(const QList<QByteArray>& m, bool is560)
{
    QMap<int, QByteArray> out;
    for (int k = 0; k < m.size(); ++k)
        out[k + 1] = kept(m[k], is560);
    return out;
}

} // namespace

class TestButtonAssignment : public QObject {
    Q_OBJECT
private slots:
    void translation_data();
    void translation();
    void gunCycle_data();
    void gunCycle();
    void storeWithoutSending();
    void badInput_data();
    void badInput();
    void brokenFwKeyMatrix_data();
    void brokenFwKeyMatrix();
    void resetKeyMatrix_data();
    void resetKeyMatrix();
    void switchKeyMatrix_data();
    void switchKeyMatrix();
    void getKeydefine();
    void withoutLinkOnlyStores();
};

void TestButtonAssignment::translation_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QByteArray>("scene");
    QTest::addColumn<QByteArray>("device");

    struct Row {
        const char* name;
        const char* scene;
        const char* device;
    };
    const Row rows[] = {
        {"mouse left", "0000f000", "0100f000"},
        {"mouse right", "0000f100", "0100f100"},
        {"mouse back", "0000f300", "0100f300"},
        {"double fire", "00f01e02", "0af01e02"},
        {"p2 30 without p3 2 is a mouse button", "00001e03", "01001e03"},
        {"fire key", "01040a05", "0a040a05"},
        {"key combination", "02030405", "00030405"},
        {"multimedia", "0300e900", "0300e900"},
        {"macro: slot + 1 is the id", "04020500", "09020600"},
        {"DPI+", "05000100", "07000100"},
        {"DPI loop", "05000300", "07000300"},
        {"sniper", "05000400", "0b000101"},
        {"Windows function", "06042c1b", "00042c1b"},
        {"shortcut", "0700e011", "0000e011"},
        {"type ff", "ff000100", "04000100"},
        {"type 09 unchanged", "09123456", "09123456"},
        {"type fe unchanged", "fe010203", "fe010203"},
    };
    for (bool is560 : {false, true}) {
        for (const Row& r : rows) {
            QTest::addRow("%s %s", is560 ? "560" : "553", r.name)
                << is560 << QByteArray::fromHex(r.scene) << QByteArray::fromHex(r.device);
        }
    }
}

// Without a gun entry only key matrix 1 goes out; the active matrix stays.
void TestButtonAssignment::translation()
{
    QFETCH(bool, is560);
    QFETCH(QByteArray, scene);
    QFETCH(QByteArray, device);
    ButtonsFixture f(is560);
    seed(f, is560);
    const VirtualMouse::Memory before = f.mouse->memory();

    ButtonAssignment(f.ctx).mouseSetKeyMatrix(values(with(kScene, {{9, scene}})), true,
                                              {9, 12, 15});

    const QByteArray a = with(kFw, {{9, device}});
    QCOMPARE(f.lines(), matrixCommand(is560, 1, a));
    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(m.keyMatrices.value(1), kept(a, is560));
    for (int k = 2; k <= 4; ++k)
        QCOMPARE(m.keyMatrices.value(k), before.keyMatrices.value(k));
    QCOMPARE(activeMatrix(m, is560), uint8_t(3));
    QCOMPARE(m.profileBlocks, before.profileBlocks);
    QVERIFY(f.errors().isEmpty());
}

void TestButtonAssignment::gunCycle_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<Overrides>("scene");
    QTest::addColumn<QList<Overrides>>("expected"); // entries of matrices 1 … 4 that differ
    QTest::addColumn<int>("mask");                  // gun-slot mask; -1: unchanged

    // Button 1 of matrices 2 … 4 fires with the periods 9, 12 and 15.
    const Overrides fire553{{0, e("0af00900")}}, fire553c{{0, e("0af00c00")}},
        fire553d{{0, e("0af00f00")}};
    const Overrides fire560{{0, e("0b000900")}}, fire560c{{0, e("0b010c00")}},
        fire560d{{0, e("0b020f00")}};
    const auto gun = [](const Overrides& fire, const QByteArray& entry7) {
        Overrides o = fire;
        o[7] = entry7;
        return o;
    };

    // 553: p3 cycles over the matrices in use; p1 = 0 and p2 = 1 everywhere.
    QTest::newRow("553 g = 1") << false << Overrides{{7, e("08000100")}}
                               << QList<Overrides>{{{7, e("08000101")}},
                                                   gun(fire553, e("08000100")),
                                                   gun(fire553c, e("08000100")),
                                                   gun(fire553d, e("08000100"))}
                               << -1;
    QTest::newRow("553 g = 2") << false << Overrides{{7, e("08000200")}}
                               << QList<Overrides>{{{7, e("08000101")}},
                                                   gun(fire553, e("08000102")),
                                                   gun(fire553c, e("08000100")),
                                                   gun(fire553d, e("08000100"))}
                               << -1;
    QTest::newRow("553 g = 3") << false << Overrides{{7, e("08000300")}}
                               << QList<Overrides>{{{7, e("08000101")}},
                                                   gun(fire553, e("08000102")),
                                                   gun(fire553c, e("08000103")),
                                                   gun(fire553d, e("08000100"))}
                               << -1;
    // g outside 1 … 3: no cycle; p1 and p2 are still normalised, p3 stays (Fw's 2 in 2 … 4).
    QTest::newRow("553 g = 5") << false << Overrides{{7, e("08070509")}}
                               << QList<Overrides>{{{7, e("08000109")}},
                                                   gun(fire553, e("08000102")),
                                                   gun(fire553c, e("08000102")),
                                                   gun(fire553d, e("08000102"))}
                               << -1;

    // 560: p2 cycles, p1 and p3 stay (matrices 2 … 4 keep the Fw entry's 0xF0 and 2).
    QTest::newRow("560 g = 1") << true << Overrides{{7, e("08000100")}}
                               << QList<Overrides>{{{7, e("08000100")}},
                                                   gun(fire560, e("08f00002")),
                                                   gun(fire560c, e("08f00002")),
                                                   gun(fire560d, e("08f00002"))}
                               << 7;
    QTest::newRow("560 g = 2") << true << Overrides{{7, e("08000200")}}
                               << QList<Overrides>{{{7, e("08000100")}},
                                                   gun(fire560, e("08f00302")),
                                                   gun(fire560c, e("08f00002")),
                                                   gun(fire560d, e("08f00002"))}
                               << 15;
    QTest::newRow("560 g = 3") << true << Overrides{{7, e("08000300")}}
                               << QList<Overrides>{{{7, e("08000100")}},
                                                   gun(fire560, e("08f00302")),
                                                   gun(fire560c, e("08f00302")),
                                                   gun(fire560d, e("08f00002"))}
                               << 31;
    QTest::newRow("560 g = 0 leaves the mask") << true << Overrides{{7, e("08010002")}}
                                               << QList<Overrides>{{{7, e("08010002")}},
                                                                   gun(fire560, e("08f01e02")),
                                                                   gun(fire560c, e("08f01e02")),
                                                                   gun(fire560d, e("08f01e02"))}
                                               << -1;
    // Two gun entries: each gets its cycle; the last one sets the mask.
    Overrides b2 = gun(fire560, e("08f00302")), c2 = gun(fire560c, e("08f00302")),
              d2 = gun(fire560d, e("08f00002"));
    b2[9] = c2[9] = d2[9] = e("08000000");
    QTest::newRow("560 two gun entries, the last sets the mask")
        << true << Overrides{{7, e("08000300")}, {9, e("08000100")}}
        << QList<Overrides>{{{7, e("08000100")}, {9, e("08000100")}}, b2, c2, d2} << 7;
}

// A gun entry sends four linked matrices and makes matrix 1 active; on the 560 the common block,
// with only its gun-slot mask changed, goes first.
void TestButtonAssignment::gunCycle()
{
    QFETCH(bool, is560);
    QFETCH(Overrides, scene);
    QFETCH(QList<Overrides>, expected);
    QFETCH(int, mask);
    ButtonsFixture f(is560);
    seed(f, is560);
    const VirtualMouse::Memory before = f.mouse->memory();
    QByteArray common = before.profileBlocks[0];

    ButtonAssignment(f.ctx).mouseSetKeyMatrix(values(with(kScene, scene)), true, {9, 12, 15});

    QList<QByteArray> matrices;
    for (int k = 0; k < 4; ++k)
        matrices << with(kFw, expected[k]);
    QStringList lines;
    if (is560) {
        if (mask >= 0)
            common[2] = char(mask);
        lines += wire::blockCommand({0x0C, 0, 0x80}, common);
    }
    for (int k = 0; k < 4; ++k)
        lines += matrixCommand(is560, k + 1, matrices[k]);
    lines += activateCommand(is560, 1);
    QCOMPARE(f.lines(), lines);

    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(m.keyMatrices, keptMatrices(matrices, is560));
    QCOMPARE(activeMatrix(m, is560), uint8_t(1));
    if (is560) {
        QCOMPARE(m.profileBlocks[0], common);
        for (int n = 1; n < 5; ++n)
            QCOMPARE(m.profileBlocks[n], before.profileBlocks[n]);
    }
    QVERIFY(f.errors().isEmpty());
}

void TestButtonAssignment::storeWithoutSending()
{
    ButtonsFixture f(false);
    const VirtualMouse::Memory before = f.mouse->memory();
    QVariantList src = values(kScene);
    src[0] = QStringLiteral("1");
    src[1] = 4.0;
    src[2] = 300; // stored as received, not cut

    ButtonAssignment(f.ctx).mouseSetKeyMatrix(src, false, {});

    QVERIFY(f.lines().isEmpty());
    QCOMPARE(f.mouse->memory().keyMatrices, before.keyMatrices);
    for (int n = 0; n < 16; ++n) {
        QCOMPARE(f.store->getDataList(QStringLiteral("mouseKeyMatrix/%1").arg(n), false),
                 src.mid(4 * n, 4));
    }
    // On disk in the INI list form.
    f.store->syncAll();
    QFile file(f.store->profilePath(0));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.contains("\n0=1, 4, 300, 0\n"), text.constData());
    QVERIFY(text.contains("\n15=255, 0, 2, 0\n"));
}

void TestButtonAssignment::badInput_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QVariantList>("src");
    QTest::addColumn<QVariantList>("periods");
    QTest::addColumn<QList<QByteArray>>("matrices"); // key matrices 1 … 4 sent
    QTest::addColumn<int>("storedEntries");          // entries stored from src

    const QVariantList periods{9, 12, 15};
    for (bool is560 : {false, true}) {
        const char* fam = is560 ? "560" : "553";
        // Ten values: two whole entries and half a third; the rest of the matrix is zero.
        QVariantList shortSrc = values(kScene).mid(0, 10);
        QByteArray shortDevice;
        for (int n = 0; n < 16; ++n)
            shortDevice += n < 2 ? kFw.mid(4 * n, 4) : e("01000000"); // scene 00 00 00 00
        QTest::addRow("%s src64 short", fam)
            << is560 << shortSrc << periods << QList<QByteArray>{shortDevice} << 2;

        QVariantList longSrc = values(kScene) + QVariantList{8, 0, 3, 0, 8, 0, 3, 0};
        QTest::addRow("%s src64 long: extras ignored", fam)
            << is560 << longSrc << periods << QList<QByteArray>{kFw} << 16;

        QVariantList wide = values(kScene);
        wide[36] = 0x100 + 0x02; // type 0x02: key combination
        wide[37] = -1;           // 0xff
        wide[38] = QStringLiteral("260");
        wide[39] = QStringLiteral("x"); // not a number: 0
        QTest::addRow("%s values beyond a byte are cut", fam)
            << is560 << wide << periods << QList<QByteArray>{with(kFw, {{9, e("00ff0400")}})} << 16;

        // A gun entry with one period only, and one beyond a byte.
        const QByteArray fire = is560 ? e("0b00") : e("0af0");
        const QByteArray gunA = is560 ? e("08000100") : e("08000101");
        QList<QByteArray> gunMatrices{with(kFw, {{7, gunA}})};
        const QByteArray entry7[3] = {is560 ? e("08f00302") : e("08000102"),
                                      is560 ? e("08f00302") : e("08000103"),
                                      is560 ? e("08f00002") : e("08000100")};
        const QByteArray fireP1 = is560 ? e("000102") : e("f0f0f0");
        const int gotPeriods[3] = {300 & 0xFF, 0, 0};
        for (int k = 0; k < 3; ++k) {
            QByteArray entry0 =
                QByteArray(1, fire[0]) + char(fireP1[k]) + char(gotPeriods[k]) + char(0);
            gunMatrices << with(kFw, {{0, entry0}, {7, entry7[k]}});
        }
        QTest::addRow("%s one gun period, beyond a byte", fam)
            << is560 << values(with(kScene, {{7, e("08000300")}})) << QVariantList{300}
            << gunMatrices << 16;
    }
}

// Short or long lists and values beyond a byte: missing values are 0, extras are ignored, values
// are cut to their low byte, and no block is written past its end.
void TestButtonAssignment::badInput()
{
    QFETCH(bool, is560);
    QFETCH(QVariantList, src);
    QFETCH(QVariantList, periods);
    QFETCH(QList<QByteArray>, matrices);
    QFETCH(int, storedEntries);
    ButtonsFixture f(is560);
    // Profile entries that a short list does not cover keep their values.
    for (int n = 0; n < 16; ++n)
        f.store->setDataList(QStringLiteral("mouseKeyMatrix/%1").arg(n), {n, 0, 0, 0});

    ButtonAssignment(f.ctx).mouseSetKeyMatrix(src, true, periods);

    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(m.keyMatrices, keptMatrices(matrices, is560));
    QVERIFY(f.errors().isEmpty());
    for (int n = 0; n < 16; ++n) {
        const QVariantList stored =
            f.store->getDataList(QStringLiteral("mouseKeyMatrix/%1").arg(n), false);
        const QVariantList expected =
            n < storedEntries ? src.mid(4 * n, 4) : QVariantList{n, 0, 0, 0};
        QCOMPARE(stored, expected);
    }
}

void TestButtonAssignment::brokenFwKeyMatrix_data()
{
    QTest::addColumn<bool>("is560");
    QTest::newRow("553") << false;
    QTest::newRow("560") << true;
}

// Missing Fw keys, short lists and plain values give zero bytes, in the gun matrices and on reset.
void TestButtonAssignment::brokenFwKeyMatrix()
{
    QFETCH(bool, is560);
    ButtonsFixture f(is560);
    QSettings& profile = f.store->currentProfileSettings();
    profile.remove(QStringLiteral("mouseFwKeyMatrix/3"));
    f.store->setDataList(QStringLiteral("mouseFwKeyMatrix/4"), {1, 0});
    f.store->setData(QStringLiteral("mouseFwKeyMatrix/5"), 7);
    f.store->setDataList(QStringLiteral("mouseFwKeyMatrix/6"), {7, 0, 2, 0, 9, 9, 9});
    const QByteArray fw = with(kFw, {{3, e("00000000")}, {4, e("01000000")}, {5, e("00000000")}});

    ButtonAssignment assign(f.ctx);
    assign.mouseResetKeyMatrix();
    QCOMPARE(
        f.mouse->memory().keyMatrices,
        (QMap<int, QByteArray>{{2, kept(fw, is560)}, {3, kept(fw, is560)}, {4, kept(fw, is560)}}));

    assign.mouseSetKeyMatrix(values(with(kScene, {{7, e("08000100")}})), true, {9, 12, 15});
    const QByteArray b = is560 ? with(fw, {{0, e("0b000900")}, {7, e("08f00002")}})
                               : with(fw, {{0, e("0af00900")}, {7, e("08000100")}});
    QCOMPARE(f.mouse->memory().keyMatrices.value(2), kept(b, is560));
    QVERIFY(f.errors().isEmpty());
}

void TestButtonAssignment::resetKeyMatrix_data()
{
    brokenFwKeyMatrix_data();
}

// The Fw key matrix goes out as matrices 2, 3, 4; matrix 1 and the active matrix stay.
void TestButtonAssignment::resetKeyMatrix()
{
    QFETCH(bool, is560);
    ButtonsFixture f(is560);
    seed(f, is560);
    const VirtualMouse::Memory before = f.mouse->memory();

    ButtonAssignment(f.ctx).mouseResetKeyMatrix();

    QStringList lines;
    for (int k = 2; k <= 4; ++k)
        lines += matrixCommand(is560, k, kFw);
    QCOMPARE(f.lines(), lines);
    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(m.keyMatrices, (QMap<int, QByteArray>{{1, before.keyMatrices.value(1)},
                                                   {2, kept(kFw, is560)},
                                                   {3, kept(kFw, is560)},
                                                   {4, kept(kFw, is560)}}));
    QCOMPARE(activeMatrix(m, is560), uint8_t(3));
}

void TestButtonAssignment::switchKeyMatrix_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<int>("indexNo");
    QTest::addColumn<int>("sent");
    QTest::newRow("553 matrix 2") << false << 2 << 2;
    QTest::newRow("553 unchecked, as a byte") << false << 0x104 << 4;
    QTest::newRow("560 profile 4") << true << 4 << 4;
    QTest::newRow("560 profile 1") << true << 1 << 1;
}

void TestButtonAssignment::switchKeyMatrix()
{
    QFETCH(bool, is560);
    QFETCH(int, indexNo);
    QFETCH(int, sent);
    ButtonsFixture f(is560);
    seed(f, is560);
    const VirtualMouse::Memory before = f.mouse->memory();

    ButtonAssignment(f.ctx).mouseSwitchKeyMatrix(indexNo);

    QCOMPARE(f.lines(), activateCommand(is560, sent));
    const VirtualMouse::Memory m = f.mouse->memory();
    QCOMPARE(activeMatrix(m, is560), uint8_t(sent));
    QCOMPARE(m.keyMatrices, before.keyMatrices);
}

void TestButtonAssignment::getKeydefine()
{
    ButtonsFixture f(false);
    ButtonAssignment assign(f.ctx);
    const QVariantList fresh{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("241"),
                             QStringLiteral("0")};
    QCOMPARE(assign.mouseGetKeydefine(1, false), fresh);
    QCOMPARE(assign.mouseGetKeydefine(QStringLiteral("1"), true), fresh);

    assign.mouseSetKeyMatrix(values(with(kScene, {{1, e("03008301")}})), false, {});
    const QVariantList stored = assign.mouseGetKeydefine(1, false);
    QCOMPARE(stored.size(), 4);
    QCOMPARE(stored[2].toInt(), 0x83);
    QCOMPARE(assign.mouseGetKeydefine(1, true), fresh); // the factory profile is not written

    QVERIFY(assign.mouseGetKeydefine(16, false).isEmpty());
    QVERIFY(assign.mouseGetKeydefine(QStringLiteral("none"), true).isEmpty());
    f.store->setData(QStringLiteral("mouseKeyMatrix/2"), QStringLiteral("5"));
    // A plain value is no entry (and is not split into its characters).
    QVERIFY(assign.mouseGetKeydefine(2, false).isEmpty());
}

void TestButtonAssignment::withoutLinkOnlyStores()
{
    ButtonsFixture f(true);
    f.ctx.link = nullptr;
    ButtonAssignment assign(f.ctx);
    assign.mouseSetKeyMatrix(values(with(kScene, {{7, e("08000300")}})), true, {9, 12, 15});
    assign.mouseResetKeyMatrix();
    assign.mouseSwitchKeyMatrix(2);
    QVERIFY(f.lines().isEmpty());
    QCOMPARE(f.blocks.block(0)[2],
             uint8_t(f.mouse->memory().profileBlocks[0].at(2))); // no stray change
    QCOMPARE(assign.mouseGetKeydefine(7, false).value(0).toInt(), 8);
}

QTEST_GUILESS_MAIN(TestButtonAssignment)
#include "tst_buttonassignment.moc"
