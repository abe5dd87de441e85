#include "sensorfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTest>

SensorFixture::SensorFixture(Model model)
{
    VirtualMouse::Config config;
    config.family = model.is560 ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
    mouse = &backend.addMouse(config);
    link = std::make_unique<Hid_Thread>(&cuttable, &backend.sleeper());
    owner.family = model.is560 ? QStringLiteral("560") : QStringLiteral("553-24");
    owner.gun = model.isGun;
    link->setOwner(&owner);

    DeviceEntry e;
    e.type = 1;
    e.vid = config.vid;
    e.pid = config.pid;
    e.usagePage = config.usagePage;
    e.usage = config.usage;
    e.usagePage2 = config.usagePage2;
    e.usage2 = config.usage2;
    e.reportLength = config.reportLength;
    e.isEncode = config.isEncode;
    e.sCode = QString::fromLatin1(config.sCode);
    DeviceTable table{e};
    completeDeviceTable(table, backend);
    link->setDeviceTable(table);
    link->setCurrentDevice(0);

    ctx.link = link.get();
    ctx.blocks = &blocks;
    ctx.icType = owner.family;
    ctx.isGun = model.isGun;
    ctx.isColorful = model.isColorful;
    clearTrace();
}

void SensorFixture::readBlocks()
{
    for (unsigned n = 0; n < unsigned(blockmap::kBlockCount); ++n)
        blocks.mouseReadProfile(*link, n);
    clearTrace();
}

QByteArray SensorFixture::stored(unsigned n) const
{
    return QByteArray(reinterpret_cast<const char*>(blocks.block(n)), blockmap::kBlockSize);
}

QByteArray SensorFixture::onMouse(unsigned n) const
{
    return mouse->memory().profileBlocks[n];
}

QStringList SensorFixture::lines(unsigned kinds) const
{
    return backend.trace().lines(kinds);
}

QStringList SensorFixture::errors() const
{
    return backend.trace().errors();
}

QString featureLine(std::initializer_list<int> b0to6)
{
    QByteArray frame(1, '\0');
    int sum = 0;
    for (int b : b0to6) {
        frame.append(char(b));
        sum += b;
    }
    while (frame.size() < 8)
        frame.append('\0');
    frame.append(char(~sum & 0xFF));
    return QStringLiteral("feature> ") + WireTrace::hex(frame);
}

QStringList settle()
{
    return {QStringLiteral("wait 64"), QStringLiteral("wait 64")};
}

QStringList outLines(const QByteArray& block)
{
    constexpr int kReportLength = 32;
    QStringList lines;
    const int chunk = std::min<int>(int(block.size()), kReportLength);
    for (int offset = 0; offset < block.size(); offset += chunk) {
        QByteArray report(1, '\0');
        report += block.mid(offset, chunk);
        report.resize(kReportLength + 1, '\0');
        lines << QStringLiteral("out> ") + WireTrace::hex(report) << QStringLiteral("wait 120");
    }
    return lines;
}

QStringList setProfileLines(unsigned n, const QByteArray& block)
{
    return QStringList{featureLine({0x0C, int(n), 0x80})} + settle() + outLines(block) + settle();
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray repeated(int count, int value)
{
    return QByteArray(count, char(value));
}

Blocks storedBlocks(const SensorFixture& f)
{
    Blocks b;
    for (unsigned n = 0; n < b.size(); ++n)
        b[n] = f.stored(n);
    return b;
}

Blocks mouseBlocks(const SensorFixture& f)
{
    Blocks b;
    for (unsigned n = 0; n < b.size(); ++n)
        b[n] = f.onMouse(n);
    return b;
}

void verify560(const SensorFixture& f, const Blocks& before, const Patches& patches,
               const QList<int>& sent, blockmap::Feature feature)
{
    Blocks expected = before;
    for (const Patch& p : patches) {
        QVERIFY2(p.offset >= 0 && p.offset + p.bytes.size() <= blockmap::kBlockSize,
                 "patch outside its block");
        expected[p.block].replace(p.offset, p.bytes.size(), p.bytes);
    }
    const Blocks store = storedBlocks(f);
    for (unsigned n = 0; n < store.size(); ++n) {
        for (int i = 0; i < blockmap::kBlockSize; ++i) {
            if (store[n][i] != before[n][i] && !blockmap::featureWrites(feature, n, i))
                QFAIL(qPrintable(
                    QStringLiteral("byte %1 of block %2 is not the feature's").arg(i).arg(n)));
        }
        QCOMPARE(WireTrace::hex(store[n]), WireTrace::hex(expected[n]));
    }

    QStringList wire;
    for (int n : sent)
        wire += setProfileLines(unsigned(n), expected[size_t(n)]);
    QCOMPARE(f.lines(), wire);
    QCOMPARE(f.errors(), QStringList());
    const Blocks mouse = mouseBlocks(f);
    for (unsigned n = 0; n < mouse.size(); ++n)
        QCOMPARE(WireTrace::hex(mouse[n]),
                 WireTrace::hex(sent.contains(int(n)) ? expected[n] : before[n]));
}

namespace {

QMutex debugMutex;
QStringList debugLines;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg) {
        const QMutexLocker lock(&debugMutex);
        debugLines.append(text);
    }
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

DebugLines::DebugLines()
{
    debugLines.clear();
    previousHandler = qInstallMessageHandler(collect);
}

DebugLines::~DebugLines()
{
    qInstallMessageHandler(previousHandler);
}

QStringList DebugLines::lines() const
{
    const QMutexLocker lock(&debugMutex);
    return debugLines;
}

ModulesCopy::ModulesCopy()
{
    const QString from = QStringLiteral(MOUSE_DATA_DIR);
    if (!tmp_.isValid() || !QDir().mkpath(dir()))
        return;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        if (relative.startsWith(QLatin1String("img/")))
            continue;
        const QString target = file(relative);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    ok_ = true;
}

QByteArray ModulesCopy::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
