// Start-up figures of the real program on the virtual mouse, under the X display in $DISPLAY:
// time from process start until the main window is mapped, peak resident memory, and CPU use
// while idle in the tray with the report listener running.
//   xvfb-run -a build/bin/bench_startup [runs] [idle seconds, default 60]
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <X11/Xlib.h>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

void copyTree(const QString& from, const QString& to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

// Waits for a 1024 × 640 top-level window to be mapped; milliseconds since timer started, or -1.
double waitForMainWindow(Display* d, const QElapsedTimer& timer, int timeoutMs)
{
    while (timer.elapsed() < timeoutMs) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify) {
                XWindowAttributes a;
                if (XGetWindowAttributes(d, e.xmap.window, &a) && a.width == 1024 &&
                    a.height == 640)
                    return double(timer.nsecsElapsed()) / 1e6;
            }
        }
        QThread::usleep(200);
    }
    return -1;
}

long field(const QString& statusFile, const char* key)
{
    QFile f(statusFile);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(strlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

// User plus system CPU time of a process, in clock ticks.
long cpuTicks(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = f.readAll();
    const QList<QByteArray> parts = s.mid(s.lastIndexOf(')') + 2).split(' ');
    return parts.value(11).toLong() + parts.value(12).toLong(); // utime, stime
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 60;
    QTextStream out(stdout);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        out << "no X display: run under xvfb-run -a\n";
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(folder + QStringLiteral("/modules/macro"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/meridax-mouse"),
                folder + QStringLiteral("/meridax-mouse"));
    copyTree(QCoreApplication::applicationDirPath() + QStringLiteral("/modules"),
             folder + QStringLiteral("/modules"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    std::vector<double> mapped;
    std::vector<long> peakKiB;
    double idlePercent = -1;
    for (int run = 0; run < runs; ++run) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        p.start(folder + QStringLiteral("/meridax-mouse"), {QStringLiteral("--virtual-mouse")});
        const double ms = waitForMainWindow(display, timer, 20000);
        if (ms < 0) {
            out << "the window never appeared\n";
            return 1;
        }
        mapped.push_back(ms);
        // Connected, initialised, listening: then idle.
        QThread::sleep(3);
        if (run == 0) {
            // Past the start-up busy period and the tray balloon: idle in the tray.
            QThread::sleep(12);
            const long before = cpuTicks(p.processId());
            QThread::sleep(unsigned(idleSeconds));
            const long after = cpuTicks(p.processId());
            idlePercent =
                100.0 * double(after - before) / double(sysconf(_SC_CLK_TCK)) / idleSeconds;
        }
        peakKiB.push_back(field(QStringLiteral("/proc/%1/status").arg(p.processId()), "VmHWM:"));
        p.terminate();
        p.waitForFinished(5000);
    }
    std::sort(mapped.begin(), mapped.end());
    std::sort(peakKiB.begin(), peakKiB.end());
    out << "runs: " << runs << "\n";
    out << "window mapped after (ms): median " << QString::number(mapped[mapped.size() / 2], 'f', 1)
        << ", min " << QString::number(mapped.front(), 'f', 1) << ", max "
        << QString::number(mapped.back(), 'f', 1) << "\n";
    out << "peak resident memory (MiB): median "
        << QString::number(double(peakKiB[peakKiB.size() / 2]) / 1024.0, 'f', 1) << "\n";
    out << "CPU while idle in the tray, listener running (" << idleSeconds
        << " s): " << QString::number(idlePercent, 'f', 3) << " %\n";
    XCloseDisplay(display);
    return 0;
}
