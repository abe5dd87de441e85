#include "profileblocks.h"

#include "device/hid_thread.h"

// Block numbers above 4 name nothing: there is no copy to read into or send.

void ProfileBlocks::mouseReadProfile(Hid_Thread& link, unsigned profileNo)
{
    if (uint8_t* b = block(profileNo))
        link.hid560_8CH_readProfile(b, uchar(profileNo));
}

void ProfileBlocks::mouseSetProfile(Hid_Thread& link, unsigned profileNo)
{
    if (uint8_t* b = block(profileNo))
        link.hid560_0CH_setProfile(b, uchar(profileNo));
}

QVariant ProfileBlocks::mouseReadCurrentProfile(Hid_Thread& link)
{
    uchar profile = 0;
    link.hid560_82H_GetCurrentProfile(profile);
    return int(profile);
}
