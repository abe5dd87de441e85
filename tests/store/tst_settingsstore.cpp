#include "tests/support/modulescopy.h"

#include "store/inifiles.h"
#include "store/langstrings.h"
#include "store/macrofiles.h"
#include "store/namelists.h"
#include "store/profiles.h"
#include "store/settingsstore.h"
#include "tests/support/fakedialogs.h"

#include "tests/support/permissions.h"

#include <QtTest>

namespace {

const QString ReportRate = QStringLiteral("mouse/reportRate");

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { m_noBypass = dropPermissionBypass(); }

    void readsFactoryOrCurrentProfile()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());

        store.setData(ReportRate, 1);
        QCOMPARE(store.getData(ReportRate, true).toString(), QStringLiteral("3"));
        QCOMPARE(store.getData(ReportRate, false).toInt(), 1);

        store.setCurrentProfile(3);
        store.setData(ReportRate, 0);
        QCOMPARE(store.getData(ReportRate, false).toInt(), 0);
        store.syncAll();
        QCOMPARE(valueOnDisk(m.file(QStringLiteral("setting/p4.bin")), ReportRate).toString(),
                 QStringLiteral("0"));
        QCOMPARE(valueOnDisk(m.file(QStringLiteral("setting/p1.bin")), ReportRate).toString(),
                 QStringLiteral("1"));

        // Slots the scene never passes change nothing and reach no other file.
        const auto before = m.snapshot();
        for (int bad : {-1, 10, 99}) {
            store.setCurrentProfile(bad);
            QCOMPARE(store.currentProfile(), 3);
        }
        store.syncAll();
        QCOMPARE(m.snapshot(), before);
    }

    // How values come back, in the same run and after a restart (a fresh reader of the files).
    void iniConventions_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<bool>("asList");
        QTest::addColumn<QVariant>("valueAfterRestart"); // invalid: absent
        QTest::addColumn<int>("listSizeInRun");
        QTest::addColumn<int>("listSizeAfterRestart");

        const QVariant invalid;
        QTest::newRow("list of four")
            << QVariant(QVariantList{0, 0, 240, 0}) << true
            << QVariant(QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("240"),
                                    QStringLiteral("0")})
            << 4 << 4;
        QTest::newRow("list of one stays a list")
            << QVariant(QVariantList{7}) << true << QVariant(QVariantList{7}) << 1 << 1;
        QTest::newRow("empty list is the invalid marker")
            << QVariant(QVariantList{}) << true << invalid << 0 << 0;
        QTest::newRow("plain number")
            << QVariant(4) << false << QVariant(QStringLiteral("4")) << 0 << 0;
        QTest::newRow("string list of one reads back as a string")
            << QVariant(QStringList{QStringLiteral("x")}) << false << QVariant(QStringLiteral("x"))
            << 1 << 0;
        QTest::newRow("text with a comma is not a list")
            << QVariant(QStringLiteral("1,A")) << false << QVariant(QStringLiteral("1,A")) << 0
            << 0;
    }

    void iniConventions()
    {
        QFETCH(QVariant, written);
        QFETCH(bool, asList);
        QFETCH(QVariant, valueAfterRestart);
        QFETCH(int, listSizeInRun);
        QFETCH(int, listSizeAfterRestart);
        const QString key = QStringLiteral("test/value");

        ModulesCopy m;
        QVERIFY(m.isValid());
        {
            SettingsStore store(m.dir());
            if (asList)
                store.setDataList(key, written.toList());
            else
                store.setData(key, written);
            QCOMPARE(store.getDataList(key, false).size(), listSizeInRun);
        }
        // A copy of the folder is what a restarted program reads.
        ModulesCopy restarted(m.dir());
        QVERIFY(restarted.isValid());
        SettingsStore store(restarted.dir());
        QCOMPARE(store.getData(key, false), valueAfterRestart);
        QCOMPARE(store.getDataList(key, false).size(), listSizeAfterRestart);
        if (listSizeAfterRestart > 0)
            QCOMPARE(store.getDataList(key, false), IniFiles::list(valueAfterRestart));
    }

    void absentKeysReadAsAbsent()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        QVERIFY(!store.getGlobalData(QStringLiteral("mouse/noSuchKey")).isValid());
        QVERIFY(!store.getData(QStringLiteral("mouse/noSuchKey"), false).isValid());
        QVERIFY(!store.getData(QStringLiteral("mouse/noSuchKey"), true).isValid());
        QVERIFY(store.getDataList(QStringLiteral("mouse/noSuchKey"), false).isEmpty());
        // A single plain value is not split into characters.
        QVERIFY(store.getDataList(ReportRate, false).isEmpty());
        QCOMPARE(store.getDataList(QStringLiteral("mouseKeyMatrix/0"), true).size(), 4);
    }

    void resetApconfigRestoresFactoryCopy()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QSettings(m.file(QStringLiteral("setting/apConfig.bin")), QSettings::IniFormat)
            .setValue(QStringLiteral("mouse/icType"), QStringLiteral("560"));
        const QByteArray factory = m.read(QStringLiteral("setting/apConfigD.bin"));
        {
            SettingsStore store(m.dir());
            QCOMPARE(store.icType(), QStringLiteral("560"));
            QVERIFY(store.isGun());
            store.setGlobalData(QStringLiteral("mouse/isGun"), false); // still buffered
            store.resetApconfig();
            QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(),
                     QStringLiteral("553-24"));
            QCOMPARE(store.getGlobalData(QStringLiteral("mouse/isGun")).toString(),
                     QStringLiteral("true"));
            QCOMPARE(store.icType(), QStringLiteral("560")); // read once, at construction
            QCOMPARE(m.read(QStringLiteral("setting/apConfig.bin")), factory);
        }
        // The old object's buffered write did not land in the replacement later either.
        QCOMPARE(m.read(QStringLiteral("setting/apConfig.bin")), factory);
    }

    void resetApconfigWithoutFactoryCopyKeepsGlobalFile()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(QFile::remove(m.file(QStringLiteral("setting/apConfigD.bin"))));
        SettingsStore store(m.dir());
        store.setGlobalData(QStringLiteral("common/name"), QStringLiteral("edited"));
        store.resetApconfig();
        QCOMPARE(store.getGlobalData(QStringLiteral("common/name")).toString(),
                 QStringLiteral("edited"));
        QCOMPARE(valueOnDisk(m.file(QStringLiteral("setting/apConfig.bin")),
                             QStringLiteral("common/name"))
                     .toString(),
                 QStringLiteral("edited"));
    }

    // A damaged profile reads as absent where it is damaged; nothing else is affected.
    void damagedProfileFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QVariant>("reportRate");

        QByteArray garbage;
        quint32 x = 12345;
        for (int i = 0; i < 8192; ++i) {
            x = x * 1103515245u + 12345u;
            garbage.append(char(x >> 24));
        }
        QTest::newRow("binary garbage") << garbage << QVariant();
        QTest::newRow("empty") << QByteArray() << QVariant();
        QTest::newRow("cut inside a section")
            << QByteArray("[mouse]\nreportRate=2\ndpiCount=8\ndpiValueArray=500, 10")
            << QVariant(QStringLiteral("2"));
        QTest::newRow("cut inside a section name")
            << QByteArray("[mouse]\nreportRate=1\n[mouseKe") << QVariant(QStringLiteral("1"));
        QTest::newRow("invalid UTF-8") << QByteArray("[mouse]\nreportRate=\xff\xfe\x80\n")
                                       << QVariant(QStringLiteral("\uFFFD\uFFFD\uFFFD"));
    }

    void damagedProfileFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QVariant, reportRate);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("setting/p1.bin"), content));
        const QByteArray p2 = m.read(QStringLiteral("setting/p2.bin"));
        const QByteArray global = m.read(QStringLiteral("setting/apConfig.bin"));

        SettingsStore store(m.dir());
        QCOMPARE(store.getData(ReportRate, false), reportRate);
        QVERIFY(store.getDataList(QStringLiteral("mouseKeyMatrix/3"), false).isEmpty());
        QCOMPARE(store.getData(ReportRate, true).toString(), QStringLiteral("3"));
        QVERIFY(store.isGun());

        store.setData(QStringLiteral("mouse/scrollRate"), 5);
        store.setCurrentProfile(1);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
        store.setCurrentProfile(0);
        QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toInt(), 5);
        store.syncAll();
        QCOMPARE(m.read(QStringLiteral("setting/p2.bin")), p2);
        QCOMPARE(m.read(QStringLiteral("setting/apConfig.bin")), global);

        // A reset mends it.
        FakeDialogs dialogs;
        Profiles(store, dialogs).resetProfile(0);
        QCOMPARE(m.read(QStringLiteral("setting/p1.bin")),
                 m.read(QStringLiteral("setting/pD.bin")));
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
    }

    void missingModulesFolder()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString dir = tmp.path() + QStringLiteral("/modules");
        SettingsStore store(dir);
        FakeDialogs dialogs;
        dialogs.answers = {QStringLiteral("/nonexistent/file.pf")};

        QVERIFY(!store.getGlobalData(QStringLiteral("common/name")).isValid());
        QVERIFY(!store.getData(ReportRate, true).isValid());
        QVERIFY(store.getDataList(QStringLiteral("mouseKeyMatrix/0"), false).isEmpty());
        QVERIFY(!store.isColorful());
        QVERIFY(!store.isGun());
        QVERIFY(store.icType().isEmpty());
        QVERIFY(NameLists(dir).getNameList(2).isEmpty());
        QVERIFY(LangStrings(dir)
                    .getLangStrings(QStringLiteral("main"), QStringLiteral("English"))
                    .isEmpty());
        MacroFiles macros(store, dialogs);
        QVERIFY(macros.loadMacroIni(QStringLiteral("M")).isEmpty());
        QCOMPARE(macros.saveMacroIni(QStringLiteral("M"), {}, 1), QVariant(false));

        Profiles profiles(store, dialogs);
        QVERIFY(profiles.loadProfile(0)); // chosen, but there is nothing to copy
        profiles.resetProfile(0);
        store.resetApconfig();
        QVERIFY(!QFileInfo::exists(dir));

        // A write creates what it needs.
        store.setData(ReportRate, 2);
        store.syncAll();
        QCOMPARE(valueOnDisk(store.profilePath(0), ReportRate).toString(), QStringLiteral("2"));
    }

    void readOnlyProfileFile()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        const QString p2 = m.file(QStringLiteral("setting/p2.bin"));
        QVERIFY(QFile::setPermissions(p2, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        if (!m_noBypass || QFileInfo(p2).isWritable())
            QSKIP("this process can write read-only files");
        const QByteArray before = m.read(QStringLiteral("setting/p2.bin"));

        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        Profiles profiles(store, dialogs);
        store.setCurrentProfile(1);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
        store.setData(ReportRate, 0); // cannot reach the disk; kept for this run
        QCOMPARE(store.getData(ReportRate, false).toInt(), 0);
        profiles.resetProfile(1);
        profiles.copyProfile(1, 0);
        store.setCurrentProfile(0);
        store.setData(ReportRate, 2);
        store.syncAll();

        QCOMPARE(m.read(QStringLiteral("setting/p2.bin")), before);
        QCOMPARE(valueOnDisk(m.file(QStringLiteral("setting/p1.bin")), ReportRate).toString(),
                 QStringLiteral("2"));
        QCOMPARE(QDir(m.file(QStringLiteral("setting"))).entryList(QDir::Files).size(), 14);
    }

private:
    bool m_noBypass = false;
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
