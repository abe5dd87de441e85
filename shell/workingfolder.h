#pragma once

#include <QString>

// Makes the folder of the program's data the working folder: the program's own folder, or, when
// the shipped data there cannot be written (a system-wide install), a per-user copy of it made at
// the first start. False when neither is possible.
bool enterWorkingFolder(const QString& programFolder);

// The per-user folder that takes the data's place when the program's own is read-only.
QString userDataFolder();
