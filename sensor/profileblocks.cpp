#include "profileblocks.h"

#include "device/hid_thread.h"

#include <algorithm>

// Block numbers above 4 name nothing: there is no copy to read into or send.

bool ProfileBlocks::write(unsigned n, int offset, std::span<const uint8_t> bytes)
{
    uint8_t* b = block(n);
    if (!b || offset < 0 || offset > blockmap::kBlockSize ||
        bytes.size() > size_t(blockmap::kBlockSize - offset))
        return false;
    std::copy(bytes.begin(), bytes.end(), b + offset);
    return true;
}

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

void ProfileBlocks::readAtConnection(Hid_Thread& link, bool isGun)
{
    const unsigned last = isGun ? blockmap::kLastProfileBlock : blockmap::kFirstProfileBlock;
    for (unsigned n = blockmap::kCommonBlock; n <= last; ++n)
        mouseReadProfile(link, n);
}

QVariant ProfileBlocks::mouseReadCurrentProfile(Hid_Thread& link)
{
    uchar profile = 0;
    link.hid560_82H_GetCurrentProfile(profile);
    return int(profile);
}
