#include "buttons/keymatrix.h"

#include "buttons/variantbytes.h"

namespace keymatrix {

using P = TranslationRow::Params;

const std::array<TranslationRow, 12> kSceneToDevice = {{
    // Double fire is a mouse-button entry with p2 = 30 and p3 = 2; it must come before 0x00.
    {.sceneType = 0x00, .matchP2 = 0x1E, .matchP3 = 0x02, .deviceType = 0x0A},
    {.sceneType = 0x00, .deviceType = 0x01},                       // mouse button
    {.sceneType = 0x01, .deviceType = 0x0A},                       // fire key
    {.sceneType = 0x02, .deviceType = 0x00},                       // key combination
    {.sceneType = 0x03, .deviceType = 0x03},                       // multimedia
    {.sceneType = 0x04, .deviceType = 0x09, .params = P::MacroId}, // macro
    {.sceneType = 0x05,
     .matchP2 = 0x04,
     .params = P::WholeEntry,
     .whole = {0x0B, 0x00, 0x01, 0x01}},
    {.sceneType = 0x05, .deviceType = 0x07},     // DPI function
    {.sceneType = 0x06, .deviceType = 0x00},     // Windows function
    {.sceneType = 0x07, .deviceType = 0x00},     // shortcut
    {.sceneType = 0x08, .deviceType = kGunType}, // gun switch
    {.sceneType = 0xFF, .deviceType = 0x04},     // entries 14, 15
}};

// 553: p3 counts the matrices in use from 0 (matrix 1 holds 1, the last matrix in use 0).
const GunForm kGun553 = {
    .cycleParam = 3,
    .cycleMatrix1 = 1,
    .cycle = {{{0, 0, 0}, {2, 0, 0}, {2, 3, 0}}},
    .slotMask = {-1, -1, -1},
    .normalise = true,
    .fireType = 0x0A,
    .fireP1 = {0xF0, 0xF0, 0xF0},
};

// 560: p2 carries the cycle, the common block's gun-slot mask says how many slots are in use, and
// the fire entry names its gun slot.
const GunForm kGun560 = {
    .cycleParam = 2,
    .cycleMatrix1 = 1,
    .cycle = {{{0, 0, 0}, {3, 0, 0}, {3, 3, 0}}},
    .slotMask = {7, 15, 31},
    .normalise = false,
    .fireType = 0x0B,
    .fireP1 = {0, 1, 2},
};

const GunForm& gunForm(Family family)
{
    return family == Family::F560 ? kGun560 : kGun553;
}

Entry toDeviceEntry(const Entry& scene)
{
    for (const TranslationRow& row : kSceneToDevice) {
        if (row.sceneType != scene[0] || (row.matchP2 >= 0 && row.matchP2 != scene[2]) ||
            (row.matchP3 >= 0 && row.matchP3 != scene[3]))
            continue;
        switch (row.params) {
        case P::WholeEntry:
            return row.whole;
        case P::MacroId:
            return {row.deviceType, scene[1], uint8_t(scene[2] + 1), scene[3]};
        case P::Keep:
            return {row.deviceType, scene[1], scene[2], scene[3]};
        }
    }
    return scene;
}

Entry entryAt(const Matrix& m, int n)
{
    return {m[size_t(4 * n)], m[size_t(4 * n + 1)], m[size_t(4 * n + 2)], m[size_t(4 * n + 3)]};
}

void setEntry(Matrix& m, int n, const Entry& e)
{
    for (int i = 0; i < 4; ++i)
        m[size_t(4 * n + i)] = e[size_t(i)];
}

Matrix matrixFromValues(const QVariantList& values)
{
    Matrix m{};
    const qsizetype count = qMin<qsizetype>(values.size(), kBytes);
    for (qsizetype i = 0; i < count; ++i)
        m[size_t(i)] = variantbytes::lowByte(values[i]);
    return m;
}

Matrix toDeviceMatrix(const Matrix& scene)
{
    Matrix device{};
    for (int n = 0; n < kEntries; ++n)
        setEntry(device, n, toDeviceEntry(entryAt(scene, n)));
    return device;
}

bool hasGunEntry(const Matrix& device)
{
    for (int n = 0; n < kEntries; ++n) {
        if (device[size_t(4 * n)] == kGunType)
            return true;
    }
    return false;
}

GunMatrices buildGunMatrices(Family family, const Matrix& a, const Matrix& fw,
                             const std::array<uint8_t, 3>& periods)
{
    const GunForm& form = gunForm(family);
    GunMatrices out;
    out.matrices = {a, fw, fw, fw};
    auto& m = out.matrices;

    for (int n = 0; n < kEntries; ++n) {
        if (a[size_t(4 * n)] != kGunType)
            continue;
        const uint8_t g = a[size_t(4 * n + 2)];
        const size_t at = size_t(4 * n);
        for (int k = 1; k < 4; ++k)
            m[size_t(k)][at] = kGunType;
        if (g >= 1 && g <= 3) {
            m[0][at + size_t(form.cycleParam)] = form.cycleMatrix1;
            for (int k = 1; k < 4; ++k)
                m[size_t(k)][at + size_t(form.cycleParam)] = form.cycle[g - 1][size_t(k - 1)];
            if (form.slotMask[g - 1] >= 0)
                out.gunSlotMask = uint8_t(form.slotMask[g - 1]);
        }
        if (form.normalise) {
            for (Matrix& mk : m) {
                mk[at + 1] = 0;
                mk[at + 2] = 1;
            }
        }
    }

    for (int k = 1; k < 4; ++k)
        setEntry(m[size_t(k)], 0,
                 {form.fireType, form.fireP1[size_t(k - 1)], periods[size_t(k - 1)], 0x00});
    return out;
}

} // namespace keymatrix
