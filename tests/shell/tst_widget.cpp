// The main window host: device watch and connection sequence, tray, device-change messages,
// copy-data, window controller and the bridge's slot table, on virtual mice.
#include "programfixture.h"

#include "platform/copydata.h"
#include "shell/ui_controler.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMutex>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

namespace {

QStringList messages;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const QString category = QString::fromLatin1(context.category ? context.category : "");
    messages << (category == QLatin1String("default") ? text
                                                      : category + QStringLiteral(": ") + text);
    if (type != QtDebugMsg && previousHandler)
        previousHandler(type, context, text);
}

QStringList frames(const VirtualHidBackend& backend, const QString& prefix = {})
{
    return backend.trace().lines(WireTrace::FeatureOut).filter(prefix);
}

QStringList strings(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* i : items)
        out << QString::fromLatin1(i);
    return out;
}

// A backend whose mice vanish right after they were enumerated.
class VanishingBackend : public VirtualHidBackend {
public:
    QList<HidInterfaceInfo> enumerate(uint16_t vid, uint16_t pid) override
    {
        QList<HidInterfaceInfo> found = VirtualHidBackend::enumerate(vid, pid);
        for (VirtualMouse* m : mice())
            m->unplug();
        return found;
    }
};

VirtualMouse::Config mouseConfig(bool is560 = false)
{
    VirtualMouse::Config c; // the shipped table's mouse: 04d9:a1ee
    c.family = is560 ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
    return c;
}

} // namespace

class TestWidget : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("mouse.scene.debug=true"));
        previousHandler = qInstallMessageHandler(recordMessage);
    }
    void init()
    {
        messages.clear();
        deviceConnected = false;
    }

    void connectionSequence_data();
    void connectionSequence();
    void noDeviceHidesTheWindow();
    void firstEntryThatAnswersWins();
    void interfaceVanishesBeforeTheHandshake();
    void removalAndReconnection();
    void floodOfDeviceChanges();
    void trayDoubleClick();
    void customEvents();
    void copyData_data();
    void copyData();
    void windowController();
    void bridgeSlotsInDeclarationOrder();
    void quitFromTheTray();
};

void TestWidget::connectionSequence_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<QStringList>("commands"); // command ids of the feature reports, in order
    QTest::newRow("553") << false << true << strings({"00", "83", "03"});
    QTest::newRow("560 without the gun feature: two blocks")
        << true << false << strings({"00", "81", "01", "8c 00", "8c 01"});
    QTest::newRow("560 with the gun feature: five blocks")
        << true << true << strings({"00", "81", "01", "8c 00", "8c 01", "8c 02", "8c 03", "8c 04"});
}

void TestWidget::connectionSequence()
{
    QFETCH(bool, is560);
    QFETCH(bool, gun);
    QFETCH(QStringList, commands);

    VirtualHidBackend backend;
    backend.addMouse(mouseConfig(is560));
    ProgramFixture p(backend);
    p.setGlobal(QStringLiteral("mouse/icType"),
                is560 ? QStringLiteral("560") : QStringLiteral("553-24"));
    p.setGlobal(QStringLiteral("mouse/isGun"), gun);
    RecordingWidget& w = p.start();

    // The window as the scene host set it up.
    QCOMPARE(w.windowTitle(), QStringLiteral("Meridax Mouse"));
    QCOMPARE(w.size(), QSize(1024, 640));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(w.view()->objectName(), QStringLiteral("ui_View"));
    QQmlContext* context = w.view()->rootContext();
    QCOMPARE(context->contextProperty(QStringLiteral("ui_View")).value<QObject*>(), w.view());
    QCOMPARE(context->contextProperty(QStringLiteral("hid")).value<QObject*>(), &w.hid());
    QCOMPARE(context->contextProperty(QStringLiteral("ui_Ctl")).value<QObject*>(), w.controller());
    QCOMPARE(w.trayIcon()->toolTip(), QStringLiteral("MERIDAX SOLVIN MOUSE R77"));
    QCOMPARE(w.trayMenu()->actions().last()->text(), QStringLiteral("Quit (&Q)"));

    w.view()->setEnabled(false);
    w.checkDevice();

    QStringList sent;
    for (const QString& f : frames(backend))
        sent << f.mid(12, f.startsWith(QLatin1String("feature> 00 8c")) ? 5 : 2);
    QCOMPARE(sent, commands);
    QCOMPARE(messages.filter(QStringLiteral("Device Connect")).size(), 1);
    QCOMPARE(w.balloons, QStringList{QStringLiteral("Info|Detect Device|10000")});
    QVERIFY(deviceConnected);
    QVERIFY(w.hid().listening());
    QVERIFY(w.view()->isEnabled());
    QVERIFY(w.hid().linkFree());
    QVERIFY(backend.trace().errors().isEmpty());

    // initUI is queued and the user event leads to run(), in that order.
    QVERIFY(!messages.contains(QStringLiteral("mouse.scene: initUI() queued")) ||
            messages.filter(QStringLiteral("run()")).isEmpty());
    QTRY_VERIFY(messages.contains(QStringLiteral("mouse.scene: run() queued")));
    QVERIFY(messages.indexOf(QStringLiteral("mouse.scene: initUI() queued")) <
            messages.indexOf(QStringLiteral("mouse.scene: run() queued")));
}

void TestWidget::noDeviceHidesTheWindow()
{
    VirtualHidBackend backend;
    backend.addMouse(mouseConfig()).unplug();
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.show();
    deviceConnected = true;
    w.checkDevice();
    QVERIFY(messages.contains(QStringLiteral("Device DisConnect")));
    QVERIFY(!w.isVisible());
    QVERIFY(!deviceConnected);
    QVERIFY(w.balloons.isEmpty());
    QVERIFY(!w.hid().listening());
}

void TestWidget::firstEntryThatAnswersWins()
{
    // Entry 0 scrambles with a code the mouse does not share, entries 1 and 2 are good mice.
    VirtualHidBackend backend;
    VirtualMouse::Config stranger = mouseConfig();
    stranger.name = "stranger";
    stranger.pid = 0x1111;
    stranger.isEncode = true;
    stranger.sCode = "999999";
    VirtualMouse::Config first = mouseConfig();
    first.name = "first";
    first.pid = 0x2222;
    VirtualMouse::Config second = mouseConfig();
    second.name = "second";
    second.pid = 0x3333;
    backend.addMouse(stranger);
    VirtualMouse& firstMouse = backend.addMouse(first);
    backend.addMouse(second);

    ProgramFixture p(backend);
    {
        QSettings s(p.globalFile(), QSettings::IniFormat);
        s.setValue(QStringLiteral("common/deviceCount"), 3);
        const QStringList keys = {QStringLiteral("type"),        QStringLiteral("vid"),
                                  QStringLiteral("usagePage"),   QStringLiteral("usage"),
                                  QStringLiteral("usagePage2"),  QStringLiteral("usage2"),
                                  QStringLiteral("reportLength")};
        for (int g : {1, 2})
            for (const QString& k : keys)
                s.setValue(QStringLiteral("%1/%2").arg(g).arg(k),
                           s.value(QStringLiteral("0/") + k));
        s.setValue(QStringLiteral("0/pid"), QStringLiteral("1111"));
        s.setValue(QStringLiteral("0/isEncode"), QStringLiteral("true"));
        s.setValue(QStringLiteral("0/sCode"), QStringLiteral("413827"));
        s.setValue(QStringLiteral("1/pid"), QStringLiteral("2222"));
        s.setValue(QStringLiteral("2/pid"), QStringLiteral("3333"));
    }
    RecordingWidget& w = p.start();
    w.checkDevice();

    QCOMPARE(w.hid().currentDevice(), 1);
    QVERIFY(deviceConnected);
    // Two handshakes, the stranger's and the first good mouse's; the second is never asked.
    const QStringList sent = frames(backend);
    QCOMPARE(sent.indexOf(QStringLiteral("feature> 00 83 00 00 00 00 00 00 7c")), 2);
    QCOMPARE(firstMouse.memory().options[3] & 0x40, 0x40); // its listener start set the bit
    QCOMPARE(w.balloons.size(), 1);
    w.hid().setListening(false);
    w.hid().waitForListener();
}

void TestWidget::interfaceVanishesBeforeTheHandshake()
{
    VanishingBackend backend;
    backend.addMouse(mouseConfig());
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.show();
    w.checkDevice();
    QVERIFY(messages.contains(QStringLiteral("Device DisConnect")));
    QVERIFY(!deviceConnected);
    QVERIFY(w.hid().linkFree());
    QVERIFY(w.hid().deviceTable().at(0).commandPath.isEmpty());
}

void TestWidget::removalAndReconnection()
{
    VirtualHidBackend backend;
    VirtualMouse& mouse = backend.addMouse(mouseConfig());
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.show();
    w.checkDevice();
    QVERIFY(w.hid().listening());

    QTRY_VERIFY_WITH_TIMEOUT(w.view()->isEnabled(), 10000); // the scene's start-up busy period

    // While the listener watches the mouse, device changes start no check.
    w.deviceChangeMessage();
    QVERIFY(!w.pollTimer().isActive());

    mouse.unplug();
    QTRY_VERIFY(messages.contains(QStringLiteral("Device removed")));
    QTRY_VERIFY(!w.view()->isEnabled());
    QVERIFY(!w.hid().listening());
    QVERIFY(w.isVisible());
    QVERIFY(deviceConnected);

    // Plugged back in: a burst of messages gives one check, a 2048 ms single shot after the last.
    mouse.plug();
    for (int i = 0; i < 3; ++i) {
        w.deviceChangeMessage();
        QTest::qWait(100);
    }
    QVERIFY(w.pollTimer().isActive());
    QVERIFY(w.pollTimer().isSingleShot());
    QCOMPARE(w.pollTimer().interval(), 2048);
    QVERIFY(w.pollTimer().remainingTime() > 1500);
    QTRY_VERIFY_WITH_TIMEOUT(w.balloons.size() == 2, 10000);
    QCOMPARE(messages.filter(QStringLiteral("Device Connect")).size(), 2);
    QTRY_VERIFY(w.view()->isEnabled()); // after the scene's busy period
    QVERIFY(w.hid().listening());
}

void TestWidget::floodOfDeviceChanges()
{
    VirtualHidBackend backend;
    backend.addMouse(mouseConfig()).unplug();
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.checkDevice();
    messages.clear();
    for (int i = 0; i < 20000; ++i)
        w.deviceChangeMessage();
    QTRY_VERIFY_WITH_TIMEOUT(!w.pollTimer().isActive(), 10000);
    QCOMPARE(messages.filter(QStringLiteral("Device DisConnect")).size(), 1);
}

void TestWidget::trayDoubleClick()
{
    VirtualHidBackend backend;
    backend.addMouse(mouseConfig());
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.hide();
    deviceConnected = false;
    w.trayIconActivated(QSystemTrayIcon::DoubleClick);
    QTest::qWait(50);
    QVERIFY(!w.isVisible());

    deviceConnected = true;
    for (auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
        w.trayIconActivated(reason);
    QTest::qWait(50);
    QVERIFY(!w.isVisible());
    w.trayIconActivated(QSystemTrayIcon::DoubleClick);
    QTRY_VERIFY(w.isVisible());
}

void TestWidget::customEvents()
{
    VirtualHidBackend backend;
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    QCoreApplication::postEvent(&w, new UserEvent(1234));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();
    QVERIFY(messages.filter(QStringLiteral("run()")).isEmpty());
    QCoreApplication::postEvent(&w, new UserEvent);
    QTRY_COMPARE(messages.filter(QStringLiteral("run() queued")).size(), 1);
}

void TestWidget::copyData_data()
{
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("byteCount");
    QTest::addColumn<QString>("shown");
    const QByteArray hello = QStringLiteral("Hallo, Grüße").toUtf8();
    QTest::newRow("text") << 9487u << hello << uint(hello.size()) << QStringLiteral("Hallo, Grüße");
    QTest::newRow("wrong tag") << 9486u << hello << uint(hello.size()) << QString();
    QTest::newRow("count of characters, not bytes") << 9487u << hello << 12u << QString();
    QTest::newRow("not UTF-8") << 9487u << QByteArray("\xff\xfe\xfd", 3) << 3u << QString();
}

void TestWidget::copyData()
{
    QFETCH(uint, tag);
    QFETCH(QByteArray, bytes);
    QFETCH(uint, byteCount);
    QFETCH(QString, shown);

    VirtualHidBackend backend;
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    QString seen, title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            title = box->windowTitle();
            box->accept();
        }
    });
    closer.start(20);
    w.onCopyData(CopyDataRecord{tag, bytes, byteCount});
    QCOMPARE(seen, shown);
    if (!shown.isEmpty())
        QCOMPARE(title, w.windowTitle());
}

void TestWidget::windowController()
{
    Ui_Controler none;
    none.onXChanged(10); // no window yet: nothing happens, nothing breaks
    none.onYChanged(10);
    none.onMinimize();
    none.onClose();
    none.setBusy(100);

    VirtualHidBackend backend;
    backend.addMouse(mouseConfig());
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.move(200, 150);
    w.show();
    const QPoint start = w.pos();
    Ui_Controler& c = *w.controller();
    c.onXChanged(0);
    c.onYChanged(0);
    QCOMPARE(w.pos(), start);
    c.onXChanged(-10);
    QCOMPARE(w.pos(), start + QPoint(-10, 0));
    c.onYChanged(25);
    QCOMPARE(w.pos(), start + QPoint(-10, 25));

    w.checkDevice();
    c.onClose();
    QVERIFY(!w.isVisible());
    QVERIFY(w.hid().listening()); // the program and its listener go on in the tray
}

void TestWidget::bridgeSlotsInDeclarationOrder()
{
    const QStringList expected = strings({"clearHidBusy()",
                                          "initUI()",
                                          "runUI()",
                                          "resetApconfig()",
                                          "loadMacroFile(QVariant)",
                                          "saveMacroFile(QVariant)",
                                          "loadProfile(int)",
                                          "saveProfile(int)",
                                          "resetProfile(int)",
                                          "copyProfile(int,int)",
                                          "getLangStrings(QString,QString)",
                                          "createMacroIni(QVariant,QVariant)",
                                          "updataNameList(QVariant,QStringList)",
                                          "modifyMacroNameUpdateProfile(QVariant,QVariant)",
                                          "deleteMacroUpdateProfile(QVariant)",
                                          "deleteMacroIni(QVariant)",
                                          "getNameList(QVariant)",
                                          "saveMacroIni(QVariant,QStringList,QVariant)",
                                          "mouseSendMacroData(QVariantList,QVariant)",
                                          "loadMacroIni(QVariant)",
                                          "mouseSaveGundata(QVariant,QVariantList)",
                                          "mouseSendGundata(int,QVariantList)",
                                          "modifyGundata(QVariant,QVariantList)",
                                          "getGunData(QVariant)",
                                          "getGunDataKey()",
                                          "getXYSensitive(QVariant)",
                                          "getselectGun(QVariant)",
                                          "setXYSensitive(QVariant,QVariant)",
                                          "setSelectGun(QVariant,QVariant)",
                                          "setCurrentProfile(int)",
                                          "mouseSetKeyboardoption(uchar,uchar,uchar,uchar)",
                                          "mouseSetReportRate(uchar)",
                                          "mouseSetCurrentDPI(uchar)",
                                          "mouseResetKeyMatrix()",
                                          "mouseGetCurrentDPI()",
                                          "mouseSetKeyMatrix(QVariantList,bool,QVariantList)",
                                          "mouseSetDpi(int,QString,QVariantList)",
                                          "mouseSetRGBEffect(uchar,uchar,uchar)",
                                          "mouseSetRGBColor(uchar,QVariantList)",
                                          "mouseSetProfile(uint)",
                                          "mouseReadProfile(uint)",
                                          "mouseReadCurrentProfile()",
                                          "mouseSwitchKeyMatrix(int)",
                                          "GetKeyboardoption()",
                                          "mouseSetCursorSpeed(uint)",
                                          "mouseSetVerticalScrollLines(uint)",
                                          "mouseSetDoubleClickSpeed(uint)",
                                          "mouseGetKeydefine(QVariant,bool)",
                                          "openUpdateExe()",
                                          "getData(QVariant,bool)",
                                          "getGlobalData(QVariant)",
                                          "getDataList(QVariant,bool)",
                                          "setData(QVariant,QVariant)",
                                          "setGlobalData(QVariant,QVariant)",
                                          "setDataList(QVariant,QVariantList)",
                                          "setBusy(int)",
                                          "setCurrentDPI(int)"});
    QCOMPARE(expected.size(), 57);
    const QMetaObject& mo = myQQuickView::staticMetaObject;
    QStringList declared;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        if (mo.method(i).methodType() == QMetaMethod::Slot)
            declared << QString::fromLatin1(mo.method(i).methodSignature());
    QCOMPARE(declared, expected);
}

void TestWidget::quitFromTheTray()
{
    VirtualHidBackend backend;
    backend.addMouse(mouseConfig());
    ProgramFixture p(backend);
    RecordingWidget& w = p.start();
    w.checkDevice();
    QVERIFY(w.hid().listening());
    QTimer::singleShot(0, [&w] { w.trayMenu()->actions().last()->trigger(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!w.hid().listening());
}

int main(int argc, char** argv)
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestWidget t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_widget.moc"
