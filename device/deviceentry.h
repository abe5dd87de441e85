#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class HidBackend;
class QSettings;

// One configured device: how to find its two vendor interfaces and how to talk to them.
struct DeviceEntry {
    int type = -1;
    uint16_t vid = 0;
    uint16_t pid = 0;
    uint16_t usagePage = 0; // command interface
    uint16_t usage = 0;
    uint16_t usagePage2 = 0; // report interface
    uint16_t usage2 = 0;
    int reportLength = 32; // data bytes per output/input report, report id not counted
    bool isEncode = false;
    QString sCode = QStringLiteral("413827");
    QByteArray commandPath; // empty when not found
    QByteArray reportPath;
};

using DeviceTable = QList<DeviceEntry>;

// Reads "common/deviceCount" and the numbered groups of the global settings file.
DeviceTable readDeviceTable(QSettings& settings);
DeviceTable readDeviceTable(const QString& iniPath);

// Fills in the system paths of each entry's two interfaces by enumeration.
void completeDeviceTable(DeviceTable& table, HidBackend& backend);
