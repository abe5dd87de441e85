#pragma once

#include "tests/support/fakedialogs.h"
#include "tests/support/modulescopy.h"
#include "tests/support/wirelines.h"

#include "emulator/virtualmouse.h"
#include "platform/pointersettings.h"
#include "shell/widget.h"

#include <QPoint>
#include <QQuickItem>
#include <QStringList>
#include <QVariant>

#include <memory>

// Desktop pointer settings that only note each call in the wire trace, so that their place among
// the device commands shows.
class TracePointer : public PointerSettings {
public:
    explicit TracePointer(WireTrace& trace) : trace_(trace) {}
    bool setMouseSpeed(int speed) override
    {
        return note(QStringLiteral("pointer speed %1").arg(speed));
    }
    bool setDoubleClickTime(int ms) override
    {
        return note(QStringLiteral("pointer double %1").arg(ms));
    }
    bool setWheelScrollLines(unsigned lines) override
    {
        return note(QStringLiteral("pointer wheel %1").arg(lines));
    }

private:
    bool note(const QString& text)
    {
        trace_.record({WireTrace::Note, {}, 0, text});
        return true;
    }
    WireTrace& trace_;
};

// The real main window on a virtual mouse, with its own copy of the shipped modules folder, file
// dialogs that answer from a queue and pointer settings that write into the wire trace.
//
// Edit the copied files (setting(), writeFile()) before start(); start() connects the mouse and
// runs the first initUI; finishStartup() ends its busy period at once.
struct SceneModel {
    bool is560 = false;
    bool isGun = true;
    int onBoardProfile = 1; // 560: what the mouse reports as its current profile
};

Q_DECLARE_METATYPE(SceneModel)

class SceneFixture {
public:
    using Model = SceneModel;

    SceneFixture() : SceneFixture(SceneModel{}) {}
    explicit SceneFixture(SceneModel model);
    ~SceneFixture();

    ModulesCopy modules;
    VirtualHidBackend backend;
    VirtualMouse* mouse = nullptr;
    FakeDialogs dialogs;
    TracePointer pointer{backend.trace()};
    std::unique_ptr<Widget> widget;

    // Sets key = value in one of the copied settings files ("setting/apConfig.bin", …) before
    // start; an invalid value removes the key.
    void setting(const QString& file, const QString& key, const QVariant& value);
    void writeFile(const QString& relative, const QByteArray& bytes)
    {
        modules.write(relative, bytes);
    }

    // Builds the window, shows it, checks for the device and waits until the first initUI ran.
    // The trace is cleared just before initUI runs, so it then holds what initUI sent.
    bool start();
    // Ends the start-up busy period now, as the native side's setBusy(0) does.
    bool finishStartup();

    myQQuickView* view() const { return widget->view(); }
    QQuickItem* root() const;
    QQuickItem* item(const QString& objectName) const;
    // Evaluates a JavaScript expression in the scene's main document (its ids are in scope).
    QVariant eval(const QString& expression) const;

    QPoint centreOf(QQuickItem* item) const;
    QPoint pointIn(QQuickItem* item, qreal x, qreal y) const;
    void click(const QString& objectName, Qt::MouseButton button = Qt::LeftButton);
    void clickAt(const QPoint& point, Qt::MouseButton button = Qt::LeftButton);
    void doubleClickAt(const QPoint& point);
    void hover(const QPoint& point);
    // Opens a drop-down list by its head, waits for the list to be open, clicks row `row` and
    // waits until the list has closed again (its choice is announced then).
    bool chooseInDropDown(QQuickItem* dropDown, int row);
    bool waitForAnimation(QQuickItem* control);

    QStringList lines(unsigned kinds = WireTrace::kDefault | WireTrace::Note) const
    {
        return backend.trace().lines(kinds);
    }
    // The command byte ("12") of every feature report sent and "pointer" for every change of the
    // desktop pointer settings, with repeats merged: the order of the steps of a sequence.
    QStringList steps() const;
    // Notes of the pointer settings, in order.
    QStringList pointerNotes() const;
    void clearTrace() { backend.trace().clear(); }

    // The value of a key in a profile slot's settings object, as the program sees it.
    QVariant profileValue(int slot, const QString& key) const;
    // Every buffered write on disk.
    void sync() const;
};

// Steps of re-sending a whole profile to a 553 mouse with the gun feature: key matrix, report rate,
// DPI stages, light effect, colours, desktop pointer settings, then key matrix 1 made active and
// the key matrices 2 to 4 reset.
QStringList resendSteps553Gun();
