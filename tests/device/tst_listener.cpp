// The report listener: option bit, DPI-button reports, removal, quitting, one task at a time.
#include "tests/support/linkfixture.h"
#include "tests/support/wirelines.h"

#include "device/dpiswitchtexts.h"

#include <QTest>

namespace {
const QStringList kTexts = {QStringLiteral("one"),   QStringLiteral("two"),
                            QStringLiteral("three"), QStringLiteral("four"),
                            QStringLiteral("five"),  QStringLiteral("six"),
                            QStringLiteral("seven"), QStringLiteral("other")};

QString balloon(const QString& text)
{
    return QStringLiteral("balloon Info|%1 |10000").arg(text);
}
} // namespace

class TestListener : public QObject {
    Q_OBJECT
private slots:
    void init() { DpiSwitchTexts::set(kTexts); }
    void optionBit_data();
    void optionBit();
    void failedOptionReadWritesNothingBack();
    void reports_data();
    void reports();
    void removal();
    void quitWithinOneRead();
    void entryWithoutReportInterface();
    void restartKeepsOneTask();
    void listenerBesideCommandsAndTexts();
};

void TestListener::optionBit_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("553: bit 6 of byte 4")
        << false
        << QStringList{wire::feature({0x83}), wire::feature({0x03, 0x11, 0x22, 0x33, 0x45})};
    QTest::newRow("560: bit 3 of byte 1")
        << true << QStringList{wire::feature({0x81}), wire::feature({0x01, 0x19, 0x22})};
}

void TestListener::optionBit()
{
    QFETCH(bool, is560);
    QFETCH(QStringList, sent);
    LinkFixture f(is560 ? LinkFixture::family560() : VirtualMouse::Config{});
    VirtualMouse::Memory m = f.mouse->memory();
    m.options = {0x11, 0x22, 0x33, 0x05};
    m.options560 = {0x11, 0x22};
    f.mouse->setMemory(m);

    f.link->startReportListener(0);
    QCOMPARE(f.lines(WireTrace::FeatureOut), sent);
    QVERIFY(f.link->listening());
    f.link->setListening(false);
    f.link->waitForListener();
    QVERIFY(f.errors().isEmpty());
}

void TestListener::failedOptionReadWritesNothingBack()
{
    LinkFixture f;
    VirtualMouse::Memory m = f.mouse->memory();
    m.options = {0x11, 0x22, 0x33, 0x05};
    f.mouse->setMemory(m);
    f.mouse->setFault(VirtualMouse::Fault::RefuseGetFeature);

    f.link->startReportListener(0);
    QCOMPARE(f.lines(WireTrace::FeatureOut), QStringList{wire::feature({0x83})});
    QCOMPARE(f.mouse->memory().options, (std::array<uint8_t, 4>{0x11, 0x22, 0x33, 0x05}));
    QVERIFY(f.link->listening()); // started anyway
    f.link->setListening(false);
    f.link->waitForListener();
}

void TestListener::reports_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("stage 3") << QByteArray::fromHex("06070003")
                             << QStringList{QStringLiteral("dpi 3"),
                                            balloon(QStringLiteral("three"))};
    QTest::newRow("stage 1") << QByteArray::fromHex("06079901")
                             << QStringList{QStringLiteral("dpi 1"),
                                            balloon(QStringLiteral("one"))};
    QTest::newRow("stage 7") << QByteArray::fromHex("06070007")
                             << QStringList{QStringLiteral("dpi 7"),
                                            balloon(QStringLiteral("seven"))};
    QTest::newRow("stage 0") << QByteArray::fromHex("06070000")
                             << QStringList{QStringLiteral("dpi 0"),
                                            balloon(QStringLiteral("other"))};
    QTest::newRow("stage 9") << QByteArray::fromHex("06070009")
                             << QStringList{QStringLiteral("dpi 9"),
                                            balloon(QStringLiteral("other"))};
    QTest::newRow("foreign kind") << QByteArray::fromHex("06080003") << QStringList();
    QTest::newRow("foreign first byte") << QByteArray::fromHex("05070003") << QStringList();
    QTest::newRow("three bytes") << QByteArray::fromHex("060700") << QStringList();
}

void TestListener::reports()
{
    QFETCH(QByteArray, report);
    QFETCH(QStringList, calls);
    LinkFixture f;
    f.link->startReportListener(0);

    f.mouse->sendReport(report);
    // A stage report after it proves the one before was read (and ignored if foreign).
    f.mouse->sendReport(QByteArray::fromHex("06070002"));
    calls << QStringLiteral("dpi 2") << balloon(QStringLiteral("two"));
    QTRY_COMPARE(f.owner.calls, calls);

    f.link->setListening(false);
    f.link->waitForListener();
}

void TestListener::removal()
{
    LinkFixture f;
    f.link->startReportListener(0);
    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    f.mouse->unplug();
    QTRY_COMPARE(f.owner.calls, QStringList{QStringLiteral("disable")});
    f.link->waitForListener();
    QVERIFY(!f.link->listening());
    QVERIFY(f.link->deviceTable().at(0).reportPath.isEmpty());
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestListener::quitWithinOneRead()
{
    LinkFixture f;
    f.link->startReportListener(0);
    QTRY_VERIFY(f.lines(WireTrace::Open).contains(QStringLiteral("open report")));
    f.link->setListening(false);
    f.link->waitForListener(); // returns once the current read times out
    QCOMPARE(f.backend.openHandles(), 0);
    QVERIFY(f.owner.calls.isEmpty());
}

void TestListener::entryWithoutReportInterface()
{
    LinkFixture f;
    DeviceTable t = f.link->deviceTable();
    t[0].reportPath.clear();
    f.link->setDeviceTable(t);
    f.link->startReportListener(0);
    f.link->waitForListener();
    QVERIFY(f.link->listening()); // ends at once; the flag stays as it was
    QCOMPARE(f.lines(WireTrace::Open).filter(QStringLiteral("report")), QStringList());
}

void TestListener::restartKeepsOneTask()
{
    // A second start while the first task waits in its read: the first ends before the second
    // opens the report interface, so the two never share the handle.
    LinkFixture f;
    f.link->startReportListener(0);
    f.link->startReportListener(0);
    f.mouse->sendReport(QByteArray::fromHex("06070004"));
    QTRY_COMPARE(f.owner.calls,
                 (QStringList{QStringLiteral("dpi 4"), balloon(QStringLiteral("four"))}));
    QVERIFY(f.backend.openHandles() <= 1);
    f.link->setListening(false);
    f.link->waitForListener();
    QCOMPARE(f.backend.openHandles(), 0);
}

void TestListener::listenerBesideCommandsAndTexts()
{
    // The GUI thread handshakes, sends and swaps the texts while the listener delivers reports.
    LinkFixture f;
    f.link->startReportListener(0);
    for (int i = 0; i < 30; ++i) {
        f.mouse->sendReport(QByteArray::fromHex("06070001"));
        QVERIFY(f.link->chkDeviceIsEnCode(0));
        f.link->hid553_0BH_SetCurrentDPI(uchar(1 + i % 5));
        DpiSwitchTexts::set(i % 2 ? kTexts : QStringList(8, QStringLiteral("x")));
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE(f.owner.calls.filter(QStringLiteral("dpi 1")).size(), 30);
    for (const QString& call : f.owner.calls.filter(QStringLiteral("balloon")))
        QVERIFY2(call == balloon(QStringLiteral("one")) || call == balloon(QStringLiteral("x")),
                 qPrintable(call));
    f.link->setListening(false);
    f.link->waitForListener();
    QVERIFY(f.errors().isEmpty());
}

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
