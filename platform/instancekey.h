#pragma once

#include <QString>

// The identity of this program for one user: the same for every start of the same executable by
// the same user, different for other users and for copies of the program installed elsewhere.
// Needs the application object.
QString instanceKey();
// The same for the program at executablePath, for tools that talk to it.
QString instanceKey(QString executablePath);

// The user's private runtime folder (XDG_RUNTIME_DIR), or the temporary folder when there is none.
QString userRuntimeDirectory();
