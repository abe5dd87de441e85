#pragma once

#include <QVariant>

#include <array>
#include <cstdint>
#include <span>

class Hid_Thread;

// Where the features of a 560 mouse live in its five 128-byte profile blocks. Block 0 is the
// common block; blocks 1 … 4 are the on-board profiles. Bytes not named here travel back to the
// mouse exactly as read.
namespace blockmap {
constexpr int kBlockCount = 5;
constexpr int kBlockSize = 128;

constexpr unsigned kCommonBlock = 0;
constexpr unsigned kFirstProfileBlock = 1; // the profile in use
constexpr unsigned kLastProfileBlock = 4;  // 2 … 4 are read and sent only on gun mice
constexpr unsigned kLastGunBlock = 3;      // gun slot n lives in block n

// Block 0.
constexpr int kGunSlotMask = 2;       // 7, 15 or 31
constexpr int kColourTableMulti = 24; // 24 … 47: eight colours, red, green, blue each
constexpr int kColourTableSize = 24;
// Blocks 1 … 4 (gun data only in 1 … 3).
constexpr int kGunFlags = 65; // bit 2 cleared when gun data is written
constexpr uint8_t kGunFlagsClear = 0x04;
constexpr int kLightEffect = 71;
constexpr int kLightParam1 = 72;
constexpr int kLightParam2 = 73;
constexpr int kGunMarker = 78; // 0xF0 once gun data is written
constexpr uint8_t kGunMarkerValue = 0xF0;
constexpr int kGunRepeat = 79;
constexpr int kGunHorizontal = 80;
constexpr int kGunVertical = 81;
constexpr int kDpiCodes = 84;     // 84 … 91, stages 1 … 8
constexpr int kDpiCodesCopy = 92; // 92 … 99, the same again
constexpr int kStageCount = 8;
constexpr int kStageMask = 100; // bit i: stage i + 1 in use
// Block 1 only.
constexpr int kColourTableSingle = 104; // 104 … 127: one colour per DPI stage

// The same map as data: every byte range a feature may change. Nothing outside these ranges is
// ever written by the host.
enum class Feature {
    ButtonAssignment,
    DpiStages,
    LightEffect,
    LightColoursMulti,
    LightColoursSingle,
    GunData
};

struct Region {
    Feature feature;
    unsigned firstBlock;
    unsigned lastBlock;
    int offset;
    int length;
};

inline constexpr Region kRegions[] = {
    {Feature::ButtonAssignment, kCommonBlock, kCommonBlock, kGunSlotMask, 1},
    {Feature::LightColoursMulti, kCommonBlock, kCommonBlock, kColourTableMulti, kColourTableSize},
    {Feature::GunData, kFirstProfileBlock, kLastGunBlock, kGunFlags, 1},
    {Feature::LightEffect, kFirstProfileBlock, kLastProfileBlock, kLightEffect, 3},
    {Feature::GunData, kFirstProfileBlock, kLastGunBlock, kGunMarker, 4},
    {Feature::DpiStages, kFirstProfileBlock, kLastProfileBlock, kDpiCodes, 2 * kStageCount + 1},
    {Feature::LightColoursSingle, kFirstProfileBlock, kFirstProfileBlock, kColourTableSingle,
     kColourTableSize},
};

// True when the feature may change byte offset of block n.
constexpr bool featureWrites(Feature feature, unsigned n, int offset)
{
    for (const Region& r : kRegions) {
        if (r.feature == feature && n >= r.firstBlock && n <= r.lastBlock && offset >= r.offset &&
            offset < r.offset + r.length)
            return true;
    }
    return false;
}
} // namespace blockmap

// The host's copy of a 560 mouse's profile blocks: read from the mouse at connection, changed a
// few bytes at a time by the features, and written back whole.
class ProfileBlocks {
public:
    using Block = std::array<uint8_t, blockmap::kBlockSize>;

    // Block n, or nullptr when n names no block.
    uint8_t* block(unsigned n) { return n < blocks_.size() ? blocks_[n].data() : nullptr; }
    const uint8_t* block(unsigned n) const
    {
        return n < blocks_.size() ? blocks_[n].data() : nullptr;
    }

    // Copies bytes into block n from offset on. False, and nothing written, when n names no block
    // or the bytes would not fit inside it.
    bool write(unsigned n, int offset, std::span<const uint8_t> bytes);
    bool setByte(unsigned n, int offset, uint8_t value)
    {
        return write(n, offset, std::span<const uint8_t>(&value, 1));
    }

    // The mouse's block n replaces the copy (chunks that arrived before a failure included).
    void mouseReadProfile(Hid_Thread& link, unsigned profileNo);
    // The copy of block n goes to the mouse.
    void mouseSetProfile(Hid_Thread& link, unsigned profileNo);
    // What the connection reads: block 0, block 1 and, on a gun mouse, blocks 2 to 4, in order.
    void readAtConnection(Hid_Thread& link, bool isGun);
    // The mouse's active on-board profile; 0 when it does not answer.
    static QVariant mouseReadCurrentProfile(Hid_Thread& link);

private:
    std::array<Block, blockmap::kBlockCount> blocks_{};
};
