#include "buttons/keycodestring.h"

namespace KeyCodeString {

// 0x04 … 0x73, the international and language keys, the modifiers 0xE0 … 0xE7, the mouse buttons.
// 0x31 and 0x32 share the name backslash, so the name leads back to 0x31 only.
const std::array<Key, kCount> kKeys = {{
    {0x04, u"A"},      {0x05, u"B"},      {0x06, u"C"},      {0x07, u"D"},     {0x08, u"E"},
    {0x09, u"F"},      {0x0A, u"G"},      {0x0B, u"H"},      {0x0C, u"I"},     {0x0D, u"J"},
    {0x0E, u"K"},      {0x0F, u"L"},      {0x10, u"M"},      {0x11, u"N"},     {0x12, u"O"},
    {0x13, u"P"},      {0x14, u"Q"},      {0x15, u"R"},      {0x16, u"S"},     {0x17, u"T"},
    {0x18, u"U"},      {0x19, u"V"},      {0x1A, u"W"},      {0x1B, u"X"},     {0x1C, u"Y"},
    {0x1D, u"Z"},      {0x1E, u"1"},      {0x1F, u"2"},      {0x20, u"3"},     {0x21, u"4"},
    {0x22, u"5"},      {0x23, u"6"},      {0x24, u"7"},      {0x25, u"8"},     {0x26, u"9"},
    {0x27, u"0"},      {0x28, u"Enter"},  {0x29, u"Esc"},    {0x2A, u"Back"},  {0x2B, u"Tab"},
    {0x2C, u"Space"},  {0x2D, u"-"},      {0x2E, u"="},      {0x2F, u"["},     {0x30, u"]"},
    {0x31, u"\\"},     {0x32, u"\\"},     {0x33, u";"},      {0x34, u"'"},     {0x35, u"`"},
    {0x36, u","},      {0x37, u"."},      {0x38, u"/"},      {0x39, u"Caps"},  {0x3A, u"F1"},
    {0x3B, u"F2"},     {0x3C, u"F3"},     {0x3D, u"F4"},     {0x3E, u"F5"},    {0x3F, u"F6"},
    {0x40, u"F7"},     {0x41, u"F8"},     {0x42, u"F9"},     {0x43, u"F10"},   {0x44, u"F11"},
    {0x45, u"F12"},    {0x46, u"Prt"},    {0x47, u"Scr"},    {0x48, u"Pau"},   {0x49, u"Ins"},
    {0x4A, u"Hom"},    {0x4B, u"Pgu"},    {0x4C, u"Del"},    {0x4D, u"End"},   {0x4E, u"PgD"},
    {0x4F, u"►"},      {0x50, u"◄"},      {0x51, u"▼"},      {0x52, u"▲"},     {0x53, u"Num"},
    {0x54, u"KP/"},    {0x55, u"KP*"},    {0x56, u"KP-"},    {0x57, u"KP+"},   {0x58, u"KPEnter"},
    {0x59, u"KP1"},    {0x5A, u"KP2"},    {0x5B, u"KP3"},    {0x5C, u"KP4"},   {0x5D, u"KP5"},
    {0x5E, u"KP6"},    {0x5F, u"KP7"},    {0x60, u"KP8"},    {0x61, u"KP9"},   {0x62, u"KP0"},
    {0x63, u"KP."},    {0x64, u"Eur2"},   {0x65, u"App"},    {0x66, u"Power"}, {0x67, u"KP="},
    {0x68, u"F13"},    {0x69, u"F14"},    {0x6A, u"F15"},    {0x6B, u"F16"},   {0x6C, u"F17"},
    {0x6D, u"F18"},    {0x6E, u"F19"},    {0x6F, u"F20"},    {0x70, u"F21"},   {0x71, u"F22"},
    {0x72, u"F23"},    {0x73, u"F24"},    {0x85, u"Keypad"}, {0x87, u"Intl1"}, {0x88, u"Intl2"},
    {0x89, u"Intl3"},  {0x8A, u"Intl4"},  {0x8B, u"Intl5"},  {0x90, u"Lang1"}, {0x91, u"Lang2"},
    {0xE0, u"LCtrl"},  {0xE1, u"LShift"}, {0xE2, u"LAlt"},   {0xE3, u"LWin"},  {0xE4, u"RCtrl"},
    {0xE5, u"RShift"}, {0xE6, u"RAlt"},   {0xE7, u"RWin"},   {0xF0, u"MS-L"},  {0xF1, u"MS-R"},
    {0xF2, u"MS-M"},   {0xF3, u"MS-B4"},  {0xF4, u"MS-B5"},
}};

uint8_t keyCode(qsizetype i)
{
    return i >= 0 && i < kCount ? kKeys[size_t(i)].code : 0;
}

QStringList builtInNames()
{
    QStringList names;
    names.reserve(kCount);
    for (const Key& k : kKeys)
        names << QString::fromUtf16(k.name);
    return names;
}

uint8_t strTokeycode(const QString& name, const QStringList& names)
{
    const qsizetype i = names.indexOf(name);
    return keyCode(i);
}

QString keycodeTostr(int code, const QStringList& names)
{
    for (qsizetype i = 0; i < kCount; ++i) {
        if (kKeys[size_t(i)].code == code)
            return i < names.size() ? names[i] : QString();
    }
    return {};
}

} // namespace KeyCodeString
