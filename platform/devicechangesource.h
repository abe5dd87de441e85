#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// One event of the system's device manager, as far as the program cares.
struct UdevEvent {
    QByteArray action;    // "add", "remove", "change", …
    QByteArray subsystem; // "hidraw", …
    QByteArray devNode;   // "/dev/hidraw3", may be empty
};

enum class DeviceChange { Added, Removed };

// Whether an event is a HID device coming or going: only "add" and "remove" of the given
// subsystem count.
std::optional<DeviceChange> deviceChangeOf(const UdevEvent& event,
                                           const QByteArray& subsystem = "hidraw");

// Watches HID devices being plugged in and out (udev monitor of the hidraw subsystem, read on the
// GUI thread) and reports each change at once; callers debounce. Without udev it reports nothing
// and isAvailable() is false.
class DeviceChangeSource : public QObject {
    Q_OBJECT
public:
    explicit DeviceChangeSource(QObject* parent = nullptr);
    // netlinkName "udev" (after the device manager has handled the event) or "kernel"; anything
    // else leaves the source unavailable.
    DeviceChangeSource(const char* netlinkName, const QByteArray& subsystem,
                       QObject* parent = nullptr);
    ~DeviceChangeSource() override;

    bool isAvailable() const { return m_notifier != nullptr; }

    // Emits deviceChanged when the event is a change of the watched subsystem.
    void handleEvent(const UdevEvent& event);

signals:
    void deviceChanged(DeviceChange change, const QString& devNode);

private:
    void readEvents();

    QByteArray m_subsystem;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};
