#include "dpistages.h"

#include "mousecontext.h"
#include "profileblocks.h"
#include "scenevalues.h"

#include "device/hid_thread.h"

#include <algorithm>

namespace dpi {

SensorRule ruleFor(const QString& sensorType)
{
    for (const Sensor& s : kSensors) {
        if (sensorType == QLatin1String(s.sensorType))
            return s.rule;
    }
    return kOtherSensors;
}

uint8_t code(SensorRule rule, qint64 value)
{
    switch (rule) {
    case SensorRule::Hundreds:
        break;
    case SensorRule::Extended:
        if (value > kExtendedFrom)
            return uint8_t((value / 200) | kExtendedBit);
        break;
    case SensorRule::Stepped:
        for (const Step& s : kSteps) {
            if (value <= s.limit)
                return s.code;
        }
        return kBeyondSteps;
    }
    return uint8_t(value / 100 - 1);
}

Codes codes(SensorRule rule, const std::array<qint64, kStageCount>& values)
{
    Codes out{};
    for (int i = 0; i < kStageCount; ++i)
        out[size_t(i)] = code(rule, values[size_t(i)]);
    return out;
}

Codes stageBlock(const Codes& codes, int stageCount)
{
    Codes out = codes;
    for (int i = std::max(stageCount, 0); i < kStageCount; ++i)
        out[size_t(i)] = kStageUnused;
    return out;
}

uint8_t stageMask(int stageCount)
{
    const int n = std::clamp(stageCount, 0, kStageCount);
    return uint8_t((1u << n) - 1u);
}

} // namespace dpi

void DpiStages::mouseSetDpi(int dpiCount, const QString& sensorType,
                            const QVariantList& dpiValueArray)
{
    const auto values = scenevalues::integers(dpiValueArray, dpi::kStageCount);
    if (!values)
        return;
    std::array<qint64, dpi::kStageCount> v{};
    std::copy(values->begin(), values->end(), v.begin());
    const dpi::Codes codes = dpi::codes(dpi::ruleFor(sensorType), v);
    // A count beyond the eight stages would tell the mouse of stages it has no code for.
    const int stageCount = std::clamp(dpiCount, 0, dpi::kStageCount);

    if (!ctx_.is560()) {
        dpi::Codes block = dpi::stageBlock(codes, stageCount);
        if (ctx_.link)
            ctx_.link->hid553_11H_SetDPISet(uchar(stageCount), block.data());
        return;
    }

    if (!ctx_.blocks)
        return;
    // Every on-board profile gets the stages, also those a mouse without the gun feature never
    // receives, so the copies stay alike.
    for (unsigned n = blockmap::kFirstProfileBlock; n <= blockmap::kLastProfileBlock; ++n) {
        ctx_.blocks->write(n, blockmap::kDpiCodes, codes);
        ctx_.blocks->write(n, blockmap::kDpiCodesCopy, codes);
        ctx_.blocks->setByte(n, blockmap::kStageMask, dpi::stageMask(stageCount));
    }
    if (!ctx_.link)
        return;
    const unsigned last = ctx_.isGun ? blockmap::kLastProfileBlock : blockmap::kFirstProfileBlock;
    for (unsigned n = blockmap::kFirstProfileBlock; n <= last; ++n)
        ctx_.blocks->mouseSetProfile(*ctx_.link, n);
}

void DpiStages::mouseSetCurrentDPI(uchar currentDPI)
{
    if (!ctx_.link)
        return;
    if (ctx_.is560())
        ctx_.link->hid560_04H_SetCurrentDPI(currentDPI);
    else
        ctx_.link->hid553_0BH_SetCurrentDPI(currentDPI);
}

QVariant DpiStages::mouseGetCurrentDPI()
{
    if (!ctx_.link)
        return 0;
    if (ctx_.is560()) {
        uchar profile = 1, stage = 0;
        ctx_.link->hid560_84H_GetCurrentDPI(profile, stage);
        return int(stage);
    }
    uchar stage = 0;
    ctx_.link->hid553_8BH_GetCurrentDPI(stage);
    return int(stage);
}
