#pragma once

#include "device/hid_thread.h"
#include "emulator/virtualmouse.h"
#include "sensor/mousecontext.h"
#include "sensor/profileblocks.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A device link wired to one virtual mouse of either family, a settings store on a private copy of
// the shipped data, the 560 profile blocks as read from the mouse, and the context the feature
// classes take. The trace starts empty.
struct ButtonsFixture {
    QTemporaryDir tmp;
    VirtualHidBackend backend;
    VirtualMouse* mouse = nullptr;
    std::unique_ptr<Hid_Thread> link;
    std::unique_ptr<SettingsStore> store;
    ProfileBlocks blocks;
    MouseContext ctx;

    explicit ButtonsFixture(bool is560)
    {
        VirtualMouse::Config config;
        config.family = is560 ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
        mouse = &backend.addMouse(config);
        link = std::make_unique<Hid_Thread>(&backend, &backend.sleeper());

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

        copyTree(QStringLiteral(MOUSE_DATA_DIR), modulesDir());
        store = std::make_unique<SettingsStore>(modulesDir());

        ctx.link = link.get();
        ctx.store = store.get();
        ctx.blocks = &blocks;
        ctx.icType = is560 ? QStringLiteral("560") : QStringLiteral("553-24");
        ctx.isGun = true;
        if (is560) {
            for (unsigned n = 0; n < 5; ++n)
                blocks.mouseReadProfile(*link, n);
        }
        backend.trace().clear();
    }

    QString modulesDir() const { return tmp.path() + QStringLiteral("/modules"); }
    QStringList lines() const { return const_cast<VirtualHidBackend&>(backend).trace().lines(); }
    QStringList errors() const { return const_cast<VirtualHidBackend&>(backend).trace().errors(); }

    static void copyTree(const QString& from, const QString& to)
    {
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString relative = QDir(from).relativeFilePath(source);
            if (relative.startsWith(QLatin1String("img/")))
                continue;
            const QString target = to + u'/' + relative;
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::copy(source, target);
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
};

// Expected wire lines.
namespace wire {

// "feature> 00 12 01 40 08 00 00 00 a4" for a plain frame b0 … b6 with its checksum.
inline QString feature(std::initializer_list<int> b0to6)
{
    QByteArray frame(1, '\0');
    int sum = 0;
    for (int b : b0to6) {
        frame.append(char(b));
        sum += b;
    }
    frame.resize(8, '\0');
    frame.append(char(~sum & 0xFF));
    return QStringLiteral("feature> ") + WireTrace::hex(frame);
}

inline QStringList settle()
{
    return {QStringLiteral("wait 64"), QStringLiteral("wait 64")};
}

// A command with a host-to-device block: frame, settle, output reports of 32 bytes, settle.
inline QStringList blockCommand(std::initializer_list<int> b0to6, const QByteArray& block)
{
    QStringList lines{feature(b0to6)};
    lines += settle();
    for (qsizetype offset = 0; offset < block.size(); offset += 32) {
        QByteArray report(1, '\0');
        report += block.mid(offset, 32);
        report.resize(33, '\0');
        lines << QStringLiteral("out> ") + WireTrace::hex(report) << QStringLiteral("wait 120");
    }
    return lines + settle();
}

} // namespace wire
