#include "scenevalues.h"

#include <cmath>

namespace scenevalues {

namespace {

std::optional<qint64> fromDouble(double d)
{
    // Far beyond any value the mouse takes, and safely inside qint64.
    constexpr double kLimit = 9.0e15;
    if (!std::isfinite(d) || std::fabs(d) > kLimit)
        return std::nullopt;
    return qint64(std::llround(d));
}

} // namespace

std::optional<qint64> integer(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return std::nullopt;
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(v.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = v.toString().trimmed();
        bool ok = false;
        const qint64 n = text.toLongLong(&ok);
        if (ok)
            return n;
        const double d = text.toDouble(&ok);
        return ok ? fromDouble(d) : std::nullopt;
    }
    default: {
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    }
}

std::optional<std::vector<qint64>> integers(const QVariantList& list, int count)
{
    if (count < 0 || list.size() < count)
        return std::nullopt;
    std::vector<qint64> out;
    out.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto n = integer(list[i]);
        if (!n)
            return std::nullopt;
        out.push_back(*n);
    }
    return out;
}

} // namespace scenevalues
