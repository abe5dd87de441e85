#include "store/langstrings.h"

#include "store/inifiles.h"

#include <QSettings>

#include <algorithm>

LangStrings::LangStrings(const QString& modulesDir) : m_dir(modulesDir + QStringLiteral("/i18n/"))
{}

QStringList LangStrings::getLangStrings(const QString& typeStr, const QString& langCode) const
{
    if (!IniFiles::isPlainFileName(langCode))
        return {};
    const QSettings file(m_dir + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
    const QString group = typeStr + u'/';
    bool ok = false;
    int total = IniFiles::text(file.value(group + QStringLiteral("total"))).trimmed().toInt(&ok);
    total = ok ? std::clamp(total, 0, MaxTexts) : 0;
    QStringList texts;
    texts.reserve(total);
    for (int i = 0; i < total; ++i)
        texts.append(IniFiles::text(file.value(group + QString::number(i))));
    return texts;
}
