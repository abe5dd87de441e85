#pragma once

#include "buttons/keymatrix.h"

#include <QVariant>
#include <QVariantList>

struct MouseContext;

// Button assignment: stores the scene's key matrix in the current profile and sends it to the
// mouse in device form, as key matrix 1 or, with a gun-switch entry, as the four linked matrices
// of the gun slots. The family comes from the context's icType. Without a device link nothing is
// sent; without a settings store nothing is stored and the Fw key matrix reads as zeros; without
// the 560 profile blocks the common block is not sent (zeros would overwrite the mouse's).
class ButtonAssignment {
public:
    explicit ButtonAssignment(MouseContext& context) : ctx_(context) {}

    // src64: the 16 entries in scene form, entry n at 4n … 4n + 3; otherParam: fire periods of gun
    // slots 1 … 3. Only complete entries are stored; missing bytes are sent as 0, values past 64
    // are ignored, and a missing period is 0.
    void mouseSetKeyMatrix(const QVariantList& src64, bool isSendData,
                           const QVariantList& otherParam);
    // Sends the Fw key matrix as key matrices 2, 3 and 4.
    void mouseResetKeyMatrix();
    // Makes key matrix indexNo active (560: the on-board profile); the number goes out as a byte.
    void mouseSwitchKeyMatrix(int indexNo);
    // The stored entry of button index (factory profile when isRecovery); an empty list when the
    // key is absent or holds a plain value rather than a list.
    QVariantList mouseGetKeydefine(const QVariant& index, bool isRecovery) const;

    // The Fw key matrix of the current profile; missing keys and values are 0.
    keymatrix::Matrix fwKeyMatrix() const;

private:
    keymatrix::Family family() const;
    void sendMatrix(keymatrix::Matrix& m, uchar index);
    void activate(uchar index);

    MouseContext& ctx_;
};
