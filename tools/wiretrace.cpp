// Connects to a virtual mouse the way the program does and prints what crosses the wire.
//   mouse-wiretrace [553|560] [--scrambled]
#include "device/hid_thread.h"
#include "device/linkowner.h"
#include "emulator/virtualmouse.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

namespace {

class ConsoleOwner : public LinkOwner {
public:
    explicit ConsoleOwner(QString family) : family_(std::move(family)) {}
    QString icType() const override { return family_; }
    bool isGun() const override { return false; }
    void showBalloon(const QString& title, const QString& text, int) override
    {
        QTextStream(stdout) << "  [tray] " << title << ": " << text << "\n";
    }
    void setCurrentDPI(int stage) override
    {
        QTextStream(stdout) << "  [scene] setCurrentDPI(" << stage << ")\n";
    }
    void disableView() override { QTextStream(stdout) << "  [scene] disabled\n"; }

private:
    QString family_;
};

void show(const char* title, WireTrace& trace)
{
    QTextStream out(stdout);
    out << title << "\n";
    for (const QString& line : trace.lines(WireTrace::kDefault | WireTrace::Report))
        out << "  " << line << "\n";
    trace.clear();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool is560 = args.contains(QStringLiteral("560"));

    VirtualHidBackend backend;
    VirtualMouse::Config config;
    config.family = is560 ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
    config.isEncode = args.contains(QStringLiteral("--scrambled"));
    VirtualMouse& mouse = backend.addMouse(config);

    ConsoleOwner owner(is560 ? QStringLiteral("560") : QStringLiteral("553-24"));
    Hid_Thread link(&backend, &backend.sleeper());
    link.setOwner(&owner);

    DeviceTable table{mouse.tableEntry()};
    completeDeviceTable(table, backend);
    link.setDeviceTable(table);
    backend.trace().clear();

    const bool ok = link.chkDeviceIsEnCode(0);
    show(ok ? "handshake: the mouse answers" : "handshake: no answer", backend.trace());
    if (!ok)
        return 1;

    link.startReportListener(0);
    show("listener start: option bytes read and written back", backend.trace());

    if (is560) {
        uchar block[128] = {};
        link.hid560_8CH_readProfile(block, 1);
        show("read profile block 1", backend.trace());
        link.hid560_04H_SetCurrentDPI(2);
        show("DPI stage 2 (four on-board profiles)", backend.trace());
    } else {
        link.hid553_0BH_SetCurrentDPI(3);
        show("DPI stage 3", backend.trace());
        uchar macro[128] = {1, 0x04, 0x10, 0x84, 0x10};
        link.hid553_13H_SetMacroKey(1, macro);
        show("macro block 1", backend.trace());
    }

    QTextStream(stdout) << "pressing the mouse's DPI button (stage 4)\n";
    mouse.pressDpiButton(4);
    for (int i = 0; i < 50 && backend.trace().entries(WireTrace::Report).isEmpty(); ++i)
        QThread::msleep(20);
    QCoreApplication::processEvents();
    link.setListening(false);
    link.waitForListener();
    QCoreApplication::processEvents();
    show("report interface", backend.trace());
    return 0;
}
