#include "widget.h"

#include "ui_controler.h"

#include "platform/copydata.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>

std::atomic<bool> deviceConnected{false};

namespace {
constexpr int kPollIntervalMs = 2048;
constexpr int kBalloonMs = 10000;

const char* const kTrayMenuStyle =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, "
    "40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";
} // namespace

Widget::Widget(QWidget* parent) : Widget(Options{}, parent) {}

Widget::Widget(const Options& options, QWidget* parent)
    : QWidget(parent), hid_(options.backend, options.sleeper), modulesDir_(options.seams.modulesDir)
{
    hid_.setOwner(this);
    controller_ = new Ui_Controler;
    controller_->setupUi(this, &hid_, options.seams);
    view()->setDeviceLink(&hid_);

    pollTimer_.setInterval(kPollIntervalMs);
    pollTimer_.setSingleShot(true);
    connect(&pollTimer_, &QTimer::timeout, this, &Widget::checkDevice);

    createTray();
}

Widget::~Widget()
{
    // The listener ends within one read once the flag is clear; the link must outlive it.
    hid_.setListening(false);
    hid_.waitForListener();
    // Deleted at once: a deferred deletion posted after the event loop has ended never runs.
    delete controller_;
}

myQQuickView* Widget::view() const
{
    return controller_->view();
}

void Widget::createTray()
{
    tray_ = new QSystemTrayIcon(this);
    auto* quit = new QAction(tr("Quit (&Q)"), this);
    connect(quit, &QAction::triggered, this, &Widget::exitSYS);
    trayMenu_ = new QMenu(this);
    trayMenu_->addAction(quit);
    trayMenu_->setStyleSheet(QString::fromLatin1(kTrayMenuStyle));
    tray_->setContextMenu(trayMenu_);
    tray_->setToolTip(QStringLiteral("MERIDAX SOLVIN MOUSE R77"));
    tray_->setIcon(QIcon(modulesDir_ + QStringLiteral("/img/logo.ico")));
    connect(tray_, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    tray_->show();
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick && deviceConnected.load())
        QMetaObject::invokeMethod(this, &Widget::restoreMessage, Qt::QueuedConnection);
}

void Widget::restoreMessage()
{
    showNormal();
    raise();
    activateWindow();
}

void Widget::deviceChangeMessage()
{
    // The listener watches a connected mouse; a running timer starts over.
    if (!hid_.listening())
        pollTimer_.start();
}

void Widget::customEvent(QEvent* event)
{
    if (event->type() == QEvent::Type(UserEvent::kType) &&
        static_cast<UserEvent*>(event)->payload() == UserEvent::kPayload)
        view()->runUI();
}

void Widget::exitSYS()
{
    hid_.setListening(false);
    QCoreApplication::exit(0);
}

void Widget::onCopyData(const CopyDataRecord& record)
{
    if (const std::optional<QString> text = copyDataText(record))
        QMessageBox::warning(nullptr, windowTitle(), *text, QMessageBox::Ok);
}

// ---- Device watch -------------------------------------------------------------------------------

void Widget::checkDevice()
{
    hid_.rebuildDeviceTable(modulesDir_ + QStringLiteral("/setting/apConfig.bin"));
    const DeviceTable table = hid_.deviceTable();
    for (int j = 0; j < table.size(); ++j) {
        if (table[j].commandPath.isEmpty())
            continue;
        if (!hid_.chkDeviceIsEnCode(j))
            continue;
        connectDevice();
        return;
    }
    qDebug("Device DisConnect");
    deviceConnected = false;
    hide();
}

void Widget::connectDevice()
{
    qDebug("Device Connect");
    myQQuickView* v = view();
    v->clearHidBusy();
    deviceConnected = true;
    showBalloon(QStringLiteral("Info"), QStringLiteral("Detect Device"), kBalloonMs);
    hid_.startReportListener(unsigned(hid_.currentDevice()));
    if (v->icType() == QLatin1String("560"))
        v->profileBlocks().readAtConnection(hid_, v->isGun());
    v->setEnabled(true);
    v->initUI();
    QCoreApplication::postEvent(this, new UserEvent);
}

// ---- What the device link asks of the window ----------------------------------------------------

QString Widget::icType() const
{
    return view()->icType();
}

bool Widget::isGun() const
{
    return view()->isGun();
}

void Widget::showBalloon(const QString& title, const QString& text, int msecs)
{
    tray_->showMessage(title, text, QSystemTrayIcon::Information, msecs);
}

void Widget::setCurrentDPI(int stage)
{
    view()->setCurrentDPI(stage);
}

void Widget::disableView()
{
    view()->setEnabled(false);
}
