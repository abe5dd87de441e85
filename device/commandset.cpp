#include "commandset.h"

namespace commandset {

namespace {
constexpr uint16_t A0 = arg(0), A1 = arg(1), A2 = arg(2), A3 = arg(3);
constexpr bool Yes = true, No = false;
} // namespace

// clang-format off
//                                      id     b1   b2    b3    b4  b5  b6   data settle after  stages  answer              failure
const Row k553_01H_SetReportRate       {0x01, {A0,  0,    0,    0,  0,  0},    0, Yes,   No,    No,     Answer::Zero,      "cmd Failed 01"};
const Row k553_02H_SetCurrentKeyMatrix {0x02, {A0,  0,    0,    0,  0,  0},    0, Yes,   No,    No,     Answer::Zero,      "cmd Failed 02"};
const Row k553_03H_SetKeyboardoption   {0x03, {A0,  A1,   A2,   A3, 0,  0},    0, No,    Yes,   No,     Answer::Zero,      "cmd Failed 03"};
const Row k553_04H_SetGunData          {0x04, {0,   A0,   A1,   A2, A3, 0},    0, No,    Yes,   No,     Answer::Zero,      "cmd Failed 04"};
const Row k553_0BH_SetCurrentDPI       {0x0B, {A0,  0,    0,    0,  0,  0},    0, Yes,   No,    No,     Answer::Zero,      "cmd Failed 0B"};
const Row k553_0DH_SetRGBLedEffect     {0x0D, {A0,  A1,   A2,   0,  0,  0},    0, Yes,   No,    No,     Answer::Zero,      "cmd Failed 0D"};
const Row k553_10H_SetLED8StageColor   {0x10, {A0,  A1,   0,    0,  0,  0},   24, Yes,   No,    No,     Answer::Zero,      "cmd Failed 10"};
const Row k553_11H_SetDPISet           {0x11, {A0,  0x08, 0,    0,  0,  0},    8, Yes,   No,    No,     Answer::Zero,      "cmd Failed 11"};
const Row k553_12H_SetKeyMatrix        {0x12, {A0,  0x40, 0x08, 0,  0,  0},   64, Yes,   No,    No,     Answer::Zero,      "cmd Failed 12"};
const Row k553_13H_SetMacroKey         {0x13, {A0,  0x80, 0,    0,  0,  0},  128, Yes,   No,    No,     Answer::Zero,      "cmd Failed 13"};
const Row k553_00H_GetSecrecyCode      {0x00, {A0,  A1,   A2,   A3, 0,  0},    0, No,    No,    No,     Answer::Zero,      "cmd Failed 00"};
const Row k553_83H_GetKeyboardoption   {0x83, {0,   0,    0,    0,  0,  0},    0, No,    No,    No,     Answer::IdAndArgs, "cmd Failed 83"};
const Row k553_8BH_GetCurrentDPI       {0x8B, {0,   0,    0,    0,  0,  0},    0, No,    No,    No,     Answer::Args,      "cmd Failed 8BH"};

const Row k560_01H_SetKeyboardoption   {0x01, {A0,  A1,   0,    0,  0,  0},    0, No,    Yes,   No,     Answer::Zero,      "cmd Failed 01"};
const Row k560_02H_SetCurrentProfile   {0x02, {A0,  0,    0,    0,  0,  0},    0, No,    Yes,   No,     Answer::Zero,      "cmd Failed 02"};
const Row k560_03H_SetReportRate       {0x03, {A0,  A1,   0,    0,  0,  0},    0, Yes,   No,    Yes,    Answer::Zero,      "cmd Failed 03"};
const Row k560_04H_SetCurrentDPI       {0x04, {A0,  A1,   0,    0,  0,  0},    0, Yes,   No,    Yes,    Answer::Zero,      "cmd Failed 04"};
const Row k560_0CH_setProfile          {0x0C, {A0,  0x80, 0,    0,  0,  0},  128, Yes,   No,    No,     Answer::Zero,      "cmd Failed 0C"};
const Row k560_0DH_SetKeyMatrix        {0x0D, {A0,  0x80, 0,    0,  0,  0},  128, Yes,   No,    No,     Answer::Zero,      "cmd Failed 0D"};
const Row k560_0FH_SetMacroKey         {0x0F, {A0,  0x80, 0,    0,  0,  0},  128, Yes,   No,    No,     Answer::Zero,      "cmd Failed 0F"};
const Row k560_81H_GetKeyboardoption   {0x81, {0,   0,    0,    0,  0,  0},    0, No,    No,    No,     Answer::IdAndArgs, "cmd Failed 81"};
const Row k560_82H_GetCurrentProfile   {0x82, {0,   0,    0,    0,  0,  0},    0, No,    No,    No,     Answer::IdAndArgs, "cmd Failed 82"};
const Row k560_84H_GetCurrentDPI       {0x84, {A0,  0,    0,    0,  0,  0},    0, No,    No,    No,     Answer::IdAndArgs, "cmd Failed 84"};
const Row k560_8CH_readProfile         {0x8C, {A0,  0,    0,    0,  0,  0},  128, No,    No,    No,     Answer::Zero,      "cmd Failed 8c"};
// clang-format on

} // namespace commandset
