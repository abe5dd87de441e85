#pragma once

#include <QVariantList>

#include <cstdint>

struct MouseContext;

// The report rates of the main screen, in the order of its list. The mouse takes 1000 divided by
// the rate in hertz.
namespace reportrate {

struct Rate {
    const char* label;
    uint8_t rateByte;
};
inline constexpr Rate kRates[] = {
    {"125Hz", 8},
    {"250Hz", 4},
    {"500Hz", 2},
    {"1000Hz", 1},
};
constexpr uint8_t kOtherIndex = 1; // any index not in the list

// The rate byte of a stored list index.
uint8_t rateByte(int index);

} // namespace reportrate

// The report rate and the option bytes of the controller.
class DeviceOptions {
public:
    explicit DeviceOptions(MouseContext& context) : ctx_(context) {}

    // Sends the rate byte unchanged, in the command of the controller family.
    void mouseSetReportRate(uchar rate);
    // The four option bytes, always with the 553 command.
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    // The four option bytes as ints, read with the 553 command; zeros when the mouse does not
    // answer.
    QVariantList GetKeyboardoption();

private:
    MouseContext& ctx_;
};
