#include "virtualmouse_p.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>

using emu::Frame;
using Memory = VirtualMouse::Memory;
using Fault = VirtualMouse::Fault;

namespace emu {

namespace {

constexpr Frame kTable = {'Q', 'm', 'P', 'z', 'k', 'V', 'u', 'd'};

uint8_t swapNibbles(uint8_t x)
{
    return uint8_t((x << 4) | (x >> 4));
}

// p[0] is the most significant byte.
uint64_t pack(const Frame& p)
{
    uint64_t v = 0;
    for (uint8_t b : p)
        v = (v << 8) | b;
    return v;
}

Frame unpack(uint64_t v)
{
    Frame p{};
    for (int i = 7; i >= 0; --i) {
        p[size_t(i)] = uint8_t(v & 0xff);
        v >>= 8;
    }
    return p;
}

void exchange(Frame& p)
{
    std::swap(p[0], p[5]);
    std::swap(p[1], p[4]);
    std::swap(p[2], p[7]);
    std::swap(p[3], p[6]);
}

void mix(Frame& p, const Frame& secret)
{
    for (size_t i = 1; i <= 6; ++i)
        p[i] ^= secret[i];
}

} // namespace

Frame encipher(Frame p, const Frame& secret)
{
    exchange(p);
    mix(p, secret);
    p = unpack(std::rotl(pack(p), 3));
    for (size_t i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] + swapNibbles(uint8_t(kTable[i])));
    return p;
}

Frame decipher(Frame p, const Frame& secret)
{
    for (size_t i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] - swapNibbles(uint8_t(kTable[i])));
    p = unpack(std::rotr(pack(p), 3));
    mix(p, secret);
    exchange(p);
    return p;
}

uint8_t checksum(const Frame& b)
{
    unsigned sum = 0;
    for (size_t i = 0; i < 7; ++i)
        sum += b[i];
    return uint8_t(~sum);
}

} // namespace emu

namespace {

QString hex2(unsigned v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
}

QByteArray frameBytes(const Frame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), 8);
}

// The firmware's command set, one row per command id it knows.
constexpr int kLengthFromB2 = -1;

struct Command {
    uint8_t id;
    // Bytes of the data block that follows from the host: 0 none, or kLengthFromB2.
    int block = 0;
    // Why the firmware refuses these parameters, or empty.
    QString (*refuse)(const Frame& b) = nullptr;
    // Set commands: what the command (with its block) writes.
    void (*apply)(Memory& m, const Frame& b, const QByteArray& block) = nullptr;
    // Read commands: the plain answer a0 … a6 (a7, the checksum, is added afterwards).
    Frame (*answer)(const Memory& m, const Frame& b) = nullptr;
    // 8CH: the answer is followed by this 128-byte block as input reports.
    bool sendsProfileBlock = false;
};

QString lengthByte(const Frame& b, uint8_t expected)
{
    if (b[2] == expected)
        return {};
    return QStringLiteral("length byte %1, expected %2").arg(hex2(b[2]), hex2(expected));
}

QString profileIndex(const Frame& b) // 560 03H / 04H / 84H: b1 names one of four profiles
{
    if (b[1] >= 1 && b[1] <= 4)
        return {};
    return QStringLiteral("profile %1").arg(b[1]);
}

QString blockNumber(const Frame& b) // 560 0CH / 8CH: blocks 0 … 4
{
    if (b[1] <= 4)
        return {};
    return QStringLiteral("block number %1").arg(b[1]);
}

Frame echo(const Memory&, const Frame& b)
{
    return {0x00, b[1], b[2], b[3], b[4]};
}

const Command kCommands553[] = {
    {.id = 0x00, .answer = echo},
    {.id = 0x01,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.reportRate = b[1]; }},
    {.id = 0x02,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.currentKeyMatrix = b[1]; }},
    {.id = 0x03,
     .apply =
         [](Memory& m, const Frame& b, const QByteArray&) {
             m.options = {b[1], b[2], b[3], b[4]};
         }},
    {.id = 0x04,
     .apply =
         [](Memory& m, const Frame& b, const QByteArray&) {
             m.gunData = {b[2], b[3], b[4], b[5]};
         }},
    {.id = 0x0B,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.currentDpi = b[1]; }},
    {.id = 0x0D,
     .apply =
         [](Memory& m, const Frame& b, const QByteArray&) {
             m.ledEffect = {b[1], b[2], b[3]};
         }},
    {.id = 0x10,
     .block = kLengthFromB2,
     .refuse =
         [](const Frame& b) {
             return b[2] == 4 || b[2] == 24 ? QString()
                                            : QStringLiteral("colour block of %1 bytes").arg(b[2]);
         },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.ledColors[b[1]] = d; }},
    {.id = 0x11,
     .block = 8,
     .refuse = [](const Frame& b) { return lengthByte(b, 0x08); },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.dpiSets[b[1]] = d; }},
    {.id = 0x12,
     .block = 64,
     .refuse = [](const Frame& b) { return lengthByte(b, 0x40); },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.keyMatrices[b[1]] = d; }},
    {.id = 0x13,
     .block = 128,
     .refuse = [](const Frame& b) { return lengthByte(b, 0x80); },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.macros[b[1]] = d; }},
    {.id = 0x83,
     .answer = [](const Memory& m, const Frame&) -> Frame {
         return {0x83, m.options[0], m.options[1], m.options[2], m.options[3]};
     }},
    {.id = 0x8B,
     .answer = [](const Memory& m, const Frame&) -> Frame {
         return {0x8B, m.currentDpi};
     }},
};

const Command kCommands560[] = {
    {.id = 0x00, .answer = echo},
    {.id = 0x01,
     .apply =
         [](Memory& m, const Frame& b, const QByteArray&) {
             m.options560 = {b[1], b[2]};
         }},
    {.id = 0x02,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.currentProfile = b[1]; }},
    {.id = 0x03,
     .refuse = profileIndex,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.reportRates[b[1]] = b[2]; }},
    {.id = 0x04,
     .refuse = profileIndex,
     .apply = [](Memory& m, const Frame& b, const QByteArray&) { m.currentDpis[b[1]] = b[2]; }},
    {.id = 0x0C,
     .block = 128,
     .refuse =
         [](const Frame& b) {
             const QString why = blockNumber(b);
             return why.isEmpty() ? lengthByte(b, 0x80) : why;
         },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.profileBlocks[b[1]] = d; }},
    {.id = 0x0D,
     .block = 128,
     .refuse = [](const Frame& b) { return lengthByte(b, 0x80); },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.keyMatrices[b[1]] = d; }},
    {.id = 0x0F,
     .block = 128,
     .refuse = [](const Frame& b) { return lengthByte(b, 0x80); },
     .apply = [](Memory& m, const Frame& b, const QByteArray& d) { m.macros[b[1]] = d; }},
    {.id = 0x81,
     .answer = [](const Memory& m, const Frame&) -> Frame {
         return {0x81, m.options560[0], m.options560[1]};
     }},
    {.id = 0x82,
     .answer = [](const Memory& m, const Frame&) -> Frame {
         return {0x82, m.currentProfile};
     }},
    {.id = 0x84,
     .refuse = profileIndex,
     .answer = [](const Memory& m, const Frame& b) -> Frame {
         return {0x84, b[1], m.currentDpis[b[1]]};
     }},
    {.id = 0x8C,
     .refuse = blockNumber,
     .answer = [](const Memory&, const Frame& b) -> Frame {
         return {0x8C, b[1]};
     },
     .sendsProfileBlock = true},
};

const Command* findCommand(VirtualMouse::Family family, uint8_t id)
{
    const auto find = [id](const auto& table) -> const Command* {
        for (const Command& c : table) {
            if (c.id == id)
                return &c;
        }
        return nullptr;
    };
    return family == VirtualMouse::Family::F560 ? find(kCommands560) : find(kCommands553);
}

constexpr size_t kMaxQueuedReports = 64; // like the kernel's hidraw buffer

} // namespace

VirtualMouse::Impl::Impl(const Config& c) : config(c), memory(factoryMemory(c.family))
{
    for (qsizetype i = 0; i < 6 && i < c.sCode.size(); ++i)
        secret[size_t(i) + 1] = uint8_t(c.sCode.at(i));
}

void VirtualMouse::Impl::record(WireTrace::Kind kind, const QByteArray& bytes, const QString& text,
                                int ms)
{
    if (WireTrace* t = trace.load())
        t->record(WireTrace::Entry{kind, bytes, ms, text});
}

bool VirtualMouse::Impl::open(quint64* gen)
{
    std::unique_lock lock(mutex);
    *gen = generation;
    return plugged;
}

bool VirtualMouse::Impl::isPlugged() const
{
    std::unique_lock lock(mutex);
    return plugged;
}

void VirtualMouse::Impl::unplugLocked()
{
    if (!plugged)
        return;
    plugged = false;
    ++generation;
    unplugAfter = 0;
    // Power is gone: whatever was under way is lost, the stored memory stays.
    block.reset();
    answer.reset();
    input.clear();
    reports.clear();
    note(QStringLiteral("unplugged"));
    changed.notify_all();
}

void VirtualMouse::Impl::queueReport(const QByteArray& report)
{
    if (reports.size() >= kMaxQueuedReports)
        reports.pop_front();
    reports.push_back(report);
    changed.notify_all();
}

int VirtualMouse::Impl::sendFeature(quint64 gen, bool command, const uint8_t* data, size_t length)
{
    std::unique_lock lock(mutex);
    if (!alive(gen)) {
        note(QStringLiteral("feature report failed: no device"));
        return -1;
    }
    if (fault == Fault::RefuseFeature) {
        note(QStringLiteral("feature report refused: ") + WireTrace::hex(emu::bytes(data, length)));
        return -1;
    }
    record(WireTrace::FeatureOut, emu::bytes(data, length));
    if (!command) {
        error(QStringLiteral("feature report on the report interface"));
        return -1;
    }
    if (length != 9) {
        error(QStringLiteral("feature report of %1 bytes").arg(length));
        return -1;
    }
    if (data[0] != 0) {
        error(QStringLiteral("feature report with report id %1").arg(hex2(data[0])));
        return -1;
    }
    if (block) {
        error(QStringLiteral("block of command %1 incomplete: %2 of %3 bytes, dropped")
                  .arg(hex2(block->frame[0]))
                  .arg(block->data.size())
                  .arg(block->length));
        block.reset();
    }
    if (!input.empty()) {
        error(QStringLiteral("%1 input reports left unread").arg(input.size()));
        input.clear();
    }
    if (answer) {
        note(QStringLiteral("answer of command %1 not fetched").arg(hex2((*answer)[0])));
        answer.reset();
    }

    Frame b;
    std::memcpy(b.data(), data + 1, 8);
    if (config.isEncode)
        b = emu::decipher(b, secret);
    if (b[7] != emu::checksum(b)) {
        error(QStringLiteral("bad checksum ") + WireTrace::hex(frameBytes(b)));
        return 9;
    }
    runCommand(b);
    return 9;
}

void VirtualMouse::Impl::runCommand(const Frame& b)
{
    const Command* c = findCommand(config.family, b[0]);
    if (!c) {
        error(QStringLiteral("unknown command ") + WireTrace::hex(frameBytes(b)));
        return;
    }
    const QString why = c->refuse ? c->refuse(b) : QString();
    const int length = c->block == kLengthFromB2 ? int(b[2]) : c->block;
    if (!why.isEmpty()) {
        error(QStringLiteral("command %1 refused: %2").arg(hex2(b[0]), why));
        // Take the block in anyway so that its reports are not mistaken for strays.
        if (c->block > 0)
            block = PendingBlock{b, length, std::min(length, config.reportLength), {}, false};
        return;
    }
    if (c->apply) {
        if (length > 0)
            block = PendingBlock{b, length, std::min(length, config.reportLength), {}, true};
        else
            c->apply(memory, b, {});
        return;
    }

    Frame a = c->answer(memory, b);
    a[7] = emu::checksum(a);
    if (fault == Fault::GarbageAnswers) {
        for (uint8_t& x : a)
            x = uint8_t(rng.generate());
    }
    answer = a;
    if (!c->sendsProfileBlock || fault == Fault::SilentBlocks)
        return;
    QByteArray data = memory.profileBlocks[b[1]];
    data.resize(128, '\0');
    if (fault == Fault::GarbageAnswers) {
        for (char& x : data)
            x = char(rng.generate());
    }
    const int chunk = std::min(128, config.reportLength);
    for (int offset = 0; offset < 128; offset += chunk) {
        QByteArray report(config.reportLength, '\0');
        std::memcpy(report.data(), data.constData() + offset,
                    size_t(std::min(chunk, 128 - offset)));
        input.push_back(report);
    }
    changed.notify_all();
}

int VirtualMouse::Impl::getFeature(quint64 gen, bool command, uint8_t* data, size_t length)
{
    std::unique_lock lock(mutex);
    if (!alive(gen)) {
        note(QStringLiteral("feature read failed: no device"));
        return -1;
    }
    if (fault == Fault::RefuseGetFeature) {
        note(QStringLiteral("feature read refused"));
        return -1;
    }
    if (!command) {
        error(QStringLiteral("feature read on the report interface"));
        return -1;
    }
    if (length < 9) {
        error(QStringLiteral("feature read of %1 bytes").arg(length));
        return -1;
    }
    if (data[0] != 0) {
        error(QStringLiteral("feature read with report id %1").arg(hex2(data[0])));
        return -1;
    }
    if (block) {
        error(QStringLiteral("feature read during the block of command %1")
                  .arg(hex2(block->frame[0])));
        return -1;
    }
    if (!answer) {
        error(QStringLiteral("feature read without a read command"));
        return -1;
    }
    Frame a = *answer;
    answer.reset();
    if (config.isEncode && fault != Fault::GarbageAnswers)
        a = emu::encipher(a, secret);
    data[0] = 0;
    std::memcpy(data + 1, a.data(), 8);
    record(WireTrace::FeatureIn, emu::bytes(data, 9));
    return 9;
}

int VirtualMouse::Impl::writeOutput(quint64 gen, bool command, const uint8_t* data, size_t length)
{
    std::unique_lock lock(mutex);
    if (!alive(gen)) {
        note(QStringLiteral("output report failed: no device"));
        return -1;
    }
    if (fault == Fault::RefuseWrite) {
        note(QStringLiteral("output report refused: ") + WireTrace::hex(emu::bytes(data, length)));
        return -1;
    }
    record(WireTrace::Output, emu::bytes(data, length));
    if (!command) {
        error(QStringLiteral("output report on the report interface"));
        return -1;
    }
    const size_t expected = size_t(config.reportLength) + 1;
    if (length != expected || data[0] != 0) {
        error(
            length != expected
                ? QStringLiteral("output report of %1 bytes, expected %2").arg(length).arg(expected)
                : QStringLiteral("output report with report id %1").arg(hex2(data[0])));
        if (block) {
            error(QStringLiteral("block of command %1 dropped").arg(hex2(block->frame[0])));
            block.reset();
        }
        return -1;
    }
    if (!block) {
        error(QStringLiteral("output report with no data block pending"));
    } else {
        const int take = std::min(block->chunk, block->length - int(block->data.size()));
        block->data.append(reinterpret_cast<const char*>(data + 1), take);
        if (block->data.size() == block->length) {
            const PendingBlock done = *block;
            block.reset();
            if (done.apply)
                findCommand(config.family, done.frame[0])->apply(memory, done.frame, done.data);
        }
    }
    if (unplugAfter > 0 && --unplugAfter == 0)
        unplugLocked();
    return int(length);
}

int VirtualMouse::Impl::readInput(quint64 gen, bool command, uint8_t* data, size_t length, int ms,
                                  bool realTime)
{
    std::unique_lock lock(mutex);
    if (!alive(gen)) {
        note(QStringLiteral("read failed: no device"));
        return -1;
    }
    std::deque<QByteArray>& queue = command ? input : reports;
    if (queue.empty()) {
        if (ms < 0 && !realTime) {
            error(QStringLiteral("blocking read with nothing to deliver"));
            return -1;
        }
        if (ms != 0 && (realTime || !command)) {
            const auto ready = [&] { return !queue.empty() || !alive(gen); };
            ++blockedReaders;
            if (ms < 0)
                changed.wait(lock, ready);
            else
                changed.wait_for(lock, std::chrono::milliseconds(ms), ready);
            --blockedReaders;
        }
        if (!alive(gen)) {
            note(QStringLiteral("read ended: no device"));
            return -1;
        }
        if (queue.empty()) {
            // The listener's idle time-outs would flood the trace; only the command side's count.
            if (command)
                record(WireTrace::Timeout, {}, {}, ms);
            return 0;
        }
    }
    QByteArray report = queue.front();
    queue.pop_front();
    if (fault == Fault::ShortReports)
        report.truncate(std::max<qsizetype>(1, report.size() / 2));
    const size_t n = std::min(size_t(report.size()), length);
    std::memcpy(data, report.constData(), n);
    record(command ? WireTrace::Input : WireTrace::Report, report.left(qsizetype(n)));
    return int(n);
}

VirtualMouse::VirtualMouse(Config config)
    : d(std::make_shared<Impl>(config)), config_(std::move(config))
{}

VirtualMouse::Memory VirtualMouse::memory() const
{
    std::unique_lock lock(d->mutex);
    return d->memory;
}

void VirtualMouse::setMemory(const Memory& memory)
{
    std::unique_lock lock(d->mutex);
    d->memory = memory;
}

void VirtualMouse::unplug()
{
    std::unique_lock lock(d->mutex);
    d->unplugLocked();
}

void VirtualMouse::plug()
{
    std::unique_lock lock(d->mutex);
    if (d->plugged)
        return;
    d->plugged = true;
    d->note(QStringLiteral("plugged"));
}

bool VirtualMouse::plugged() const
{
    return d->isPlugged();
}

void VirtualMouse::unplugAfterOutputReports(int n)
{
    std::unique_lock lock(d->mutex);
    d->unplugAfter = std::max(0, n);
}

void VirtualMouse::setFault(Fault fault)
{
    std::unique_lock lock(d->mutex);
    d->fault = fault;
}

void VirtualMouse::pressDpiButton(int stage)
{
    std::unique_lock lock(d->mutex);
    if (!d->plugged) {
        d->note(QStringLiteral("dpi button %1 pressed while unplugged").arg(stage));
        return;
    }
    const auto v = uint8_t(stage);
    bool reportsOn = false;
    if (config_.family == Family::F560) {
        if (d->memory.currentProfile >= 1 && d->memory.currentProfile <= 4)
            d->memory.currentDpis[d->memory.currentProfile] = v;
        reportsOn = d->memory.options560[0] & 0x08;
    } else {
        d->memory.currentDpi = v;
        reportsOn = d->memory.options[3] & 0x40;
    }
    d->note(reportsOn ? QStringLiteral("dpi button %1").arg(stage)
                      : QStringLiteral("dpi button %1, reports off").arg(stage));
    if (reportsOn)
        d->queueReport(QByteArray::fromRawData("\x06\x07\x00", 3) + char(v));
}

void VirtualMouse::sendReport(const QByteArray& report)
{
    std::unique_lock lock(d->mutex);
    if (!d->plugged) {
        d->note(QStringLiteral("report dropped while unplugged"));
        return;
    }
    d->queueReport(report);
}

int VirtualMouse::blockedReaders() const
{
    std::unique_lock lock(d->mutex);
    return d->blockedReaders;
}

DeviceEntry VirtualMouse::tableEntry() const
{
    DeviceEntry e;
    e.type = 1;
    e.vid = config_.vid;
    e.pid = config_.pid;
    e.usagePage = config_.usagePage;
    e.usage = config_.usage;
    e.usagePage2 = config_.usagePage2;
    e.usage2 = config_.usage2;
    e.reportLength = config_.reportLength;
    e.isEncode = config_.isEncode;
    e.sCode = QString::fromLatin1(config_.sCode);
    return e;
}
