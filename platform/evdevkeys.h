#pragma once

#include "inputsource.h"

#include <cstdint>
#include <optional>
#include <span>

// Linux input key codes (evdev) as a PC keyboard's set-1 scan codes, the way the Windows
// low-level hook reports them, so that the capture's scan-code map applies unchanged.
struct EvdevScanCode {
    uint16_t evdev;
    uint8_t scan;  // make code without the E0 prefix
    bool extended; // E0-prefixed
};

enum class HeldModifier : uint8_t { Alt, Ctrl };

// A key that the keyboard sends as another scan code while a modifier is held.
struct EvdevScanVariant {
    uint16_t evdev;
    HeldModifier modifier;
    uint8_t scan;
    bool extended;
};

std::span<const EvdevScanCode> evdevScanCodes();
std::span<const EvdevScanVariant> evdevScanVariants();

// Turns key events into keyboard hook records: scan code, extended flag, Alt-down flag and the
// message, with Alt and Ctrl tracked from the events themselves.
class KeyRecordTranslator {
public:
    // Nothing for a key without a scan code.
    std::optional<KeyboardHookRecord> translate(int evdevCode, bool down);
    // Records the state of a key without producing an event (to learn what is held at start).
    void noteHeld(int evdevCode, bool down);
    bool altDown() const { return m_leftAlt || m_rightAlt; }
    bool ctrlDown() const { return m_leftCtrl || m_rightCtrl; }

private:
    bool m_leftAlt = false;
    bool m_rightAlt = false;
    bool m_leftCtrl = false;
    bool m_rightCtrl = false;
};

// The hook's mouse message for a press or release of X button `button` (1 left, 2 middle,
// 3 right, 4 … 7 wheel, 8 and 9 back and forward); nothing for the rest and for wheel releases.
std::optional<uint32_t> mouseMessageForButton(int button, bool down);
