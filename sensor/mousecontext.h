#pragma once

#include <QString>

class Hid_Thread;
class ProfileBlocks;
class SettingsStore;

// What every feature operation works with: the bridge's device link, settings and 560 profile
// blocks, and the model traits it read at start. The link may be null until the window sets it;
// operations then store what they store and send nothing.
struct MouseContext {
    Hid_Thread* link = nullptr;
    SettingsStore* store = nullptr;
    ProfileBlocks* blocks = nullptr;
    QString icType;
    bool isGun = false;
    bool isColorful = false;

    bool is560() const { return icType == QLatin1String("560"); }
};
