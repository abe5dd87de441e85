#pragma once

#include <cstdint>
#include <functional>

// What a low-level keyboard or mouse hook reports for one event, in the terms of the Windows hook
// records, so that the capture procedures run the same translation on every platform.

namespace hook {
constexpr int Action = 0; // HC_ACTION

constexpr uint32_t KeyDown = 0x100;    // WM_KEYDOWN
constexpr uint32_t KeyUp = 0x101;      // WM_KEYUP
constexpr uint32_t SysKeyDown = 0x104; // WM_SYSKEYDOWN
constexpr uint32_t SysKeyUp = 0x105;   // WM_SYSKEYUP

constexpr uint32_t Extended = 0x01; // LLKHF_EXTENDED: the key came with an E0 prefix
constexpr uint32_t AltDown = 0x20;  // LLKHF_ALTDOWN
constexpr uint32_t Up = 0x80;       // LLKHF_UP

constexpr uint32_t LeftDown = 0x201;
constexpr uint32_t LeftUp = 0x202;
constexpr uint32_t LeftDoubleClick = 0x203;
constexpr uint32_t RightDown = 0x204;
constexpr uint32_t RightUp = 0x205;
constexpr uint32_t RightDoubleClick = 0x206;
constexpr uint32_t MiddleDown = 0x207;
constexpr uint32_t MiddleUp = 0x208;
constexpr uint32_t Wheel = 0x20A;
constexpr uint32_t XDown = 0x20B;
constexpr uint32_t XUp = 0x20C;
constexpr uint32_t HorizontalWheel = 0x20E;
} // namespace hook

// One keyboard event: hook code, message and the fields of KBDLLHOOKSTRUCT the capture reads.
struct KeyboardHookRecord {
    int code = hook::Action;
    uint32_t message = hook::KeyDown;
    uint32_t scanCode = 0; // set-1 make code without the E0 prefix
    uint32_t flags = 0;    // hook::Extended, hook::AltDown, hook::Up
};

// One mouse event: hook code, message and the pointer's screen position.
struct MouseHookRecord {
    int code = hook::Action;
    uint32_t message = 0;
    int x = 0;
    int y = 0;
};

// A system-wide source of input events. Install hands it the two procedures; it calls them on the
// GUI thread, in the order of the events, until uninstall or its destruction. Observing only:
// the events still reach the program that has the focus.
class InputSource {
public:
    using KeyboardProc = std::function<void(const KeyboardHookRecord&)>;
    using MouseProc = std::function<void(const MouseHookRecord&)>;

    virtual ~InputSource() = default;
    // True when both procedures are installed; false (and nothing installed) when the system
    // offers no global capture, for example without an X display.
    virtual bool install(KeyboardProc keyboard, MouseProc mouse) = 0;
    virtual void uninstall() = 0;
};
