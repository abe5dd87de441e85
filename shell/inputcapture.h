#pragma once

#include "platform/copydata.h"
#include "platform/inputsource.h"

#include <array>
#include <cstdint>
#include <span>

// Global input capture: turns every key event of the system into a USB HID keyboard usage and
// reports presses and releases (never repeats), and reports presses and releases of the left,
// right and middle mouse buttons with the pointer's screen position. It also relays copy-data
// messages. Everything runs on the GUI thread.
//
// Key events arrive as hook records (set-1 scan code, extended and Alt-down flags) and go through
// two maps: scan code × 256 + extended flag → Windows virtual-key code → usage.
class InputCapture {
public:
    using KeyboardCallback = void (*)(uint8_t usage, bool isDown, void* userData);
    using MouseCallback = void (*)(uint8_t buttonCode, bool isDown, int x, int y, void* userData);
    using CopyDataCallback = void (*)(const CopyDataRecord& record, void* userData);

    // Builds the maps and installs the hooks of `source` (not owned, may be null: no capture).
    explicit InputCapture(InputSource* source);
    // Removes the hooks: no callback runs after this.
    ~InputCapture();
    InputCapture(const InputCapture&) = delete;
    InputCapture& operator=(const InputCapture&) = delete;

    // Removes installed hooks first. False when the source offers no capture; the program runs
    // on without it.
    bool installHooks();
    void removeHooks();
    bool hooksInstalled() const { return m_installed; }

    // A null callback unregisters.
    void registerKeyboardCallback(KeyboardCallback callback, void* userData);
    void registerMouseCallback(MouseCallback callback, void* userData);
    void registerCopyDataCallback(CopyDataCallback callback, void* userData);

    // The hook procedures; the source calls them for every event.
    void keyboardProc(const KeyboardHookRecord& record);
    void mouseProc(const MouseHookRecord& record);
    // Hands a copy-data message to the copy-data callback; true (handled) when one is registered.
    // The copy-data channel's handler calls it.
    bool copyDataProc(const CopyDataRecord& record);

    // The usage a key event translates to, 0 for none: the two maps and the special cases.
    uint8_t usageOf(const KeyboardHookRecord& record) const;
    bool isKeyDown(uint8_t usage) const { return m_keyState[usage] != 0; }

private:
    InputSource* m_source = nullptr;
    bool m_installed = false;
    KeyboardCallback m_keyboard = nullptr;
    void* m_keyboardData = nullptr;
    MouseCallback m_mouse = nullptr;
    void* m_mouseData = nullptr;
    CopyDataCallback m_copyData = nullptr;
    void* m_copyDataData = nullptr;
    std::array<uint8_t, 256 * 2> m_virtualKeyOfScan{}; // index scan × 2 + extended
    std::array<uint8_t, 256> m_usageOfVirtualKey{};
    std::array<uint8_t, 256> m_keyState{};
};

namespace inputcapture {

// Scan-code map: key = scan code × 256 + 1 when extended.
struct ScanCodeEntry {
    uint16_t key;
    uint8_t virtualKey;
};
struct UsageEntry {
    uint8_t virtualKey;
    uint8_t usage;
};
struct MouseMessageEntry {
    uint32_t message;
    uint8_t buttonCode;
    bool isDown;
};

std::span<const ScanCodeEntry> scanCodeMap();
std::span<const UsageEntry> usageMap();
std::span<const MouseMessageEntry> mouseMessages();

constexpr uint8_t kLeftButton = 0xF0;
constexpr uint8_t kRightButton = 0xF1;
constexpr uint8_t kMiddleButton = 0xF2;

} // namespace inputcapture
