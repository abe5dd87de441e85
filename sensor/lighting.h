#pragma once

#include <QVariantList>

#include <array>
#include <cstdint>

struct MouseContext;

// The lighting page's choices (effect position, speed step, brightness step) in the mouse's terms:
// an effect code and two parameters.
namespace lighting {

struct Setting {
    uint8_t code = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;
    friend bool operator==(const Setting&, const Setting&) = default;
};

constexpr int kSteps = 5; // 0 %, 25 %, 50 %, 75 %, 100 %
using StepValues = std::array<uint8_t, kSteps>;

// Value tables by step; a step outside them gives 0.
inline constexpr StepValues kBrightness = {0, 64, 128, 192, 255};
inline constexpr StepValues kSpeedA = {10, 7, 5, 3, 1};
inline constexpr StepValues kSpeedB = {20, 17, 15, 13, 11};
inline constexpr StepValues kSpeedC = {15, 13, 10, 7, 5};
inline constexpr StepValues kSpeedD = {30, 27, 24, 22, 20};
// Single-colour mice.
inline constexpr StepValues kSingleStatic = {1, 3, 5, 7, 10};
inline constexpr StepValues kSingleNeon = {30, 24, 18, 12, 6};

// Where a parameter comes from.
struct Param {
    enum Source { Zero, Speed, Brightness, SpeedPlusOne, Fixed } source = Zero;
    const StepValues* table = nullptr; // Speed, Brightness: looked up by the step
    uint8_t value = 0;                 // Fixed
};
constexpr Param kZero{};
constexpr Param speed(const StepValues& t)
{
    return {Param::Speed, &t, 0};
}
constexpr Param brightness(const StepValues& t)
{
    return {Param::Brightness, &t, 0};
}
constexpr Param fixed(uint8_t v)
{
    return {Param::Fixed, nullptr, v};
}
constexpr Param kSpeedPlusOne{Param::SpeedPlusOne, nullptr, 0};

struct Effect {
    const char* name; // as the English page shows it
    uint8_t code;
    Param p1;
    Param p2;
};

// By effect position; a position past the end of a table gives that table's Off entry.
inline constexpr Effect kMulticolour[] = {
    {"Static", 1, brightness(kBrightness), kZero},
    {"Breath", 3, kZero, speed(kSpeedA)},
    {"Neon", 4, kZero, speed(kSpeedA)},
    {"OFF", 0, kZero, kZero},
    {"Twinkling", 2, brightness(kBrightness), kZero},
    {"Wave", 5, brightness(kBrightness), speed(kSpeedA)},
    {"Gliding", 6, kZero, kZero},
    {"Finger Moving", 7, brightness(kBrightness), kZero},
    {"Vertical Flipping", 8, brightness(kBrightness), speed(kSpeedB)},
    {"YO-YO", 9, brightness(kBrightness), speed(kSpeedC)},
    {"Spotlight", 10, brightness(kBrightness), speed(kSpeedD)},
};
inline constexpr Effect kMulticolourOff = {"", 0, kZero, kZero};

constexpr uint8_t kSingleP2 = 2;
// A single-colour 560 mouse without the gun feature takes this second parameter in block 1.
constexpr uint8_t kSingleP2OwnProfile = 3;
inline constexpr Effect kSingleColour[] = {
    {"Static", 1, brightness(kSingleStatic), fixed(kSingleP2)},
    {"Breath", 2, kSpeedPlusOne, fixed(kSingleP2)},
    {"Neon", 3, speed(kSingleNeon), fixed(kSingleP2)},
};
inline constexpr Effect kSingleColourOff = {"", 0, kZero, fixed(kSingleP2)};

// option1 is the speed step, option2 the brightness step.
Setting effectSetting(bool isColorful, uint8_t effect, uint8_t option1, uint8_t option2);

} // namespace lighting

// The light effect and the colour table of the mouse.
class Lighting {
public:
    explicit Lighting(MouseContext& context) : ctx_(context) {}

    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    // Eight colours, red, green, blue each (low 8 bits of each value). A list with fewer than 24
    // numbers changes and sends nothing; entries after the 24th are ignored. type is passed
    // through to the 553 command (0 multicolour, 1 single-colour).
    void mouseSetRGBColor(uchar type, const QVariantList& src24);

private:
    MouseContext& ctx_;
};
