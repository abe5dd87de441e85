#pragma once

#include <array>
#include <cstdint>

// The vendor commands of both controller families as data: one row per command. The slots of
// Hid_Thread are thin wrappers that hand a row and their arguments to the transport.
namespace commandset {

// A parameter byte b1 … b6 is either a literal or the k-th argument of the slot.
constexpr uint16_t arg(int k)
{
    return uint16_t(0x100 + k);
}
constexpr bool isArg(uint16_t p)
{
    return p >= 0x100;
}
constexpr int argIndex(uint16_t p)
{
    return p - 0x100;
}

// How a read pre-fills the answer frame a0 … a7 before the transfer.
enum class Answer : uint8_t {
    Zero,     // all 0
    Args,     // a1 … = the caller's values
    IdAndArgs // a0 = the command id, a1 … = the caller's values
};

struct Row {
    uint8_t id;
    std::array<uint16_t, 6> params; // b1 … b6
    int dataLength;                 // bytes of the data block, 0 for none
    bool settle;                    // 128 ms after the feature report and after the block
    bool pauseAfter;                // 8 ms after the transfer
    bool perStage;                  // 560: sent with b1 = 1 … 4, or only 1 on gun mice
    Answer answer;
    const char* failure; // logged when the link stays busy
};

// Commands that send, 553 family.
extern const Row k553_01H_SetReportRate;
extern const Row k553_02H_SetCurrentKeyMatrix;
extern const Row k553_03H_SetKeyboardoption;
extern const Row k553_04H_SetGunData;
extern const Row k553_0BH_SetCurrentDPI;
extern const Row k553_0DH_SetRGBLedEffect;
extern const Row k553_10H_SetLED8StageColor; // data length depends on the type, see the slot
extern const Row k553_11H_SetDPISet;
extern const Row k553_12H_SetKeyMatrix;
extern const Row k553_13H_SetMacroKey;
// Commands that read, 553 family.
extern const Row k553_00H_GetSecrecyCode;
extern const Row k553_83H_GetKeyboardoption;
extern const Row k553_8BH_GetCurrentDPI;

// Commands that send, 560 family.
extern const Row k560_01H_SetKeyboardoption;
extern const Row k560_02H_SetCurrentProfile;
extern const Row k560_03H_SetReportRate;
extern const Row k560_04H_SetCurrentDPI;
extern const Row k560_0CH_setProfile;
extern const Row k560_0DH_SetKeyMatrix;
extern const Row k560_0FH_SetMacroKey;
// Commands that read, 560 family.
extern const Row k560_81H_GetKeyboardoption;
extern const Row k560_82H_GetCurrentProfile;
extern const Row k560_84H_GetCurrentDPI;
extern const Row k560_8CH_readProfile;

} // namespace commandset
