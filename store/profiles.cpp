#include "store/profiles.h"

#include "store/filedialogs.h"
#include "store/inifiles.h"
#include "store/settingsstore.h"

namespace {
QString profileFilter()
{
    return QStringLiteral("Profile(*.pf)");
}
} // namespace

bool Profiles::loadProfile(int profile)
{
    if (!SettingsStore::isValidSlot(profile))
        return false;
    const QString chosen = m_dialogs.getOpenFileName(QStringLiteral("Open File"), profileFilter());
    if (chosen.isEmpty())
        return false;
    m_store.replaceProfileFile(profile, chosen);
    return true;
}

void Profiles::saveProfile(int profile)
{
    if (!SettingsStore::isValidSlot(profile))
        return;
    const QString chosen = m_dialogs.getSaveFileName(QStringLiteral("Save File"), profileFilter());
    if (chosen.isEmpty())
        return;
    // Writing over a file the store keeps open would leave its settings object stale.
    if (m_store.isOpenSettingsFile(chosen))
        return;
    m_store.syncAll();
    IniFiles::replaceFileAtomically(m_store.profilePath(profile), chosen);
}

void Profiles::resetProfile(int profile)
{
    m_store.replaceProfileFile(profile, m_store.factoryProfilePath());
}

void Profiles::copyProfile(int destprofile, int srcprofile)
{
    if (!SettingsStore::isValidSlot(destprofile) || !SettingsStore::isValidSlot(srcprofile))
        return;
    if (destprofile == srcprofile) {
        m_store.syncAll();
        return;
    }
    m_store.replaceProfileFile(destprofile, m_store.profilePath(srcprofile));
}
