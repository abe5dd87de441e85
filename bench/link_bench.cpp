// Host overhead of the device link: with real waits and the virtual mouse, how much longer a
// transfer takes than the waits the protocol mandates.
//   bench_link [repetitions]
#include "device/hid_thread.h"
#include "device/linkowner.h"
#include "emulator/virtualmouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

class QuietOwner : public LinkOwner {
public:
    QString icType() const override { return QStringLiteral("560"); }
    bool isGun() const override { return false; }
    void showBalloon(const QString&, const QString&, int) override {}
    void setCurrentDPI(int) override {}
    void disableView() override {}
};

int mandatedMs(const WireTrace& trace)
{
    int ms = 0;
    for (const WireTrace::Entry& e : trace.entries(WireTrace::Wait))
        ms += e.ms;
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int reps = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    VirtualHidBackend backend;
    VirtualMouse::Config config;
    config.family = VirtualMouse::Family::F560;
    VirtualMouse& mouse = backend.addMouse(config);
    backend.setRealTime(true);
    QuietOwner owner;
    Hid_Thread link(&backend, &backend.sleeper());
    link.setOwner(&owner);
    DeviceTable table{mouse.tableEntry()};
    completeDeviceTable(table, backend);
    link.setDeviceTable(table);
    link.setCurrentDevice(0);

    uchar block[128] = {};
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"128-byte block write (0CH)", [&] { link.hid560_0CH_setProfile(block, 1); }},
        {"560 profile read (8CH)", [&] { link.hid560_8CH_readProfile(block, 1); }},
        {"560 connection reads (2 x 8CH)",
         [&] {
             link.hid560_8CH_readProfile(block, 0);
             link.hid560_8CH_readProfile(block, 1);
         }},
    };

    QTextStream out(stdout);
    out << "case | mandated waits (ms) | elapsed, median of " << reps
        << " (ms) | host overhead (ms) | overhead / waits\n";
    for (const Case& c : cases) {
        std::vector<double> elapsed;
        int waits = 0;
        for (int i = 0; i < reps; ++i) {
            backend.trace().clear();
            QElapsedTimer t;
            t.start();
            c.run();
            elapsed.push_back(double(t.nsecsElapsed()) / 1e6);
            waits = mandatedMs(backend.trace());
        }
        std::sort(elapsed.begin(), elapsed.end());
        const double median = elapsed[elapsed.size() / 2];
        const double overhead = median - waits;
        out << c.name << " | " << waits << " | " << QString::number(median, 'f', 3) << " | "
            << QString::number(overhead, 'f', 3) << " | "
            << (waits ? QString::number(100.0 * overhead / waits, 'f', 3) + QStringLiteral(" %")
                      : QStringLiteral("(no waits)"))
            << "\n";
    }
    return 0;
}
