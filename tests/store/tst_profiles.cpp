#include "tests/support/modulescopy.h"

#include "store/profiles.h"
#include "store/settingsstore.h"
#include "tests/support/fakedialogs.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString ReportRate = QStringLiteral("mouse/reportRate");
QString slotFile(int slot)
{
    return QStringLiteral("setting/p%1.bin").arg(slot + 1);
}

// Lets no process write files larger than a limit while it lives: writes beyond fail half-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool isActive() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

class TestProfiles : public QObject {
    Q_OBJECT

private slots:
    void importReplacesSlotWithoutRestart()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QByteArray imported = m.read(QStringLiteral("setting/pD.bin"));
        imported.replace("reportRate=3", "reportRate=0");
        imported.append("\n[extra]\nfromImport=yes\n");
        QVERIFY(m.write(QStringLiteral("export/mine.pf"), imported));

        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        dialogs.answers = {m.file(QStringLiteral("export/mine.pf"))};
        store.setCurrentProfile(2);
        store.setData(ReportRate, 2); // buffered edit of the slot being replaced
        store.setCurrentProfile(1);

        QVERIFY(Profiles(store, dialogs).loadProfile(2));
        QCOMPARE(dialogs.asked, QStringList{QStringLiteral("open|Open File|Profile(*.pf)")});
        QCOMPARE(m.read(slotFile(2)), imported);
        QCOMPARE(store.currentProfile(), 1);
        store.setCurrentProfile(2);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("0"));
        QCOMPARE(store.getData(QStringLiteral("extra/fromImport"), false).toString(),
                 QStringLiteral("yes"));
        store.syncAll();
        QCOMPARE(m.read(slotFile(2)), imported);
    }

    void cancelledDialogsChangeNothing()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("export/old.pf"), "keep me"));
        const auto before = m.snapshot();
        SettingsStore store(m.dir());
        FakeDialogs dialogs; // every answer is a cancel
        Profiles profiles(store, dialogs);
        QVERIFY(!profiles.loadProfile(0));
        profiles.saveProfile(0);
        QCOMPARE(dialogs.asked.size(), 2);
        QCOMPARE(m.snapshot(), before);
    }

    void exportReplacesTargetWithSlotCopy()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("export/old.pf"), "an older export, to be replaced"));
        SettingsStore store(m.dir());
        store.setData(ReportRate, 1); // not yet on disk
        FakeDialogs dialogs;
        dialogs.answers = {m.file(QStringLiteral("export/old.pf"))};
        Profiles(store, dialogs).saveProfile(0);

        QCOMPARE(dialogs.asked, QStringList{QStringLiteral("save|Save File|Profile(*.pf)")});
        QCOMPARE(m.read(QStringLiteral("export/old.pf")), m.read(slotFile(0)));
        QCOMPARE(valueOnDisk(m.file(QStringLiteral("export/old.pf")), ReportRate).toString(),
                 QStringLiteral("1"));
    }

    void exportOverAnOpenFileIsRefused()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        store.setCurrentProfile(3);
        store.setData(ReportRate, 0);
        store.syncAll();
        const QByteArray p4 = m.read(slotFile(3));
        FakeDialogs dialogs;
        dialogs.answers = {m.file(slotFile(3))};
        Profiles(store, dialogs).saveProfile(0);
        QCOMPARE(m.read(slotFile(3)), p4);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("0"));
    }

    void resetMakesFactoryCopyAndKeepsCurrentIndex()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        const QByteArray factory = m.read(QStringLiteral("setting/pD.bin"));
        {
            SettingsStore store(m.dir());
            FakeDialogs dialogs;
            store.setCurrentProfile(4);
            store.setData(ReportRate, 1);
            store.setData(QStringLiteral("mouse/only"), QStringLiteral("edited"));
            store.syncAll();
            store.setData(ReportRate, 2); // still buffered when the reset comes
            store.setCurrentProfile(1);
            Profiles(store, dialogs).resetProfile(4);
            QCOMPARE(store.currentProfile(), 1);
            QCOMPARE(m.read(slotFile(4)), factory);
            store.setCurrentProfile(4);
            QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
            QVERIFY(!store.getData(QStringLiteral("mouse/only"), false).isValid());
        }
        QCOMPARE(m.read(slotFile(4)), factory);
    }

    void copyBothWaysCarriesBufferedEdits()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        Profiles profiles(store, dialogs);
        store.setCurrentProfile(3);
        store.setData(QStringLiteral("mouse/marker"), QStringLiteral("four")); // buffered

        profiles.copyProfile(1, 3);
        QCOMPARE(m.read(slotFile(1)), m.read(slotFile(3)));
        store.setCurrentProfile(1);
        QCOMPARE(store.getData(QStringLiteral("mouse/marker"), false).toString(),
                 QStringLiteral("four"));

        store.setData(QStringLiteral("mouse/marker"), QStringLiteral("two"));
        profiles.copyProfile(3, 1);
        QCOMPARE(m.read(slotFile(3)), m.read(slotFile(1)));
        store.setCurrentProfile(3);
        QCOMPARE(store.getData(QStringLiteral("mouse/marker"), false).toString(),
                 QStringLiteral("two"));
    }

    void copyOntoItselfKeepsFile()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        store.setCurrentProfile(2);
        store.setData(ReportRate, 0);
        Profiles(store, dialogs).copyProfile(2, 2);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("0"));
        QCOMPARE(valueOnDisk(m.file(slotFile(2)), ReportRate).toString(), QStringLiteral("0"));
    }

    void slotsOutsideTheTableAreIgnored()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        const auto before = m.snapshot();
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        dialogs.answers = {m.file(QStringLiteral("setting/pD.bin"))};
        Profiles profiles(store, dialogs);
        QVERIFY(!profiles.loadProfile(10));
        profiles.saveProfile(-1);
        profiles.resetProfile(10);
        profiles.copyProfile(0, 12);
        profiles.copyProfile(-3, 0);
        QVERIFY(dialogs.asked.isEmpty());
        QCOMPARE(m.snapshot(), before);
    }

    // Replacing a file with one of the same size within the same clock tick must not serve the old
    // content from Qt's memory of the file.
    void replacementOfSameSizeIsRead()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        Profiles profiles(store, dialogs);
        store.setData(ReportRate, QStringLiteral("1"));
        store.syncAll();
        QByteArray factory = m.read(slotFile(0)); // our own layout, so sizes match exactly
        QVERIFY(factory.contains("reportRate=1"));
        factory.replace("reportRate=1", "reportRate=3");
        QVERIFY(m.write(QStringLiteral("setting/pD.bin"), factory));

        for (int round = 0; round < 20; ++round) {
            store.setData(ReportRate,
                          QString::number(round % 2 + 1)); // written just before the copy
            profiles.resetProfile(0);
            QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
        }
    }

    void copyFailingHalfWayKeepsProfile()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QByteArray big = m.read(QStringLiteral("setting/pD.bin"));
        big.append("\n[padding]\nfill=");
        big.append(QByteArray(512 * 1024, 'x'));
        big.append('\n');
        QVERIFY(m.write(QStringLiteral("export/big.pf"), big));

        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        dialogs.answers = {m.file(QStringLiteral("export/big.pf"))};
        Profiles profiles(store, dialogs);
        store.setData(ReportRate, 0); // buffered: must survive the failed import

        {
            FileSizeLimit limit(64 * 1024);
            QVERIFY(limit.isActive());
            QVERIFY(profiles.loadProfile(0));
        }
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("0"));
        QCOMPARE(valueOnDisk(m.file(slotFile(0)), ReportRate).toString(), QStringLiteral("0"));
        QVERIFY(!store.getData(QStringLiteral("padding/fill"), false).isValid());
        QCOMPARE(QDir(m.file(QStringLiteral("setting"))).entryList(QDir::Files).size(), 14);

        // The same import goes through once there is room.
        dialogs.answers = {m.file(QStringLiteral("export/big.pf"))};
        QVERIFY(profiles.loadProfile(0));
        QCOMPARE(m.read(slotFile(0)), big);
    }

    void unreadableSourceKeepsProfile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("missing") << QStringLiteral("export/none.pf");
        QTest::newRow("a folder") << QStringLiteral("export");
    }

    void unreadableSourceKeepsProfile()
    {
        QFETCH(QString, source);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(QDir().mkpath(m.file(QStringLiteral("export"))));
        const auto before = m.snapshot();
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        dialogs.answers = {m.file(source)};
        QVERIFY(Profiles(store, dialogs).loadProfile(0));
        QCOMPARE(m.snapshot(), before);
        QCOMPARE(store.getData(ReportRate, false).toString(), QStringLiteral("3"));
    }
};

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
