#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The key-name table: one-byte key codes (USB keyboard usages, 0xF0 … 0xF4 for mouse buttons) and
// their names. The codes never change; the names are the built-in English ones until the language
// strings of the group "keyCode" replace them, index for index.
namespace KeyCodeString {

constexpr int kCount = 133;

struct Key {
    uint8_t code;
    const char16_t* name; // built-in name
};

// In table order; lookups scan it from the start, so the first match wins.
extern const std::array<Key, kCount> kKeys;

// The code at table index i (0 for an index outside the table).
uint8_t keyCode(qsizetype i);
// The built-in names in table order.
QStringList builtInNames();

// The code of the first entry whose name equals name exactly; 0 when none does. names is the
// current name array (a language's "keyCode" strings); names past the table's end have no code.
uint8_t strTokeycode(const QString& name, const QStringList& names = builtInNames());
// The name of the first entry with this code; "" when the code is not in the table or the name
// array is too short to name it.
QString keycodeTostr(int code, const QStringList& names = builtInNames());

} // namespace KeyCodeString
