#pragma once

#include "device/hid_thread.h"
#include "device/linkowner.h"
#include "emulator/virtualmouse.h"
#include "sensor/mousecontext.h"
#include "sensor/profileblocks.h"
#include "tests/support/linkfixture.h"
#include "tests/support/modulescopy.h"
#include "tests/support/wirelines.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <initializer_list>
#include <memory>

// The virtual mouse's backend, with one more way to fail: block reads that stop after a number of
// input reports, as when the mouse is pulled out half-way.
class CuttableBackend : public HidBackend {
public:
    explicit CuttableBackend(VirtualHidBackend& inner) : inner_(inner) {}
    // Input reads after the next n fail; negative: never.
    void failInputReadsAfter(int n) { readsLeft_ = n; }

    QList<HidInterfaceInfo> enumerate(uint16_t vid, uint16_t pid) override
    {
        return inner_.enumerate(vid, pid);
    }
    HidHandle* openPath(const QByteArray& path) override { return inner_.openPath(path); }
    int setNonblocking(HidHandle* h, int nonblock) override
    {
        return inner_.setNonblocking(h, nonblock);
    }
    int sendFeatureReport(HidHandle* h, const uint8_t* data, size_t length) override
    {
        return inner_.sendFeatureReport(h, data, length);
    }
    int getFeatureReport(HidHandle* h, uint8_t* data, size_t length) override
    {
        return inner_.getFeatureReport(h, data, length);
    }
    int write(HidHandle* h, const uint8_t* data, size_t length) override
    {
        return inner_.write(h, data, length);
    }
    int read(HidHandle* h, uint8_t* data, size_t length) override
    {
        return inner_.read(h, data, length);
    }
    int readTimeout(HidHandle* h, uint8_t* data, size_t length, int ms) override
    {
        if (readsLeft_ == 0)
            return -1;
        if (readsLeft_ > 0)
            --readsLeft_;
        return inner_.readTimeout(h, data, length, ms);
    }
    void close(HidHandle* h) override { inner_.close(h); }

private:
    VirtualHidBackend& inner_;
    int readsLeft_ = -1;
};

struct Model {
    bool is560 = false;
    bool isGun = false;
    bool isColorful = true;
};

// A device link wired to one virtual mouse of the model, with the profile-block store and the
// feature context the bridge would hand to the feature operations.
struct SensorFixture {
    VirtualHidBackend backend;
    CuttableBackend cuttable{backend};
    VirtualMouse* mouse = nullptr;
    RecordingOwner owner;
    std::unique_ptr<Hid_Thread> link;
    ProfileBlocks blocks;
    MouseContext ctx;

    explicit SensorFixture(Model model);

    // Fills the store from the mouse, as the connection does, and forgets the exchange.
    void readBlocks();
    // Blocks of the store and of the mouse.
    QByteArray stored(unsigned n) const;
    QByteArray onMouse(unsigned n) const;

    QStringList lines(unsigned kinds = WireTrace::kDefault) const;
    // Only the command frames the host sent.
    QStringList frames() const { return lines(WireTrace::FeatureOut); }
    QStringList errors() const;
    void clearTrace() { backend.trace().clear(); }
};

// hid560_0CH_setProfile of the block under number n, as it crosses the wire.
QStringList setProfileLines(unsigned n, const QByteArray& block);

QByteArray bytes(std::initializer_list<int> values);
QByteArray repeated(int count, int value);

// Bytes a feature is expected to write into one block.
struct Patch {
    unsigned block;
    int offset;
    QByteArray bytes;
};
using Patches = QList<Patch>;
using Blocks = std::array<QByteArray, blockmap::kBlockCount>;

Blocks storedBlocks(const SensorFixture& f);
Blocks mouseBlocks(const SensorFixture& f);

// After a feature ran on a 560 mouse whose blocks the store had read (before): the store holds
// before with exactly the patches applied, every byte that changed lies in the feature's part of
// the block map, the wire carries the sent blocks whole and in that order and nothing else, and the
// mouse holds the store's copy of each sent block and its old copy of the others.
void verify560(const SensorFixture& f, const Blocks& before, const Patches& patches,
               const QList<int>& sent, blockmap::Feature feature);

// The debug lines written while it lives.
Q_DECLARE_METATYPE(Patches)

class DebugLines {
public:
    DebugLines();
    ~DebugLines();
    DebugLines(const DebugLines&) = delete;
    DebugLines& operator=(const DebugLines&) = delete;
    QStringList lines() const;
};
