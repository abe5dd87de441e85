// Pointer settings through GSettings, on GIO's in-memory backend: never the user's real desktop.
#include <gio/gio.h> // before Qt: Qt's "signals" keyword clashes with a GIO struct member

#include "platform/giopointersettings.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char kSchema[] = "org.gnome.desktop.peripherals.mouse";

bool schemaInstalled()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}

// What the desktop holds now, read through a settings object of its own.
struct Desktop {
    GSettings* settings = g_settings_new(kSchema);
    ~Desktop() { g_object_unref(settings); }
    double speed() const { return g_settings_get_double(settings, "speed"); }
    int doubleClick() const { return g_settings_get_int(settings, "double-click"); }
};

} // namespace

class TestGioPointerSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void speed_data();
    void speed();
    void doubleClick_data();
    void doubleClick();
    void wheelLinesHaveNoDesktopSetting();
    void missingSchemaFailsEveryCall();
    void programReachesTheModule();
    void systemWithoutSchemaFailsEveryCall();
};

void TestGioPointerSettings::initTestCase()
{
    QCOMPARE(qgetenv("GSETTINGS_BACKEND"), QByteArray("memory"));
    if (qEnvironmentVariableIsSet("MOUSE_TEST_NO_SCHEMA"))
        return;
    if (!schemaInstalled())
        QSKIP("gsettings-desktop-schemas is not installed");
}

void TestGioPointerSettings::speed_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("gnome");

    QTest::newRow("1 (step 0)") << 1 << true << -1.0;
    QTest::newRow("2 (step 1)") << 2 << true << -0.8;
    QTest::newRow("10 (step 5)") << 10 << true << 0.0;
    QTest::newRow("16 (step 8)") << 16 << true << 0.6;
    QTest::newRow("20 (step 10)") << 20 << true << 1.0;
    QTest::newRow("odd speed between steps") << 11 << true << 0.1;
    QTest::newRow("0") << 0 << false << 0.0;
    QTest::newRow("21") << 21 << false << 0.0;
    QTest::newRow("negative") << -4 << false << 0.0;
}

void TestGioPointerSettings::speed()
{
    if (qEnvironmentVariableIsSet("MOUSE_TEST_NO_SCHEMA"))
        QSKIP("run without schemas");
    QFETCH(int, speed);
    QFETCH(bool, accepted);
    QFETCH(double, gnome);

    GioPointerSettings settings;
    QVERIFY(settings.isAvailable());
    Desktop desktop;
    QVERIFY(settings.setMouseSpeed(7)); // a known value to compare a refusal against
    const double before = desktop.speed();
    QCOMPARE(settings.setMouseSpeed(speed), accepted);
    if (accepted)
        QVERIFY2(qAbs(desktop.speed() - gnome) < 1e-9,
                 qPrintable(QString::number(desktop.speed())));
    else
        QCOMPARE(desktop.speed(), before);
}

void TestGioPointerSettings::doubleClick_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");

    QTest::newRow("900") << 900 << true << 900;
    QTest::newRow("200") << 200 << true << 200;
    QTest::newRow("longest") << 5000 << true << 5000;
    QTest::newRow("beyond the longest") << 7000 << true << 5000;
    QTest::newRow("0") << 0 << false << 0;
    QTest::newRow("negative") << -70 << false << 0;
}

void TestGioPointerSettings::doubleClick()
{
    if (qEnvironmentVariableIsSet("MOUSE_TEST_NO_SCHEMA"))
        QSKIP("run without schemas");
    QFETCH(int, ms);
    QFETCH(bool, accepted);
    QFETCH(int, stored);

    GioPointerSettings settings;
    Desktop desktop;
    QVERIFY(settings.setDoubleClickTime(430));
    QCOMPARE(settings.setDoubleClickTime(ms), accepted);
    QCOMPARE(desktop.doubleClick(), accepted ? stored : 430);
}

void TestGioPointerSettings::wheelLinesHaveNoDesktopSetting()
{
    GioPointerSettings settings;
    QVERIFY(!settings.setWheelScrollLines(3));
    QVERIFY(!settings.setWheelScrollLines(1000));
}

void TestGioPointerSettings::missingSchemaFailsEveryCall()
{
    QTemporaryDir empty;
    GioPointerSettings settings(empty.path());
    QVERIFY(!settings.isAvailable());
    QVERIFY(!settings.setMouseSpeed(10));
    QVERIFY(!settings.setDoubleClickTime(500));
    QVERIFY(!settings.setWheelScrollLines(3));
}

void TestGioPointerSettings::programReachesTheModule()
{
    // The program gets the GIO settings from the module beside it, loaded at the first use.
    if (qEnvironmentVariableIsSet("MOUSE_TEST_NO_SCHEMA"))
        QSKIP("needs the run with schemas");
    std::unique_ptr<PointerSettings> settings = createPointerSettings();
    QVERIFY(settings->setMouseSpeed(20));
    QVERIFY(settings->setDoubleClickTime(900));
    QVERIFY(!settings->setWheelScrollLines(3));
}

void TestGioPointerSettings::systemWithoutSchemaFailsEveryCall()
{
    // Registered a second time with no schema folders at all in the environment.
    if (!qEnvironmentVariableIsSet("MOUSE_TEST_NO_SCHEMA"))
        QSKIP("needs the run without schemas");
    std::unique_ptr<PointerSettings> settings = createPointerSettings();
    QVERIFY(!settings->setMouseSpeed(10));
    QVERIFY(!settings->setDoubleClickTime(500));
    QVERIFY(!settings->setWheelScrollLines(3));
}

int main(int argc, char** argv)
{
    // Whoever runs this by hand must not have their desktop changed.
    qputenv("GSETTINGS_BACKEND", "memory");
    QCoreApplication app(argc, argv);
    TestGioPointerSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_giopointersettings.moc"
