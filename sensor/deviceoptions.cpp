#include "deviceoptions.h"

#include "mousecontext.h"

#include "device/hid_thread.h"

#include <iterator>

namespace reportrate {

uint8_t rateByte(int index)
{
    if (index < 0 || index >= int(std::size(kRates)))
        return kOtherIndex;
    return kRates[index].rateByte;
}

} // namespace reportrate

void DeviceOptions::mouseSetReportRate(uchar rate)
{
    if (!ctx_.link)
        return;
    if (ctx_.is560())
        ctx_.link->hid560_03H_SetReportRate(rate);
    else
        ctx_.link->hid553_01H_SetReportRate(rate);
}

void DeviceOptions::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (ctx_.link)
        ctx_.link->hid553_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList DeviceOptions::GetKeyboardoption()
{
    uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    if (ctx_.link)
        ctx_.link->hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    return {int(b1), int(b2), int(b3), int(b4)};
}
