#include "buttons/macrotransfer.h"

#include "buttons/macrocode.h"
#include "buttons/variantbytes.h"

#include "device/hid_thread.h"
#include "sensor/mousecontext.h"

#include <algorithm>
#include <array>

QVariant MacroTransfer::mouseSendMacroData(const QVariantList& macroData,
                                           const QVariant& macroIndex)
{
    // The whole number decides, not its low byte: slot 256 must not overwrite the macro of slot 0,
    // nor an unreadable index that of slot 0.
    bool ok = false;
    const qulonglong slot = macroIndex.toULongLong(&ok);
    if (!ok || slot >= kSlotCount || !ctx_.link)
        return true;

    QByteArray encoded;
    encoded.reserve(macroData.size());
    for (const QVariant& v : macroData)
        encoded.append(char(variantbytes::lowByte(v)));
    const std::optional<QByteArray> fitted = MacroCode::fitBlock(encoded);
    if (!fitted)
        return true;

    std::array<uchar, MacroCode::kBlockSize> block{};
    std::copy(fitted->cbegin(), fitted->cend(), block.begin());
    const uchar macroId = uchar(slot + 1);
    if (ctx_.is560())
        ctx_.link->hid560_0FH_SetMacroKey(macroId, block.data());
    else
        ctx_.link->hid553_13H_SetMacroKey(macroId, block.data());
    return true;
}
