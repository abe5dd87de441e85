// Checks of the data shipped under data/modules: what the scene and the native side read from it.
#include "tests/support/modulescopy.h"

#include "store/langstrings.h"
#include "store/namelists.h"
#include "store/settingsstore.h"

#include <QtTest>

#include <functional>

namespace {

struct Group {
    const char* name;
    int length;
};

// Every group the scene loads, with the length of the page's list.
constexpr Group Groups[] = {
    {"main", 15},         {"keyMatrix", 5},    {"keyAssigment", 60},  {"dpiSetting", 1},
    {"lightControl", 15}, {"macroEditor", 20}, {"systemSetting", 15}, {"gunControl", 10},
    {"profile", 20},      {"keyCode", 133},    {"other", 8},
};

const QStringList Languages{QStringLiteral("English"), QStringLiteral("ChineseSimplified")};

QList<int> ints(const QVariant& v, bool* ok)
{
    QList<int> out;
    *ok = v.typeId() == QMetaType::QStringList;
    for (const QString& s : v.toStringList()) {
        bool good = false;
        out.append(s.trimmed().toInt(&good));
        *ok = *ok && good;
    }
    return out;
}

} // namespace

class TestShippedData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_data.isValid()); }

    void languageGroupsHaveTheirLengths_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("length");
        for (const QString& language : Languages) {
            for (const Group& g : Groups) {
                QTest::addRow("%s %s", qPrintable(language), g.name)
                    << language << QString::fromLatin1(g.name) << g.length;
            }
        }
    }

    void languageGroupsHaveTheirLengths()
    {
        QFETCH(QString, language);
        QFETCH(QString, group);
        QFETCH(int, length);
        const QSettings file(
            m_data.file(QStringLiteral("i18n/") + language + QStringLiteral(".ini")),
            QSettings::IniFormat);
        QCOMPARE(file.value(group + QStringLiteral("/total")).toInt(), length);
        for (int i = 0; i < length; ++i)
            QVERIFY2(file.contains(group + QStringLiteral("/%1").arg(i)),
                     qPrintable(QString::number(i)));

        // Where English has a text, every language has one.
        const LangStrings lang(m_data.dir());
        const QStringList english = lang.getLangStrings(group, QStringLiteral("English"));
        const QStringList texts = lang.getLangStrings(group, language);
        QCOMPARE(texts.size(), length);
        for (int i = 0; i < length; ++i)
            QVERIFY2(english.at(i).isEmpty() == texts.at(i).isEmpty(),
                     qPrintable(QString::number(i)));
    }

    // The scene turns names back into codes by the first match, so names must be distinct (0x31 and
    // 0x32 share one name on purpose).
    void keyNamesLeadBackToTheirCodes()
    {
        const LangStrings lang(m_data.dir());
        for (const QString& language : Languages) {
            const QStringList names = lang.getLangStrings(QStringLiteral("keyCode"), language);
            QCOMPARE(names.size(), 133);
            QCOMPARE(names.at(45), names.at(46));
            for (int i = 0; i < names.size(); ++i) {
                QVERIFY2(!names.at(i).isEmpty(), qPrintable(language));
                if (i != 46)
                    QCOMPARE(names.indexOf(names.at(i)), i);
            }
        }
        const QStringList english =
            lang.getLangStrings(QStringLiteral("keyCode"), QStringLiteral("English"));
        QCOMPARE(english.first(), QStringLiteral("A"));
        QCOMPARE(english.at(45), QStringLiteral("\\"));
        QCOMPARE(english.at(115), QStringLiteral("Intl3"));
        QCOMPARE(english.at(128), QStringLiteral("MS-L"));
        QCOMPARE(english.last(), QStringLiteral("MS-B5"));
    }

    void profilesCarryEveryKey_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("pD.bin") << QStringLiteral("setting/pD.bin");
        for (int n = 1; n <= SettingsStore::ProfileCount; ++n)
            QTest::addRow("p%d.bin", n) << QStringLiteral("setting/p%1.bin").arg(n);
    }

    void profilesCarryEveryKey()
    {
        QFETCH(QString, file);
        const QSettings p(m_data.file(file), QSettings::IniFormat);
        const QSettings global(m_data.file(QStringLiteral("setting/apConfig.bin")),
                               QSettings::IniFormat);
        auto intOf = [&](const QString& key, int lo, int hi) {
            bool ok = false;
            const int v = p.value(key).toString().toInt(&ok);
            if (!ok || v < lo || v > hi)
                qWarning("%s: %s", qPrintable(key), qPrintable(p.value(key).toString()));
            return ok && v >= lo && v <= hi;
        };
        // key, entries, each in [lo, hi]
        auto listOf = [&](const QString& key, int size, int lo, int hi,
                          const std::function<bool(int)>& extra = {}) {
            bool ok = false;
            const QList<int> v = ints(p.value(key), &ok);
            ok = ok && v.size() == size;
            for (int x : v)
                ok = ok && x >= lo && x <= hi && (!extra || extra(x));
            if (!ok)
                qWarning("%s: %s", qPrintable(key),
                         qPrintable(p.value(key).toStringList().join(u',')));
            return ok;
        };

        QVERIFY(intOf(QStringLiteral("mouse/reportRate"), 0, 3));
        QVERIFY(intOf(QStringLiteral("mouse/dpiCount"), 1, 8));
        QVERIFY(intOf(QStringLiteral("mouse/currentDpiCount"), 1,
                      p.value(QStringLiteral("mouse/dpiCount")).toInt()));
        const int minDpi = global.value(QStringLiteral("mouse/minDPI")).toInt();
        const int maxDpi = global.value(QStringLiteral("mouse/maxDPI")).toInt();
        const int base = global.value(QStringLiteral("mouse/dpiBase")).toInt();
        QVERIFY(base > 0);
        QVERIFY(listOf(QStringLiteral("mouse/dpiValueArray"), 8, minDpi, maxDpi,
                       [&](int v) { return v % base == 0; }));
        QVERIFY(listOf(QStringLiteral("mouse/lightValue"), 3, 0, 10));
        bool parsed = false;
        const QList<int> light = ints(p.value(QStringLiteral("mouse/lightValue")), &parsed);
        QVERIFY(parsed && light.value(1) <= 4 && light.value(2) <= 4); // speed and brightness steps
        QVERIFY(listOf(QStringLiteral("mouse/colorValue"), 24, 0, 255));
        QVERIFY(intOf(QStringLiteral("mouse/mouseRate"), 3, 337));
        QVERIFY(intOf(QStringLiteral("mouse/doubleRate"), 3, 337));
        QVERIFY(intOf(QStringLiteral("mouse/scrollRate"), 1, 1000));
        for (int button = 0; button < 16; ++button) {
            QVERIFY(listOf(QStringLiteral("mouseKeyMatrix/%1").arg(button), 4, 0, 255));
            QVERIFY(listOf(QStringLiteral("mouseFwKeyMatrix/%1").arg(button), 4, 0, 255));
        }
        QCOMPARE(m_data.read(file), m_data.read(QStringLiteral("setting/pD.bin")));
    }

    // The factory assignment is the key page's default.
    void factoryKeyMatrix_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("entry");
        const char* rows[] = {"0, 0, 240, 0", "0, 0, 241, 0", "0, 0, 242, 0", "0, 0, 244, 0",
                              "0, 0, 243, 0", "5, 0, 1, 0",   "5, 0, 2, 0",   "0, 240, 30, 2",
                              "0, 0, 0, 0",   "0, 0, 0, 0",   "0, 0, 0, 0",   "0, 0, 0, 0",
                              "0, 0, 0, 0",   "0, 0, 0, 0",   "255, 0, 1, 0", "255, 0, 2, 0"};
        for (int b = 0; b < 16; ++b)
            QTest::addRow("button %d", b) << b << QString::fromLatin1(rows[b]);
    }

    void factoryKeyMatrix()
    {
        QFETCH(int, button);
        QFETCH(QString, entry);
        const QSettings p(m_data.file(QStringLiteral("setting/pD.bin")), QSettings::IniFormat);
        QCOMPARE(p.value(QStringLiteral("mouseKeyMatrix/%1").arg(button))
                     .toStringList()
                     .join(QStringLiteral(", ")),
                 entry);
    }

    void globalFile()
    {
        QCOMPARE(m_data.read(QStringLiteral("setting/apConfig.bin")),
                 m_data.read(QStringLiteral("setting/apConfigD.bin")));
        const SettingsStore store(m_data.dir());
        auto text = [&](const char* key) {
            return store.getGlobalData(QString::fromLatin1(key)).toString();
        };

        QVERIFY(!text("common/name").isEmpty());
        QVERIFY(text("common/url").startsWith(QLatin1String("https://")));
        QVERIFY(QFileInfo::exists(m_data.file(QStringLiteral("i18n/") + text("common/language") +
                                              QStringLiteral(".ini"))));
        QCOMPARE(text("common/deviceCount"), QStringLiteral("1"));
        QCOMPARE(text("0/vid"), QStringLiteral("04d9"));
        QCOMPARE(text("0/pid"), QStringLiteral("a1ee"));
        QCOMPARE(text("0/usagePage") + text("0/usage") + text("0/usagePage2") + text("0/usage2"),
                 QStringLiteral("ff00ff00ff01ff01"));
        QCOMPARE(text("0/reportLength"), QStringLiteral("32"));

        QVERIFY(store.isGun());
        QVERIFY(!store.icType().isEmpty());
        QVERIFY(QStringList({QStringLiteral("true"), QStringLiteral("false")})
                    .contains(text("mouse/isColorful")));
        QVERIFY(text("mouse/keyCount").toInt() >= 1 && text("mouse/keyCount").toInt() <= 8);
        QVERIFY(text("mouse/profileNo").toInt() >= 0 && text("mouse/profileNo").toInt() <= 5);
        QVERIFY(
            QStringList({QStringLiteral("3360"), QStringLiteral("3050"), QStringLiteral("4090")})
                .contains(text("mouse/sensorType")));
        QVERIFY(text("mouse/minDPI").toInt() < text("mouse/maxDPI").toInt());
        QVERIFY(text("mouse/dpiBase").toInt() > 0);
        QCOMPARE(store.getGlobalData(QStringLiteral("mouse/selectGun")).toStringList(),
                 (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
    }

    void gunFileHasTheSixGuns()
    {
        const QSettings guns(m_data.file(QStringLiteral("gun/gunData.bin")), QSettings::IniFormat);
        const QStringList names{QStringLiteral("M416"),  QStringLiteral("AKM"),
                                QStringLiteral("M16A4"), QStringLiteral("SCAR-L"),
                                QStringLiteral("UNP9"),  QStringLiteral("Thomson")};
        for (int i = 0; i < names.size(); ++i) {
            const QStringList gun = guns.value(QStringLiteral("gunData/%1").arg(i)).toStringList();
            QCOMPARE(gun.size(), 6);
            QCOMPARE(gun.at(0), names.at(i));
            QCOMPARE(gun.at(1), QStringLiteral("L-Click"));
            QVERIFY(gun.at(2).toInt() >= 4 && gun.at(2).toInt() <= 90);
            for (int k = 3; k <= 4; ++k)
                QVERIFY(gun.at(k).toInt() >= 0 && gun.at(k).toInt() <= 64);
            QVERIFY(gun.at(5).toInt() >= 0 && gun.at(5).toInt() <= 255);
        }
    }

    void nameFileHoldsTheStandardProfile()
    {
        const QStringList profiles =
            QVariant(NameLists(m_data.dir()).getNameList(2)).toStringList();
        QCOMPARE(profiles,
                 (QStringList{QStringLiteral("Standard0"), QString(NameLists::Sentinel)}));
    }

private:
    ModulesCopy m_data;
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
