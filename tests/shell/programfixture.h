#pragma once

#include "emulator/virtualmouse.h"
#include "platform/pointersettings.h"
#include "shell/widget.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/modulescopy.h"

#include <QDir>
#include <QSettings>

#include <memory>

// The main window on virtual mice, over a temporary copy of the shipped data.
class RecordingWidget : public Widget {
public:
    using Widget::Widget;
    QStringList balloons;
    void showBalloon(const QString& title, const QString& text, int msecs) override
    {
        balloons << QStringLiteral("%1|%2|%3").arg(title, text).arg(msecs);
    }
};

struct NoPointerSettings : PointerSettings {
    bool setMouseSpeed(int) override { return true; }
    bool setDoubleClickTime(int) override { return true; }
    bool setWheelScrollLines(unsigned) override { return true; }
};

struct ProgramFixture {
    ModulesCopy copy;
    QString modules;
    VirtualHidBackend& backend;
    FakeDialogs dialogs;
    NoPointerSettings pointer;
    std::unique_ptr<RecordingWidget> widget;

    explicit ProgramFixture(VirtualHidBackend& b) : modules(copy.dir()), backend(b)
    {
        QDir().mkpath(modules + QStringLiteral("/macro"));
    }

    QString globalFile() const { return modules + QStringLiteral("/setting/apConfig.bin"); }

    void setGlobal(const QString& key, const QVariant& value)
    {
        QSettings s(globalFile(), QSettings::IniFormat);
        s.setValue(key, value);
    }

    // Builds the window; the model traits are read now, so set them first.
    RecordingWidget& start()
    {
        Widget::Options o;
        o.backend = &backend;
        o.sleeper = &backend.sleeper();
        o.seams.modulesDir = modules;
        o.seams.dialogs = &dialogs;
        o.seams.pointerSettings = &pointer;
        widget = std::make_unique<RecordingWidget>(o);
        return *widget;
    }
};
