#pragma once

#include "pointersettings.h"

#include <QString>

#include <optional>

struct _GSettings;

// Pointer settings of GNOME-style desktops through GSettings, schema
// "org.gnome.desktop.peripherals.mouse": "speed" (−1 … 1) and "double-click" (ms). There is no
// desktop key for the wheel's lines, so that call always fails. Without the schema every call
// fails.
class GioPointerSettings : public PointerSettings {
public:
    // schemaDirectory: empty for the system's schemas, or a folder with a compiled schema file.
    explicit GioPointerSettings(const QString& schemaDirectory = {});
    ~GioPointerSettings() override;
    GioPointerSettings(const GioPointerSettings&) = delete;
    GioPointerSettings& operator=(const GioPointerSettings&) = delete;

    bool isAvailable() const { return m_settings != nullptr; }

    bool setMouseSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(unsigned lines) override;

private:
    _GSettings* m_settings = nullptr;
    bool m_hasSpeed = false;
    bool m_hasDoubleClick = false;
};

// The GNOME speed for a pointer speed 1 … 20: the page's step (speed / 2, step 0 for speed 1)
// spread linearly over −1 … 1. Nothing for speeds outside 1 … 20.
std::optional<double> gnomePointerSpeed(int speed);

// The double-click time the desktop is given: at most 5000 ms; nothing for 0 or less.
std::optional<int> gnomeDoubleClickTime(int ms);
