#include "virtualmouse_p.h"

#include <QMutexLocker>
#include <QThread>

#include <algorithm>

namespace {

QByteArray commandPath(const VirtualMouse::Config& c)
{
    return "virtual:" + c.name + ":cmd";
}

QByteArray reportPath(const VirtualMouse::Config& c)
{
    return "virtual:" + c.name + ":report";
}

} // namespace

struct VirtualHidBackend::Handle {
    VirtualMouse* mouse = nullptr;
    bool command = true; // the command interface, else the report interface
    quint64 generation = 0;
    bool nonblocking = false;
};

class VirtualHidBackend::TraceSleeper : public Sleeper {
public:
    TraceSleeper(WireTrace& trace, const std::atomic<bool>& realTime)
        : trace_(trace), realTime_(realTime)
    {}
    void sleep(int ms) override
    {
        trace_.record(WireTrace::Entry{WireTrace::Wait, {}, ms, {}});
        if (realTime_ && ms > 0)
            QThread::msleep(ulong(ms));
    }

private:
    WireTrace& trace_;
    const std::atomic<bool>& realTime_;
};

VirtualHidBackend::VirtualHidBackend() : sleeper_(std::make_unique<TraceSleeper>(trace_, realTime_))
{}

VirtualHidBackend::~VirtualHidBackend()
{
    for (Handle* h : handles_)
        delete h;
}

VirtualMouse& VirtualHidBackend::addMouse(const VirtualMouse::Config& config)
{
    auto mouse = std::make_unique<VirtualMouse>(config);
    mouse->d->trace = &trace_;
    QMutexLocker lock(&mutex_);
    mice_.push_back(std::move(mouse));
    return *mice_.back();
}

QList<VirtualMouse*> VirtualHidBackend::mice() const
{
    QMutexLocker lock(&mutex_);
    QList<VirtualMouse*> out;
    for (const auto& m : mice_)
        out.append(m.get());
    return out;
}

Sleeper& VirtualHidBackend::sleeper()
{
    return *sleeper_;
}

void VirtualHidBackend::setRealTime(bool on)
{
    realTime_ = on;
}

QList<HidInterfaceInfo> VirtualHidBackend::enumerate(uint16_t vid, uint16_t pid)
{
    QMutexLocker lock(&mutex_);
    QList<HidInterfaceInfo> out;
    for (const auto& m : mice_) {
        const VirtualMouse::Config& c = m->config();
        if ((vid != 0 && vid != c.vid) || (pid != 0 && pid != c.pid) || !m->d->isPlugged())
            continue;
        out.append({commandPath(c), c.vid, c.pid, c.usagePage, c.usage});
        out.append({reportPath(c), c.vid, c.pid, c.usagePage2, c.usage2});
    }
    return out;
}

HidHandle* VirtualHidBackend::openPath(const QByteArray& path)
{
    QMutexLocker lock(&mutex_);
    for (const auto& m : mice_) {
        const bool command = path == commandPath(m->config());
        if (!command && path != reportPath(m->config()))
            continue;
        quint64 generation = 0;
        if (!m->d->open(&generation))
            break;
        auto* h = new Handle{m.get(), command, generation, false};
        handles_.push_back(h);
        trace_.record({WireTrace::Open,
                       {},
                       0,
                       command ? QStringLiteral("open cmd") : QStringLiteral("open report")});
        return reinterpret_cast<HidHandle*>(h);
    }
    trace_.record(
        {WireTrace::Open, {}, 0, QStringLiteral("open failed ") + QString::fromLatin1(path)});
    return nullptr;
}

bool VirtualHidBackend::lookup(HidHandle* h, const char* operation, Handle* out)
{
    QMutexLocker lock(&mutex_);
    const auto it = std::find(handles_.begin(), handles_.end(), reinterpret_cast<Handle*>(h));
    if (it == handles_.end()) {
        trace_.record({WireTrace::Error,
                       {},
                       0,
                       QLatin1String(operation) + QStringLiteral(" on an unknown handle")});
        return false;
    }
    *out = **it;
    return true;
}

int VirtualHidBackend::setNonblocking(HidHandle* h, int nonblock)
{
    Handle handle;
    if (!lookup(h, "set nonblocking", &handle))
        return -1;
    {
        std::unique_lock lock(handle.mouse->d->mutex);
        if (!handle.mouse->d->alive(handle.generation))
            return -1;
    }
    QMutexLocker lock(&mutex_);
    reinterpret_cast<Handle*>(h)->nonblocking = nonblock != 0;
    return 0;
}

int VirtualHidBackend::sendFeatureReport(HidHandle* h, const uint8_t* data, size_t length)
{
    Handle handle;
    if (!lookup(h, "feature report", &handle))
        return -1;
    return handle.mouse->d->sendFeature(handle.generation, handle.command, data, length);
}

int VirtualHidBackend::getFeatureReport(HidHandle* h, uint8_t* data, size_t length)
{
    Handle handle;
    if (!lookup(h, "feature read", &handle))
        return -1;
    return handle.mouse->d->getFeature(handle.generation, handle.command, data, length);
}

int VirtualHidBackend::write(HidHandle* h, const uint8_t* data, size_t length)
{
    Handle handle;
    if (!lookup(h, "output report", &handle))
        return -1;
    return handle.mouse->d->writeOutput(handle.generation, handle.command, data, length);
}

int VirtualHidBackend::read(HidHandle* h, uint8_t* data, size_t length)
{
    Handle handle;
    if (!lookup(h, "read", &handle))
        return -1;
    return handle.mouse->d->readInput(handle.generation, handle.command, data, length,
                                      handle.nonblocking ? 0 : -1, realTime_);
}

int VirtualHidBackend::readTimeout(HidHandle* h, uint8_t* data, size_t length, int ms)
{
    Handle handle;
    if (!lookup(h, "read", &handle))
        return -1;
    return handle.mouse->d->readInput(handle.generation, handle.command, data, length, ms,
                                      realTime_);
}

void VirtualHidBackend::close(HidHandle* h)
{
    QMutexLocker lock(&mutex_);
    const auto it = std::find(handles_.begin(), handles_.end(), reinterpret_cast<Handle*>(h));
    if (it == handles_.end()) {
        trace_.record({WireTrace::Error, {}, 0, QStringLiteral("close of an unknown handle")});
        return;
    }
    Handle* handle = *it;
    handles_.erase(it);
    trace_.record({WireTrace::Close,
                   {},
                   0,
                   handle->command ? QStringLiteral("close cmd") : QStringLiteral("close report")});
    delete handle;
}

int VirtualHidBackend::openHandles() const
{
    QMutexLocker lock(&mutex_);
    return int(handles_.size());
}
