#include "ui_controler.h"

#include "device/hid_thread.h"

#include <QQmlContext>
#include <QSettings>
#include <QUrl>
#include <QWidget>

Ui_Controler::Ui_Controler(QObject* parent) : QObject(parent) {}

myQQuickView* Ui_Controler::setupUi(QWidget* window, Hid_Thread* link,
                                    const myQQuickView::Seams& seams)
{
    window_ = window;
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    view_ = new myQQuickView(seams, window);
    view_->setObjectName(QStringLiteral("ui_View"));
    // Transparent where the scene draws nothing, like the window around it.
    view_->setAttribute(Qt::WA_AlwaysStackOnTop);
    view_->setClearColor(Qt::transparent);
    view_->setResizeMode(QQuickWidget::SizeViewToRootObject);
    view_->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));

    // After the source: the scene touches these only from functions and handlers.
    QQmlContext* context = view_->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), view_);
    context->setContextProperty(QStringLiteral("hid"), link);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);

    window->resize(view_->size());
    const QSettings global(seams.modulesDir + QStringLiteral("/setting/apConfig.bin"),
                           QSettings::IniFormat);
    window->setWindowTitle(global.value(QStringLiteral("common/name")).toString());
    return view_;
}

void Ui_Controler::onMinimize()
{
    if (window_)
        window_->showMinimized();
}

void Ui_Controler::onClose()
{
    if (window_)
        window_->hide();
}

void Ui_Controler::onXChanged(int x)
{
    if (window_)
        window_->move(window_->x() + x, window_->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (window_)
        window_->move(window_->x(), window_->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (view_)
        view_->invokeRoot("setProtectUI", Qt::DirectConnection, {busyTime});
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
