// The device-change source: which udev events count, one signal per event, and life without udev.
#include "platform/devicechangesource.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<DeviceChange>)

class TestDeviceChangeSource : public QObject {
    Q_OBJECT
private slots:
    void eventKinds_data();
    void eventKinds();
    void everyEventIsReported();
    void realMonitorComesAndGoes();
    void withoutUdevNothingBreaks();
};

void TestDeviceChangeSource::eventKinds_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QByteArray>("subsystem");
    QTest::addColumn<std::optional<DeviceChange>>("change");

    const std::optional<DeviceChange> none;
    QTest::newRow("hidraw added") << QByteArray("add") << QByteArray("hidraw")
                                  << std::optional(DeviceChange::Added);
    QTest::newRow("hidraw removed")
        << QByteArray("remove") << QByteArray("hidraw") << std::optional(DeviceChange::Removed);
    QTest::newRow("hidraw changed") << QByteArray("change") << QByteArray("hidraw") << none;
    QTest::newRow("hidraw bound") << QByteArray("bind") << QByteArray("hidraw") << none;
    QTest::newRow("usb added") << QByteArray("add") << QByteArray("usb") << none;
    QTest::newRow("no action") << QByteArray() << QByteArray("hidraw") << none;
    QTest::newRow("action case differs") << QByteArray("ADD") << QByteArray("hidraw") << none;
}

void TestDeviceChangeSource::eventKinds()
{
    QFETCH(QByteArray, action);
    QFETCH(QByteArray, subsystem);
    QFETCH(std::optional<DeviceChange>, change);
    QCOMPARE(deviceChangeOf({action, subsystem, "/dev/hidraw0"}), change);
}

void TestDeviceChangeSource::everyEventIsReported()
{
    // Fed by hand: the source must not swallow bursts, debouncing is the caller's.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No device monitor")));
    DeviceChangeSource source("no-such-netlink", "hidraw");
    QSignalSpy spy(&source, &DeviceChangeSource::deviceChanged);
    source.handleEvent({"add", "hidraw", "/dev/hidraw3"});
    source.handleEvent({"change", "hidraw", "/dev/hidraw3"});
    source.handleEvent({"add", "hidraw", "/dev/hidraw4"});
    source.handleEvent({"remove", "hidraw", "/dev/hidraw3"});
    source.handleEvent({"remove", "input", "/dev/input/event7"});
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy[0][0].value<DeviceChange>(), DeviceChange::Added);
    QCOMPARE(spy[0][1].toString(), QStringLiteral("/dev/hidraw3"));
    QCOMPARE(spy[1][1].toString(), QStringLiteral("/dev/hidraw4"));
    QCOMPARE(spy[2][0].value<DeviceChange>(), DeviceChange::Removed);
}

void TestDeviceChangeSource::realMonitorComesAndGoes()
{
    // Whether this machine lets us listen or not, building, idling and tearing down is quiet.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QSocketNotifier")));
    auto* source = new DeviceChangeSource;
    QSignalSpy spy(source, &DeviceChangeSource::deviceChanged);
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);
    delete source;
}

void TestDeviceChangeSource::withoutUdevNothingBreaks()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No device monitor")));
    DeviceChangeSource source("no-such-netlink", "hidraw");
    QVERIFY(!source.isAvailable());
    QSignalSpy spy(&source, &DeviceChangeSource::deviceChanged);
    QTest::qWait(20);
    QCOMPARE(spy.count(), 0);
}

QTEST_GUILESS_MAIN(TestDeviceChangeSource)
#include "tst_devicechangesource.moc"
