#pragma once

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>

// A private copy of the shipped modules folder (images left out) in a temporary folder, so tests
// never touch the files of the source tree.
class ModulesCopy {
public:
    explicit ModulesCopy(const QString& from = QStringLiteral(MOUSE_DATA_DIR))
    {
        m_ok = m_tmp.isValid() && copyTree(from, dir());
    }

    bool isValid() const { return m_ok; }
    QString dir() const { return m_tmp.path() + QStringLiteral("/modules"); }
    QString file(const QString& relative) const { return dir() + u'/' + relative; }

    QByteArray read(const QString& relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QFile f(file(relative));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }

    // Every file below the folder (relative path → bytes), to show that nothing changed.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(m_tmp.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            all.insert(QDir(m_tmp.path()).relativeFilePath(path),
                       f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
        }
        return all;
    }

    static bool copyTree(const QString& from, const QString& to)
    {
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        if (!QDir().mkpath(to))
            return false;
        while (it.hasNext()) {
            const QString source = it.next();
            const QString relative = QDir(from).relativeFilePath(source);
            if (relative.startsWith(QLatin1String("img/")))
                continue;
            const QString target = to + u'/' + relative;
            QDir().mkpath(QFileInfo(target).absolutePath());
            if (!QFile::copy(source, target))
                return false;
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        }
        return true;
    }

private:
    QTemporaryDir m_tmp;
    bool m_ok = false;
};

// A value as a fresh reader parses it from disk. Qt serves a settings file it has seen before from
// memory, so read a copy under a new name.
inline QVariant valueOnDisk(const QString& path, const QString& key)
{
    const QString copy =
        path + QStringLiteral(".%1.probe").arg(QUuid::createUuid().toString(QUuid::Id128));
    if (!QFile::copy(path, copy))
        return {};
    QVariant v;
    {
        const QSettings s(copy, QSettings::IniFormat);
        v = s.value(key);
    }
    QFile::remove(copy);
    return v;
}
