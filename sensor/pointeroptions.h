#pragma once

class PointerSettings;

// The system settings page's steps in the desktop's terms.
namespace pointer {

constexpr unsigned kMaxStep = 10; // steps above it count as 10

// Pointer speed 1 … 20: twice the step, 1 for step 0.
int cursorSpeed(unsigned step);
// Double-click time in milliseconds: 900 for step 0 down to 200 for step 10.
int doubleClickTime(unsigned step);

} // namespace pointer

// The desktop's pointer speed, double-click time and wheel scroll lines. They do not touch the
// mouse. A refused setting writes one line to the debug output and changes nothing else.
class PointerOptions {
public:
    explicit PointerOptions(PointerSettings& settings) : settings_(settings) {}

    void mouseSetCursorSpeed(unsigned cursorSpeed);
    void mouseSetDoubleClickSpeed(unsigned speed);
    // Lines per wheel notch, unchanged (the page passes 1000 for a screen at a time).
    void mouseSetVerticalScrollLines(unsigned lines);

private:
    PointerSettings& settings_;
};
