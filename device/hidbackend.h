#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// Opaque handle of an open HID interface; each backend defines what it points at.
struct HidHandle;

// One interface found by enumeration.
struct HidInterfaceInfo {
    QByteArray path; // system path, 8-bit text
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

// The HID calls the device link makes, in hidapi's terms. Reports always start with the report id.
// Every call may come from the GUI thread or the report listener's pool thread, on distinct
// handles.
class HidBackend {
public:
    virtual ~HidBackend() = default;

    // All interfaces of vid:pid; a zero id matches any device.
    virtual QList<HidInterfaceInfo> enumerate(uint16_t vid, uint16_t pid) = 0;
    // Opens an interface by path; nullptr on failure.
    virtual HidHandle* openPath(const QByteArray& path) = 0;
    // 0 = blocking reads. Returns 0, or -1 on error.
    virtual int setNonblocking(HidHandle* h, int nonblock) = 0;
    // Sends a feature report (data[0] = report id). Returns bytes sent, -1 on error.
    virtual int sendFeatureReport(HidHandle* h, const uint8_t* data, size_t length) = 0;
    // Reads a feature report into data (data[0] = report id on entry). Returns bytes, -1 on error.
    virtual int getFeatureReport(HidHandle* h, uint8_t* data, size_t length) = 0;
    // Writes an output report (data[0] = report id). Returns bytes written, -1 on error.
    virtual int write(HidHandle* h, const uint8_t* data, size_t length) = 0;
    // Blocking read of one input report. Returns bytes read, -1 on error.
    virtual int read(HidHandle* h, uint8_t* data, size_t length) = 0;
    // Read of one input report waiting at most ms. Returns bytes, 0 on time-out, -1 on error.
    virtual int readTimeout(HidHandle* h, uint8_t* data, size_t length, int ms) = 0;
    virtual void close(HidHandle* h) = 0;
};

// The production backend: the system's hidapi (hidraw).
std::unique_ptr<HidBackend> createHidapiBackend();
