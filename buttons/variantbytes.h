#pragma once

#include <QVariant>

#include <cmath>
#include <cstdint>

namespace variantbytes {

// The low byte of a value from the scene or a settings file, converted to an integer the way
// QVariant does (numeric text is read, anything else is 0). Huge or non-finite numbers do not reach
// an integer conversion they would overflow: beyond 2^62 a double is a multiple of 256 anyway.
inline uint8_t lowByte(const QVariant& v)
{
    const int type = v.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) >= 0x1p62)
            return 0;
    }
    return uint8_t(v.toLongLong());
}

} // namespace variantbytes
