#include "lighting.h"

#include "mousecontext.h"
#include "profileblocks.h"
#include "scenevalues.h"

#include "device/hid_thread.h"

#include <iterator>

namespace lighting {

namespace {

uint8_t lookUp(const StepValues* table, uint8_t step)
{
    return table && step < table->size() ? (*table)[step] : 0;
}

uint8_t paramValue(const Param& p, uint8_t speedStep, uint8_t brightnessStep)
{
    switch (p.source) {
    case Param::Zero:
        return 0;
    case Param::Speed:
        return lookUp(p.table, speedStep);
    case Param::Brightness:
        return lookUp(p.table, brightnessStep);
    case Param::SpeedPlusOne:
        return uint8_t(speedStep + 1);
    case Param::Fixed:
        return p.value;
    }
    return 0;
}

template<size_t N>
const Effect& effectAt(const Effect (&table)[N], const Effect& off, uint8_t effect)
{
    return effect < N ? table[effect] : off;
}

} // namespace

Setting effectSetting(bool isColorful, uint8_t effect, uint8_t option1, uint8_t option2)
{
    const Effect& e = isColorful ? effectAt(kMulticolour, kMulticolourOff, effect)
                                 : effectAt(kSingleColour, kSingleColourOff, effect);
    return {e.code, paramValue(e.p1, option1, option2), paramValue(e.p2, option1, option2)};
}

} // namespace lighting

void Lighting::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    const lighting::Setting s = lighting::effectSetting(ctx_.isColorful, effect, option1, option2);
    if (!ctx_.is560()) {
        if (ctx_.link)
            ctx_.link->hid553_0DH_SetRGBLedEffect(s.code, s.p1, s.p2);
        return;
    }

    if (!ctx_.blocks)
        return;
    const uint8_t bytes[] = {s.code, s.p1, s.p2};
    for (unsigned n = blockmap::kFirstProfileBlock; n <= blockmap::kLastProfileBlock; ++n)
        ctx_.blocks->write(n, blockmap::kLightEffect, bytes);
    // Without the gun feature only block 1 reaches the mouse, and a single-colour mouse then wants
    // its own second parameter there.
    if (!ctx_.isColorful && !ctx_.isGun)
        ctx_.blocks->setByte(blockmap::kFirstProfileBlock, blockmap::kLightParam2,
                             lighting::kSingleP2OwnProfile);
    if (!ctx_.link)
        return;
    const unsigned last = ctx_.isGun ? blockmap::kLastProfileBlock : blockmap::kFirstProfileBlock;
    for (unsigned n = blockmap::kFirstProfileBlock; n <= last; ++n)
        ctx_.blocks->mouseSetProfile(*ctx_.link, n);
}

void Lighting::mouseSetRGBColor(uchar type, const QVariantList& src24)
{
    const auto values = scenevalues::integers(src24, blockmap::kColourTableSize);
    if (!values)
        return;
    std::array<uint8_t, blockmap::kColourTableSize> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = uint8_t((*values)[i]);

    if (!ctx_.is560()) {
        // Twice in a row with the same bytes: that is how these controllers are sent the table.
        if (ctx_.link) {
            ctx_.link->hid553_10H_SetLED8StageColor(type, colours.data());
            ctx_.link->hid553_10H_SetLED8StageColor(type, colours.data());
        }
        return;
    }

    if (!ctx_.blocks)
        return;
    const unsigned n = ctx_.isColorful ? blockmap::kCommonBlock : blockmap::kFirstProfileBlock;
    const int offset = ctx_.isColorful ? blockmap::kColourTableMulti : blockmap::kColourTableSingle;
    ctx_.blocks->write(n, offset, colours);
    if (ctx_.link)
        ctx_.blocks->mouseSetProfile(*ctx_.link, n);
}
