// The module the program loads for the desktop's pointer settings (see createPointerSettings).
#include "giopointersettings.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT PointerSettings* meridax_create_pointer_settings()
{
    return new GioPointerSettings;
}
