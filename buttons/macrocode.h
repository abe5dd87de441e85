#pragma once

#include "buttons/keycodestring.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <array>
#include <cstdint>
#include <optional>

// The macro block: the repeat count (16 bits, high byte first), then one 2-byte pair per key or
// mouse-button action (delay after it in 10 ms units with bit 7 set for a release, then the key
// code), a long delay (scale pair 0x00 unit, value pair) after a pair whose delay bits are 0, and
// the terminating pair 0x00 0x00. The mouse takes 128 bytes.
namespace MacroCode {

constexpr int kBlockSize = 128;

// A macro action as the editor keeps it: type 0 delay (info = milliseconds), 1 key press,
// 2 key release, 3 mouse-button press, 4 mouse-button release (info = key name).
struct Action {
    int type = 0;
    QString info;
};

// Units of a long delay, tried in order: the first whose limit the delay sum (10 ms units) is
// below. A longer delay takes the last unit with its value capped at 0xFFFF.
struct DelayScale {
    double belowUnits;
    uint8_t unit; // sent in the scale pair
    int divisor;  // 10 ms units per step: 20, 50 or 100 ms
};
extern const std::array<DelayScale, 3> kDelayScales;

// The encoded bytes, at full length (the editor measures a macro by it). Key names are looked up
// in keyNames (the current language's names); an unknown name is code 0. The repeat count is held
// to 0 … 65535; a delay that is not a non-negative number counts as 0 ms.
QByteArray encode(const QList<Action>& actions, int repeat,
                  const QStringList& keyNames = KeyCodeString::builtInNames());

// The scene's encoder. actions: records with "type" and "info" (maps, as a script passes its
// objects) or stored records "<type digit>,<info>"; an element whose type is not a number is left
// out. repeat: the repeat count, number or text (unreadable: 0). Result: the bytes as numbers.
QVariantList deCode(const QVariantList& actions, const QVariant& repeat,
                    const QStringList& keyNames = KeyCodeString::builtInNames());

// The bytes for the 128-byte block. An encoding that fits is returned as it is. A longer one is
// cut after the last whole action that still fits with the terminating pair, that action ending
// the macro as the last action always does (delay 1); the result equals the encoding of those
// actions alone. A longer sequence that is not an encoding of actions gives nothing.
std::optional<QByteArray> fitBlock(const QByteArray& encoded);

} // namespace MacroCode
