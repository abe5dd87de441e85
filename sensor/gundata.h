#pragma once

#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>

struct MouseContext;

namespace gun {

// A gun in the gun file: name, fire button, fire period, horizontal, vertical, repeat count.
constexpr int kEntries = 6;
// The rename form of modifyGundata: the six entries and, last, the old name.
constexpr int kRenameEntries = 7;
// What a gun slot takes: repeat count, horizontal offset, vertical offset.
constexpr int kSlotValues = 3;
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 3;
// 553: a non-zero option byte 3 means the mouse wants the vertical offset negated.
constexpr int kNegateOptionByte = 3;
constexpr int kDefaultXYSensitive = 4;

constexpr const char* kFile = "gun/gunData.bin";
constexpr const char* kGroup = "gunData";
// Per-profile groups, keyed by index.
constexpr const char* kXYSensitiveGroup = "XYSensitive";
constexpr const char* kSelectGunGroup = "selectGun";

// The vertical offset as sent: its low 8 bits, negated in two's complement when asked.
uint8_t verticalValue(qint64 vertical, bool negate);

} // namespace gun

// The gun file, the three gun slots of the mouse and the per-profile XY sensitivity and gun
// selection. The gun file is shipped, never created: without it every operation does nothing or
// returns an empty result. Names and indexes that are empty or hold a slash or backslash address
// no gun (they would reach other keys of the file).
class GunData {
public:
    explicit GunData(MouseContext& context) : ctx_(context) {}

    // Writes the six entries under the index. Fewer than six change nothing; more are cut to six.
    void mouseSaveGundata(const QVariant& index, const QVariantList& src6);
    // 0: removes the gun named by entry 0. 1: renames the gun named by entry 6 to entry 0 and
    // writes entries 1 … 5 under the new name. Lists too short for the type change nothing.
    void modifyGundata(const QVariant& modifyType, const QVariantList& src6);
    // The entries stored under the name, as text; empty when absent.
    QVariantList getGunData(const QVariant& name) const;
    QStringList getGunDataKey() const;
    // Sends gun slot 1 … 3 (repeat count, horizontal, vertical; low 8 bits each) on a gun mouse.
    // Other slots, or fewer than three numbers, send nothing.
    void mouseSendGundata(int slot, const QVariantList& data);

    QVariant getXYSensitive(const QVariant& index) const;
    QVariant getselectGun(const QVariant& index) const;
    void setXYSensitive(const QVariant& index, const QVariant& xyData);
    void setSelectGun(const QVariant& index, const QVariant& xyData);

private:
    QString gunFile() const;
    MouseContext& ctx_;
};
