#pragma once

#include "evdevkeys.h"
#include "inputsource.h"

#include <QByteArray>
#include <QObject>

class QSocketNotifier;
struct _XDisplay;
union _XEvent;

// Global input capture on X11: raw key and button events of every master device, selected on the
// root window through XInput 2, so keys pressed in any program are seen. Each event becomes a
// hook record (evdev key code = X key code − 8, then its set-1 scan code; buttons 1, 2, 3 with the
// pointer's root position). The connection is its own, read on the GUI thread.
//
// Without an X display (offscreen, a pure Wayland session) install() fails and the program runs
// without capture. When the X server goes away the source stops quietly and emits
// connectionLost(); it never ends the process.
class X11InputSource : public QObject, public InputSource {
    Q_OBJECT
public:
    // displayName: empty for $DISPLAY.
    explicit X11InputSource(const QByteArray& displayName = {}, QObject* parent = nullptr);
    ~X11InputSource() override;

    bool install(KeyboardProc keyboard, MouseProc mouse) override;
    void uninstall() override;
    bool isInstalled() const { return m_display != nullptr; }

signals:
    void connectionLost();

private:
    void readEvents();
    void handleEvent(_XEvent& event);
    void loseConnection();
    static void exitHandler(_XDisplay* display, void* self);

    QByteArray m_displayName;
    _XDisplay* m_display = nullptr;
    int m_xiOpcode = 0;
    QSocketNotifier* m_notifier = nullptr;
    bool m_broken = false;
    KeyRecordTranslator m_keys;
    KeyboardProc m_keyboard;
    MouseProc m_mouse;
};
