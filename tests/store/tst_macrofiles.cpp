#include "tests/support/modulescopy.h"

#include "store/macrofiles.h"
#include "store/settingsstore.h"
#include "tests/support/fakedialogs.h"

#include <QtTest>

namespace {

QString macroFile(const ModulesCopy& m, const QString& name)
{
    return m.file(QStringLiteral("macro/") + name + QStringLiteral(".bin"));
}

// Assigns macro slot `slot` (named `name`) to `button` of a profile slot.
void assignMacro(SettingsStore& store, int profile, int button, int slot, const QString& name)
{
    QSettings& p = *store.profileSettings(profile);
    p.setValue(QStringLiteral("mouseKeyMatrix/%1").arg(button), QVariantList{4, 0, slot, 0});
    p.setValue(QStringLiteral("mouseMacroKey/%1").arg(slot), name);
}

QStringList entry(SettingsStore& store, int profile, int button)
{
    return store.profileSettings(profile)
        ->value(QStringLiteral("mouseKeyMatrix/%1").arg(button))
        .toStringList();
}

} // namespace

class TestMacroFiles : public QObject {
    Q_OBJECT

private slots:
    void createSaveLoad()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        MacroFiles macros(store, dialogs);
        const QString M = QStringLiteral("M");

        QCOMPARE(macros.createMacroIni(M, 0), QVariant(true));
        QCOMPARE(macros.loadMacroIni(M), QStringList{QStringLiteral("1")});
        const QSettings created(macroFile(m, M), QSettings::IniFormat);
        QCOMPARE(created.value(QStringLiteral("config/did")).toInt(), -1);
        QCOMPARE(created.value(QStringLiteral("config/index")).toUInt(), 0u);

        const QStringList five{QStringLiteral("1,A"), QStringLiteral("0,50"), QStringLiteral("2,A"),
                               QStringLiteral("3,MS-L"), QStringLiteral("4,MS-L")};
        QCOMPARE(macros.saveMacroIni(M, five, 5), QVariant(true));
        QCOMPARE(macros.loadMacroIni(M), five + QStringList{QStringLiteral("5")});

        // Two over five leaves two; a key named "," survives the INI quoting.
        const QStringList two{QStringLiteral("1,,"), QStringLiteral("2,,")};
        QCOMPARE(macros.saveMacroIni(M, two, QStringLiteral("3")), QVariant(true));
        QCOMPARE(macros.loadMacroIni(M), two + QStringList{QStringLiteral("3")});
        QCOMPARE(valueOnDisk(macroFile(m, M), QStringLiteral("macro/2")), QVariant());
        QCOMPARE(valueOnDisk(macroFile(m, M), QStringLiteral("macro/1")).toString(), two.at(1));

        QCOMPARE(macros.saveMacroIni(QStringLiteral("none"), two, 1), QVariant(false));
        QVERIFY(!QFileInfo::exists(macroFile(m, QStringLiteral("none"))));
        QVERIFY(macros.loadMacroIni(QStringLiteral("none")).isEmpty());

        QCOMPARE(macros.deleteMacroIni(M), QVariant(true));
        QVERIFY(!QFileInfo::exists(macroFile(m, M)));
        QCOMPARE(macros.deleteMacroIni(M), QVariant(false));
    }

    void damagedMacroFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("loaded");

        const QString zero = QStringLiteral("0");
        QTest::newRow("total beyond the records")
            << QByteArray("[config]\ntotal=3\nrepeat=2\n[macro]\n0=\"1,A\"\n1=\"2,A\"\n")
            << QStringList{QStringLiteral("1,A"), QStringLiteral("2,A"), zero, QStringLiteral("2")};
        QTest::newRow("negative total")
            << QByteArray("[config]\ntotal=-5\nrepeat=1\n") << QStringList{QStringLiteral("1")};
        QTest::newRow("total not a number")
            << QByteArray("[config]\ntotal=lots\nrepeat=1\n[macro]\n0=\"1,A\"\n")
            << QStringList{QStringLiteral("1")};
        QTest::newRow("unquoted record")
            << QByteArray("[config]\ntotal=1\nrepeat=1\n[macro]\n0=1,A\n")
            << QStringList{QStringLiteral("1,A"), QStringLiteral("1")};
        QTest::newRow("no config") << QByteArray("\x01\x02garbage\xff") << QStringList{zero};
        QTest::newRow("empty file") << QByteArray() << QStringList{zero};
    }

    void damagedMacroFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, loaded);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("macro/D.bin"), file));
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        QCOMPARE(MacroFiles(store, dialogs).loadMacroIni(QStringLiteral("D")), loaded);
    }

    void absurdTotalIsBounded()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("macro/Big.bin"), "[config]\ntotal=2147483647\nrepeat=1\n"));
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        const QStringList loaded = MacroFiles(store, dialogs).loadMacroIni(QStringLiteral("Big"));
        QCOMPARE(loaded.size(), MacroFiles::MaxRecords + 1);
        QCOMPARE(loaded.last(), QStringLiteral("1"));
    }

    void renameRewritesSlotsZeroToFive()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        MacroFiles macros(store, dialogs);
        macros.createMacroIni(QStringLiteral("M"), 0);
        for (int profile : {0, 5, 7})
            assignMacro(store, profile, 2, 2, QStringLiteral("M"));
        assignMacro(store, 0, 6, 6, QStringLiteral("Other"));

        QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("M"), QStringLiteral("N")),
                 QVariant(true));
        QVERIFY(!QFileInfo::exists(macroFile(m, QStringLiteral("M"))));
        QVERIFY(QFileInfo::exists(macroFile(m, QStringLiteral("N"))));
        auto slotName = [&](int profile, int slot) {
            return store.profileSettings(profile)
                ->value(QStringLiteral("mouseMacroKey/%1").arg(slot))
                .toString();
        };
        QCOMPARE(slotName(0, 2), QStringLiteral("N"));
        QCOMPARE(slotName(5, 2), QStringLiteral("N"));
        QCOMPARE(slotName(7, 2), QStringLiteral("M"));
        QCOMPARE(slotName(0, 6), QStringLiteral("Other"));

        // Onto an existing name: the profiles are rewritten, the file is not renamed.
        macros.createMacroIni(QStringLiteral("Other"), 0);
        QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("N"), QStringLiteral("Other")),
                 QVariant(false));
        QCOMPARE(slotName(0, 2), QStringLiteral("Other"));
        QVERIFY(QFileInfo::exists(macroFile(m, QStringLiteral("N"))));

        // A missing macro changes nothing.
        QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("Gone"), QStringLiteral("X")),
                 QVariant(false));
        QCOMPARE(slotName(0, 6), QStringLiteral("Other"));
    }

    // Qt remembers the content of a settings file it has read; a renamed macro taking the name of a
    // deleted one (same size, same time) must still be read afresh.
    void renamedMacroIsNotTheDeletedOne()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        MacroFiles macros(store, dialogs);
        for (const QString& name : {QStringLiteral("A"), QStringLiteral("B")})
            macros.createMacroIni(name, 0);
        macros.saveMacroIni(QStringLiteral("A"), {QStringLiteral("1,X")}, 1);
        macros.saveMacroIni(QStringLiteral("B"), {QStringLiteral("1,Y")}, 1);
        QCOMPARE(macros.loadMacroIni(QStringLiteral("A")).first(), QStringLiteral("1,X"));
        const QFileInfo a(macroFile(m, QStringLiteral("A")));
        QCOMPARE(QFileInfo(macroFile(m, QStringLiteral("B"))).size(), a.size());
        const QDateTime aTime = a.lastModified();
        {
            QFile b(macroFile(m, QStringLiteral("B")));
            QVERIFY(b.open(QIODevice::ReadWrite));
            QVERIFY(b.setFileTime(aTime, QFileDevice::FileModificationTime));
        }
        QCOMPARE(macros.deleteMacroIni(QStringLiteral("A")), QVariant(true));
        QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("B"), QStringLiteral("A")),
                 QVariant(true));
        QCOMPARE(macros.loadMacroIni(QStringLiteral("A")).first(), QStringLiteral("1,Y"));
    }

    void deleteRestoresFactoryEntriesInSlotsZeroToFive()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        assignMacro(store, 0, 2, 2, QStringLiteral("M"));
        assignMacro(store, 0, 6, 6, QStringLiteral("M"));
        assignMacro(store, 0, 4, 4, QStringLiteral("Keep"));
        assignMacro(store, 7, 6, 6, QStringLiteral("M"));
        store.profileSettings(3)->setValue(QStringLiteral("mouseKeyMatrix/1"),
                                           QVariantList{4}); // too short

        MacroFiles(store, dialogs).deleteMacroUpdateProfile(QStringLiteral("M"));
        const QStringList factory2 =
            store.factoryProfile().value(QStringLiteral("mouseKeyMatrix/2")).toStringList();
        const QStringList factory6 =
            store.factoryProfile().value(QStringLiteral("mouseKeyMatrix/6")).toStringList();
        QCOMPARE(entry(store, 0, 2), factory2);
        QCOMPARE(entry(store, 0, 6), factory6);
        QCOMPARE(entry(store, 0, 4), (QStringList{QStringLiteral("4"), QStringLiteral("0"),
                                                  QStringLiteral("4"), QStringLiteral("0")}));
        QCOMPARE(entry(store, 7, 6).first(), QStringLiteral("4"));
        QCOMPARE(store.profileSettings(0)->value(QStringLiteral("mouseMacroKey/2")).toString(),
                 QStringLiteral("M"));
        QCOMPARE(
            store.profileSettings(3)->value(QStringLiteral("mouseKeyMatrix/1")).toList().size(), 1);
    }

    void importAndExport()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("export/in.mc"),
                        "[config]\ntotal=1\nrepeat=4\n[macro]\n0=\"1,Q\"\n"));
        SettingsStore store(m.dir());
        FakeDialogs dialogs;
        MacroFiles macros(store, dialogs);

        QVERIFY(!macros.loadMacroFile(QStringLiteral("New"))); // cancelled
        QVERIFY(!QFileInfo::exists(macroFile(m, QStringLiteral("New"))));
        QCOMPARE(dialogs.asked.last(), QStringLiteral("open|Open File|Macro(*.mc)"));

        dialogs.answers = {m.file(QStringLiteral("export/in.mc"))};
        QVERIFY(macros.loadMacroFile(QStringLiteral("New")));
        QCOMPARE(m.read(QStringLiteral("macro/New.bin")), m.read(QStringLiteral("export/in.mc")));
        QCOMPARE(macros.loadMacroIni(QStringLiteral("New")),
                 (QStringList{QStringLiteral("1,Q"), QStringLiteral("4")}));

        // Import over an existing macro copies nothing.
        macros.createMacroIni(QStringLiteral("Old"), 0);
        const QByteArray old = m.read(QStringLiteral("macro/Old.bin"));
        dialogs.answers = {m.file(QStringLiteral("export/in.mc"))};
        QVERIFY(macros.loadMacroFile(QStringLiteral("Old")));
        QCOMPARE(m.read(QStringLiteral("macro/Old.bin")), old);

        // Export replaces a chosen file with the macro's bytes.
        QVERIFY(m.write(QStringLiteral("export/out.mc"), "older export"));
        dialogs.answers = {m.file(QStringLiteral("export/out.mc"))};
        macros.saveMacroFile(QStringLiteral("Old"));
        QCOMPARE(dialogs.asked.last(), QStringLiteral("save|Save File|Macro(*.mc)"));
        QCOMPARE(m.read(QStringLiteral("export/out.mc")), old);

        // Exporting a macro whose file is gone leaves the chosen file alone.
        dialogs.answers = {m.file(QStringLiteral("export/out.mc"))};
        macros.saveMacroFile(QStringLiteral("Gone"));
        QCOMPARE(m.read(QStringLiteral("export/out.mc")), old);

        const auto before = m.snapshot();
        macros.saveMacroFile(QStringLiteral("Old")); // cancelled
        QCOMPARE(m.snapshot(), before);
    }

    void namesThatLeaveTheFolderAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("into the profiles") << QStringLiteral("../setting/p1");
        QTest::newRow("parent") << QStringLiteral("..");
        QTest::newRow("current") << QStringLiteral(".");
        QTest::newRow("sub folder") << QStringLiteral("a/b");
        QTest::newRow("backslash") << QStringLiteral("..\\setting\\p1");
        QTest::newRow("absolute") << QStringLiteral("/tmp/evil");
        QTest::newRow("control character") << QStringLiteral("a\nb");
        QTest::newRow("NUL")
            << QString(QStringLiteral("p1")).append(QChar(0)).append(QStringLiteral("x"));
    }

    void namesThatLeaveTheFolderAreRefused()
    {
        QFETCH(QString, name);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("macro/Good.bin"), "[config]\ntotal=0\nrepeat=1\n"));
        QVERIFY(m.write(QStringLiteral("export/in.mc"), "[config]\ntotal=0\nrepeat=9\n"));
        const auto before = m.snapshot();
        {
            SettingsStore store(m.dir());
            FakeDialogs dialogs;
            dialogs.answers = {m.file(QStringLiteral("export/in.mc")),
                               m.file(QStringLiteral("export/in.mc"))};
            MacroFiles macros(store, dialogs);
            QCOMPARE(macros.createMacroIni(name, 0), QVariant(false));
            QCOMPARE(macros.saveMacroIni(name, {QStringLiteral("1,A")}, 1), QVariant(false));
            QVERIFY(macros.loadMacroIni(name).isEmpty());
            QCOMPARE(macros.deleteMacroIni(name), QVariant(false));
            QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("Good"), name),
                     QVariant(false));
            QCOMPARE(macros.modifyMacroNameUpdateProfile(name, QStringLiteral("Good2")),
                     QVariant(false));
            QVERIFY(!macros.loadMacroFile(name));
            macros.saveMacroFile(name);
            QVERIFY(dialogs.asked.isEmpty());
        }
        QCOMPARE(m.snapshot(), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/evil.bin")));
    }
};

QTEST_GUILESS_MAIN(TestMacroFiles)
#include "tst_macrofiles.moc"
