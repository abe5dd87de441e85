#pragma once

// Internals of the virtual mouse shared by its source files.

#include "virtualmouse.h"

#include <QRandomGenerator>

#include <condition_variable>
#include <mutex>
#include <optional>

namespace emu {

using Frame = std::array<uint8_t, 8>;

// The device's half of the frame scrambling. Commands arrive scrambled with the host's
// encryption, so the device deciphers them; answers leave enciphered, the host deciphers them.
Frame encipher(Frame p, const Frame& secret);
Frame decipher(Frame p, const Frame& secret);
// Complement of the 8-bit sum of b[0] … b[6].
uint8_t checksum(const Frame& b);

inline QByteArray bytes(const uint8_t* data, size_t length)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(length));
}

} // namespace emu

struct VirtualMouse::Impl {
    explicit Impl(const Config& c);

    const Config config;
    emu::Frame secret{}; // bytes 1 … 6 = the secrecy code, 0 and 7 stay 0
    std::atomic<WireTrace*> trace{nullptr};

    // std types rather than QMutex/QWaitCondition: the sanitizers see through pthread waits,
    // not through Qt's, so thread checks of the listener stay meaningful.
    mutable std::mutex mutex;        // everything below
    std::condition_variable changed; // input or report queued, or unplugged
    Memory memory;
    bool plugged = true;
    quint64 generation = 0; // bumped at every unplug: handles opened before stay dead
    Fault fault = Fault::None;
    int unplugAfter = 0;
    int blockedReaders = 0;
    QRandomGenerator rng{0x6d6f7573u};

    struct PendingBlock {
        emu::Frame frame{};
        int length = 0;
        int chunk = 0;
        QByteArray data;
        bool apply = true; // false: the command was refused, its block is taken in and dropped
    };
    std::optional<PendingBlock> block;
    std::optional<emu::Frame> answer; // plain answer of the last read command, not yet fetched
    std::deque<QByteArray> input;     // input reports of the command interface
    std::deque<QByteArray> reports;   // input reports of the report interface

    // The backend's calls; each takes the lock. gen is the generation the handle was opened in.
    bool open(quint64* gen);
    bool isPlugged() const;
    int sendFeature(quint64 gen, bool command, const uint8_t* data, size_t length);
    int getFeature(quint64 gen, bool command, uint8_t* data, size_t length);
    int writeOutput(quint64 gen, bool command, const uint8_t* data, size_t length);
    // ms < 0 blocks. With nothing queued the command interface waits only in realTime (a blocking
    // read there is an error otherwise); the report interface always waits out a time-out.
    int readInput(quint64 gen, bool command, uint8_t* data, size_t length, int ms, bool realTime);

    // With the lock held.
    bool alive(quint64 gen) const { return plugged && gen == generation; }
    void record(WireTrace::Kind kind, const QByteArray& bytes, const QString& text = {},
                int ms = 0);
    void error(const QString& text) { record(WireTrace::Error, {}, text); }
    void note(const QString& text) { record(WireTrace::Note, {}, text); }
    void unplugLocked();
    void runCommand(const emu::Frame& b);
    void queueReport(const QByteArray& report);
};
