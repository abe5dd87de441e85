#pragma once

#include <QVariant>

#include <array>
#include <cstdint>

class Hid_Thread;

// Where the features of a 560 mouse live in its five 128-byte profile blocks. Block 0 is the
// common block; blocks 1 … 4 are the on-board profiles. Bytes not named here travel back to the
// mouse exactly as read.
namespace blockmap {
constexpr int kBlockCount = 5;
constexpr int kBlockSize = 128;

// Block 0.
constexpr int kGunSlotMask = 2;       // 7, 15 or 31
constexpr int kColourTableMulti = 24; // 24 … 47: eight colours, red, green, blue each
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
constexpr int kStageMask = 100;   // bit i: stage i + 1 in use
// Block 1 only.
constexpr int kColourTableSingle = 104; // 104 … 127: one colour per DPI stage
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

    // The mouse's block n replaces the copy (chunks that arrived before a failure included).
    void mouseReadProfile(Hid_Thread& link, unsigned profileNo);
    // The copy of block n goes to the mouse.
    void mouseSetProfile(Hid_Thread& link, unsigned profileNo);
    // The mouse's active on-board profile; 0 when it does not answer.
    static QVariant mouseReadCurrentProfile(Hid_Thread& link);

private:
    std::array<Block, blockmap::kBlockCount> blocks_{};
};
