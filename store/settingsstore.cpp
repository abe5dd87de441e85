#include "store/settingsstore.h"

#include "store/inifiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

std::unique_ptr<QSettings> openIni(const QString& path)
{
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// Qt reuses the parsed content of a settings file it saw last with the same size and modification
// time. A replacement written within the same clock tick as the old file, with the same size, would
// look unchanged, so move its time past the old one.
void keepApartFromCache(const QString& path, qint64 oldSize, const QDateTime& oldTime)
{
    if (oldSize < 0)
        return; // there was no file, so nothing of it is remembered
    for (int seconds = 1; seconds <= 2; ++seconds) {
        const QFileInfo now(path);
        if (now.size() != oldSize || now.lastModified() != oldTime)
            return;
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite))
            return;
        // Whole seconds: some file systems keep no finer times.
        f.setFileTime(oldTime.addSecs(seconds), QFileDevice::FileModificationTime);
    }
}

} // namespace

SettingsStore::SettingsStore(const QString& modulesDir) : m_modulesDir(modulesDir)
{
    m_global = openIni(globalPath());
    m_factory = openIni(factoryProfilePath());
    for (int slot = 0; slot < ProfileCount; ++slot)
        m_profiles[size_t(slot)] = openIni(profilePath(slot));
    m_current = 0;

    m_isColorful = getGlobalData(QStringLiteral("mouse/isColorful")).toBool();
    m_isGun = getGlobalData(QStringLiteral("mouse/isGun")).toBool();
    m_icType = getGlobalData(QStringLiteral("mouse/icType")).toString();
}

SettingsStore::~SettingsStore() = default; // each QSettings writes what it buffered

QString SettingsStore::path(const QString& relative) const
{
    return m_modulesDir + u'/' + relative;
}

QString SettingsStore::profilePath(int slot) const
{
    return path(QStringLiteral("setting/p%1.bin").arg(slot + 1));
}

QString SettingsStore::factoryProfilePath() const
{
    return path(QStringLiteral("setting/pD.bin"));
}

QString SettingsStore::globalPath() const
{
    return path(QStringLiteral("setting/apConfig.bin"));
}

QString SettingsStore::factoryGlobalPath() const
{
    return path(QStringLiteral("setting/apConfigD.bin"));
}

const QSettings& SettingsStore::readProfile(bool isRecovery) const
{
    return isRecovery ? *m_factory : *m_profiles[size_t(m_current)];
}

QVariant SettingsStore::getData(const QVariant& key, bool isRecovery) const
{
    return readProfile(isRecovery).value(key.toString());
}

QVariant SettingsStore::getGlobalData(const QVariant& key) const
{
    return m_global->value(key.toString());
}

QVariantList SettingsStore::getDataList(const QVariant& key, bool isRecovery) const
{
    return IniFiles::list(readProfile(isRecovery).value(key.toString()));
}

void SettingsStore::setData(const QVariant& key, const QVariant& data)
{
    currentProfileSettings().setValue(key.toString(), data);
}

void SettingsStore::setGlobalData(const QVariant& key, const QVariant& tmpdata)
{
    m_global->setValue(key.toString(), tmpdata);
}

void SettingsStore::setDataList(const QVariant& key, const QVariantList& datalist)
{
    currentProfileSettings().setValue(key.toString(), datalist);
}

void SettingsStore::setCurrentProfile(int profile)
{
    if (isValidSlot(profile))
        m_current = profile;
}

void SettingsStore::resetApconfig()
{
    replaceGlobalFile(factoryGlobalPath());
}

QSettings* SettingsStore::profileSettings(int slot)
{
    return isValidSlot(slot) ? m_profiles[size_t(slot)].get() : nullptr;
}

bool SettingsStore::replaceProfileFile(int slot, const QString& source)
{
    if (!isValidSlot(slot))
        return false;
    return replaceOpenFile(m_profiles[size_t(slot)], source);
}

bool SettingsStore::replaceGlobalFile(const QString& source)
{
    return replaceOpenFile(m_global, source);
}

bool SettingsStore::replaceOpenFile(std::unique_ptr<QSettings>& settings, const QString& source)
{
    const QString target = settings->fileName();
    // Flush first: the old file then holds every edit (kept when the copy fails), and the old
    // object has nothing left that it could write over the replacement when it goes. A source that
    // is one of our own files gets its buffered edits onto the disk before it is copied.
    syncAll();
    const QFileInfo before(target);
    const qint64 oldSize = before.exists() ? before.size() : -1;
    const QDateTime oldTime = before.lastModified();

    if (!IniFiles::replaceFileAtomically(source, target))
        return false;
    keepApartFromCache(target, oldSize, oldTime);
    // Released at once rather than later: a live old object would share its state with the new one.
    settings.reset();
    settings = openIni(target);
    return true;
}

bool SettingsStore::isOpenSettingsFile(const QString& path) const
{
    auto identity = [](const QString& p) {
        const QFileInfo fi(p);
        const QString canonical = fi.canonicalFilePath();
        return canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
    };
    const QString wanted = identity(path);
    auto same = [&](const std::unique_ptr<QSettings>& s) {
        return identity(s->fileName()) == wanted;
    };
    if (same(m_global) || same(m_factory))
        return true;
    for (const auto& p : m_profiles) {
        if (same(p))
            return true;
    }
    return false;
}

void SettingsStore::syncAll()
{
    m_global->sync();
    for (const auto& p : m_profiles)
        p->sync();
}
