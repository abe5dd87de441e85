#include "tests/support/modulescopy.h"

#include "store/langstrings.h"
#include "store/namelists.h"

#include <QtTest>

class TestTextFiles : public QObject {
    Q_OBJECT

private slots:
    void nameListRoundTrip_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QStringList>("readBack"); // also what a restarted program reads

        const QString s = QString(NameLists::Sentinel);
        QTest::newRow("one entry gets the sentinel")
            << 2 << QStringList{QStringLiteral("Standard0")}
            << QStringList{QStringLiteral("Standard0"), s};
        QTest::newRow("three names keep their order")
            << 0 << QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}
            << QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")};
        QTest::newRow("two names, no sentinel")
            << 1 << QStringList{QStringLiteral("AKM"), QStringLiteral("M416")}
            << QStringList{QStringLiteral("AKM"), QStringLiteral("M416")};
        QTest::newRow("a name with a comma and blank")
            << 0 << QStringList{QStringLiteral("fire, then run")}
            << QStringList{QStringLiteral("fire, then run"), s};
        QTest::newRow("non-ASCII name")
            << 3 << QStringList{QStringLiteral("狙击")} << QStringList{QStringLiteral("狙击"), s};
        QTest::newRow("empty list removes the key") << 0 << QStringList{} << QStringList{};
    }

    void nameListRoundTrip()
    {
        QFETCH(int, type);
        QFETCH(QStringList, written);
        QFETCH(QStringList, readBack);
        ModulesCopy m;
        QVERIFY(m.isValid());
        NameLists lists(m.dir());
        lists.updataNameList(type, {QStringLiteral("old1"), QStringLiteral("old2")});
        QCOMPARE(lists.updataNameList(type, written), QVariant(true));

        QCOMPARE(QVariant(lists.getNameList(type)).toStringList(), readBack);
        const QVariant onDisk =
            valueOnDisk(m.file(QStringLiteral("setting/name.bin")), NameLists::keyOf(type));
        QCOMPARE(onDisk.toStringList(), readBack);
        if (readBack.isEmpty())
            QVERIFY(!onDisk.isValid());
    }

    void unknownTypeWritesNothing()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        const QByteArray before = m.read(QStringLiteral("setting/name.bin"));
        NameLists lists(m.dir());
        for (const QVariant& type :
             {QVariant(7), QVariant(-1), QVariant(QStringLiteral("macro"))}) {
            QCOMPARE(lists.updataNameList(type, {QStringLiteral("x")}), QVariant(true));
            QVERIFY(lists.getNameList(type).isEmpty());
        }
        QCOMPARE(m.read(QStringLiteral("setting/name.bin")), before);
    }

    void storedValueThatIsNoListReadsEmpty()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("setting/name.bin"), "[macro]\nmacroName=solo\n"));
        QVERIFY(NameLists(m.dir()).getNameList(0).isEmpty());
    }

    void languageFileIsUtf8()
    {
        ModulesCopy m;
        QVERIFY(m.isValid());
        const LangStrings lang(m.dir());
        const QStringList main =
            lang.getLangStrings(QStringLiteral("main"), QStringLiteral("ChineseSimplified"));
        QCOMPARE(main.size(), 15);
        QCOMPARE(main.at(0), QStringLiteral("编辑器"));
        QCOMPARE(main.at(6), QStringLiteral("恢复出厂设置"));
        const QStringList keys =
            lang.getLangStrings(QStringLiteral("keyCode"), QStringLiteral("ChineseSimplified"));
        QCOMPARE(keys.at(40), QStringLiteral("空格"));
        QCOMPARE(keys.at(45), QStringLiteral("\\"));
        QCOMPARE(keys.at(50), QStringLiteral(","));
        QCOMPARE(lang.getLangStrings(QStringLiteral("other"), QStringLiteral("English")).at(1),
                 QStringLiteral("DPI Switch to 2"));
    }

    void groupEdgeCases_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("a missing key inside the count")
            << QByteArray("[g]\ntotal=3\n0=a\n2=c\n")
            << QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")};
        QTest::newRow("fewer than the scene needs")
            << QByteArray("[g]\ntotal=1\n0=a\n1=b\n") << QStringList{QStringLiteral("a")};
        QTest::newRow("unquoted text with commas") << QByteArray("[g]\ntotal=1\n0=stop, then go\n")
                                                   << QStringList{QStringLiteral("stop, then go")};
        QTest::newRow("no group") << QByteArray("[other]\ntotal=2\n0=a\n1=b\n") << QStringList{};
        QTest::newRow("total not a number")
            << QByteArray("[g]\ntotal=many\n0=a\n") << QStringList{};
        QTest::newRow("negative total") << QByteArray("[g]\ntotal=-4\n0=a\n") << QStringList{};
        static const char garbage[] = "\x00\xff[g\x01]\n\x80total=\xfe";
        QTest::newRow("binary garbage") << QByteArray(garbage, sizeof garbage - 1) << QStringList{};
    }

    void groupEdgeCases()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, texts);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(m.write(QStringLiteral("i18n/Test.ini"), file));
        QCOMPARE(LangStrings(m.dir()).getLangStrings(QStringLiteral("g"), QStringLiteral("Test")),
                 texts);
    }

    void keyCodeGroupOfWrongLength_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("too short") << 100 << 100 << 100;
        QTest::newRow("too long") << 200 << 133 << 200;
        QTest::newRow("absurd count") << 2147483647 << 133 << LangStrings::MaxTexts;
    }

    void keyCodeGroupOfWrongLength()
    {
        QFETCH(int, total);
        QFETCH(int, present);
        QFETCH(int, expected);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QByteArray file = "[keyCode]\ntotal=" + QByteArray::number(total) + '\n';
        for (int i = 0; i < present; ++i)
            file += QByteArray::number(i) + "=K" + QByteArray::number(i) + '\n';
        QVERIFY(m.write(QStringLiteral("i18n/Odd.ini"), file));
        const QStringList names =
            LangStrings(m.dir()).getLangStrings(QStringLiteral("keyCode"), QStringLiteral("Odd"));
        QCOMPARE(names.size(), expected);
        QCOMPARE(names.first(), QStringLiteral("K0"));
        QCOMPARE(names.at(present - 1), QStringLiteral("K%1").arg(present - 1));
        if (expected > present)
            QVERIFY(names.at(present).isEmpty());
    }

    void languageCodeOutsideTheFolderIsRefused_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("no such language") << QStringLiteral("Klingon");
        QTest::newRow("parent folder") << QStringLiteral("../i18n/English");
        QTest::newRow("absolute") << QStringLiteral("/etc/English");
        QTest::newRow("empty") << QString();
    }

    void languageCodeOutsideTheFolderIsRefused()
    {
        QFETCH(QString, code);
        ModulesCopy m;
        QVERIFY(m.isValid());
        QVERIFY(LangStrings(m.dir()).getLangStrings(QStringLiteral("main"), code).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
