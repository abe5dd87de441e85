#include "scramble.h"

uint8_t secrecyBuffer[8] = {};

namespace {

// "QmPzkVud", mixed into every frame.
constexpr uint8_t kTable[8] = {'Q', 'm', 'P', 'z', 'k', 'V', 'u', 'd'};

constexpr uint8_t swapNibbles(uint8_t x)
{
    return uint8_t((x << 4) | (x >> 4));
}

void exchangePairs(uint8_t* p)
{
    auto swap = [p](int a, int b) {
        const uint8_t t = p[a];
        p[a] = p[b];
        p[b] = t;
    };
    swap(0, 5);
    swap(1, 4);
    swap(2, 7);
    swap(3, 6);
}

void mixCode(uint8_t* p, const uint8_t* s)
{
    for (int i = 1; i <= 6; ++i)
        p[i] ^= s[i];
}

} // namespace

uint8_t commandChecksum(const uint8_t* cmd)
{
    uint8_t sum = 0;
    for (int i = 0; i < 7; ++i)
        sum = uint8_t(sum + cmd[i]);
    return uint8_t(~sum);
}

void scrambleFrame(uint8_t* p, const uint8_t* s)
{
    exchangePairs(p);
    mixCode(p, s);
    // Rotate the 64-bit number p[0] … p[7] (p[0] most significant) left by three bits.
    uint8_t q[8];
    for (int i = 0; i < 8; ++i)
        q[i] = p[i];
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t((q[i] << 3) | (q[(i + 1) % 8] >> 5));
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] + swapNibbles(kTable[i]));
}

void unscrambleFrame(uint8_t* p, const uint8_t* s)
{
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t(p[i] - swapNibbles(kTable[i]));
    uint8_t q[8];
    for (int i = 0; i < 8; ++i)
        q[i] = p[i];
    for (int i = 0; i < 8; ++i)
        p[i] = uint8_t((q[i] >> 3) | (q[(i + 7) % 8] << 5));
    mixCode(p, s);
    exchangePairs(p);
}
