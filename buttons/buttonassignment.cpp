#include "buttons/buttonassignment.h"

#include "buttons/variantbytes.h"

#include "device/hid_thread.h"
#include "sensor/mousecontext.h"
#include "sensor/profileblocks.h"
#include "store/settingsstore.h"

using namespace keymatrix;

namespace {

QString matrixKey(int n)
{
    return QStringLiteral("mouseKeyMatrix/%1").arg(n);
}

QString fwMatrixKey(int n)
{
    return QStringLiteral("mouseFwKeyMatrix/%1").arg(n);
}

} // namespace

Family ButtonAssignment::family() const
{
    return ctx_.is560() ? Family::F560 : Family::F553;
}

Matrix ButtonAssignment::fwKeyMatrix() const
{
    Matrix fw{};
    if (!ctx_.store)
        return fw;
    for (int n = 0; n < kEntries; ++n) {
        const QVariantList values = ctx_.store->getDataList(fwMatrixKey(n), false);
        for (qsizetype i = 0; i < qMin<qsizetype>(values.size(), 4); ++i)
            fw[size_t(4 * n + i)] = variantbytes::lowByte(values[i]);
    }
    return fw;
}

void ButtonAssignment::sendMatrix(Matrix& m, uchar index)
{
    if (family() == Family::F560)
        ctx_.link->hid560_0DH_SetKeyMatrix(m.data(), index);
    else
        ctx_.link->hid553_12H_SetKeyMatrix(m.data(), index);
}

void ButtonAssignment::activate(uchar index)
{
    if (family() == Family::F560)
        ctx_.link->hid560_02H_SetCurrentProfile(index);
    else
        ctx_.link->hid553_02H_SetCurrentKeyMatrix(index);
}

void ButtonAssignment::mouseSetKeyMatrix(const QVariantList& src64, bool isSendData,
                                         const QVariantList& otherParam)
{
    // The profile keeps the assignments even when the mouse cannot be reached. A partial entry is
    // not stored: it would leave the button with fewer than four values.
    if (ctx_.store) {
        for (int n = 0; n < kEntries && 4 * n + 4 <= src64.size(); ++n)
            ctx_.store->setDataList(matrixKey(n), src64.mid(4 * n, 4));
    }
    if (!isSendData || !ctx_.link)
        return;

    Matrix a = toDeviceMatrix(matrixFromValues(src64));
    if (!hasGunEntry(a)) {
        sendMatrix(a, 1);
        return;
    }

    std::array<uint8_t, 3> periods{};
    for (qsizetype k = 0; k < qMin<qsizetype>(otherParam.size(), 3); ++k)
        periods[size_t(k)] = variantbytes::lowByte(otherParam[k]);
    GunMatrices gun = buildGunMatrices(family(), a, fwKeyMatrix(), periods);

    if (family() == Family::F560 && ctx_.blocks) {
        if (gun.gunSlotMask)
            ctx_.blocks->block(0)[blockmap::kGunSlotMask] = *gun.gunSlotMask;
        ctx_.blocks->mouseSetProfile(*ctx_.link, 0);
    }
    for (int k = 0; k < 4; ++k)
        sendMatrix(gun.matrices[size_t(k)], uchar(k + 1));
    activate(1);
}

void ButtonAssignment::mouseResetKeyMatrix()
{
    if (!ctx_.link)
        return;
    Matrix fw = fwKeyMatrix();
    for (uchar k = 2; k <= 4; ++k)
        sendMatrix(fw, k);
}

void ButtonAssignment::mouseSwitchKeyMatrix(int indexNo)
{
    if (ctx_.link)
        activate(uchar(indexNo));
}

QVariantList ButtonAssignment::mouseGetKeydefine(const QVariant& index, bool isRecovery) const
{
    if (!ctx_.store)
        return {};
    // Not QVariant::toList: Qt 6 would split a plain text value into its characters.
    return ctx_.store->getDataList(QStringLiteral("mouseKeyMatrix/") + index.toString(),
                                   isRecovery);
}
