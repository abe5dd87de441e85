#pragma once

#include <memory>

// The desktop's pointer settings, in the terms the system settings page uses. Each call applies
// the value to the user's desktop at once and stores it; false when the desktop refuses it or has
// no such setting.
class PointerSettings {
public:
    virtual ~PointerSettings() = default;
    // Pointer speed 1 … 20 (10 the middle); values outside are refused.
    virtual bool setMouseSpeed(int speed) = 0;
    // Longest time between the two clicks of a double click, in milliseconds.
    virtual bool setDoubleClickTime(int ms) = 0;
    // Lines that one wheel notch scrolls.
    virtual bool setWheelScrollLines(unsigned lines) = 0;
};

// The implementation for this system's desktop.
std::unique_ptr<PointerSettings> createPointerSettings();
