#include "instancekey.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

QString instanceKey()
{
    return instanceKey(QCoreApplication::applicationFilePath());
}

QString instanceKey(QString path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty())
        path = canonical;
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("meridax-mouse-%1-%2")
        .arg(uint(getuid()))
        .arg(QString::fromLatin1(digest.toHex().left(16)));
}

QString userRuntimeDirectory()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}
