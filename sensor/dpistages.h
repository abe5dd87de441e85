#pragma once

#include "profileblocks.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <array>
#include <cstdint>

struct MouseContext;

// DPI codes: how each sensor turns a DPI value into the one byte it takes.
namespace dpi {

constexpr int kStageCount = blockmap::kStageCount;
constexpr uint8_t kStageUnused = 0x80; // 553 stage block: a stage that is not in use

enum class SensorRule {
    Hundreds, // v / 100 − 1
    Extended, // above 5000: v / 200 with bit 6 set; else v / 100 − 1
    Stepped,  // first step whose limit is at least v
};

struct Sensor {
    const char* sensorType;
    SensorRule rule;
};

// Compared in this order; any other sensor type is encoded with kOtherSensors.
inline constexpr Sensor kSensors[] = {
    {"4090", SensorRule::Extended},
    {"3360", SensorRule::Hundreds},
    {"3050", SensorRule::Stepped},
};
constexpr SensorRule kOtherSensors = SensorRule::Extended;

constexpr int kExtendedFrom = 5000; // values above it use the extended form
constexpr uint8_t kExtendedBit = 0x40;

struct Step {
    int limit;
    uint8_t code;
};
inline constexpr Step kSteps[] = {
    {250, 1},  {500, 2},  {750, 3},     {1000, 4},    {1250, 5},    {1500, 6},
    {1750, 7}, {2000, 8}, {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48},
};
constexpr uint8_t kBeyondSteps = 0;

using Codes = std::array<uint8_t, kStageCount>;

SensorRule ruleFor(const QString& sensorType);
// The low 8 bits of the rule's result, in integer arithmetic with truncating division.
uint8_t code(SensorRule rule, qint64 value);
Codes codes(SensorRule rule, const std::array<qint64, kStageCount>& values);
// The 553 stage block: the codes, with kStageUnused from stage stageCount + 1 on.
Codes stageBlock(const Codes& codes, int stageCount);
// Bit i set for every stage i + 1 in use.
uint8_t stageMask(int stageCount);

} // namespace dpi

// The DPI stages of the mouse and its active stage, in the form of each controller family.
class DpiStages {
public:
    explicit DpiStages(MouseContext& context) : ctx_(context) {}

    // Encodes the eight stage values for the sensor and sends them. Stage counts outside 0 … 8
    // count as the nearest of them. A list with fewer than eight numbers changes and sends
    // nothing; entries after the eighth are ignored.
    void mouseSetDpi(int dpiCount, const QString& sensorType, const QVariantList& dpiValueArray);
    // Makes the 1-based stage the active one; passed on unchanged.
    void mouseSetCurrentDPI(uchar currentDPI);
    // The mouse's active stage, 1-based, as an int; 0 when it does not answer.
    QVariant mouseGetCurrentDPI();

private:
    MouseContext& ctx_;
};
