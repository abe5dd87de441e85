#pragma once

#include "device/hid_thread.h"
#include "device/linkowner.h"
#include "emulator/virtualmouse.h"

#include <QStringList>

#include <memory>

// Records what the device link asks of its window, on the GUI thread.
class RecordingOwner : public LinkOwner {
public:
    QString family = QStringLiteral("553-24");
    bool gun = false;
    QStringList calls; // "dpi 3", "balloon Info|DPI Switch to |10000", "disable"

    QString icType() const override { return family; }
    bool isGun() const override { return gun; }
    void showBalloon(const QString& title, const QString& text, int msecs) override
    {
        calls << QStringLiteral("balloon %1|%2|%3").arg(title, text).arg(msecs);
    }
    void setCurrentDPI(int stage) override { calls << QStringLiteral("dpi %1").arg(stage); }
    void disableView() override { calls << QStringLiteral("disable"); }
};

// A device link wired to one virtual mouse, its table built and completed, entry 0 current.
struct LinkFixture {
    VirtualHidBackend backend;
    VirtualMouse* mouse;
    RecordingOwner owner;
    std::unique_ptr<Hid_Thread> link;

    explicit LinkFixture(VirtualMouse::Config config = {})
    {
        mouse = &backend.addMouse(config);
        link = std::make_unique<Hid_Thread>(&backend, &backend.sleeper());
        link->setOwner(&owner);
        owner.family = config.family == VirtualMouse::Family::F560 ? QStringLiteral("560")
                                                                   : QStringLiteral("553-24");
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
        backend.trace().clear();
    }

    QStringList lines(unsigned kinds = WireTrace::kDefault) const
    {
        return const_cast<VirtualHidBackend&>(backend).trace().lines(kinds);
    }
    QStringList errors() const { return const_cast<VirtualHidBackend&>(backend).trace().errors(); }

    static VirtualMouse::Config family560()
    {
        VirtualMouse::Config c;
        c.family = VirtualMouse::Family::F560;
        return c;
    }
};

// "feature> 00 0b 03 00 00 00 00 00 f1" for a plain frame b0 … b6 with its checksum.
QString featureLine(std::initializer_list<int> b0to6);
