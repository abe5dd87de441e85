#pragma once

#include <QVariant>
#include <QVariantList>

#include <array>
#include <cstdint>
#include <optional>

// Key matrices: 16 four-byte entries (type, p1, p2, p3), entry n for button n, 64 bytes as a block.
// The pages edit entries in scene form; the mouse takes them in device form.
namespace keymatrix {

constexpr int kEntries = 16;
constexpr int kBytes = 64;

using Entry = std::array<uint8_t, 4>;
using Matrix = std::array<uint8_t, kBytes>;

enum class Family { F553, F560 };

// One row of the scene-to-device translation. The first row that matches an entry applies.
struct TranslationRow {
    uint8_t sceneType;
    int matchP2 = -1; // the row applies only when p2 (and p3) hold these values; -1: any
    int matchP3 = -1;
    uint8_t deviceType = 0;
    enum class Params {
        Keep,       // p1 … p3 unchanged
        MacroId,    // p2 + 1: the slot becomes the device macro id
        WholeEntry, // the entry becomes `whole`
    } params = Params::Keep;
    Entry whole{};
};

// Scene types without a row (0x09 … 0xFE) pass unchanged.
extern const std::array<TranslationRow, 12> kSceneToDevice;

constexpr uint8_t kGunType = 0x08;

// The gun-switch cycle of a family: the matrices in use are linked by one parameter byte of the
// gun-switch entries, and button 1 of matrices 2 … 4 fires the left button with the gun's period.
struct GunForm {
    int cycleParam;                              // entry byte that carries the cycle (2 or 3)
    uint8_t cycleMatrix1;                        // its value in matrix 1
    std::array<std::array<uint8_t, 3>, 3> cycle; // by g = 1 … 3: its values in matrices 2 … 4
    std::array<int, 3> slotMask;                 // by g: the 560 gun-slot mask; -1: none
    bool normalise;                              // 553: p1 = 0 and p2 = 1 whatever g is
    uint8_t fireType;                            // button 1 of matrices 2 … 4
    std::array<uint8_t, 3> fireP1;               // its p1 in matrices 2 … 4
};
extern const GunForm kGun553;
extern const GunForm kGun560;
const GunForm& gunForm(Family family);

// Scene form to device form, by the translation table.
Entry toDeviceEntry(const Entry& scene);
Entry entryAt(const Matrix& m, int n);
void setEntry(Matrix& m, int n, const Entry& e);

// Up to 64 values, each converted to an integer and cut to a byte; missing values are 0 and
// values past 64 are ignored.
Matrix matrixFromValues(const QVariantList& values);
Matrix toDeviceMatrix(const Matrix& scene);
bool hasGunEntry(const Matrix& device);

// The four matrices of a gun assignment, built from matrix 1 in device form (A) and the Fw key
// matrix, with the fire periods of gun slots 1 … 3.
struct GunMatrices {
    std::array<Matrix, 4> matrices; // A, B, C, D: key matrices 1 … 4
    std::optional<uint8_t> gunSlotMask;
};
GunMatrices buildGunMatrices(Family family, const Matrix& a, const Matrix& fw,
                             const std::array<uint8_t, 3>& periods);

} // namespace keymatrix
