#include "devicechangesource.h"

#include <QDebug>
#include <QSocketNotifier>

#include <libudev.h>

namespace {

QByteArray text(const char* s)
{
    return s ? QByteArray(s) : QByteArray();
}

} // namespace

std::optional<DeviceChange> deviceChangeOf(const UdevEvent& event, const QByteArray& subsystem)
{
    if (event.subsystem != subsystem)
        return std::nullopt;
    if (event.action == "add")
        return DeviceChange::Added;
    if (event.action == "remove")
        return DeviceChange::Removed;
    return std::nullopt;
}

DeviceChangeSource::DeviceChangeSource(QObject* parent)
    : DeviceChangeSource("udev", QByteArrayLiteral("hidraw"), parent)
{}

DeviceChangeSource::DeviceChangeSource(const char* netlinkName, const QByteArray& subsystem,
                                       QObject* parent)
    : QObject(parent), m_subsystem(subsystem)
{
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, netlinkName);
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, m_subsystem.constData(),
                                                        nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        qWarning() << "No device monitor: plugged devices are found only at start";
        return;
    }
    const int fd = udev_monitor_get_fd(m_monitor);
    if (fd < 0)
        return;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DeviceChangeSource::readEvents);
}

DeviceChangeSource::~DeviceChangeSource()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void DeviceChangeSource::readEvents()
{
    // The monitor's socket does not block: read until it is empty.
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        handleEvent({text(udev_device_get_action(device)), text(udev_device_get_subsystem(device)),
                     text(udev_device_get_devnode(device))});
        udev_device_unref(device);
    }
}

void DeviceChangeSource::handleEvent(const UdevEvent& event)
{
    if (const std::optional<DeviceChange> change = deviceChangeOf(event, m_subsystem))
        emit deviceChanged(*change, QString::fromLocal8Bit(event.devNode));
}
