#pragma once

#include "device/hid_thread.h"
#include "device/linkowner.h"
#include "scene/myqquickview.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <atomic>

class QMenu;
class Sleeper;
class Ui_Controler;
struct CopyDataRecord;

// True from a handshake that passed until a device check finds no mouse.
extern std::atomic<bool> deviceConnected;

// Posted by the window to itself at the end of a connection; handling it runs the scene's run().
class UserEvent : public QEvent {
public:
    static constexpr int kType = QEvent::User; // 1000
    static constexpr int kPayload = 2177;
    explicit UserEvent(int payload = kPayload) : QEvent(Type(kType)), payload_(payload) {}
    int payload() const { return payload_; }

private:
    int payload_;
};

// The main window: hosts the scene, owns the device link, the window controller, the tray icon
// and the poll timer of the device watch.
class Widget : public QWidget, public LinkOwner {
    Q_OBJECT
public:
    struct Options {
        HidBackend* backend = nullptr; // null: the system's hidapi
        Sleeper* sleeper = nullptr;    // null: real waits
        myQQuickView::Seams seams;
    };

    explicit Widget(QWidget* parent = nullptr);
    Widget(const Options& options, QWidget* parent = nullptr);
    ~Widget() override;

    Hid_Thread& hid() { return hid_; }
    myQQuickView* view() const;
    Ui_Controler* controller() const { return controller_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    QMenu* trayMenu() const { return trayMenu_; }
    const QTimer& pollTimer() const { return pollTimer_; }

    // What arrived as window messages on the system the program was first made for.
    // A device was plugged in or out (the device watch restarts its timer while no listener runs).
    void deviceChangeMessage();
    // The window is to be shown again (posted by a tray double click).
    void restoreMessage();
    // Another program of this user asks for a warning box.
    void onCopyData(const CopyDataRecord& record);

    // LinkOwner
    QString icType() const override;
    bool isGun() const override;
    void showBalloon(const QString& title, const QString& text, int msecs) override;
    void setCurrentDPI(int stage) override;
    void disableView() override;

public slots:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();

protected:
    void customEvent(QEvent* event) override;

private:
    void createTray();
    void connectDevice();

    QTimer pollTimer_;
    Ui_Controler* controller_ = nullptr;
    Hid_Thread hid_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QString modulesDir_;
};
