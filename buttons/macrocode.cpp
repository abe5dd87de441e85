#include "buttons/macrocode.h"

#include <algorithm>
#include <cmath>

namespace MacroCode {

const std::array<DelayScale, 3> kDelayScales = {{
    {100000, 1, 2},  // 20 ms
    {300000, 2, 5},  // 50 ms
    {600000, 3, 10}, // 100 ms
}};

namespace {

constexpr uint8_t kReleaseBit = 0x80;
constexpr int kMaxShortDelay = 126; // delay bits 1 … 126; 0 announces a long delay

bool isRelease(int type)
{
    return type == 2 || type == 4;
}

double delayMs(const QString& info)
{
    bool ok = false;
    const double ms = info.trimmed().toDouble(&ok);
    return ok && std::isfinite(ms) && ms > 0 ? ms : 0.0;
}

void appendWord(QByteArray& out, unsigned value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

// Writes the delay of the pair at pairPos, the delay sum being sumMs, and appends the long delay
// where one is needed.
void closePair(QByteArray& out, qsizetype pairPos, int type, double sumMs)
{
    const uint8_t bit = isRelease(type) ? kReleaseBit : 0;
    const double units = sumMs / 10.0;
    if (units < 127) {
        // A release is cut, a press rounded (halves up); rounding may reach 127, one step beyond
        // the delay bits' range, so it is held to 126.
        const double whole = isRelease(type) ? std::floor(units) : std::floor(units + 0.5);
        const int delay = std::clamp(int(whole), 1, kMaxShortDelay);
        out[pairPos] = char(delay | bit);
        return;
    }
    out[pairPos] = char(bit);
    const DelayScale* scale = &kDelayScales.back();
    for (const DelayScale& s : kDelayScales) {
        if (units < s.belowUnits) {
            scale = &s;
            break;
        }
    }
    const double value = std::min(std::floor(units / scale->divisor), double(0xFFFF));
    out.append(char(0x00));
    out.append(char(scale->unit));
    appendWord(out, unsigned(value));
}

std::optional<Action> actionFrom(const QVariant& v)
{
    Action a;
    QVariant type;
    switch (v.typeId()) {
    case QMetaType::QVariantMap: {
        const QVariantMap m = v.toMap();
        type = m.value(QStringLiteral("type"));
        a.info = m.value(QStringLiteral("info")).toString();
        break;
    }
    case QMetaType::QVariantHash: {
        const QVariantHash m = v.toHash();
        type = m.value(QStringLiteral("type"));
        a.info = m.value(QStringLiteral("info")).toString();
        break;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        // "<type digit>,<info>": the type is the first character, the info starts at the third.
        const QString record = v.toString();
        type = record.left(1);
        a.info = record.mid(2);
        break;
    }
    default:
        return std::nullopt;
    }
    bool ok = false;
    a.type = type.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return a;
}

} // namespace

QByteArray encode(const QList<Action>& actions, int repeat, const QStringList& keyNames)
{
    QByteArray out;
    appendWord(out, unsigned(std::clamp(repeat, 0, 0xFFFF)));

    const auto first =
        std::find_if(actions.cbegin(), actions.cend(), [](const Action& a) { return a.type != 0; });
    // Delays before the first action are dropped; a single action makes no sequence.
    if (first == actions.cend() || first == actions.cend() - 1)
        return out;

    qsizetype pairPos = out.size();
    int previousType = first->type;
    out.append(char(0));
    out.append(char(KeyCodeString::strTokeycode(first->info, keyNames)));

    // The sum stays in milliseconds, so fractions of a unit add up exactly.
    double sumMs = 0;
    for (auto it = first + 1; it != actions.cend(); ++it) {
        if (it->type == 0) {
            sumMs += delayMs(it->info);
            continue;
        }
        closePair(out, pairPos, previousType, sumMs);
        sumMs = 0;
        pairPos = out.size();
        previousType = it->type;
        out.append(char(0));
        out.append(char(KeyCodeString::strTokeycode(it->info, keyNames)));
    }
    // Delays after the last action are dropped.
    out[pairPos] = char(1 | (isRelease(previousType) ? kReleaseBit : 0));
    out.append(char(0));
    out.append(char(0));
    return out;
}

QVariantList deCode(const QVariantList& actions, const QVariant& repeat,
                    const QStringList& keyNames)
{
    QList<Action> list;
    list.reserve(actions.size());
    for (const QVariant& v : actions) {
        if (const std::optional<Action> a = actionFrom(v))
            list << *a;
    }
    bool ok = false;
    const qlonglong r = repeat.toLongLong(&ok);
    const int count = ok ? int(std::clamp<qlonglong>(r, 0, 0xFFFF)) : 0;

    const QByteArray bytes = encode(list, count, keyNames);
    QVariantList result;
    result.reserve(bytes.size());
    for (char b : bytes)
        result << int(uint8_t(b));
    return result;
}

std::optional<QByteArray> fitBlock(const QByteArray& encoded)
{
    if (encoded.size() <= kBlockSize)
        return encoded;

    const auto at = [&encoded](qsizetype i) { return uint8_t(encoded[i]); };
    const qsizetype end = encoded.size() - 2; // the terminating pair
    if (at(end) != 0 || at(end + 1) != 0)
        return std::nullopt;

    // Walk the actions: a pair, and after a pair with delay bits 0 its scale and value pairs.
    qsizetype keep = -1; // start of the last action whose pair fits with the terminator
    for (qsizetype pos = 2; pos < end;) {
        if (pos + 2 > end)
            return std::nullopt;
        if (pos + 4 <= kBlockSize)
            keep = pos;
        if ((at(pos) & 0x7F) != 0) {
            pos += 2;
            continue;
        }
        const uint8_t unit = at(pos + 3);
        if (pos + 6 > end || at(pos + 2) != 0 || unit < 1 || unit > 3)
            return std::nullopt;
        pos += 6;
    }
    if (keep < 0)
        return std::nullopt;

    QByteArray out = encoded.left(keep + 2);
    out[keep] = char(1 | (at(keep) & kReleaseBit));
    out.append(char(0));
    out.append(char(0));
    return out;
}

} // namespace MacroCode
