// Reading the device table from the global settings file and completing it by enumeration.
#include "device/deviceentry.h"
#include "emulator/virtualmouse.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString writeIni(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("apConfig.bin"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    f.write(text);
    return path;
}
} // namespace

class TestDeviceTable : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
    void missingOrGarbageFile();
    void completion();
    void shippedReferenceTable();
};

void TestDeviceTable::reading_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first"); // type vid pid up u up2 u2 len enc code

    QTest::newRow("reference mouse")
        << QByteArray("[common]\ndeviceCount=1\n[0]\ntype=1\nvid=04d9\npid=a1ee\nusagePage=ff00\n"
                      "usage=ff00\nusagePage2=ff01\nusage2=ff01\nreportLength=32\nisEncode=true\n"
                      "sCode=413827\n")
        << 1 << QStringLiteral("1 04d9 a1ee ff00 ff00 ff01 ff01 32 1 413827");
    QTest::newRow("missing keys take defaults")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=04d9\n") << 1
        << QStringLiteral("-1 04d9 0 0 0 0 0 32 0 413827");
    QTest::newRow("garbage reads as 0")
        << QByteArray(
               "[common]\ndeviceCount=1\n[0]\ntype=zz\nvid=hello\npid=12345\nusagePage=0xff00\n"
               "reportLength=lots\nisEncode=maybe\nsCode=abc\n")
        << 1 << QStringLiteral("0 0 2345 ff00 0 0 0 0 0 abc");
    QTest::newRow("count 0 ignores the groups")
        << QByteArray("[common]\ndeviceCount=0\n[0]\nvid=04d9\n") << 0 << QString();
    QTest::newRow("count missing") << QByteArray("[0]\nvid=04d9\n") << 0 << QString();
    QTest::newRow("count beyond the groups") << QByteArray("[common]\ndeviceCount=2\n[0]\nvid=1\n")
                                             << 2 << QStringLiteral("-1 1 0 0 0 0 0 32 0 413827");
    QTest::newRow("binary garbage") << QByteArray("\x01\xff[\x00=\x02\n\xfe", 9) << 0 << QString();
}

void TestDeviceTable::reading()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, count);
    QFETCH(QString, first);
    QTemporaryDir dir;
    const DeviceTable t = readDeviceTable(writeIni(dir, ini));
    QCOMPARE(t.size(), count);
    if (first.isEmpty())
        return;
    const DeviceEntry& e = t.first();
    const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
                            .arg(e.type)
                            .arg(e.vid, 0, 16)
                            .arg(e.pid, 0, 16)
                            .arg(e.usagePage, 0, 16)
                            .arg(e.usage, 0, 16)
                            .arg(e.usagePage2, 0, 16)
                            .arg(e.usage2, 0, 16)
                            .arg(e.reportLength)
                            .arg(int(e.isEncode))
                            .arg(e.sCode);
    // "04d9" prints as "4d9" with arg(); compare numerically formatted both ways.
    QCOMPARE(got, QString(first).replace(QStringLiteral(" 04d9"), QStringLiteral(" 4d9")));
    QVERIFY(e.commandPath.isEmpty() && e.reportPath.isEmpty());
}

void TestDeviceTable::missingOrGarbageFile()
{
    QCOMPARE(readDeviceTable(QStringLiteral("/nonexistent/apConfig.bin")).size(), 0);
}

void TestDeviceTable::completion()
{
    VirtualHidBackend backend;
    VirtualMouse::Config a; // 04d9:a1ee, ff00/ff00 and ff01/ff01
    a.name = "a";
    backend.addMouse(a);
    VirtualMouse::Config b = a; // a second mouse of another product, both pairs the same
    b.name = "b";
    b.pid = 0x1234;
    b.usagePage2 = b.usagePage;
    b.usage2 = b.usage;
    backend.addMouse(b);

    DeviceEntry plain;
    plain.vid = 0x04d9;
    plain.pid = 0xa1ee;
    plain.usagePage = 0xff00;
    plain.usage = 0xff00;
    plain.usagePage2 = 0xff01;
    plain.usage2 = 0xff01;
    DeviceEntry same = plain; // one pair for both: the same path twice
    same.usagePage2 = 0xff00;
    same.usage2 = 0xff00;
    DeviceEntry any = plain; // 0:0 enumerates every device; the later match wins
    any.vid = 0;
    any.pid = 0;
    DeviceEntry absent = plain;
    absent.pid = 0x9999;
    DeviceEntry twoMatches = plain; // mouse b's two interfaces both carry ff00/ff00
    twoMatches.pid = 0x1234;

    DeviceTable t{plain, same, any, absent, twoMatches};
    t[3].commandPath = "stale"; // completion starts from empty paths
    completeDeviceTable(t, backend);

    QCOMPARE(t[0].commandPath, QByteArray("virtual:a:cmd"));
    QCOMPARE(t[0].reportPath, QByteArray("virtual:a:report"));
    QCOMPARE(t[1].commandPath, QByteArray("virtual:a:cmd"));
    QCOMPARE(t[1].reportPath, QByteArray("virtual:a:cmd"));
    QCOMPARE(t[2].commandPath, QByteArray("virtual:b:report"));
    QCOMPARE(t[2].reportPath, QByteArray("virtual:a:report"));
    QVERIFY(t[3].commandPath.isEmpty() && t[3].reportPath.isEmpty());
    QCOMPARE(t[4].commandPath, QByteArray("virtual:b:report"));
}

void TestDeviceTable::shippedReferenceTable()
{
    // The reference table in the resources: two devices, the mouse second.
    const QString path = QStringLiteral(MOUSE_RESOURCES_DIR "/DevInfo.ini");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readLine().startsWith("; type 0: Keyboard, type 1: Mouse"));
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("common/total")).toInt(), 2);
    QCOMPARE(s.value(QStringLiteral("common/isEncode")).toString(), QStringLiteral("false"));
    // Read with the same rules, through a copy that names its count as the settings file does.
    QTemporaryDir dir;
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray text = in.readAll().replace("total=2", "deviceCount=2");
    const DeviceTable t = readDeviceTable(writeIni(dir, text));
    QCOMPARE(t.size(), 2);
    QCOMPARE(t[0].type, 0);
    QCOMPARE(t[0].pid, uint16_t(0x8008));
    QCOMPARE(t[0].usagePage, uint16_t(0xff01));
    QCOMPARE(t[0].reportLength, 64);
    QCOMPARE(t[1].type, 1);
    QCOMPARE(t[1].pid, uint16_t(0xa1ee));
    QCOMPARE(t[1].usage2, uint16_t(0xff01));
    QCOMPARE(t[1].reportLength, 32);
}

QTEST_GUILESS_MAIN(TestDeviceTable)
#include "tst_devicetable.moc"
