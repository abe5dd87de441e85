// The real program under its own X server, attached to the virtual mouse: start, handshake,
// window, tray, unplug, a second start, and global key and button capture.
#include "tests/platform/xvfb.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString exe(const char* name)
{
    return QStringLiteral(MOUSE_BIN_DIR "/") + QLatin1String(name);
}

bool copyTree(const QString& from, const QString& to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    bool ok = true;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        ok = QDir().mkpath(QFileInfo(target).path()) && QFile::copy(file, target) && ok;
    }
    return ok;
}

// One installation of the program in a folder of its own, run on a given display.
class Program {
public:
    Program(const QByteArray& display) : display_(display)
    {
        folder_ = dir_.filePath(QStringLiteral("program"));
        runtime_ = dir_.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime_);
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(folder_ + QStringLiteral("/modules/macro"));
        ok_ = QFile::copy(exe("meridax-mouse"), path()) &&
              copyTree(QStringLiteral(MOUSE_DATA_DIR), folder_ + QStringLiteral("/modules"));
    }
    ~Program() { stop(); }

    bool ok() const { return ok_; }
    QString path() const { return folder_ + QStringLiteral("/meridax-mouse"); }

    void setGlobal(const QString& key, const QVariant& value)
    {
        QSettings s(folder_ + QStringLiteral("/modules/setting/apConfig.bin"),
                    QSettings::IniFormat);
        s.setValue(key, value);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display_));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_LOGGING_RULES"),
                   QStringLiteral("mouse.scene.debug=true;mouse.wire.debug=true"));
        return env;
    }

    bool start(const QStringList& args = {QStringLiteral("--virtual-mouse")})
    {
        process_.setProcessEnvironment(environment());
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(path(), args);
        return process_.waitForStarted(10000);
    }

    // Output lines so far.
    QStringList lines()
    {
        output_ += QString::fromUtf8(process_.readAll());
        return output_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    bool saw(const QString& line) { return lines().contains(line); }
    int countOf(const QString& line) { return int(lines().count(line)); }

    // The same installation started a second time; its exit status.
    int secondStart()
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(path(), {QStringLiteral("--virtual-mouse")});
        if (!second.waitForFinished(20000))
            return -1;
        return second.exitCode();
    }

    bool send(const QString& text)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(exe("meridax-mouse-send"),
                   {QStringLiteral("--program"), path(), QStringLiteral("--virtual"), text});
        return tool.waitForFinished(10000) && tool.exitCode() == 0;
    }

    QProcess& process() { return process_; }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

private:
    QTemporaryDir dir_;
    QString folder_, runtime_;
    QByteArray display_;
    QProcess process_;
    QString output_;
    bool ok_ = false;
};

QString run(const QByteArray& display, const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!xvfb_.start())
            QSKIP("Xvfb is not installed");
    }

    void connects_data();
    void connects();
    void windowTrayUnplugAndSecondStart();
    void globalCapture();
    void displayGoesAway();

private:
    Xvfb xvfb_;
};

void TestProgram::connects_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("blockReads");
    const QString f83 = QStringLiteral("mouse.wire: feature> 00 83 00 00 00 00 00 00 7c");
    const QString f81 = QStringLiteral("mouse.wire: feature> 00 81 00 00 00 00 00 00 7e");
    QTest::newRow("553") << QStringLiteral("553-24") << true << QStringList{f83} << 0;
    QTest::newRow("560 without the gun feature")
        << QStringLiteral("560") << false << QStringList{f81} << 2;
    QTest::newRow("560 with the gun feature")
        << QStringLiteral("560") << true << QStringList{f81} << 5;
}

void TestProgram::connects()
{
    QFETCH(QString, family);
    QFETCH(bool, gun);
    QFETCH(QStringList, options);
    QFETCH(int, blockReads);

    Program p(xvfb_.display());
    QVERIFY(p.ok());
    p.setGlobal(QStringLiteral("mouse/icType"), family);
    p.setGlobal(QStringLiteral("mouse/isGun"), gun);
    QVERIFY(p.start());
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: run() queued")), 20000);

    const QStringList l = p.lines();
    // The handshake, then the option bytes read and written back with the report bit set.
    const int handshake =
        l.indexOf(QRegularExpression(QStringLiteral("^mouse.wire: feature> 00 00 .*")));
    const int connect = l.indexOf(QStringLiteral("Device Connect"));
    const int read = l.indexOf(options.first());
    QVERIFY(handshake >= 0 && handshake < connect && connect < read);
    const QString write = l.value(read + 2); // after the answer
    QVERIFY2(write.startsWith(family == QLatin1String("560")
                                  ? QLatin1String("mouse.wire: feature> 00 01 08")
                                  : QLatin1String("mouse.wire: feature> 00 03 00 00 00 40")),
             qPrintable(write));
    QCOMPARE(l.filter(QRegularExpression(QStringLiteral("^mouse.wire: feature> 00 8c "))).size(),
             blockReads);
    QVERIFY(l.indexOf(QStringLiteral("mouse.scene: initUI() queued")) <
            l.indexOf(QStringLiteral("mouse.scene: run() queued")));
    QVERIFY(l.filter(QStringLiteral("error:")).isEmpty());
}

void TestProgram::windowTrayUnplugAndSecondStart()
{
    Program p(xvfb_.display());
    QVERIFY(p.ok());
    QVERIFY(p.start());
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: run() queued")), 20000);

    // The window: titled from common/name, 1024 × 640, without a frame.
    const QString id = run(xvfb_.display(), QStringLiteral("xdotool"),
                           {QStringLiteral("search"), QStringLiteral("--sync"),
                            QStringLiteral("--name"), QStringLiteral("^Meridax Mouse$")})
                           .trimmed()
                           .section(QLatin1Char('\n'), 0, 0);
    QVERIFY(!id.isEmpty());
    const QString info =
        run(xvfb_.display(), QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    QVERIFY2(info.contains(QLatin1String("Width: 1024")) &&
                 info.contains(QLatin1String("Height: 640")),
             qPrintable(info));
    const QString hints = run(xvfb_.display(), QStringLiteral("xprop"),
                              {QStringLiteral("-id"), id, QStringLiteral("_MOTIF_WM_HINTS")});
    QVERIFY2(hints.contains(QRegularExpression(QStringLiteral("= 0x2, 0x\\w+, 0x0"))),
             qPrintable(hints));

    QCOMPARE(p.secondStart(), 1);
    QVERIFY(p.process().state() == QProcess::Running);

    // Unplugged: the listener notices within a read cycle and the view is disabled.
    QVERIFY(p.send(QStringLiteral("unplug")));
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("Device removed")), 10000);
    QCOMPARE(p.countOf(QStringLiteral("Device removed")), 1);

    // Plugged in again: one check after the timer, a second connection.
    QVERIFY(p.send(QStringLiteral("plug")));
    QTRY_COMPARE_WITH_TIMEOUT(p.countOf(QStringLiteral("Device Connect")), 2, 20000);

    // The DPI button: the stage reaches the scene.
    QVERIFY(p.send(QStringLiteral("dpi 3")));
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: setCurrentDPI(3) direct")), 10000);
}

void TestProgram::globalCapture()
{
    Program p(xvfb_.display());
    QVERIFY(p.ok());
    QVERIFY(p.start());
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: run() queued")), 20000);

    const QString aDown = QStringLiteral("mouse.scene: detectKeyboard(true, 4) queued");
    const QString aUp = QStringLiteral("mouse.scene: detectKeyboard(false, 4) queued");
    QVERIFY(xvfb_.xdotool({QStringLiteral("key"), QStringLiteral("a")}));
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(aUp), 10000);
    QCOMPARE(p.countOf(aDown), 1);

    // Held long enough for the server's auto-repeat: still one press and one release.
    QVERIFY(xvfb_.xdotool({QStringLiteral("keydown"), QStringLiteral("a")}));
    QTest::qWait(1200);
    QVERIFY(xvfb_.xdotool({QStringLiteral("keyup"), QStringLiteral("a")}));
    QTRY_COMPARE_WITH_TIMEOUT(p.countOf(aUp), 2, 10000);
    QCOMPARE(p.countOf(aDown), 2);

    QVERIFY(xvfb_.xdotool({QStringLiteral("key"), QStringLiteral("KP_Enter")}));
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: detectKeyboard(false, 88) queued")),
                             10000);
    QVERIFY(p.saw(QStringLiteral("mouse.scene: detectKeyboard(true, 88) queued")));

    QVERIFY(xvfb_.xdotool({QStringLiteral("mousemove"), QStringLiteral("100"),
                           QStringLiteral("200"), QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY_WITH_TIMEOUT(
        p.saw(QStringLiteral("mouse.scene: detectMouse(false, 240, 100, 200) queued")), 10000);
    QVERIFY(p.saw(QStringLiteral("mouse.scene: detectMouse(true, 240, 100, 200) queued")));
}

void TestProgram::displayGoesAway()
{
    Xvfb own;
    QVERIFY(own.start());
    Program p(own.display());
    QVERIFY(p.ok());
    QVERIFY(p.start());
    QTRY_VERIFY_WITH_TIMEOUT(p.saw(QStringLiteral("mouse.scene: run() queued")), 20000);
    own.kill();
    // Qt ends a program whose X connection broke; what matters is that it ends, and not by a crash.
    QVERIFY(p.process().waitForFinished(20000));
    QCOMPARE(p.process().exitStatus(), QProcess::NormalExit);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
