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

    attachToMouse(*link, backend, *mouse);

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

QStringList setProfileLines(unsigned n, const QByteArray& block)
{
    return wire::blockCommand({0x0C, int(n), 0x80}, block);
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
