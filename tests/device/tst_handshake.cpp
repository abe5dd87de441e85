// Checksum, scrambling and the echo handshake.
#include "tests/support/linkfixture.h"
#include "tests/support/wirelines.h"

#include "device/scramble.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
QByteArray frameBytes(const QString& featureLine)
{
    return QByteArray::fromHex(featureLine.mid(9).remove(QLatin1Char(' ')).toLatin1());
}
} // namespace

class TestHandshake : public QObject {
    Q_OBJECT
private slots:
    void checksum_data();
    void checksum();
    void scramblingRoundTrip();
    void scramblingKnownFrames_data();
    void scramblingKnownFrames();
    void anotherCodeGarblesTheCodeBytes();
    void handshake_data();
    void handshake();
    void busyLinkPassesWithoutExchange();
    void codeOfAnotherLengthKeepsTheBuffer();
};

void TestHandshake::checksum_data()
{
    QTest::addColumn<QByteArray>("cmd");
    QTest::addColumn<int>("sum");
    QTest::newRow("0B 03") << QByteArray::fromHex("0b030000000000") << 0xF1;
    QTest::newRow("all zero") << QByteArray(7, '\0') << 0xFF;
    QTest::newRow("wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
    QTest::newRow("8C 03") << QByteArray::fromHex("8c030000000000") << 0x70;
}

void TestHandshake::checksum()
{
    QFETCH(QByteArray, cmd);
    QFETCH(int, sum);
    Hid_Thread link(nullptr, nullptr);
    QCOMPARE(int(link.hidCS(reinterpret_cast<uchar*>(cmd.data()))), sum);
}

void TestHandshake::scramblingRoundTrip()
{
    Hid_Thread link(nullptr, nullptr);
    QRandomGenerator random(1234);
    for (int i = 0; i < 2000; ++i) {
        uchar p[8], s[8], q[8];
        for (int k = 0; k < 8; ++k) {
            p[k] = uchar(random.bounded(256));
            s[k] = uchar(random.bounded(256));
        }
        std::memcpy(q, p, 8);
        link.USBDataEncryption(q, s);
        link.USBDataDecipher(q, s);
        QVERIFY(std::equal(p, p + 8, q));
    }
}

void TestHandshake::scramblingKnownFrames_data()
{
    // Frames worked out by hand from the four steps; the code is all zero unless given.
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("scrambled");
    // Only the table is added: swapNibbles("QmPzkVud").
    QTest::newRow("zeros") << QByteArray(8, '\0') << QByteArray(8, '\0')
                           << QByteArray::fromHex("15d605a7b66557 46");
    // p[5] becomes p[0] by the exchange; its top three bits carry into the low bits of p[7].
    QTest::newRow("three-bit carry")
        << QByteArray::fromHex("00000000 00e00000") << QByteArray(8, '\0')
        << QByteArray::fromHex("15d605a7b665574d");
    // The code is mixed in after the exchange: s[1] = 0x20 lands in p[0]'s low bits.
    QTest::newRow("code byte 1") << QByteArray(8, '\0') << QByteArray::fromHex("0020000000000000")
                                 << QByteArray::fromHex("16d605a7b6655746");
}

void TestHandshake::scramblingKnownFrames()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, scrambled);
    QByteArray p = plain;
    scrambleFrame(reinterpret_cast<uint8_t*>(p.data()),
                  reinterpret_cast<const uint8_t*>(code.constData()));
    QCOMPARE(p.toHex(), scrambled.toHex());
    unscrambleFrame(reinterpret_cast<uint8_t*>(p.data()),
                    reinterpret_cast<const uint8_t*>(code.constData()));
    QCOMPARE(p, plain);
}

void TestHandshake::anotherCodeGarblesTheCodeBytes()
{
    // The code mixes into bytes 1 … 6 between the exchanges, so after unscrambling with another
    // code the bytes that the exchange brings back from there (0, 1, 3, 4, 6, 7) differ, while
    // bytes 2 and 5 (from p[7] and p[0]) do not.
    uchar s1[8] = {0, '4', '1', '3', '8', '2', '7', 0};
    uchar s2[8] = {0, '9', '9', '9', '9', '9', '9', 0};
    const uchar plain[8] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    uchar p[8];
    std::memcpy(p, plain, 8);
    scrambleFrame(p, s1);
    unscrambleFrame(p, s2);
    for (int i : {0, 1, 3, 4, 6, 7})
        QVERIFY2(p[i] != plain[i], qPrintable(QString::number(i)));
    QCOMPARE(p[2], plain[2]);
    QCOMPARE(p[5], plain[5]);
}

void TestHandshake::handshake_data()
{
    QTest::addColumn<bool>("encode");
    QTest::addColumn<QByteArray>("deviceCode");
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("passes");
    QTest::newRow("plain") << false << QByteArray("413827") << true << true;
    QTest::newRow("scrambled, same code") << true << QByteArray("413827") << true << true;
    QTest::newRow("scrambled, other code") << true << QByteArray("000000") << true << false;
    QTest::newRow("unplugged after enumeration") << false << QByteArray("413827") << false << false;
}

void TestHandshake::handshake()
{
    QFETCH(bool, encode);
    QFETCH(QByteArray, deviceCode);
    QFETCH(bool, present);
    QFETCH(bool, passes);

    VirtualMouse::Config c;
    c.isEncode = encode;
    c.sCode = deviceCode;
    LinkFixture f(c);
    // The host's code comes from the table entry; the fixture copied the device's, so set it.
    DeviceTable t = f.link->deviceTable();
    t[0].sCode = QStringLiteral("413827");
    f.link->setDeviceTable(t);
    if (!present)
        f.mouse->unplug();
    f.link->setCurrentDevice(5);

    QCOMPARE(f.link->chkDeviceIsEnCode(0), passes);
    QCOMPARE(f.link->currentDevice(), 0);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(secrecyBuffer), 8), QByteArray("\0"
                                                                                     "413827"
                                                                                     "\0",
                                                                                     8));
    if (present && !encode) {
        // The plain frame: 0, 0x00, r1 … r4, 0, 0, checksum.
        const QByteArray frame = frameBytes(f.lines().first());
        QCOMPARE(frame.size(), 9);
        QCOMPARE(frame.left(2), QByteArray(2, '\0'));
        QCOMPARE(frame.mid(6, 2), QByteArray(2, '\0'));
        QCOMPARE(uchar(frame[8]),
                 Hid_Thread(nullptr, nullptr).hidCS(reinterpret_cast<uchar*>(frame.mid(1).data())));
    }
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
    if (!present)
        QVERIFY(f.link->deviceTable().at(0).commandPath.isEmpty());
}

void TestHandshake::busyLinkPassesWithoutExchange()
{
    LinkFixture f;
    f.link->setLinkFree(false);
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 00");
    QVERIFY(f.link->chkDeviceIsEnCode(0));
    QCOMPARE(f.lines(WireTrace::FeatureOut | WireTrace::FeatureIn), QStringList());
}

void TestHandshake::codeOfAnotherLengthKeepsTheBuffer()
{
    LinkFixture f;
    std::memcpy(secrecyBuffer + 1, "ABCDEF", 6);
    for (const QString& code : {QStringLiteral("12345"), QStringLiteral("1234567"), QString()}) {
        DeviceTable t = f.link->deviceTable();
        t[0].sCode = code;
        f.link->setDeviceTable(t);
        QVERIFY(f.link->chkDeviceIsEnCode(0)); // plain device: the code plays no part
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(secrecyBuffer) + 1, 6),
                 QByteArray("ABCDEF"));
    }
}

QTEST_GUILESS_MAIN(TestHandshake)
#include "tst_handshake.moc"
