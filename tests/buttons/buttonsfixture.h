#pragma once

#include "device/hid_thread.h"
#include "emulator/virtualmouse.h"
#include "sensor/mousecontext.h"
#include "sensor/profileblocks.h"
#include "store/settingsstore.h"
#include "tests/support/linkfixture.h"
#include "tests/support/modulescopy.h"
#include "tests/support/wirelines.h"

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
    ModulesCopy modules;
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

        attachToMouse(*link, backend, *mouse);

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

    QString modulesDir() const { return modules.dir(); }
    QStringList lines() const { return const_cast<VirtualHidBackend&>(backend).trace().lines(); }
    QStringList errors() const { return const_cast<VirtualHidBackend&>(backend).trace().errors(); }
};
