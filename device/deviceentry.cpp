#include "deviceentry.h"

#include "hidbackend.h"

#include <QSettings>

namespace {

QString text(QSettings& s, const QString& key)
{
    return s.value(key).toString().trimmed();
}

// Hexadecimal text, with or without a "0x" prefix; anything else reads as 0.
qulonglong hexValue(QString t)
{
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, 16);
    return ok ? v : 0;
}

uint16_t hex16(QSettings& s, const QString& key)
{
    return static_cast<uint16_t>(hexValue(text(s, key)) & 0xFFFF);
}

} // namespace

DeviceTable readDeviceTable(QSettings& s)
{
    DeviceTable table;
    const int count = s.value(QStringLiteral("common/deviceCount"), 0).toInt();
    for (int i = 0; i < count; ++i) {
        s.beginGroup(QString::number(i));
        DeviceEntry e;
        if (s.contains(QStringLiteral("type")))
            e.type = static_cast<int>(hexValue(text(s, QStringLiteral("type"))));
        e.vid = hex16(s, QStringLiteral("vid"));
        e.pid = hex16(s, QStringLiteral("pid"));
        e.usagePage = hex16(s, QStringLiteral("usagePage"));
        e.usage = hex16(s, QStringLiteral("usage"));
        e.usagePage2 = hex16(s, QStringLiteral("usagePage2"));
        e.usage2 = hex16(s, QStringLiteral("usage2"));
        if (s.contains(QStringLiteral("reportLength")))
            e.reportLength = text(s, QStringLiteral("reportLength")).toInt();
        const QString encode = text(s, QStringLiteral("isEncode"));
        e.isEncode = encode.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                     encode == QLatin1String("1");
        if (s.contains(QStringLiteral("sCode")))
            e.sCode = s.value(QStringLiteral("sCode")).toString();
        s.endGroup();
        table.append(e);
    }
    return table;
}

DeviceTable readDeviceTable(const QString& iniPath)
{
    QSettings s(iniPath, QSettings::IniFormat);
    return readDeviceTable(s);
}

void completeDeviceTable(DeviceTable& table, HidBackend& backend)
{
    for (DeviceEntry& e : table) {
        e.commandPath.clear();
        e.reportPath.clear();
        // A later match overwrites an earlier one; both pairs may name the same interface.
        for (const HidInterfaceInfo& i : backend.enumerate(e.vid, e.pid)) {
            if (i.usagePage == e.usagePage && i.usage == e.usage)
                e.commandPath = i.path;
            if (i.usagePage == e.usagePage2 && i.usage == e.usage2)
                e.reportPath = i.path;
        }
    }
}
