// Every command of both families, at the wire: frames, blocks, waits, results, and the state the
// virtual mouse ends up with.
#include "tests/support/linkfixture.h"
#include "tests/support/wirelines.h"

#include "device/scramble.h"

#include <QTest>

#include <functional>

namespace {

using Act = std::function<QList<int>(Hid_Thread&)>;
using Check = std::function<bool(const VirtualMouse::Memory&)>;

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((seed + i * 7) & 0xFF);
    return b;
}

uchar* bytes(QByteArray& b)
{
    return reinterpret_cast<uchar*>(b.data());
}

} // namespace

Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(Check)

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void reads_data();
    void reads();
    void scrambledCommandsReachTheMouse();
    void profileBlockRead();
};

void TestCommands::frames_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<Act>("act");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Check>("check");

    static QByteArray c4 = pattern(4, 1), c24 = pattern(24, 2), d8 = pattern(8, 3),
                      km64 = pattern(64, 4), m128 = pattern(128, 5), p128 = pattern(128, 6);
    QByteArray km560 = km64 + QByteArray(64, '\0');

    QTest::newRow("553 01H report rate")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_01H_SetReportRate(4);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x01, 4})} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.reportRate == 4; });
    QTest::newRow("553 02H key matrix")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_02H_SetCurrentKeyMatrix(3);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x02, 3})} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.currentKeyMatrix == 3; });
    QTest::newRow("553 03H options")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x40);
               return QList<int>();
           })
        << QStringList{wire::feature({0x03, 1, 2, 3, 0x40}), QStringLiteral("wait 8")}
        << Check([](const VirtualMouse::Memory& m) {
               return m.options == std::array<uint8_t, 4>{1, 2, 3, 0x40};
           });
    QTest::newRow("553 04H gun data: b1 stays 0")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_04H_SetGunData(9, 8, 7, 6);
               return QList<int>();
           })
        << QStringList{wire::feature({0x04, 0, 9, 8, 7, 6}), QStringLiteral("wait 8")}
        << Check([](const VirtualMouse::Memory& m) {
               return m.gunData == std::array<uint8_t, 4>{9, 8, 7, 6};
           });
    QTest::newRow("553 0BH stage 3")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_0BH_SetCurrentDPI(3);
               return QList<int>();
           })
        << (QStringList{QStringLiteral("feature> 00 0b 03 00 00 00 00 00 f1")} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.currentDpi == 3; });
    QTest::newRow("553 0DH effect") << false << false << Act([](Hid_Thread& h) {
        h.hid553_0DH_SetRGBLedEffect(5, 2, 3);
        return QList<int>();
    }) << (QStringList{wire::feature({0x0D, 5, 2, 3})} + wire::settle())
                                    << Check([](const VirtualMouse::Memory& m) {
                                           return m.ledEffect == std::array<uint8_t, 3>{5, 2, 3};
                                       });
    QTest::newRow("553 10H type 2: 4 bytes")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_10H_SetLED8StageColor(2, bytes(c4));
               return QList<int>();
           })
        << (QStringList{wire::feature({0x10, 2, 4})} + wire::settle() + wire::out(c4) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.ledColors.value(2) == c4; });
    QTest::newRow("553 10H type 1: 24 bytes")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_10H_SetLED8StageColor(1, bytes(c24));
               return QList<int>();
           })
        << (QStringList{wire::feature({0x10, 1, 24})} + wire::settle() + wire::out(c24) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.ledColors.value(1) == c24; });
    QTest::newRow("553 11H stage set: 8 bytes in one report")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_11H_SetDPISet(2, bytes(d8));
               return QList<int>();
           })
        << (QStringList{wire::feature({0x11, 2, 8})} + wire::settle() + wire::out(d8) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.dpiSets.value(2) == d8; });
    QTest::newRow("553 12H key matrix: 64 bytes")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_12H_SetKeyMatrix(bytes(km64), 1);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x12, 1, 0x40, 0x08})} + wire::settle() + wire::out(km64) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.keyMatrices.value(1) == km64; });
    QTest::newRow("553 13H macro: 128 bytes")
        << false << false << Act([](Hid_Thread& h) {
               h.hid553_13H_SetMacroKey(7, bytes(m128));
               return QList<int>();
           })
        << (QStringList{wire::feature({0x13, 7, 0x80})} + wire::settle() + wire::out(m128) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.macros.value(7) == m128; });

    QTest::newRow("560 01H options") << true << false << Act([](Hid_Thread& h) {
        h.hid560_01H_SetKeyboardoption(0x08, 2);
        return QList<int>();
    }) << QStringList{wire::feature({0x01, 0x08, 2}), QStringLiteral("wait 8")}
                                     << Check([](const VirtualMouse::Memory& m) {
                                            return m.options560 == std::array<uint8_t, 2>{0x08, 2};
                                        });
    QTest::newRow("560 02H profile")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_02H_SetCurrentProfile(3);
               return QList<int>();
           })
        << QStringList{wire::feature({0x02, 3}), QStringLiteral("wait 8")}
        << Check([](const VirtualMouse::Memory& m) { return m.currentProfile == 3; });
    QTest::newRow("560 03H rate, four profiles")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_03H_SetReportRate(4);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x03, 1, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 2, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 3, 4})} + wire::settle() +
            QStringList{wire::feature({0x03, 4, 4})} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) {
               return m.reportRates[1] == 4 && m.reportRates[4] == 4;
           });
    QTest::newRow("560 03H rate, gun mouse: once")
        << true << true << Act([](Hid_Thread& h) {
               h.hid560_03H_SetReportRate(2);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x03, 1, 2})} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.reportRates[1] == 2; });
    QTest::newRow("560 04H stage 2, four profiles")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_04H_SetCurrentDPI(2);
               return QList<int>();
           })
        << (QStringList{QStringLiteral("feature> 00 04 01 02 00 00 00 00 f8")} + wire::settle() +
            QStringList{QStringLiteral("feature> 00 04 02 02 00 00 00 00 f7")} + wire::settle() +
            QStringList{QStringLiteral("feature> 00 04 03 02 00 00 00 00 f6")} + wire::settle() +
            QStringList{QStringLiteral("feature> 00 04 04 02 00 00 00 00 f5")} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) {
               return m.currentDpis[1] == 2 && m.currentDpis[2] == 2 && m.currentDpis[3] == 2 &&
                      m.currentDpis[4] == 2;
           });
    QTest::newRow("560 04H stage 5, gun mouse: once")
        << true << true << Act([](Hid_Thread& h) {
               h.hid560_04H_SetCurrentDPI(5);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x04, 1, 5})} + wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.currentDpis[1] == 5; });
    QTest::newRow("560 0CH profile block")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_0CH_setProfile(bytes(p128), 2);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x0C, 2, 0x80})} + wire::settle() + wire::out(p128) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.profileBlocks[2] == p128; });
    QTest::newRow("560 0DH key matrix: 64 bytes then 64 zeros")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_0DH_SetKeyMatrix(bytes(km64), 1);
               return QList<int>();
           })
        << (QStringList{wire::feature({0x0D, 1, 0x80})} + wire::settle() + wire::out(km560) +
            wire::settle())
        << Check(
               [km560](const VirtualMouse::Memory& m) { return m.keyMatrices.value(1) == km560; });
    QTest::newRow("560 0FH macro")
        << true << false << Act([](Hid_Thread& h) {
               h.hid560_0FH_SetMacroKey(4, bytes(m128));
               return QList<int>();
           })
        << (QStringList{wire::feature({0x0F, 4, 0x80})} + wire::settle() + wire::out(m128) +
            wire::settle())
        << Check([](const VirtualMouse::Memory& m) { return m.macros.value(4) == m128; });
}

void TestCommands::frames()
{
    QFETCH(bool, is560);
    QFETCH(bool, gun);
    QFETCH(Act, act);
    QFETCH(QStringList, expected);
    QFETCH(Check, check);

    LinkFixture f(is560 ? LinkFixture::family560() : VirtualMouse::Config{});
    f.owner.gun = gun;
    act(*f.link);
    QCOMPARE(f.lines(), expected);
    QVERIFY(f.errors().isEmpty());
    QVERIFY(check(f.mouse->memory()));
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestCommands::reads_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<Act>("act");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("results");

    QTest::newRow("553 00H echo") << false << Act([](Hid_Thread& h) {
        uchar a = 0x11, b = 0x22, c = 0x33, d = 0x44;
        h.hid553_00H_GetSecrecyCode(a, b, c, d);
        return QList<int>{a, b, c, d};
    })
                                  << QStringList{wire::feature({0x00, 0x11, 0x22, 0x33, 0x44}),
                                                 wire::answer({0x00, 0x11, 0x22, 0x33, 0x44})}
                                  << QList<int>{0x11, 0x22, 0x33, 0x44};
    QTest::newRow("553 83H options") << false << Act([](Hid_Thread& h) {
        uchar a = 9, b = 9, c = 9, d = 9;
        h.hid553_83H_GetKeyboardoption(a, b, c, d);
        return QList<int>{a, b, c, d};
    }) << QStringList{wire::feature({0x83}), wire::answer({0x83, 1, 2, 3, 4})}
                                     << QList<int>{1, 2, 3, 4};
    QTest::newRow("553 8BH stage") << false << Act([](Hid_Thread& h) {
        uchar a = 0;
        h.hid553_8BH_GetCurrentDPI(a);
        return QList<int>{a};
    }) << QStringList{wire::feature({0x8B}), wire::answer({0x8B, 5})}
                                   << QList<int>{5};
    QTest::newRow("560 81H options") << true << Act([](Hid_Thread& h) {
        uchar a = 0, b = 0;
        h.hid560_81H_GetKeyboardoption(a, b);
        return QList<int>{a, b};
    }) << QStringList{wire::feature({0x81}), wire::answer({0x81, 0x21, 0x42})}
                                     << QList<int>{0x21, 0x42};
    QTest::newRow("560 82H profile") << true << Act([](Hid_Thread& h) {
        uchar a = 0;
        h.hid560_82H_GetCurrentProfile(a);
        return QList<int>{a};
    }) << QStringList{wire::feature({0x82}), wire::answer({0x82, 3})}
                                     << QList<int>{3};
    QTest::newRow("560 84H sends byte1 as b1") << true << Act([](Hid_Thread& h) {
        uchar a = 2, b = 0;
        h.hid560_84H_GetCurrentDPI(a, b);
        return QList<int>{a, b};
    }) << QStringList{wire::feature({0x84, 2}), wire::answer({0x84, 2, 6})}
                                               << QList<int>{2, 6};
}

void TestCommands::reads()
{
    QFETCH(bool, is560);
    QFETCH(Act, act);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, results);

    LinkFixture f(is560 ? LinkFixture::family560() : VirtualMouse::Config{});
    VirtualMouse::Memory m = f.mouse->memory();
    m.options = {1, 2, 3, 4};
    m.currentDpi = 5;
    m.options560 = {0x21, 0x42};
    m.currentProfile = 3;
    m.currentDpis = {0, 1, 6, 1, 1};
    f.mouse->setMemory(m);

    QCOMPARE(act(*f.link), results);
    QCOMPARE(f.lines(), expected);
    QVERIFY(f.errors().isEmpty());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestCommands::scrambledCommandsReachTheMouse()
{
    // With scrambling on, the frames on the wire differ from the plain ones, yet the mouse (which
    // unscrambles with the same code) applies them and the host unscrambles its answers.
    VirtualMouse::Config c;
    c.isEncode = true;
    LinkFixture f(c);
    std::memcpy(secrecyBuffer + 1, "413827", 6);

    f.link->hid553_0BH_SetCurrentDPI(3);
    uchar a = 0, b = 0, cc = 0, d = 0;
    f.link->hid553_03H_SetKeyboardoption(0x12, 0x34, 0x56, 0x78);
    f.link->hid553_83H_GetKeyboardoption(a, b, cc, d);

    QVERIFY(f.errors().isEmpty());
    QVERIFY(!f.lines().contains(QStringLiteral("feature> 00 0b 03 00 00 00 00 00 f1")));
    QCOMPARE(f.mouse->memory().currentDpi, uint8_t(3));
    QCOMPARE((QList<int>{a, b, cc, d}), (QList<int>{0x12, 0x34, 0x56, 0x78}));
}

void TestCommands::profileBlockRead()
{
    // 8CH: the frame of the example, its answer, then the block as four 32-byte input reports.
    LinkFixture f(LinkFixture::family560());
    QByteArray block = f.mouse->memory().profileBlocks[3];
    QByteArray buf(128, '\x5a');
    f.link->hid560_8CH_readProfile(bytes(buf), 3);
    QCOMPARE(buf, block);
    QCOMPARE(f.lines(), QStringList{wire::feature({0x8C, 3})} +
                            QStringList{wire::answer({0x8C, 3})} + wire::in(block));
    QCOMPARE(f.lines().first(), QStringLiteral("feature> 00 8c 03 00 00 00 00 00 70"));
    QVERIFY(f.errors().isEmpty());
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
