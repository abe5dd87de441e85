// The transport under the commands: chunking, settling, the busy token, and every way a transfer
// can fail.
#include "tests/support/linkfixture.h"
#include "tests/support/wirelines.h"

#include <QTest>
#include <QTimer>

namespace {
uchar* bytes(QByteArray& b)
{
    return reinterpret_cast<uchar*>(b.data());
}

QByteArray pattern(int n, int seed)
{
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((seed + i * 13) & 0xFF);
    return b;
}

QStringList outputs(const QStringList& lines)
{
    QStringList out;
    for (const QString& l : lines)
        if (l.startsWith(QLatin1String("out> ")))
            out << l.mid(5);
    return out;
}
} // namespace

class TestTransport : public QObject {
    Q_OBJECT
private slots:
    void chunking_data();
    void chunking();
    void lastChunkCarriesWhatFollowsTheBlock();
    void settleOnlyWhenAsked();
    void failedOpenEmptiesPathAndFreesToken();
    void unplugInTheMiddleOfABlock();
    void currentDeviceOutsideTheTable();
    void damagedReportLength();
    void blockReadThatNeverComes();
    void shortAndGarbageReports();
    void failedReadsKeepCallerValues_data();
    void failedReadsKeepCallerValues();
    void busyLinkDropsCommand_data();
    void busyLinkDropsCommand();
    void waitProcessesEvents();
};

void TestTransport::chunking_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("blockLength");
    QTest::addColumn<int>("reports");

    QTest::newRow("128 bytes, 32-byte reports") << 32 << 128 << 4;
    QTest::newRow("128 bytes, 64-byte reports") << 64 << 128 << 2;
    QTest::newRow("8 bytes, 32-byte reports") << 32 << 8 << 1;
    QTest::newRow("24 bytes, 16-byte reports") << 16 << 24 << 2;
    QTest::newRow("64 bytes, 16-byte reports") << 16 << 64 << 4;
}

void TestTransport::chunking()
{
    QFETCH(int, reportLength);
    QFETCH(int, blockLength);
    QFETCH(int, reports);

    VirtualMouse::Config c;
    c.reportLength = reportLength;
    LinkFixture f(c);
    QByteArray block = pattern(blockLength, reportLength);
    switch (blockLength) {
    case 128:
        f.link->hid553_13H_SetMacroKey(1, bytes(block));
        break;
    case 64:
        f.link->hid553_12H_SetKeyMatrix(bytes(block), 1);
        break;
    case 24:
        f.link->hid553_10H_SetLED8StageColor(1, bytes(block));
        break;
    case 8:
        f.link->hid553_11H_SetDPISet(1, bytes(block));
        break;
    }
    const QStringList out = outputs(f.lines());
    QCOMPARE(out.size(), reports);
    const int chunk = qMin(blockLength, reportLength);
    for (const QString& r : out) {
        QCOMPARE(r.split(QLatin1Char(' ')).size(), reportLength + 1); // report id on top
        QVERIFY(r.startsWith(QLatin1String("00 ")));
    }
    // The first report: the block's first chunk, then zeros up to the report length.
    QByteArray first(1, '\0');
    first += block.left(chunk);
    first.resize(reportLength + 1, '\0');
    QCOMPARE(out.first(), WireTrace::hex(first));
    QVERIFY(f.errors().isEmpty());
}

void TestTransport::lastChunkCarriesWhatFollowsTheBlock()
{
    // A 24-byte block in 16-byte reports: the second report carries bytes 16 … 23 and then the
    // 8 bytes that follow them in the link's data block.
    VirtualMouse::Config c;
    c.reportLength = 16;
    LinkFixture f(c);
    const QByteArray tail = QByteArray::fromHex("a1a2a3a4a5a6a7a8");
    std::memcpy(f.link->dataBlock + 24, tail.constData(), 8);
    QByteArray colours = pattern(24, 1);
    f.link->hid553_10H_SetLED8StageColor(0, bytes(colours));

    const QStringList out = outputs(f.lines());
    QCOMPARE(out.size(), 2);
    QCOMPARE(out[1], WireTrace::hex(QByteArray(1, '\0') + colours.mid(16) + tail));
    QCOMPARE(f.mouse->memory().ledColors.value(0), colours);
}

void TestTransport::settleOnlyWhenAsked()
{
    LinkFixture f;
    f.link->hid553_0BH_SetCurrentDPI(2);              // settle
    f.link->hid553_03H_SetKeyboardoption(0, 0, 0, 0); // no settle, 8 ms after
    QCOMPARE(f.lines(), (QStringList{wire::feature({0x0B, 2}), QStringLiteral("wait 64"),
                                     QStringLiteral("wait 64"), wire::feature({0x03}),
                                     QStringLiteral("wait 8")}));
}

void TestTransport::failedOpenEmptiesPathAndFreesToken()
{
    LinkFixture f;
    f.mouse->unplug();
    f.backend.trace().clear();
    f.link->hid553_0BH_SetCurrentDPI(2);

    QCOMPARE(f.lines(WireTrace::FeatureOut | WireTrace::Output), QStringList());
    QVERIFY(f.link->deviceTable().at(0).commandPath.isEmpty());
    QVERIFY(!f.link->deviceTable().at(0).reportPath.isEmpty()); // only the failed interface
    QVERIFY(f.link->linkFree());

    // Plugged back in, the link stays away until the table is rebuilt by a device check.
    f.mouse->plug();
    f.link->hid553_0BH_SetCurrentDPI(2);
    QCOMPARE(f.lines(WireTrace::FeatureOut), QStringList());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestTransport::unplugInTheMiddleOfABlock()
{
    LinkFixture f;
    const QByteArray before = f.mouse->memory().macros.value(5);
    f.mouse->unplugAfterOutputReports(2);
    QByteArray macro = pattern(128, 9);
    f.link->hid553_13H_SetMacroKey(5, bytes(macro));

    QCOMPARE(outputs(f.lines()).size(), 2);
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
    QCOMPARE(f.mouse->memory().macros.value(5), before); // half a block is never applied
    QVERIFY(f.link->deviceTable().at(0).commandPath.isEmpty());
}

void TestTransport::currentDeviceOutsideTheTable()
{
    for (int index : {-1, 1, 7}) {
        LinkFixture f;
        f.link->setCurrentDevice(index);
        uchar stage = 4;
        f.link->hid553_0BH_SetCurrentDPI(3);
        f.link->hid553_8BH_GetCurrentDPI(stage);
        QCOMPARE(f.lines(), QStringList());
        QCOMPARE(stage, uchar(4));
        QVERIFY(f.link->linkFree());
    }
}

void TestTransport::damagedReportLength()
{
    // A report length of 0 would never advance through the block; the transfer fails instead.
    for (int length : {0, -5, 100000}) {
        LinkFixture f;
        DeviceTable t = f.link->deviceTable();
        t[0].reportLength = length;
        f.link->setDeviceTable(t);
        QByteArray macro = pattern(128, 1);
        f.link->hid553_13H_SetMacroKey(1, bytes(macro));
        QCOMPARE(outputs(f.lines()), QStringList());
        QVERIFY(f.link->linkFree());
        f.link->hid553_0BH_SetCurrentDPI(2); // commands without a block still work
        QCOMPARE(f.mouse->memory().currentDpi, uint8_t(2));
    }
}

void TestTransport::blockReadThatNeverComes()
{
    LinkFixture f(LinkFixture::family560());
    f.mouse->setFault(VirtualMouse::Fault::SilentBlocks);
    QByteArray buf(128, '\x77');
    f.link->hid560_8CH_readProfile(bytes(buf), 1);

    QCOMPARE(buf, QByteArray(128, '\x77')); // nothing arrived, nothing changed
    QVERIFY(f.lines().contains(QStringLiteral("timeout %1").arg(Hid_Thread::kBlockReadTimeoutMs)));
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestTransport::shortAndGarbageReports()
{
    // Short input reports: each chunk is copied from the zeroed report buffer as it came back.
    LinkFixture f(LinkFixture::family560());
    f.mouse->setFault(VirtualMouse::Fault::ShortReports);
    QByteArray buf(128, '\x77');
    f.link->hid560_8CH_readProfile(bytes(buf), 1);
    const QByteArray block = f.mouse->memory().profileBlocks[1];
    QCOMPARE(buf.left(4), block.left(4));
    QCOMPARE(buf.mid(16, 16), QByteArray(16, '\0'));

    // Garbage answers give garbage values, but nothing else.
    f.mouse->setFault(VirtualMouse::Fault::GarbageAnswers);
    uchar a = 0, b = 0, c = 0, d = 0;
    f.link->hid553_83H_GetKeyboardoption(a, b, c, d);
    f.link->hid560_8CH_readProfile(bytes(buf), 2);
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestTransport::failedReadsKeepCallerValues_data()
{
    QTest::addColumn<int>("fault"); // 0 = unplugged
    QTest::newRow("unplugged") << 0;
    QTest::newRow("feature read refused") << int(VirtualMouse::Fault::RefuseGetFeature);
    QTest::newRow("feature write refused") << int(VirtualMouse::Fault::RefuseFeature);
}

void TestTransport::failedReadsKeepCallerValues()
{
    QFETCH(int, fault);
    LinkFixture f(LinkFixture::family560());
    if (fault)
        f.mouse->setFault(VirtualMouse::Fault(fault));
    else
        f.mouse->unplug();

    uchar dpi = 6;
    f.link->hid553_8BH_GetCurrentDPI(dpi);
    QCOMPARE(dpi, uchar(6));
    uchar o1 = 1, o2 = 2, o3 = 3, o4 = 4;
    f.link->hid553_83H_GetKeyboardoption(o1, o2, o3, o4);
    QCOMPARE((QList<int>{o1, o2, o3, o4}), (QList<int>{1, 2, 3, 4}));
    uchar profile = 3;
    f.link->hid560_82H_GetCurrentProfile(profile);
    QCOMPARE(profile, uchar(3));
    uchar k = 1, stage = 5;
    f.link->hid560_84H_GetCurrentDPI(k, stage);
    QCOMPARE(stage, uchar(5));
    // The echo's answer frame starts empty: a silent device answers four zeros.
    uchar r1 = 1, r2 = 2, r3 = 3, r4 = 4;
    f.link->hid553_00H_GetSecrecyCode(r1, r2, r3, r4);
    QCOMPARE((QList<int>{r1, r2, r3, r4}), (QList<int>{0, 0, 0, 0}));
    QVERIFY(f.link->linkFree());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestTransport::busyLinkDropsCommand_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("0B") << 0 << QStringLiteral("cmd Failed 0B");
    QTest::newRow("8B with an H") << 1 << QStringLiteral("cmd Failed 8BH");
    QTest::newRow("8c in lower case") << 2 << QStringLiteral("cmd Failed 8c");
    QTest::newRow("560 03") << 3 << QStringLiteral("cmd Failed 03");
}

void TestTransport::busyLinkDropsCommand()
{
    QFETCH(int, command);
    QFETCH(QString, message);
    LinkFixture f(LinkFixture::family560());
    f.link->setLinkFree(false);

    uchar stage = 7;
    QByteArray buf(128, '\x33');
    QTest::ignoreMessage(QtDebugMsg, message.toLatin1().constData());
    switch (command) {
    case 0:
        f.link->hid553_0BH_SetCurrentDPI(2);
        break;
    case 1:
        f.link->hid553_8BH_GetCurrentDPI(stage);
        break;
    case 2:
        f.link->hid560_8CH_readProfile(bytes(buf), 1);
        break;
    case 3:
        f.link->hid560_03H_SetReportRate(1);
        break;
    }
    QCOMPARE(f.lines(), QStringList(255, QStringLiteral("wait 8")));
    QCOMPARE(stage, uchar(7));
    QCOMPARE(buf, QByteArray(128, '\x33'));
    QVERIFY(!f.link->linkFree()); // still held by whoever had it
}

void TestTransport::waitProcessesEvents()
{
    // The wait for the token lets the event loop run: the holder can finish meanwhile.
    LinkFixture f;
    f.link->setLinkFree(false);
    QTimer::singleShot(0, f.link.get(), [&f] { f.link->setLinkFree(true); });
    f.link->hid553_0BH_SetCurrentDPI(2);
    QCOMPARE(f.lines().first(), QStringLiteral("wait 8"));
    QCOMPARE(f.lines().at(1), wire::feature({0x0B, 2}));
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
