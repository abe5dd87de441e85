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

// Points link at mouse: a one-entry table, completed by enumeration of backend, entry 0 current.
void attachToMouse(Hid_Thread& link, HidBackend& backend, const VirtualMouse& mouse);

// A device link wired to one virtual mouse; the trace starts empty.
struct LinkFixture {
    VirtualHidBackend backend;
    VirtualMouse* mouse;
    RecordingOwner owner;
    std::unique_ptr<Hid_Thread> link;

    explicit LinkFixture(VirtualMouse::Config config = {});

    QStringList lines(unsigned kinds = WireTrace::kDefault) const
    {
        return backend.trace().lines(kinds);
    }
    QStringList errors() const { return backend.trace().errors(); }

    static VirtualMouse::Config family560()
    {
        VirtualMouse::Config c;
        c.family = VirtualMouse::Family::F560;
        return c;
    }
};
