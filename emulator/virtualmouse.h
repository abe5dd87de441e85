#pragma once

#include "wiretrace.h"

#include "device/deviceentry.h"
#include "device/hidbackend.h"
#include "device/sleeper.h"

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QWaitCondition>

#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <vector>

// Firmware emulator of one mouse of the 553 or 560 family, with its two vendor interfaces.
// It checks everything the host sends and records it in the wire trace; anything it does not
// understand is recorded as an error and otherwise ignored.
class VirtualMouse {
public:
    enum class Family { F553, F560 };

    struct Config {
        Family family = Family::F553;
        uint16_t vid = 0x04d9;
        uint16_t pid = 0xa1ee;
        uint16_t usagePage = 0xff00; // command interface
        uint16_t usage = 0xff00;
        uint16_t usagePage2 = 0xff01; // report interface
        uint16_t usage2 = 0xff01;
        int reportLength = 32;
        bool isEncode = false;
        QByteArray sCode = "413827"; // the device's own secrecy code
        QByteArray name = "mouse";   // paths are "virtual:<name>:cmd" and "virtual:<name>:report"
    };

    // What the mouse keeps. Everything a command writes lands here; block reads come from here.
    struct Memory {
        // Both families: key matrices by the index sent with them, macros by device macro id.
        QMap<int, QByteArray> keyMatrices; // 64 bytes (553) or 128 bytes (560)
        QMap<int, QByteArray> macros;      // 128 bytes
        // 553 family.
        uint8_t reportRate = 1;
        uint8_t currentKeyMatrix = 1;
        std::array<uint8_t, 4> options{};   // 03H / 83H; bit 6 of byte 4 enables DPI reports
        std::array<uint8_t, 4> gunData{};   // 04H, b2 … b5
        uint8_t currentDpi = 1;             // 0BH / 8BH, 1-based
        std::array<uint8_t, 3> ledEffect{}; // 0DH: effect, option1, option2
        QMap<int, QByteArray> ledColors;    // 10H by type
        QMap<int, QByteArray> dpiSets;      // 11H by stage, 8 bytes
        // 560 family.
        std::array<uint8_t, 2> options560{};     // 01H / 81H; bit 3 of byte 1 enables DPI reports
        uint8_t currentProfile = 1;              // 02H / 82H
        std::array<uint8_t, 5> reportRates{};    // 03H by k = 1 … 4 (index 0 unused)
        std::array<uint8_t, 5> currentDpis{};    // 04H by k = 1 … 4 (index 0 unused), 84H answers
        std::array<QByteArray, 5> profileBlocks; // 0CH / 8CH, 128 bytes each
    };

    // Ways to misbehave, for tests of the host's error paths.
    enum class Fault {
        None,
        GarbageAnswers,   // feature reads answer random bytes, block reads random bytes
        ShortReports,     // input reports (both interfaces) arrive with half their bytes
        SilentBlocks,     // block reads never deliver input reports (reads time out)
        RefuseFeature,    // sending a feature report fails
        RefuseGetFeature, // reading a feature report fails
        RefuseWrite,      // output reports fail
    };

    explicit VirtualMouse(Config config);

    const Config& config() const { return config_; }
    // The device-table entry that finds this mouse (paths empty until the table is completed).
    DeviceEntry tableEntry() const;
    Memory memory() const;
    void setMemory(const Memory& memory);
    // A fresh mouse: factory memory of its family.
    static Memory factoryMemory(Family family);

    bool saveMemory(const QString& path) const;
    bool loadMemory(const QString& path);

    void unplug();
    void plug();
    bool plugged() const;
    // Unplugs itself after the host has written n more output reports.
    void unplugAfterOutputReports(int n);
    void setFault(Fault fault);

    // The DPI button: switches the stage and, if the option bit allows it, sends a report.
    void pressDpiButton(int stage);
    // Queues any report on the report interface (as the host will read it, report id excluded).
    void sendReport(const QByteArray& report);
    // Readers currently blocked in a read on this mouse (either interface), so tests can act
    // once the host's listener waits instead of guessing with a delay.
    int blockedReaders() const;

private:
    friend class VirtualHidBackend;
    struct Impl;
    std::shared_ptr<Impl> d;
    Config config_;
};

// The HID backend over a set of virtual mice, with one shared wire trace.
class VirtualHidBackend : public HidBackend {
public:
    VirtualHidBackend();
    ~VirtualHidBackend() override;

    VirtualMouse& addMouse(const VirtualMouse::Config& config);
    QList<VirtualMouse*> mice() const;

    WireTrace& trace() { return trace_; }
    const WireTrace& trace() const { return trace_; }
    // A sleeper that records each wait in the trace; with realTime it also sleeps.
    Sleeper& sleeper(); // out of line: TraceSleeper is complete only in the source
    // realTime: sleeps for real and lets read time-outs take their time. Off (the default in
    // tests), waits are only recorded and a read with nothing to deliver returns at once, except
    // on the report interface, which always blocks up to its time-out so the listener never spins.
    void setRealTime(bool on);

    QList<HidInterfaceInfo> enumerate(uint16_t vid, uint16_t pid) override;
    HidHandle* openPath(const QByteArray& path) override;
    int setNonblocking(HidHandle* h, int nonblock) override;
    int sendFeatureReport(HidHandle* h, const uint8_t* data, size_t length) override;
    int getFeatureReport(HidHandle* h, uint8_t* data, size_t length) override;
    int write(HidHandle* h, const uint8_t* data, size_t length) override;
    int read(HidHandle* h, uint8_t* data, size_t length) override;
    int readTimeout(HidHandle* h, uint8_t* data, size_t length, int ms) override;
    void close(HidHandle* h) override;

    // Handles opened and not yet closed (unplugging does not close them).
    int openHandles() const;

private:
    class TraceSleeper;
    WireTrace trace_;
    std::unique_ptr<TraceSleeper> sleeper_;
    std::atomic<bool> realTime_{false};
    std::vector<std::unique_ptr<VirtualMouse>> mice_;
    mutable QMutex mutex_; // guards mice_ and handles_
    struct Handle;
    std::vector<Handle*> handles_;
    // Copies the state of a live handle; an unknown one is recorded as an error.
    bool lookup(HidHandle* h, const char* operation, Handle* out);
};
