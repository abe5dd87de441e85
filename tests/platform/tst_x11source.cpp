// The X11 input source against a real X server (a private Xvfb), driven by xdotool.
#include "platform/x11inputsource.h"
#include "shell/inputcapture.h"
#include "xvfb.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Report {
    int code;
    bool isDown;
    int x = 0;
    int y = 0;
    bool operator==(const Report&) const = default;
};

struct Recorder {
    QList<Report> keys;
    QList<Report> buttons;

    void attach(InputCapture& capture)
    {
        capture.registerKeyboardCallback(
            [](uint8_t usage, bool isDown, void* self) {
                static_cast<Recorder*>(self)->keys.append({usage, isDown});
            },
            this);
        capture.registerMouseCallback(
            [](uint8_t button, bool isDown, int x, int y, void* self) {
                static_cast<Recorder*>(self)->buttons.append({button, isDown, x, y});
            },
            this);
    }
};

} // namespace

namespace QTest {
template<> char* toString(const Report& r)
{
    return qstrdup(QByteArrayLiteral("(%1, %2, %3, %4)")
                       .replace("%1", QByteArray::number(r.code, 16))
                       .replace("%2", r.isDown ? "down" : "up")
                       .replace("%3", QByteArray::number(r.x))
                       .replace("%4", QByteArray::number(r.y))
                       .constData());
}
} // namespace QTest

class TestX11Source : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void withoutDisplayCaptureIsUnavailable();
    void typedKeyIsReportedOnce();
    void clicksAreReportedWithPosition();
    void serverGoingAwayStopsQuietly();

private:
    Xvfb m_xvfb;
};

void TestX11Source::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    if (!m_xvfb.start())
        QSKIP("Xvfb cannot be started");
}

void TestX11Source::withoutDisplayCaptureIsUnavailable()
{
    // A display number nobody serves.
    int n = 4000;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
        ++n;
    X11InputSource absent(':' + QByteArray::number(n));
    InputCapture capture(&absent);
    QVERIFY(!capture.hooksInstalled());
    QVERIFY(!absent.isInstalled());

    const QByteArray saved = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    X11InputSource unset;
    QVERIFY(!unset.install([](const KeyboardHookRecord&) {}, [](const MouseHookRecord&) {}));
    qputenv("DISPLAY", saved);
}

void TestX11Source::typedKeyIsReportedOnce()
{
    X11InputSource source(m_xvfb.display());
    InputCapture capture(&source);
    QVERIFY(capture.hooksInstalled());
    Recorder rec;
    rec.attach(capture);

    QVERIFY(m_xvfb.xdotool({QStringLiteral("key"), QStringLiteral("a")}));
    QTRY_COMPARE_WITH_TIMEOUT(rec.keys.size(), 2, 20000);
    QCOMPARE(rec.keys, (QList<Report>{{0x04, true}, {0x04, false}}));

    QVERIFY(m_xvfb.xdotool(
        {QStringLiteral("key"), QStringLiteral("KP_Enter"), QStringLiteral("Return")}));
    QTRY_COMPARE_WITH_TIMEOUT(rec.keys.size(), 6, 20000);
    QCOMPARE(rec.keys.mid(2),
             (QList<Report>{{0x58, true}, {0x58, false}, {0x28, true}, {0x28, false}}));

    // Alt is tracked from the events: Alt+Print Screen arrives as the SysRq code. xdotool lets
    // go of Alt first, so the release of Print Screen comes without Alt and must end it too.
    QVERIFY(m_xvfb.xdotool({QStringLiteral("key"), QStringLiteral("alt+Print")}));
    QTRY_COMPARE_WITH_TIMEOUT(rec.keys.size(), 10, 20000);
    QCOMPARE(rec.keys.mid(6),
             (QList<Report>{{0xE2, true}, {0x46, true}, {0xE2, false}, {0x46, false}}));
}

void TestX11Source::clicksAreReportedWithPosition()
{
    X11InputSource source(m_xvfb.display());
    InputCapture capture(&source);
    QVERIFY(capture.hooksInstalled());
    Recorder rec;
    rec.attach(capture);

    // Wheel and back button first: they must leave nothing before the clicks.
    QVERIFY(
        m_xvfb.xdotool({QStringLiteral("mousemove"), QStringLiteral("123"), QStringLiteral("234"),
                        QStringLiteral("click"), QStringLiteral("4"), QStringLiteral("click"),
                        QStringLiteral("8"), QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_COMPARE_WITH_TIMEOUT(rec.buttons.size(), 2, 20000);
    QCOMPARE(rec.buttons, (QList<Report>{{0xF0, true, 123, 234}, {0xF0, false, 123, 234}}));

    QVERIFY(m_xvfb.xdotool({QStringLiteral("mousemove"), QStringLiteral("7"), QStringLiteral("9"),
                            QStringLiteral("click"), QStringLiteral("3"), QStringLiteral("click"),
                            QStringLiteral("2")}));
    QTRY_COMPARE_WITH_TIMEOUT(rec.buttons.size(), 6, 20000);
    QCOMPARE(
        rec.buttons.mid(2),
        (QList<Report>{
            {0xF1, true, 7, 9}, {0xF1, false, 7, 9}, {0xF2, true, 7, 9}, {0xF2, false, 7, 9}}));
    QVERIFY(rec.keys.isEmpty());
}

void TestX11Source::serverGoingAwayStopsQuietly()
{
    Xvfb doomed;
    QVERIFY(doomed.start());
    X11InputSource source(doomed.display());
    QSignalSpy lost(&source, &X11InputSource::connectionLost);
    InputCapture capture(&source);
    QVERIFY(capture.hooksInstalled());

    doomed.kill();
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 20000);
    QVERIFY(!source.isInstalled());
    // Still one: the dead connection is not read again.
    QTest::qWait(200);
    QCOMPARE(lost.count(), 1);
    // Installing again finds no server.
    QVERIFY(!capture.installHooks());
}

QTEST_GUILESS_MAIN(TestX11Source)
#include "tst_x11source.moc"
