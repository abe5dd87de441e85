#pragma once

#include <QVariant>
#include <QVariantList>

struct MouseContext;

// Sends an encoded macro (MacroCode::deCode) as the 128-byte macro block of a macro slot; the
// mouse keeps it under the device macro id slot + 1. The family comes from the context's icType.
class MacroTransfer {
public:
    static constexpr unsigned kSlotCount = 12; // slots 0 … 11, ids 1 … 12

    explicit MacroTransfer(MouseContext& context) : ctx_(context) {}

    // macroData: the encoded bytes (each element's low byte is used); macroIndex: the macro slot.
    // A slot that is not a number below 12 sends nothing. Bytes beyond the block are never sent:
    // a longer encoding is cut after its last whole action that fits (MacroCode::fitBlock), and
    // one that cannot be cut that way is not sent. Always true, as the scene expects.
    QVariant mouseSendMacroData(const QVariantList& macroData, const QVariant& macroIndex);

private:
    MouseContext& ctx_;
};
