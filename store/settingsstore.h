#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <array>
#include <memory>

// The settings files under the modules folder and the generic data access of the scene.
//
// Owns the global file ("setting/apConfig.bin"), the factory profile ("setting/pD.bin", only read)
// and the ten profile files ("setting/p1.bin" … "p10.bin", slots 0 … 9), each opened once; the
// current profile is the slot every per-profile read and write goes to. Keys arrive as variants and
// are used as text. No operation reports an error: an absent key reads as an invalid variant or an
// empty list, a write to a missing file creates it.
//
// Writes are buffered by QSettings and reach the disk when control returns to the event loop or
// when the store is destroyed. Every path is relative to the modules folder given at construction.
class SettingsStore {
public:
    static constexpr int ProfileCount = 10;

    explicit SettingsStore(const QString& modulesDir = QStringLiteral("./modules"));
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Reads the factory profile when isRecovery is true, else the current profile.
    QVariant getData(const QVariant& key, bool isRecovery) const;
    QVariant getGlobalData(const QVariant& key) const;
    // The stored value as a list; empty when absent or a single plain value.
    QVariantList getDataList(const QVariant& key, bool isRecovery) const;
    void setData(const QVariant& key, const QVariant& data);
    void setGlobalData(const QVariant& key, const QVariant& tmpdata);
    // An empty list is stored as Qt's invalid marker and reads back as an empty list.
    void setDataList(const QVariant& key, const QVariantList& datalist);
    // Slots outside 0 … 9 are ignored; the current profile stays.
    void setCurrentProfile(int profile);
    // Replaces the global file by its factory copy "setting/apConfigD.bin". The model traits below
    // keep the values read at construction.
    void resetApconfig();

    // Model traits read from the global file once, at construction.
    bool isColorful() const { return m_isColorful; }
    bool isGun() const { return m_isGun; }
    QString icType() const { return m_icType; }

    int currentProfile() const { return m_current; }
    static bool isValidSlot(int slot) { return slot >= 0 && slot < ProfileCount; }

    QString modulesDir() const { return m_modulesDir; }
    // modulesDir + "/" + relative, e.g. path("setting/name.bin").
    QString path(const QString& relative) const;
    // "setting/p<slot + 1>.bin" under the modules folder.
    QString profilePath(int slot) const;
    QString factoryProfilePath() const;
    QString globalPath() const;
    QString factoryGlobalPath() const;

    // The open settings objects, for the feature operations. A reference stays valid until its file
    // is replaced as a whole (replaceProfileFile, replaceGlobalFile, resetApconfig).
    QSettings& globalSettings() { return *m_global; }
    const QSettings& factoryProfile() const { return *m_factory; }
    QSettings& currentProfileSettings() { return *m_profiles[size_t(m_current)]; }
    QSettings* profileSettings(int slot);

    // Replaces a whole file by a copy of source and reopens its settings object; the current
    // profile index is unchanged. What the old object still buffered is written to the old file
    // first, so none of it can land in the replacement later. The old file stays as it was unless
    // the copy is complete; false then, and the old object stays in use.
    bool replaceProfileFile(int slot, const QString& source);
    bool replaceGlobalFile(const QString& source);

    // True when path is one of the files this store keeps open.
    bool isOpenSettingsFile(const QString& path) const;
    // Writes every buffered change of the open files to disk.
    void syncAll();

private:
    bool replaceOpenFile(std::unique_ptr<QSettings>& settings, const QString& source);
    const QSettings& readProfile(bool isRecovery) const;

    QString m_modulesDir;
    bool m_isColorful = false;
    bool m_isGun = false;
    QString m_icType;
    std::unique_ptr<QSettings> m_global;
    std::unique_ptr<QSettings> m_factory;
    std::array<std::unique_ptr<QSettings>, ProfileCount> m_profiles;
    int m_current = 0;
};
