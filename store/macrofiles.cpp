#include "store/macrofiles.h"

#include "store/filedialogs.h"
#include "store/inifiles.h"
#include "store/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>

namespace {

// Profile slots the scene can show; macro rewrites touch only these.
constexpr int SlotsInUse = 6;
constexpr int ButtonCount = 16;
constexpr int MacroType = 4;

QString macroFilter()
{
    return QStringLiteral("Macro(*.mc)");
}

// A record is "<digit>,<info>"; a hand-edited unquoted record reads as a list, rejoined here.
QString recordText(const QVariant& v)
{
    return IniFiles::text(v, u",");
}

} // namespace

QString MacroFiles::macroPath(const QString& name) const
{
    if (!IniFiles::isPlainFileName(name))
        return {};
    return m_store.path(QStringLiteral("macro/")) + name + QStringLiteral(".bin");
}

QVariant MacroFiles::createMacroIni(const QVariant& name, const QVariant& macroIndex)
{
    const QString file = macroPath(name.toString());
    if (file.isEmpty())
        return false;
    QSettings macro(file, QSettings::IniFormat);
    macro.beginGroup(QStringLiteral("config"));
    macro.setValue(QStringLiteral("index"), macroIndex.toUInt());
    macro.setValue(QStringLiteral("total"), 0);
    macro.setValue(QStringLiteral("repeat"), 1);
    macro.setValue(QStringLiteral("did"), -1);
    macro.endGroup();
    return true;
}

QVariant MacroFiles::saveMacroIni(const QVariant& name, const QStringList& macros,
                                  const QVariant& repeat)
{
    const QString file = macroPath(name.toString());
    if (file.isEmpty() || !QFile::exists(file))
        return false;
    QSettings macro(file, QSettings::IniFormat);
    macro.remove(QStringLiteral("macro"));
    macro.setValue(QStringLiteral("config/total"), macros.size());
    macro.setValue(QStringLiteral("config/repeat"), repeat);
    macro.beginGroup(QStringLiteral("macro"));
    for (qsizetype i = 0; i < macros.size(); ++i)
        macro.setValue(QString::number(i), macros.at(i));
    macro.endGroup();
    return true;
}

QStringList MacroFiles::loadMacroIni(const QVariant& name) const
{
    const QString file = macroPath(name.toString());
    if (file.isEmpty() || !QFile::exists(file))
        return {};
    const QSettings macro(file, QSettings::IniFormat);
    const int total =
        std::clamp(macro.value(QStringLiteral("config/total"), 0).toInt(), 0, MaxRecords);
    QStringList out;
    out.reserve(total + 1);
    for (int i = 0; i < total; ++i)
        out.append(recordText(macro.value(QStringLiteral("macro/%1").arg(i), QStringLiteral("0"))));
    out.append(recordText(macro.value(QStringLiteral("config/repeat"), QStringLiteral("0"))));
    return out;
}

QVariant MacroFiles::deleteMacroIni(const QVariant& name)
{
    const QString file = macroPath(name.toString());
    if (file.isEmpty() || !QFile::exists(file))
        return false;
    return QFile::remove(file);
}

QVariant MacroFiles::modifyMacroNameUpdateProfile(const QVariant& oldname, const QVariant& newname)
{
    const QString oldName = oldname.toString();
    const QString newName = newname.toString();
    const QString oldFile = macroPath(oldName);
    const QString newFile = macroPath(newName);
    if (oldFile.isEmpty() || newFile.isEmpty() || !QFile::exists(oldFile))
        return false;

    for (int slot = 0; slot < SlotsInUse; ++slot) {
        QSettings& profile = *m_store.profileSettings(slot);
        profile.beginGroup(QStringLiteral("mouseMacroKey"));
        for (const QString& key : profile.childKeys()) {
            if (IniFiles::text(profile.value(key)) == oldName)
                profile.setValue(key, newName);
        }
        profile.endGroup();
    }
    // Whatever Qt remembers of an earlier macro of the new name must not stand for the renamed one.
    IniFiles::forgetCachedSettings(newFile);
    return QFile::rename(oldFile, newFile);
}

void MacroFiles::deleteMacroUpdateProfile(const QVariant& macroName)
{
    const QString name = macroName.toString();
    const QSettings& factory = m_store.factoryProfile();
    for (int slot = 0; slot < SlotsInUse; ++slot) {
        QSettings& profile = *m_store.profileSettings(slot);
        for (int button = 0; button < ButtonCount; ++button) {
            const QString key = QStringLiteral("mouseKeyMatrix/%1").arg(button);
            const QVariantList entry = IniFiles::list(profile.value(key));
            if (entry.size() < 3 || entry.at(0).toInt() != MacroType)
                continue;
            const QString slotKey = QStringLiteral("mouseMacroKey/%1").arg(entry.at(2).toInt());
            if (IniFiles::text(profile.value(slotKey)) != name)
                continue;
            const QVariant factoryEntry = factory.value(key);
            if (factoryEntry.isValid())
                profile.setValue(key, factoryEntry);
            else
                profile.remove(key);
        }
    }
}

bool MacroFiles::loadMacroFile(const QVariant& macroFileName)
{
    const QString target = macroPath(macroFileName.toString());
    if (target.isEmpty())
        return false;
    const QString chosen = m_dialogs.getOpenFileName(QStringLiteral("Open File"), macroFilter());
    if (chosen.isEmpty())
        return false;
    if (!QFile::exists(target)) {
        QDir().mkpath(m_store.path(QStringLiteral("macro")));
        IniFiles::forgetCachedSettings(target);
        QFile::copy(chosen, target); // never over an existing macro; the result is not reported
    }
    return true;
}

void MacroFiles::saveMacroFile(const QVariant& macroFileName)
{
    const QString source = macroPath(macroFileName.toString());
    if (source.isEmpty())
        return;
    const QString chosen = m_dialogs.getSaveFileName(QStringLiteral("Save File"), macroFilter());
    if (chosen.isEmpty())
        return;
    IniFiles::replaceFileAtomically(source, chosen);
}
