#pragma once

#include "emulator/virtualmouse.h"
#include "platform/pointersettings.h"
#include "shell/widget.h"
#include "store/filedialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

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

struct NoDialogs : FileDialogs {
    QString getOpenFileName(const QString&, const QString&) override { return {}; }
    QString getSaveFileName(const QString&, const QString&) override { return {}; }
};

struct NoPointerSettings : PointerSettings {
    bool setMouseSpeed(int) override { return true; }
    bool setDoubleClickTime(int) override { return true; }
    bool setWheelScrollLines(unsigned) override { return true; }
};

struct ProgramFixture {
    QTemporaryDir dir;
    QString modules;
    VirtualHidBackend& backend;
    NoDialogs dialogs;
    NoPointerSettings pointer;
    std::unique_ptr<RecordingWidget> widget;

    explicit ProgramFixture(VirtualHidBackend& b)
        : modules(dir.filePath(QStringLiteral("modules"))), backend(b)
    {
        const QDir source(QStringLiteral(MOUSE_DATA_DIR));
        QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = modules + QLatin1Char('/') + source.relativeFilePath(file);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
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
