#include "store/namelists.h"

#include "store/inifiles.h"

#include <QSettings>

#include <array>

namespace {
constexpr std::array<QLatin1StringView, 4> Keys{
    QLatin1StringView("macro/macroName"),
    QLatin1StringView("gun/gunName"),
    QLatin1StringView("profile/profileName"),
    QLatin1StringView("gun/selectGun"),
};
} // namespace

NameLists::NameLists(const QString& modulesDir)
    : m_file(modulesDir + QStringLiteral("/setting/name.bin"))
{}

QString NameLists::keyOf(const QVariant& type)
{
    bool ok = false;
    const uint t = type.toUInt(&ok);
    if (!ok || t >= Keys.size())
        return {};
    return Keys[t];
}

QVariant NameLists::updataNameList(const QVariant& type, const QStringList& nameList)
{
    const QString key = keyOf(type);
    if (key.isEmpty())
        return true;
    QStringList names = nameList;
    if (names.size() == 1)
        names.append(Sentinel);
    QSettings file(m_file, QSettings::IniFormat);
    if (names.isEmpty())
        file.remove(key);
    else
        file.setValue(key, names);
    return true;
}

QVariantList NameLists::getNameList(const QVariant& type) const
{
    const QString key = keyOf(type);
    if (key.isEmpty())
        return {};
    const QSettings file(m_file, QSettings::IniFormat);
    QVariantList names;
    for (const QVariant& v : IniFiles::list(file.value(key)))
        names.append(v.toString());
    return names;
}
