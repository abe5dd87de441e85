#include "pointersettings.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

// No desktop settings to reach: every call fails, and says so through its caller.
class UnavailablePointerSettings : public PointerSettings {
public:
    bool setMouseSpeed(int) override { return false; }
    bool setDoubleClickTime(int) override { return false; }
    bool setWheelScrollLines(unsigned) override { return false; }
};

} // namespace

std::unique_ptr<PointerSettings> createPointerSettings()
{
    // GIO lives in a module of its own beside the program, loaded here at the first use: most
    // sessions never change the desktop's pointer settings and need not carry the library.
    QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/meridax-gsettings"));
    using Create = PointerSettings* (*)();
    if (auto create = reinterpret_cast<Create>(module.resolve("meridax_create_pointer_settings")))
        return std::unique_ptr<PointerSettings>(create());
    return std::make_unique<UnavailablePointerSettings>();
}
