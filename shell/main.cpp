// The program: a single instance that lives in the tray, watches for the mouse and hosts the
// scene. `--virtual-mouse[=553|560]` attaches it to the virtual mouse instead of hardware.
#include "inputcapture.h"
#include "virtualmousedemo.h"
#include "widget.h"
#include "workingfolder.h"

#include "platform/copydatachannel.h"
#include "platform/devicechangesource.h"
#include "platform/singleinstance.h"
#include "platform/x11inputsource.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QQuickWindow>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

#include <malloc.h>

namespace {

void keyboardCallback(uint8_t usage, bool isDown, void* userData)
{
    if (auto* w = static_cast<Widget*>(userData))
        w->view()->invokeRoot("detectKeyboard", Qt::QueuedConnection, {isDown, int(usage)});
}

void mouseCallback(uint8_t buttonCode, bool isDown, int x, int y, void* userData)
{
    if (auto* w = static_cast<Widget*>(userData))
        w->view()->invokeRoot("detectMouse", Qt::QueuedConnection, {isDown, int(buttonCode), x, y});
}

void copyDataCallback(const CopyDataRecord& record, void* userData)
{
    if (auto* w = static_cast<Widget*>(userData))
        w->onCopyData(record);
}

} // namespace

int main(int argc, char* argv[])
{
    // A handful of threads (scene loader, report listener, X and D-Bus queues) each got a malloc
    // arena of their own; one shared arena keeps the program's footprint smaller.
    mallopt(M_ARENA_MAX, 1);
    // A 2D scene: the software scene graph maps the window faster and with far less memory than
    // OpenGL through Mesa.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meridax-mouse"));
    // The program lives in the tray: closing a message box while the window is hidden must not
    // end it.
    QApplication::setQuitOnLastWindowClosed(false);

    const SingleInstance instance;
    if (instance.isRunning())
        return 1;

    QCommandLineParser options;
    const QCommandLineOption virtualMouse(
        QStringLiteral("virtual-mouse"),
        QStringLiteral("Attach to a virtual mouse of the family 553 or 560 instead of hardware "
                       "(default: the configured family)."),
        QStringLiteral("family"));
    options.addOption(virtualMouse);
    options.addHelpOption();
    // --virtual-mouse without a value is allowed too.
    QStringList args = app.arguments();
    for (QString& a : args)
        if (a == QLatin1String("--virtual-mouse"))
            a = QStringLiteral("--virtual-mouse=");
    options.process(args);

    if (!enterWorkingFolder(QCoreApplication::applicationDirPath()))
        return 2;

    std::unique_ptr<VirtualMouseDemo> demo;
    Widget::Options widgetOptions;
    if (options.isSet(virtualMouse)) {
        const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(dataDir);
        QString family = options.value(virtualMouse);
        demo = std::make_unique<VirtualMouseDemo>(
            family, QStringLiteral("./modules/setting/apConfig.bin"),
            dataDir + QStringLiteral("/virtual-mouse-%1.json")
                          .arg(family.isEmpty() ? QStringLiteral("configured") : family));
        const QSettings global(QStringLiteral("./modules/setting/apConfig.bin"),
                               QSettings::IniFormat);
        const bool configured560 =
            global.value(QStringLiteral("mouse/icType")).toString() == QLatin1String("560");
        if (!family.isEmpty() && (family == QLatin1String("560")) != configured560)
            qWarning("The virtual mouse is of the %s family, but mouse/icType in "
                     "modules/setting/apConfig.bin names the other one: the program will speak "
                     "the wrong command set.",
                     qPrintable(family));
        widgetOptions.backend = &demo->backend();
        widgetOptions.sleeper = &demo->backend().sleeper();
    }

    auto* window = new Widget(widgetOptions);

    X11InputSource inputSource;
    InputCapture capture(&inputSource);
    capture.registerKeyboardCallback(keyboardCallback, window);
    capture.registerMouseCallback(mouseCallback, window);

    CopyDataServer copyData;
    capture.registerCopyDataCallback(copyDataCallback, window);
    copyData.setHandler([&](const CopyDataRecord& record) {
        if (!(demo && demo->control(record)))
            capture.copyDataProc(record);
    });
    copyData.listen();

    DeviceChangeSource devices;
    QObject::connect(&devices, &DeviceChangeSource::deviceChanged, window,
                     [window] { window->deviceChangeMessage(); });
    if (demo) {
        demo->addTrayActions(window->trayMenu());
        QObject::connect(demo.get(), &VirtualMouseDemo::deviceChanged, window,
                         [window] { window->deviceChangeMessage(); });
    }

    window->showNormal();
    window->checkDevice();
    const int status = QApplication::exec();

    capture.removeHooks();
    delete window;
    return status;
}
