#include "inputcapture.h"

namespace inputcapture {
namespace {

constexpr uint16_t plain(uint8_t scan)
{
    return uint16_t(scan << 8);
}
constexpr uint16_t ext(uint8_t scan)
{
    return uint16_t(scan << 8 | 1);
}

// Own virtual-key code of the keypad Enter, so that the two Enter keys stay apart.
constexpr uint8_t kKeypadEnter = 0x0E;

// Set-1 scan codes, as the low-level hook reports them, to Windows virtual-key codes.
constexpr ScanCodeEntry kScanCodes[] = {
    {plain(0x01), 0x1B}, // Esc
    {plain(0x3B), 0x70}, // F1
    {plain(0x3C), 0x71},       {plain(0x3D), 0x72}, {plain(0x3E), 0x73},
    {plain(0x3F), 0x74},       {plain(0x40), 0x75}, {plain(0x41), 0x76},
    {plain(0x42), 0x77},       {plain(0x43), 0x78}, {plain(0x44), 0x79}, // F10
    {plain(0x57), 0x7A},                                                 // F11
    {plain(0x58), 0x7B},                                                 // F12
    {plain(0x02), 0x31},                                                 // 1
    {plain(0x03), 0x32},       {plain(0x04), 0x33}, {plain(0x05), 0x34},
    {plain(0x06), 0x35},       {plain(0x07), 0x36}, {plain(0x08), 0x37},
    {plain(0x09), 0x38},       {plain(0x0A), 0x39}, // 9
    {plain(0x0B), 0x30},                            // 0
    {plain(0x0C), 0xBD},                            // -
    {plain(0x0D), 0xBB},                            // =
    {plain(0x0E), 0x08},                            // Backspace
    {plain(0x0F), 0x09},                            // Tab
    {plain(0x10), 0x51},                            // Q
    {plain(0x11), 0x57},                            // W
    {plain(0x12), 0x45},                            // E
    {plain(0x13), 0x52},                            // R
    {plain(0x14), 0x54},                            // T
    {plain(0x15), 0x59},                            // Y
    {plain(0x16), 0x55},                            // U
    {plain(0x17), 0x49},                            // I
    {plain(0x18), 0x4F},                            // O
    {plain(0x19), 0x50},                            // P
    {plain(0x1A), 0xDB},                            // [
    {plain(0x1B), 0xDD},                            // ]
    {plain(0x2B), 0xDC},                            // backslash
    {plain(0x1C), 0x0D},                            // Enter
    {plain(0x1E), 0x41},                            // A
    {plain(0x1F), 0x53},                            // S
    {plain(0x20), 0x44},                            // D
    {plain(0x21), 0x46},                            // F
    {plain(0x22), 0x47},                            // G
    {plain(0x23), 0x48},                            // H
    {plain(0x24), 0x4A},                            // J
    {plain(0x25), 0x4B},                            // K
    {plain(0x26), 0x4C},                            // L
    {plain(0x27), 0xBA},                            // ;
    {plain(0x28), 0xDE},                            // '
    {plain(0x29), 0xC0},                            // `
    {plain(0x2C), 0x5A},                            // Z
    {plain(0x2D), 0x58},                            // X
    {plain(0x2E), 0x43},                            // C
    {plain(0x2F), 0x56},                            // V
    {plain(0x30), 0x42},                            // B
    {plain(0x31), 0x4E},                            // N
    {plain(0x32), 0x4D},                            // M
    {plain(0x33), 0xBC},                            // ,
    {plain(0x34), 0xBE},                            // .
    {plain(0x35), 0xBF},                            // /
    {plain(0x56), 0xE2},                            // ISO key beside left Shift
    {plain(0x3A), 0x14},                            // Caps Lock
    {plain(0x39), 0x20},                            // Space
    {plain(0x2A), 0xA0},                            // left Shift
    {ext(0x36), 0xA1},                              // right Shift: the hook reports it extended
    {plain(0x1D), 0xA2},                            // left Ctrl
    {ext(0x1D), 0xA3},                              // right Ctrl
    {plain(0x38), 0xA4},                            // left Alt
    {ext(0x38), 0xA5},                              // right Alt
    {ext(0x5B), 0x5B},                              // left GUI
    {ext(0x5D), 0x5D},                              // Menu
    {ext(0x37), 0x2C},                              // Print Screen
    {plain(0x46), 0x91},                            // Scroll Lock
    {plain(0x45), 0x13},                            // Pause: the hook reports it without the flag
    {ext(0x52), 0x2D},                              // Insert
    {ext(0x53), 0x2E},                              // Delete
    {ext(0x47), 0x24},                              // Home
    {ext(0x4F), 0x23},                              // End
    {ext(0x49), 0x21},                              // Page Up
    {ext(0x51), 0x22},                              // Page Down
    {ext(0x4D), 0x27},                              // right arrow
    {ext(0x4B), 0x25},                              // left arrow
    {ext(0x50), 0x28},                              // down arrow
    {ext(0x48), 0x26},                              // up arrow
    {ext(0x45), 0x90},                              // Num Lock: extended, unlike Pause
    {plain(0x52), 0x60},                            // keypad 0
    {plain(0x4F), 0x61},                            // keypad 1
    {plain(0x50), 0x62},       {plain(0x51), 0x63}, {plain(0x4B), 0x64},
    {plain(0x4C), 0x65},       {plain(0x4D), 0x66}, {plain(0x47), 0x67},
    {plain(0x48), 0x68},       {plain(0x49), 0x69}, // keypad 9
    {plain(0x53), 0x6E},                            // keypad .
    {plain(0x4E), 0x6B},                            // keypad +
    {plain(0x4A), 0x6D},                            // keypad -
    {plain(0x37), 0x6A},                            // keypad *
    {ext(0x35), 0x6F},                              // keypad /
    {ext(0x1C), kKeypadEnter}, {plain(0x6E), 0x86}, // F23
};
static_assert(std::size(kScanCodes) == 105);

// Virtual-key codes to USB HID keyboard usages (page 0x07): every code the scan-code map and the
// special cases produce.
constexpr UsageEntry kUsages[] = {
    {0x1B, 0x29}, // Esc
    {0x70, 0x3A}, // F1 … F12
    {0x71, 0x3B},         {0x72, 0x3C}, {0x73, 0x3D}, {0x74, 0x3E}, {0x75, 0x3F},
    {0x76, 0x40},         {0x77, 0x41}, {0x78, 0x42}, {0x79, 0x43}, {0x7A, 0x44},
    {0x7B, 0x45},         {0x31, 0x1E}, // 1 … 9
    {0x32, 0x1F},         {0x33, 0x20}, {0x34, 0x21}, {0x35, 0x22}, {0x36, 0x23},
    {0x37, 0x24},         {0x38, 0x25}, {0x39, 0x26}, {0x30, 0x27}, // 0
    {0xBD, 0x2D},                                                   // -
    {0xBB, 0x2E},                                                   // =
    {0x08, 0x2A},                                                   // Backspace
    {0x09, 0x2B},                                                   // Tab
    {0x41, 0x04},                                                   // A … Z
    {0x42, 0x05},         {0x43, 0x06}, {0x44, 0x07}, {0x45, 0x08}, {0x46, 0x09},
    {0x47, 0x0A},         {0x48, 0x0B}, {0x49, 0x0C}, {0x4A, 0x0D}, {0x4B, 0x0E},
    {0x4C, 0x0F},         {0x4D, 0x10}, {0x4E, 0x11}, {0x4F, 0x12}, {0x50, 0x13},
    {0x51, 0x14},         {0x52, 0x15}, {0x53, 0x16}, {0x54, 0x17}, {0x55, 0x18},
    {0x56, 0x19},         {0x57, 0x1A}, {0x58, 0x1B}, {0x59, 0x1C}, {0x5A, 0x1D},
    {0xDB, 0x2F},                       // [
    {0xDD, 0x30},                       // ]
    {0xDC, 0x31},                       // backslash
    {0x0D, 0x28},                       // Enter
    {0xBA, 0x33},                       // ;
    {0xDE, 0x34},                       // '
    {0xC0, 0x35},                       // `
    {0xBC, 0x36},                       // ,
    {0xBE, 0x37},                       // .
    {0xBF, 0x38},                       // /
    {0xE2, 0x64},                       // ISO key
    {0x14, 0x39},                       // Caps Lock
    {0x20, 0x2C},                       // Space
    {0xA0, 0xE1},                       // left Shift
    {0xA1, 0xE5},                       // right Shift
    {0xA2, 0xE0},                       // left Ctrl
    {0xA3, 0xE4},                       // right Ctrl
    {0xA4, 0xE2},                       // left Alt
    {0xA5, 0xE6},                       // right Alt
    {0x5B, 0xE3},                       // left GUI
    {0x5D, 0x65},                       // Menu
    {0x2C, 0x46},                       // Print Screen
    {0x91, 0x47},                       // Scroll Lock
    {0x13, 0x48},                       // Pause
    {0x2D, 0x49},                       // Insert
    {0x24, 0x4A},                       // Home
    {0x21, 0x4B},                       // Page Up
    {0x2E, 0x4C},                       // Delete
    {0x23, 0x4D},                       // End
    {0x22, 0x4E},                       // Page Down
    {0x27, 0x4F},                       // right arrow
    {0x25, 0x50},                       // left arrow
    {0x28, 0x51},                       // down arrow
    {0x26, 0x52},                       // up arrow
    {0x90, 0x53},                       // Num Lock
    {0x6F, 0x54},                       // keypad /
    {0x6A, 0x55},                       // keypad *
    {0x6D, 0x56},                       // keypad -
    {0x6B, 0x57},                       // keypad +
    {kKeypadEnter, 0x58}, {0x61, 0x59}, // keypad 1 … 9
    {0x62, 0x5A},         {0x63, 0x5B}, {0x64, 0x5C}, {0x65, 0x5D}, {0x66, 0x5E},
    {0x67, 0x5F},         {0x68, 0x60}, {0x69, 0x61}, {0x60, 0x62}, // keypad 0
    {0x6E, 0x63},                                                   // keypad .
    {0x86, 0x72},                                                   // F23
};
static_assert(std::size(kUsages) == 105);

constexpr MouseMessageEntry kMouseMessages[] = {
    {hook::LeftDown, kLeftButton, true},     {hook::LeftUp, kLeftButton, false},
    {hook::RightDown, kRightButton, true},   {hook::RightUp, kRightButton, false},
    {hook::MiddleDown, kMiddleButton, true}, {hook::MiddleUp, kMiddleButton, false},
};

// Keys that the hook reports with codes the scan-code map leaves alone.
constexpr uint32_t kBreakScan = 0x46; // with the extended flag: Ctrl+Break
constexpr uint32_t kSysRqScan = 0x54; // with Alt held: Alt+Print Screen
constexpr uint8_t kPauseVirtualKey = 0x13;
constexpr uint8_t kPrintScreenVirtualKey = 0x2C;

} // namespace

std::span<const ScanCodeEntry> scanCodeMap()
{
    return kScanCodes;
}
std::span<const UsageEntry> usageMap()
{
    return kUsages;
}
std::span<const MouseMessageEntry> mouseMessages()
{
    return kMouseMessages;
}

} // namespace inputcapture

using namespace inputcapture;

InputCapture::InputCapture(InputSource* source) : m_source(source)
{
    for (const ScanCodeEntry& e : kScanCodes)
        m_virtualKeyOfScan[(e.key >> 8) * 2 + (e.key & 1)] = e.virtualKey;
    for (const UsageEntry& e : kUsages)
        m_usageOfVirtualKey[e.virtualKey] = e.usage;
    installHooks();
}

InputCapture::~InputCapture()
{
    removeHooks();
}

bool InputCapture::installHooks()
{
    if (m_installed)
        removeHooks();
    if (!m_source)
        return false;
    m_installed = m_source->install([this](const KeyboardHookRecord& r) { keyboardProc(r); },
                                    [this](const MouseHookRecord& r) { mouseProc(r); });
    return m_installed;
}

void InputCapture::removeHooks()
{
    if (m_source && m_installed)
        m_source->uninstall();
    m_installed = false;
}

void InputCapture::registerKeyboardCallback(KeyboardCallback callback, void* userData)
{
    m_keyboard = callback;
    m_keyboardData = userData;
}

void InputCapture::registerMouseCallback(MouseCallback callback, void* userData)
{
    m_mouse = callback;
    m_mouseData = userData;
}

void InputCapture::registerCopyDataCallback(CopyDataCallback callback, void* userData)
{
    m_copyData = callback;
    m_copyDataData = userData;
}

uint8_t InputCapture::usageOf(const KeyboardHookRecord& record) const
{
    const uint32_t scan = record.scanCode > 255 ? 0 : record.scanCode;
    const bool extended = record.flags & hook::Extended;
    uint8_t virtualKey = m_virtualKeyOfScan[scan * 2 + (extended ? 1 : 0)];
    if (scan == kBreakScan && extended)
        virtualKey = kPauseVirtualKey;
    if (scan == kSysRqScan && (record.flags & hook::AltDown))
        virtualKey = kPrintScreenVirtualKey;
    if (virtualKey == 0)
        return 0;
    return m_usageOfVirtualKey[virtualKey];
}

void InputCapture::keyboardProc(const KeyboardHookRecord& record)
{
    const bool isDown = record.code == hook::Action &&
                        (record.message == hook::KeyDown || record.message == hook::SysKeyDown);
    const uint8_t usage = usageOf(record);
    if (usage == 0)
        return;
    // Auto-repeat and releases of keys never seen pressed change nothing and are not reported.
    if (m_keyState[usage] == uint8_t(isDown))
        return;
    m_keyState[usage] = uint8_t(isDown);
    if (m_keyboard)
        m_keyboard(usage, isDown, m_keyboardData);
}

void InputCapture::mouseProc(const MouseHookRecord& record)
{
    for (const MouseMessageEntry& e : kMouseMessages) {
        if (e.message == record.message) {
            if (m_mouse)
                m_mouse(e.buttonCode, e.isDown, record.x, record.y, m_mouseData);
            return;
        }
    }
}

bool InputCapture::copyDataProc(const CopyDataRecord& record)
{
    if (!m_copyData)
        return false;
    m_copyData(record, m_copyDataData);
    return true;
}
