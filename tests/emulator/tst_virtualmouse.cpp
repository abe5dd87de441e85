#include "emulator/virtualmouse.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <thread>

using Family = VirtualMouse::Family;
using Fault = VirtualMouse::Fault;
using Memory = VirtualMouse::Memory;
using Frame = std::array<uint8_t, 8>;

Q_DECLARE_METATYPE(Family)
Q_DECLARE_METATYPE(Fault)

namespace {

// The host's scrambling, written byte by byte the way the link describes it, so that the
// emulator's own (64-bit rotation) version is checked against an independent one.
uint8_t swapNibbles(uint8_t x)
{
    return uint8_t((x << 4) | (x >> 4));
}

Frame secretOf(const QByteArray& code)
{
    Frame s{};
    for (int i = 0; i < 6; ++i)
        s[size_t(i) + 1] = uint8_t(code.at(i));
    return s;
}

const char kTable[] = "QmPzkVud";

Frame hostEncrypt(Frame p, const Frame& s)
{
    std::swap(p[0], p[5]);
    std::swap(p[1], p[4]);
    std::swap(p[2], p[7]);
    std::swap(p[3], p[6]);
    for (size_t i = 1; i <= 6; ++i)
        p[i] ^= s[i];
    const Frame q = p;
    for (size_t i = 0; i < 7; ++i)
        p[i] = uint8_t((q[i] << 3) | (q[i + 1] >> 5));
    p[7] = uint8_t((q[7] << 3) | (q[0] >> 5));
    for (size_t i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] + swapNibbles(uint8_t(kTable[i])));
    return p;
}

Frame hostDecipher(Frame p, const Frame& s)
{
    for (size_t i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] - swapNibbles(uint8_t(kTable[i])));
    const Frame q = p;
    for (size_t i = 1; i < 8; ++i)
        p[i] = uint8_t((q[i] >> 3) | (q[i - 1] << 5));
    p[0] = uint8_t((q[0] >> 3) | (q[7] << 5));
    for (size_t i = 1; i <= 6; ++i)
        p[i] ^= s[i];
    std::swap(p[0], p[5]);
    std::swap(p[1], p[4]);
    std::swap(p[2], p[7]);
    std::swap(p[3], p[6]);
    return p;
}

uint8_t checksum(const Frame& b)
{
    unsigned sum = 0;
    for (size_t i = 0; i < 7; ++i)
        sum += b[i];
    return uint8_t(~sum);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray pattern(int length, int seed)
{
    QByteArray out(length, '\0');
    for (int i = 0; i < length; ++i)
        out[i] = char(seed + i * 7);
    return out;
}

QByteArray toBytes(const Frame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), 8);
}

VirtualMouse::Config config(Family family, int reportLength = 32, bool encode = false)
{
    VirtualMouse::Config c;
    c.family = family;
    c.reportLength = reportLength;
    c.isEncode = encode;
    return c;
}

// Everything the mouse keeps, in one comparable blob.
QByteArray dump(const Memory& m)
{
    QByteArray out;
    const auto map = [&out](const char* name, const QMap<int, QByteArray>& values) {
        out += name;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            out += QByteArray::number(it.key()) + '=' + it.value().toHex() + ';';
        out += '\n';
    };
    const auto arr = [&out](const char* name, const auto& values) {
        out += name;
        for (uint8_t v : values)
            out += QByteArray::number(v) + ',';
        out += '\n';
    };
    map("keyMatrices", m.keyMatrices);
    map("macros", m.macros);
    map("ledColors", m.ledColors);
    map("dpiSets", m.dpiSets);
    arr("options", m.options);
    arr("gunData", m.gunData);
    arr("ledEffect", m.ledEffect);
    arr("options560", m.options560);
    arr("reportRates", m.reportRates);
    arr("currentDpis", m.currentDpis);
    arr("bytes",
        std::array<uint8_t, 4>{m.reportRate, m.currentKeyMatrix, m.currentDpi, m.currentProfile});
    for (const QByteArray& b : m.profileBlocks)
        out += b.toHex() + '\n';
    return out;
}

// One field of the memory, named as in the test tables.
QByteArray field(const Memory& m, const QString& name)
{
    const QStringList parts = name.split(QLatin1Char(':'));
    const int key = parts.value(1).toInt();
    const auto arr = [](const auto& values) {
        return QByteArray(reinterpret_cast<const char*>(values.data()), qsizetype(values.size()));
    };
    if (parts[0] == QLatin1String("keyMatrix"))
        return m.keyMatrices.value(key);
    if (parts[0] == QLatin1String("macro"))
        return m.macros.value(key);
    if (parts[0] == QLatin1String("ledColors"))
        return m.ledColors.value(key);
    if (parts[0] == QLatin1String("dpiSets"))
        return m.dpiSets.value(key);
    if (parts[0] == QLatin1String("profileBlock"))
        return m.profileBlocks[size_t(key)];
    if (parts[0] == QLatin1String("reportRate"))
        return QByteArray(1, char(m.reportRate));
    if (parts[0] == QLatin1String("currentKeyMatrix"))
        return QByteArray(1, char(m.currentKeyMatrix));
    if (parts[0] == QLatin1String("currentDpi"))
        return QByteArray(1, char(m.currentDpi));
    if (parts[0] == QLatin1String("currentProfile"))
        return QByteArray(1, char(m.currentProfile));
    if (parts[0] == QLatin1String("options"))
        return arr(m.options);
    if (parts[0] == QLatin1String("gunData"))
        return arr(m.gunData);
    if (parts[0] == QLatin1String("ledEffect"))
        return arr(m.ledEffect);
    if (parts[0] == QLatin1String("options560"))
        return arr(m.options560);
    if (parts[0] == QLatin1String("reportRates"))
        return arr(m.reportRates);
    if (parts[0] == QLatin1String("currentDpis"))
        return arr(m.currentDpis);
    return "no such field";
}

// A minimal host on the command interface: frames with checksum, optional scrambling,
// data blocks in report-sized chunks.
class Host {
public:
    explicit Host(const VirtualMouse::Config& c, const QByteArray& hostCode = {})
        : mouse(backend.addMouse(c)), reportLength(c.reportLength), encode(c.isEncode),
          secret(secretOf(hostCode.isEmpty() ? c.sCode : hostCode))
    {
        cmd = backend.openPath("virtual:" + c.name + ":cmd");
    }
    ~Host()
    {
        if (cmd)
            backend.close(cmd);
    }

    // Sends b0 … b6 with the checksum; returns what the backend returned.
    int send(const QByteArray& b)
    {
        Frame f{};
        for (qsizetype i = 0; i < b.size() && i < 7; ++i)
            f[size_t(i)] = uint8_t(b[i]);
        f[7] = checksum(f);
        if (encode)
            f = hostEncrypt(f, secret);
        return sendRaw(char(0) + toBytes(f));
    }
    int sendRaw(const QByteArray& frame)
    {
        return backend.sendFeatureReport(cmd, reinterpret_cast<const uint8_t*>(frame.constData()),
                                         size_t(frame.size()));
    }
    std::optional<Frame> answer()
    {
        uint8_t buf[9] = {};
        if (backend.getFeatureReport(cmd, buf, 9) != 9)
            return std::nullopt;
        Frame a;
        std::memcpy(a.data(), buf + 1, 8);
        return encode ? hostDecipher(a, secret) : a;
    }
    int writeReport(const QByteArray& report)
    {
        return backend.write(cmd, reinterpret_cast<const uint8_t*>(report.constData()),
                             size_t(report.size()));
    }
    // The block as output reports: report id 0, chunk bytes, zero padding.
    bool sendBlock(const QByteArray& data)
    {
        const int chunk = std::min(int(data.size()), reportLength);
        for (int offset = 0; offset < data.size(); offset += chunk) {
            QByteArray report(reportLength + 1, '\0');
            const QByteArray part = data.mid(offset, chunk);
            std::memcpy(report.data() + 1, part.constData(), size_t(part.size()));
            if (writeReport(report) != reportLength + 1)
                return false;
        }
        return true;
    }
    QByteArray readReport(int ms = 1000)
    {
        QByteArray buf(reportLength + 1, '\0');
        const int n = backend.readTimeout(cmd, reinterpret_cast<uint8_t*>(buf.data()),
                                          size_t(buf.size()), ms);
        return n < 0 ? QByteArray("failed") : buf.left(n);
    }
    bool errorsContain(const QString& text) const
    {
        const QStringList errors = backend.trace().errors();
        return std::any_of(errors.begin(), errors.end(),
                           [&text](const QString& e) { return e.contains(text); });
    }

    VirtualHidBackend backend;
    VirtualMouse& mouse;
    int reportLength;
    bool encode;
    Frame secret;
    HidHandle* cmd = nullptr;
};

} // namespace

class TestVirtualMouse : public QObject {
    Q_OBJECT

private slots:
    void enumerateAndOpen();
    void traceShowsTheWire();
    void rejectsBadFrames_data();
    void rejectsBadFrames();
    void sequenceErrors_data();
    void sequenceErrors();
    void writesLandInMemory_data();
    void writesLandInMemory();
    void readAnswers_data();
    void readAnswers();
    void profileBlockRead_data();
    void profileBlockRead();
    void echo_data();
    void echo();
    void dpiButtonReports_data();
    void dpiButtonReports();
    void unplugWakesBlockedReportRead();
    void unplugMidBlock();
    void faults_data();
    void faults();
    void listenerBesideCommands();
    void factoryMemory();
    void memoryRoundTrip_data();
    void memoryRoundTrip();
    void loadRejectsDamagedFiles_data();
    void loadRejectsDamagedFiles();
};

void TestVirtualMouse::enumerateAndOpen()
{
    VirtualHidBackend backend;
    VirtualMouse::Config a = config(Family::F553);
    a.name = "a";
    VirtualMouse::Config b = config(Family::F560);
    b.name = "b";
    b.pid = 0x1234;
    b.usagePage = 0xff02;
    b.usage = 0x0002;
    VirtualMouse& ma = backend.addMouse(a);
    backend.addMouse(b);

    const auto paths = [&backend](uint16_t vid, uint16_t pid) {
        QList<QByteArray> out;
        for (const HidInterfaceInfo& i : backend.enumerate(vid, pid))
            out.append(i.path + ' ' + QByteArray::number(i.usagePage, 16) + ':' +
                       QByteArray::number(i.usage, 16));
        return out;
    };
    QCOMPARE(paths(0, 0),
             (QList<QByteArray>{"virtual:a:cmd ff00:ff00", "virtual:a:report ff01:ff01",
                                "virtual:b:cmd ff02:2", "virtual:b:report ff01:ff01"}));
    QCOMPARE(paths(0x04d9, 0x1234),
             (QList<QByteArray>{"virtual:b:cmd ff02:2", "virtual:b:report ff01:ff01"}));
    QVERIFY(paths(0x1111, 0).isEmpty());

    HidHandle* cmd = backend.openPath("virtual:a:cmd");
    HidHandle* report = backend.openPath("virtual:a:report");
    QVERIFY(cmd && report);
    QCOMPARE(backend.setNonblocking(cmd, 0), 0);
    QVERIFY(!backend.openPath("virtual:zz:cmd"));
    QCOMPARE(backend.openHandles(), 2);

    ma.unplug();
    QCOMPARE(paths(0, 0),
             (QList<QByteArray>{"virtual:b:cmd ff02:2", "virtual:b:report ff01:ff01"}));
    QVERIFY(!backend.openPath("virtual:a:cmd"));
    QCOMPARE(backend.setNonblocking(cmd, 0), -1);
    backend.close(cmd);
    backend.close(report);
    QCOMPARE(backend.openHandles(), 0);
    backend.close(cmd); // twice: the host has lost track of its handles

    QCOMPARE(backend.trace().lines(WireTrace::Open | WireTrace::Close | WireTrace::Note |
                                   WireTrace::Error),
             (QStringList{QStringLiteral("open cmd"), QStringLiteral("open report"),
                          QStringLiteral("open failed virtual:zz:cmd"), QStringLiteral("unplugged"),
                          QStringLiteral("open failed virtual:a:cmd"), QStringLiteral("close cmd"),
                          QStringLiteral("close report"),
                          QStringLiteral("error: close of an unknown handle")}));
}

void TestVirtualMouse::traceShowsTheWire()
{
    Host host(config(Family::F553));
    QCOMPARE(host.send(bytes({0x0b, 0x03})), 9);
    host.backend.sleeper().sleep(128);
    QCOMPARE(host.send(bytes({0x8b})), 9);
    QVERIFY(host.answer());
    QCOMPARE(host.backend.trace().lines(),
             (QStringList{QStringLiteral("feature> 00 0b 03 00 00 00 00 00 f1"),
                          QStringLiteral("wait 128"),
                          QStringLiteral("feature> 00 8b 00 00 00 00 00 00 74"),
                          QStringLiteral("feature< 00 8b 03 00 00 00 00 00 71")}));
    QCOMPARE(host.mouse.memory().currentDpi, 3);
}

void TestVirtualMouse::rejectsBadFrames_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<QByteArray>("frame"); // b0 … b6, checksum added (raw: the whole report)
    QTest::addColumn<bool>("raw");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("error");

    const auto row = [](const char* tag, Family f, const QByteArray& frame, bool raw, int result,
                        const char* error) {
        QTest::newRow(tag) << f << frame << raw << result << QString::fromLatin1(error);
    };
    row("bad checksum", Family::F553, bytes({0, 0x0b, 3, 0, 0, 0, 0, 0, 0xf0}), true, 9,
        "bad checksum 0b 03");
    row("8 bytes", Family::F553, bytes({0, 0x0b, 3, 0, 0, 0, 0, 0}), true, -1,
        "feature report of 8 bytes");
    row("report id 1", Family::F553, bytes({1, 0x0b, 3, 0, 0, 0, 0, 0, 0xf1}), true, -1,
        "report id 01");
    row("553 knows no 0C", Family::F553, bytes({0x0c, 1, 0x80}), false, 9, "unknown command 0c");
    row("553 knows no 81", Family::F553, bytes({0x81}), false, 9, "unknown command 81");
    row("560 knows no 0B", Family::F560, bytes({0x0b, 2}), false, 9, "unknown command 0b");
    row("560 knows no 83", Family::F560, bytes({0x83}), false, 9, "unknown command 83");
    row("560 knows no 13", Family::F560, bytes({0x13, 1, 0x80}), false, 9, "unknown command 13");
    row("560 block number 5", Family::F560, bytes({0x0c, 5, 0x80}), false, 9, "block number 5");
    row("560 read block 5", Family::F560, bytes({0x8c, 5}), false, 9, "block number 5");
    row("560 rate of profile 0", Family::F560, bytes({0x03, 0, 4}), false, 9, "profile 0");
    row("560 stage of profile 5", Family::F560, bytes({0x04, 5, 2}), false, 9, "profile 5");
    row("553 dpi set length 9", Family::F553, bytes({0x11, 4, 9}), false, 9, "length byte 09");
    row("553 colours of 5 bytes", Family::F553, bytes({0x10, 2, 5}), false, 9,
        "colour block of 5 bytes");
}

void TestVirtualMouse::rejectsBadFrames()
{
    QFETCH(Family, family);
    QFETCH(QByteArray, frame);
    QFETCH(bool, raw);
    QFETCH(int, result);
    QFETCH(QString, error);

    Host host(config(family));
    const QByteArray before = dump(host.mouse.memory());
    QCOMPARE(raw ? host.sendRaw(frame) : host.send(frame), result);
    QCOMPARE(host.backend.trace().errors().size(), 1);
    QVERIFY2(host.errorsContain(error), qPrintable(host.backend.trace().errors().join(u'\n')));
    QCOMPARE(dump(host.mouse.memory()), before);
    QVERIFY(!host.answer()); // nothing to read back either
}

void TestVirtualMouse::sequenceErrors_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("error");
    QTest::newRow("short output report") << "short"
                                         << "output report of 32 bytes, expected 33";
    QTest::newRow("long output report") << "long"
                                        << "output report of 34 bytes, expected 33";
    QTest::newRow("output report id 2") << "id"
                                        << "output report with report id 02";
    QTest::newRow("stray output report") << "stray"
                                         << "no data block pending";
    QTest::newRow("incomplete block, new command") << "incomplete"
                                                   << "13 incomplete: 64 of 128";
    QTest::newRow("feature read during block") << "readDuringBlock"
                                               << "during the block";
    QTest::newRow("feature read without command") << "noRead"
                                                  << "without a read command";
    QTest::newRow("input left unread") << "unread"
                                       << "3 input reports left unread";
    QTest::newRow("blocking read, nothing queued") << "blockingRead"
                                                   << "nothing to deliver";
}

void TestVirtualMouse::sequenceErrors()
{
    QFETCH(QString, scenario);
    QFETCH(QString, error);

    const bool is560 = scenario == QLatin1String("unread");
    Host host(config(is560 ? Family::F560 : Family::F553));
    const QByteArray macro = pattern(128, 3);
    QByteArray report(33, '\0');
    if (scenario == QLatin1String("short") || scenario == QLatin1String("long") ||
        scenario == QLatin1String("id")) {
        QCOMPARE(host.send(bytes({0x13, 5, 0x80})), 9);
        if (scenario == QLatin1String("short"))
            report.chop(1);
        if (scenario == QLatin1String("long"))
            report.append('\0');
        if (scenario == QLatin1String("id"))
            report[0] = 2;
        QCOMPARE(host.writeReport(report), -1);
        // The block was dropped: the rest of it is stray now.
        QCOMPARE(host.writeReport(QByteArray(33, '\0')), 33);
        QVERIFY(host.errorsContain(QStringLiteral("block of command 13 dropped")));
        QVERIFY(host.errorsContain(QStringLiteral("no data block pending")));
    } else if (scenario == QLatin1String("stray")) {
        QCOMPARE(host.writeReport(report), 33); // the wire takes it, the firmware ignores it
    } else if (scenario == QLatin1String("incomplete")) {
        QCOMPARE(host.send(bytes({0x13, 5, 0x80})), 9);
        QVERIFY(host.sendBlock(macro.left(64)));
        QCOMPARE(host.send(bytes({0x0b, 2})), 9);
        QCOMPARE(host.mouse.memory().currentDpi, 2); // the new command still counts
    } else if (scenario == QLatin1String("readDuringBlock")) {
        QCOMPARE(host.send(bytes({0x13, 5, 0x80})), 9);
        QVERIFY(!host.answer());
    } else if (scenario == QLatin1String("noRead")) {
        QCOMPARE(host.send(bytes({0x0b, 2})), 9);
        QVERIFY(!host.answer());
    } else if (scenario == QLatin1String("unread")) {
        QCOMPARE(host.send(bytes({0x8c, 1})), 9);
        QVERIFY(host.answer());
        QCOMPARE(host.readReport().size(), 32);
        QCOMPARE(host.send(bytes({0x82})), 9);
        QVERIFY(host.answer());                    // the new command is served
        QCOMPARE(host.readReport(), QByteArray()); // and the old block is gone
    } else if (scenario == QLatin1String("blockingRead")) {
        uint8_t buf[33];
        QCOMPARE(host.backend.read(host.cmd, buf, sizeof buf), -1);
    }
    QVERIFY2(host.errorsContain(error), qPrintable(host.backend.trace().errors().join(u'\n')));
    QVERIFY(!host.mouse.memory().macros.contains(5));
}

void TestVirtualMouse::writesLandInMemory_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expected");

    const auto row = [](const char* tag, Family f, int rl, bool encode, const QByteArray& frame,
                        const QByteArray& block, const char* name, const QByteArray& expected) {
        QTest::newRow(tag) << f << rl << encode << frame << block << QString::fromLatin1(name)
                           << expected;
    };
    const QByteArray b4 = pattern(4, 1), b8 = pattern(8, 2), b24 = pattern(24, 3),
                     b64 = pattern(64, 4), b128 = pattern(128, 5);
    row("553 01H report rate", Family::F553, 32, false, bytes({0x01, 4}), {}, "reportRate",
        bytes({4}));
    row("553 02H key matrix 3", Family::F553, 32, false, bytes({0x02, 3}), {}, "currentKeyMatrix",
        bytes({3}));
    row("553 03H options", Family::F553, 32, true, bytes({0x03, 1, 2, 3, 0x40}), {}, "options",
        bytes({1, 2, 3, 0x40}));
    row("553 04H gun data", Family::F553, 32, false, bytes({0x04, 0, 9, 8, 7, 6}), {}, "gunData",
        bytes({9, 8, 7, 6}));
    row("553 0DH effect", Family::F553, 32, false, bytes({0x0d, 5, 0xff, 10}), {}, "ledEffect",
        bytes({5, 0xff, 10}));
    row("553 10H type 2, 4 bytes", Family::F553, 32, false, bytes({0x10, 2, 4}), b4, "ledColors:2",
        b4);
    row("553 10H 24 bytes in 16-byte reports", Family::F553, 16, false, bytes({0x10, 0, 24}), b24,
        "ledColors:0", b24);
    row("553 11H dpi set", Family::F553, 32, true, bytes({0x11, 4, 8}), b8, "dpiSets:4", b8);
    row("553 12H key matrix, scrambled", Family::F553, 32, true, bytes({0x12, 2, 0x40, 8}), b64,
        "keyMatrix:2", b64);
    row("553 13H macro in 64-byte reports", Family::F553, 64, false, bytes({0x13, 7, 0x80}), b128,
        "macro:7", b128);
    row("560 01H options", Family::F560, 32, false, bytes({0x01, 0x08, 0x11}), {}, "options560",
        bytes({0x08, 0x11}));
    row("560 02H profile", Family::F560, 32, false, bytes({0x02, 3}), {}, "currentProfile",
        bytes({3}));
    row("560 03H rate of profile 3", Family::F560, 32, false, bytes({0x03, 3, 2}), {},
        "reportRates", bytes({0, 1, 1, 2, 1}));
    row("560 04H stage of profile 2", Family::F560, 32, true, bytes({0x04, 2, 5}), {},
        "currentDpis", bytes({0, 1, 5, 1, 1}));
    row("560 0CH block 2, scrambled", Family::F560, 32, true, bytes({0x0c, 2, 0x80}), b128,
        "profileBlock:2", b128);
    row("560 0CH block 0 in 20-byte reports", Family::F560, 20, false, bytes({0x0c, 0, 0x80}), b128,
        "profileBlock:0", b128);
    row("560 0DH key matrix, all 128 bytes", Family::F560, 32, false, bytes({0x0d, 2, 0x80}),
        b64 + QByteArray(64, '\0'), "keyMatrix:2", b64 + QByteArray(64, '\0'));
    row("560 0FH macro in 64-byte reports", Family::F560, 64, false, bytes({0x0f, 9, 0x80}), b128,
        "macro:9", b128);
}

void TestVirtualMouse::writesLandInMemory()
{
    QFETCH(Family, family);
    QFETCH(int, reportLength);
    QFETCH(bool, encode);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, block);
    QFETCH(QString, name);
    QFETCH(QByteArray, expected);

    Host host(config(family, reportLength, encode));
    QCOMPARE(host.send(frame), 9);
    if (!block.isEmpty()) {
        // Not before the whole block is there.
        QCOMPARE(field(host.mouse.memory(), name),
                 field(VirtualMouse::factoryMemory(family), name));
        QVERIFY(host.sendBlock(block));
        const int chunk = std::min(int(block.size()), reportLength);
        QCOMPARE(host.backend.trace().entries(WireTrace::Output).size(),
                 (block.size() + chunk - 1) / chunk);
    }
    QCOMPARE(host.backend.trace().errors(), QStringList());
    QCOMPARE(field(host.mouse.memory(), name), expected);
}

void TestVirtualMouse::readAnswers_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("expected"); // a0 … a6

    QTest::newRow("553 83H") << Family::F553 << false << bytes({0x03, 1, 2, 3, 4}) << bytes({0x83})
                             << bytes({0x83, 1, 2, 3, 4, 0, 0});
    QTest::newRow("553 83H scrambled") << Family::F553 << true << bytes({0x03, 0, 0, 9, 0x40})
                                       << bytes({0x83}) << bytes({0x83, 0, 0, 9, 0x40, 0, 0});
    QTest::newRow("553 8BH") << Family::F553 << false << bytes({0x0b, 5}) << bytes({0x8b})
                             << bytes({0x8b, 5, 0, 0, 0, 0, 0});
    QTest::newRow("560 81H") << Family::F560 << false << bytes({0x01, 9, 10}) << bytes({0x81})
                             << bytes({0x81, 9, 10, 0, 0, 0, 0});
    QTest::newRow("560 82H scrambled") << Family::F560 << true << bytes({0x02, 3}) << bytes({0x82})
                                       << bytes({0x82, 3, 0, 0, 0, 0, 0});
    QTest::newRow("560 84H of profile 2") << Family::F560 << false << bytes({0x04, 2, 6})
                                          << bytes({0x84, 2}) << bytes({0x84, 2, 6, 0, 0, 0, 0});
}

void TestVirtualMouse::readAnswers()
{
    QFETCH(Family, family);
    QFETCH(bool, encode);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, expected);

    Host host(config(family, 32, encode));
    QCOMPARE(host.send(setup), 9);
    QCOMPARE(host.send(read), 9);
    const std::optional<Frame> a = host.answer();
    QVERIFY(a);
    QCOMPARE(toBytes(*a).left(7), expected);
    QCOMPARE((*a)[7], checksum(*a));
    QVERIFY(!host.answer()); // one answer per read command
    QCOMPARE(host.backend.trace().errors(),
             QStringList{QStringLiteral("error: feature read without a read command")});
}

void TestVirtualMouse::profileBlockRead_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<int>("blockNo");
    QTest::newRow("32-byte reports") << 32 << false << 3;
    QTest::newRow("64-byte reports, scrambled") << 64 << true << 0;
    QTest::newRow("20-byte reports, last one short") << 20 << false << 4;
    QTest::newRow("reports longer than the block") << 200 << false << 1;
}

void TestVirtualMouse::profileBlockRead()
{
    QFETCH(int, reportLength);
    QFETCH(bool, encode);
    QFETCH(int, blockNo);

    Host host(config(Family::F560, reportLength, encode));
    const QByteArray stored = host.mouse.memory().profileBlocks[size_t(blockNo)];
    QCOMPARE(host.send(bytes({0x8c, blockNo})), 9);
    const std::optional<Frame> a = host.answer();
    QVERIFY(a);
    QCOMPARE((*a)[0], 0x8c);
    QCOMPARE((*a)[1], blockNo);

    const int chunk = std::min(128, reportLength);
    QByteArray got;
    for (int offset = 0; offset < 128; offset += chunk) {
        const QByteArray report = host.readReport();
        QCOMPARE(report.size(), reportLength); // no report id on unnumbered reports
        const int data = std::min(chunk, 128 - offset);
        QCOMPARE(report.mid(data), QByteArray(reportLength - data, '\0'));
        got += report.left(data);
    }
    QCOMPARE(got, stored);
    QCOMPARE(host.readReport(1000), QByteArray()); // nothing more
    QCOMPARE(host.backend.trace().lines().last(), QStringLiteral("timeout 1000"));
    QCOMPARE(host.backend.trace().errors(), QStringList());
}

void TestVirtualMouse::echo_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<bool>("encode");
    QTest::addColumn<QByteArray>("hostCode");
    QTest::addColumn<bool>("matches");
    QTest::newRow("553 plain") << Family::F553 << false << QByteArray("413827") << true;
    QTest::newRow("553 scrambled") << Family::F553 << true << QByteArray("413827") << true;
    QTest::newRow("560 scrambled") << Family::F560 << true << QByteArray("413827") << true;
    QTest::newRow("plain ignores the code")
        << Family::F553 << false << QByteArray("999999") << true;
    QTest::newRow("scrambled, other code") << Family::F553 << true << QByteArray("413828") << false;
    QTest::newRow("560 scrambled, other code")
        << Family::F560 << true << QByteArray("ABCDEF") << false;
}

void TestVirtualMouse::echo()
{
    QFETCH(Family, family);
    QFETCH(bool, encode);
    QFETCH(QByteArray, hostCode);
    QFETCH(bool, matches);

    Host host(config(family, 32, encode), hostCode);
    const QByteArray r = bytes({0x00, 0x9a, 0x01, 0xfe, 0x37});
    QCOMPARE(host.send(r), 9);
    const std::optional<Frame> a = host.answer();
    const bool echoed = a && toBytes(*a).mid(1, 4) == r.mid(1);
    QCOMPARE(echoed, matches);

    const QByteArray wire = host.backend.trace().entries(WireTrace::FeatureOut).first().bytes;
    const QByteArray plain = bytes({0, 0x00, 0x9a, 0x01, 0xfe, 0x37, 0, 0, 0x2f});
    QCOMPARE(wire == plain, !encode);
    if (matches && encode) {
        // The answer really went out scrambled with the device's code.
        const QByteArray in = host.backend.trace().entries(WireTrace::FeatureIn).first().bytes;
        QCOMPARE(in.mid(1), toBytes(hostEncrypt(*a, secretOf("413827"))));
    }
}

void TestVirtualMouse::dpiButtonReports_data()
{
    QTest::addColumn<Family>("family");
    QTest::addColumn<QByteArray>("options"); // option command sent first
    QTest::addColumn<bool>("reports");
    QTest::newRow("553, bit 6 of byte 4") << Family::F553 << bytes({0x03, 0, 0, 0, 0x40}) << true;
    QTest::newRow("553, other bits")
        << Family::F553 << bytes({0x03, 0xff, 0xff, 0xff, 0xbf}) << false;
    QTest::newRow("560, bit 3 of byte 1") << Family::F560 << bytes({0x01, 0x08, 0}) << true;
    QTest::newRow("560, other bits") << Family::F560 << bytes({0x01, 0xf7, 0xff}) << false;
}

void TestVirtualMouse::dpiButtonReports()
{
    QFETCH(Family, family);
    QFETCH(QByteArray, options);
    QFETCH(bool, reports);

    Host host(config(family));
    QCOMPARE(host.send(options), 9);
    host.mouse.pressDpiButton(3);
    const Memory m = host.mouse.memory();
    QCOMPARE(family == Family::F560 ? m.currentDpis[1] : m.currentDpi, 3);

    HidHandle* report = host.backend.openPath("virtual:mouse:report");
    QVERIFY(report);
    uint8_t buf[4] = {};
    const int n = host.backend.readTimeout(report, buf, 4, reports ? 1000 : 20);
    host.backend.close(report);
    if (reports) {
        QCOMPARE(n, 4);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buf), 4), bytes({6, 7, 0, 3}));
        QCOMPARE(host.backend.trace().lines(WireTrace::Report),
                 QStringList{QStringLiteral("report< 06 07 00 03")});
    } else {
        QCOMPARE(n, 0);
    }
}

void TestVirtualMouse::unplugWakesBlockedReportRead()
{
    VirtualHidBackend backend;
    VirtualMouse& mouse = backend.addMouse(config(Family::F553));
    HidHandle* report = backend.openPath("virtual:mouse:report");
    QVERIFY(report);

    // A queued report wakes the reader.
    int got = -2;
    std::thread reader([&] {
        uint8_t buf[4];
        got = backend.readTimeout(report, buf, 4, 60000);
    });
    QTRY_COMPARE(mouse.blockedReaders(), 1);
    mouse.sendReport(bytes({6, 7, 0, 2}));
    reader.join();
    QCOMPARE(got, 4);

    // So does unplugging, with an error.
    got = -2;
    std::thread reader2([&] {
        uint8_t buf[4];
        got = backend.readTimeout(report, buf, 4, 60000);
    });
    QTRY_COMPARE(mouse.blockedReaders(), 1);
    mouse.unplug();
    reader2.join();
    QCOMPARE(got, -1);
    QCOMPARE(mouse.blockedReaders(), 0);
    backend.close(report);
    QCOMPARE(backend.openHandles(), 0);
}

void TestVirtualMouse::unplugMidBlock()
{
    Host host(config(Family::F560));
    const Memory before = host.mouse.memory();
    QCOMPARE(host.send(bytes({0x0c, 1, 0x80})), 9);
    host.mouse.unplugAfterOutputReports(2);
    const QByteArray block = pattern(128, 9);
    QByteArray report(33, '\0');
    std::memcpy(report.data() + 1, block.constData(), 32);
    QCOMPARE(host.writeReport(report), 33);
    QVERIFY(host.mouse.plugged());
    QCOMPARE(host.writeReport(report), 33); // accepted, then the mouse is gone
    QVERIFY(!host.mouse.plugged());
    QCOMPARE(host.writeReport(report), -1);
    QCOMPARE(host.send(bytes({0x82})), -1);
    QCOMPARE(dump(host.mouse.memory()), dump(before));

    host.mouse.plug();
    QCOMPARE(host.send(bytes({0x82})), -1); // the old handle stays dead
    QCOMPARE(host.backend.openHandles(), 1);
    host.backend.close(host.cmd);
    host.cmd = host.backend.openPath("virtual:mouse:cmd");
    QVERIFY(host.cmd);
    QCOMPARE(host.writeReport(report), 33); // the half block is not resumed
    QVERIFY(host.errorsContain(QStringLiteral("no data block pending")));
    QCOMPARE(dump(host.mouse.memory()), dump(before));
    QVERIFY(host.backend.trace().lines(WireTrace::Note).contains(QStringLiteral("unplugged")));
}

void TestVirtualMouse::faults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("garbage answers") << Fault::GarbageAnswers;
    QTest::newRow("short reports") << Fault::ShortReports;
    QTest::newRow("silent blocks") << Fault::SilentBlocks;
    QTest::newRow("refuse feature") << Fault::RefuseFeature;
    QTest::newRow("refuse get feature") << Fault::RefuseGetFeature;
    QTest::newRow("refuse write") << Fault::RefuseWrite;
}

void TestVirtualMouse::faults()
{
    QFETCH(Fault, fault);

    Host host(config(Family::F560));
    host.mouse.setFault(fault);
    const QByteArray stored = host.mouse.memory().profileBlocks[2];
    const int sent = host.send(bytes({0x8c, 2}));
    QCOMPARE(sent, fault == Fault::RefuseFeature ? -1 : 9);
    const std::optional<Frame> a = host.answer();
    QCOMPARE(bool(a), fault != Fault::RefuseFeature && fault != Fault::RefuseGetFeature);
    const QByteArray first = host.readReport();

    switch (fault) {
    case Fault::GarbageAnswers:
        QVERIFY(toBytes(*a).left(2) != bytes({0x8c, 2}));
        QCOMPARE(first.size(), 32);
        QVERIFY(first != stored.left(32));
        break;
    case Fault::ShortReports:
        QCOMPARE(first, stored.left(16));
        break;
    case Fault::SilentBlocks:
        QCOMPARE(first, QByteArray());
        QVERIFY(host.backend.trace().lines().contains(QStringLiteral("timeout 1000")));
        break;
    case Fault::RefuseFeature:
        QCOMPARE(first, QByteArray());
        QVERIFY(host.backend.trace().entries(WireTrace::FeatureOut).isEmpty());
        break;
    case Fault::RefuseGetFeature:
        QCOMPARE(first, stored.left(32)); // the command itself went through
        break;
    case Fault::RefuseWrite: {
        QCOMPARE(first, stored.left(32));
        QByteArray report(33, '\0');
        QCOMPARE(host.writeReport(report), -1);
        break;
    }
    case Fault::None:
        break;
    }
    const QStringList notes = host.backend.trace().lines(WireTrace::Note);
    const bool refused = std::any_of(notes.begin(), notes.end(), [](const QString& n) {
        return n.contains(QLatin1String("refused"));
    });
    QCOMPARE(refused, fault == Fault::RefuseFeature || fault == Fault::RefuseGetFeature ||
                          fault == Fault::RefuseWrite);

    host.mouse.setFault(Fault::None);
    host.send(bytes({0x82}));
    QVERIFY(host.answer());
}

void TestVirtualMouse::listenerBesideCommands()
{
    // The report listener reads on its own thread while commands go on; nothing may be lost.
    Host host(config(Family::F553));
    QCOMPARE(host.send(bytes({0x03, 0, 0, 0, 0x40})), 9);
    constexpr int kPresses = 30;
    QList<int> stages;
    std::thread listener([&] {
        for (int round = 0; round < 100 && stages.size() < kPresses; ++round) {
            HidHandle* report = host.backend.openPath("virtual:mouse:report");
            if (!report)
                return;
            uint8_t buf[4];
            const int n = host.backend.readTimeout(report, buf, 4, 500);
            host.backend.close(report);
            if (n < 0)
                return;
            if (n == 4)
                stages.append(buf[3]);
        }
    });
    for (int i = 0; i < kPresses; ++i) {
        host.mouse.pressDpiButton(1 + i % 8);
        QCOMPARE(host.send(bytes({0x8b})), 9);
        QVERIFY(host.answer());
    }
    listener.join();
    QCOMPARE(stages.size(), kPresses);
    QCOMPARE(stages.last(), 1 + (kPresses - 1) % 8);
    QCOMPARE(host.backend.trace().errors(), QStringList());
    QCOMPARE(host.backend.openHandles(), 1);
}

void TestVirtualMouse::factoryMemory()
{
    const Memory m = VirtualMouse::factoryMemory(Family::F560);
    for (int n = 0; n < 5; ++n) {
        const QByteArray& b = m.profileBlocks[size_t(n)];
        QCOMPARE(b.size(), 128);
        QCOMPARE(uint8_t(b[5]), uint8_t(n * 37 + 55)); // untouched pattern bytes
        if (n > 0) {
            QCOMPARE(b.mid(84, 8), b.mid(92, 8));
            QCOMPARE(b[100], char(0x0f));
        }
    }
    QCOMPARE(m.currentProfile, 1);
    const Memory m553 = VirtualMouse::factoryMemory(Family::F553);
    QCOMPARE(m553.currentDpi, 1);
    QCOMPARE(m553.options[3] & 0x40, 0); // reports are off until the host enables them
}

void TestVirtualMouse::memoryRoundTrip_data()
{
    QTest::addColumn<Family>("family");
    QTest::newRow("553") << Family::F553;
    QTest::newRow("560") << Family::F560;
}

void TestVirtualMouse::memoryRoundTrip()
{
    QFETCH(Family, family);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mouse.json"));

    Host host(config(family));
    Memory m = host.mouse.memory();
    m.keyMatrices.insert(1, pattern(64, 1));
    m.macros.insert(200, pattern(128, 2));
    m.ledColors.insert(0, pattern(24, 3));
    m.options = {1, 2, 3, 4};
    m.currentDpis = {0, 2, 3, 4, 5};
    m.profileBlocks[4] = pattern(128, 4);
    m.currentProfile = 4;
    m.reportRate = 8;
    host.mouse.setMemory(m);
    QVERIFY(host.mouse.saveMemory(path));

    VirtualMouse other(config(family));
    QVERIFY(dump(other.memory()) != dump(m));
    QVERIFY(other.loadMemory(path));
    QCOMPARE(dump(other.memory()), dump(m));
}

void TestVirtualMouse::loadRejectsDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<Family>("savedAs");     // a good file's family, edited by replace below
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");

    QTest::newRow("missing") << QByteArray() << Family::F560 << QByteArray() << QByteArray();
    QTest::newRow("not json") << QByteArray("mouse") << Family::F560 << QByteArray()
                              << QByteArray();
    QTest::newRow("array") << QByteArray("[1,2]") << Family::F560 << QByteArray() << QByteArray();
    QTest::newRow("other family") << QByteArray("good") << Family::F553 << QByteArray()
                                  << QByteArray();
    QTest::newRow("bad hex") << QByteArray("good") << Family::F560
                             << QByteArray("\"options560\": \"0000\"")
                             << QByteArray("\"options560\": \"00zz\"");
    QTest::newRow("byte out of range")
        << QByteArray("good") << Family::F560 << QByteArray("\"currentProfile\": 1")
        << QByteArray("\"currentProfile\": 300");
    QTest::newRow("field missing") << QByteArray("good") << Family::F560
                                   << QByteArray("\"currentDpis\"") << QByteArray("\"other\"");
    QTest::newRow("truncated") << QByteArray("truncated") << Family::F560 << QByteArray()
                               << QByteArray();
}

void TestVirtualMouse::loadRejectsDamagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(Family, savedAs);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mouse.json"));
    if (!content.isNull()) {
        if (content == "good" || content == "truncated") {
            QVERIFY(VirtualMouse(config(savedAs)).saveMemory(path));
            QFile in(path);
            QVERIFY(in.open(QIODevice::ReadOnly));
            content = in.readAll();
            if (!from.isEmpty()) {
                QVERIFY2(content.contains(from), content.constData());
                content.replace(from, to);
            }
            if (QTest::currentDataTag() == QByteArray("truncated"))
                content.chop(content.size() / 2);
        }
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
    }

    VirtualMouse mouse(config(Family::F560));
    Memory m = mouse.memory();
    m.currentProfile = 3;
    m.macros.insert(1, pattern(128, 1));
    mouse.setMemory(m);
    QVERIFY(!mouse.loadMemory(path));
    QCOMPARE(dump(mouse.memory()), dump(m));
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
