#include "store/inifiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

namespace IniFiles {

QString text(const QVariant& value, QStringView sep)
{
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return value.toStringList().join(sep);
    case QMetaType::QVariantList: {
        QStringList parts;
        for (const QVariant& v : value.toList())
            parts.append(v.toString());
        return parts.join(sep);
    }
    default:
        return value.toString();
    }
}

QVariantList list(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QStringList: {
        QVariantList out;
        for (const QString& s : value.toStringList())
            out.append(s);
        return out;
    }
    case QMetaType::QVariantList:
        return value.toList();
    default:
        return {};
    }
}

bool isPlainFileName(const QString& name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

bool replaceFileAtomically(const QString& source, const QString& target)
{
    const QFileInfo src(source);
    const QFileInfo dst(target);
    if (!src.isFile())
        return false;
    if (dst.exists() && src.canonicalFilePath() == dst.canonicalFilePath())
        return true;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target); // refuses a target that is not writable
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (;;) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                out.cancelWriting();
                return false;
            }
            break;
        }
        if (out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

void forgetCachedSettings(const QString& path)
{
    if (QFileInfo::exists(path))
        return;
    // Opening settings on a missing file makes Qt re-read it as empty; an empty file is not kept.
    QSettings probe(path, QSettings::IniFormat);
}

} // namespace IniFiles
