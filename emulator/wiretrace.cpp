#include "wiretrace.h"

#include <QMutexLocker>

void WireTrace::record(Entry e)
{
    QMutexLocker lock(&mutex_);
    if (observer_ && (e.kind & observedKinds_))
        observer_(line(e));
    if (!keep_)
        return;
    if (entries_.size() >= kMaxEntries)
        entries_.remove(0, kMaxEntries / 10);
    entries_.append(std::move(e));
}

void WireTrace::setObserver(std::function<void(const QString&)> observer, unsigned kinds)
{
    QMutexLocker lock(&mutex_);
    observer_ = std::move(observer);
    observedKinds_ = kinds;
}

void WireTrace::setKeeping(bool keep)
{
    QMutexLocker lock(&mutex_);
    keep_ = keep;
    if (!keep)
        entries_.clear();
}

void WireTrace::clear()
{
    QMutexLocker lock(&mutex_);
    entries_.clear();
}

QList<WireTrace::Entry> WireTrace::entries(unsigned kinds) const
{
    QMutexLocker lock(&mutex_);
    QList<Entry> out;
    for (const Entry& e : entries_) {
        if (e.kind & kinds)
            out.append(e);
    }
    return out;
}

QString WireTrace::line(const Entry& e)
{
    switch (e.kind) {
    case WireTrace::FeatureOut:
        return QStringLiteral("feature> ") + WireTrace::hex(e.bytes);
    case WireTrace::FeatureIn:
        return QStringLiteral("feature< ") + WireTrace::hex(e.bytes);
    case WireTrace::Output:
        return QStringLiteral("out> ") + WireTrace::hex(e.bytes);
    case WireTrace::Input:
        return QStringLiteral("in< ") + WireTrace::hex(e.bytes);
    case WireTrace::Report:
        return QStringLiteral("report< ") + WireTrace::hex(e.bytes);
    case WireTrace::Wait:
        return QStringLiteral("wait %1").arg(e.ms);
    case WireTrace::Timeout:
        return QStringLiteral("timeout %1").arg(e.ms);
    case WireTrace::Error:
        return QStringLiteral("error: ") + e.text;
    case WireTrace::Open:
    case WireTrace::Close:
    case WireTrace::Note:
        break;
    }
    return e.text;
}

QStringList WireTrace::lines(unsigned kinds) const
{
    QStringList out;
    for (const Entry& e : entries(kinds))
        out.append(line(e));
    return out;
}

QStringList WireTrace::errors() const
{
    return lines(Error);
}

QString WireTrace::hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}
