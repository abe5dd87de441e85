#include "workingfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool writable(const QString& folder)
{
    // Every file the program writes lives under these two folders.
    for (const char* sub : {"modules/setting", "modules/macro"}) {
        const QFileInfo info(folder + QLatin1Char('/') + QLatin1String(sub));
        if (info.exists() && !info.isWritable())
            return false;
    }
    const QFileInfo global(folder + QStringLiteral("/modules/setting/apConfig.bin"));
    return !global.exists() || global.isWritable();
}

// Copies what is missing of from/modules into to/modules; existing files are the user's.
bool copyModules(const QString& from, const QString& to)
{
    const QDir source(from + QStringLiteral("/modules"));
    QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = QDir().mkpath(to + QStringLiteral("/modules/macro"));
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QStringLiteral("/modules/") + source.relativeFilePath(file);
        if (QFileInfo::exists(target))
            continue;
        ok = QDir().mkpath(QFileInfo(target).path()) && ok;
        ok = QFile::copy(file, target) && ok;
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return ok;
}

} // namespace

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool enterWorkingFolder(const QString& programFolder)
{
    if (writable(programFolder))
        return QDir::setCurrent(programFolder);
    const QString user = userDataFolder();
    if (user.isEmpty() || !copyModules(programFolder, user))
        return QDir::setCurrent(programFolder); // read-only, but the program still runs
    return QDir::setCurrent(user);
}
