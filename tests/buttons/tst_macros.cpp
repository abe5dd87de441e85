// The key-name table, the macro encoder, fitting an encoding into the 128-byte block, and the
// macro transfer at the wire for both controller families.
#include "buttonsfixture.h"

#include "buttons/keycodestring.h"
#include "buttons/macrocode.h"
#include "buttons/macrotransfer.h"

#include <QSettings>
#include <QTest>

namespace {

QVariantList records(const QStringList& list)
{
    QVariantList out;
    for (const QString& r : list)
        out << r;
    return out;
}

QByteArray bytesOf(const QVariantList& list)
{
    QByteArray out;
    for (const QVariant& v : list)
        out.append(char(v.toInt()));
    return out;
}

QVariantList values(const QByteArray& bytes)
{
    QVariantList list;
    for (char b : bytes)
        list << int(uint8_t(b));
    return list;
}

QByteArray block(const QByteArray& head)
{
    QByteArray b = head;
    b.resize(MacroCode::kBlockSize, '\0');
    return b;
}

// n actions alternating press and release of A, with no delays.
QStringList pressRelease(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << (i % 2 ? QStringLiteral("2,A") : QStringLiteral("1,A"));
    return list;
}

QStringList languageNames(const QString& file)
{
    QSettings ini(QStringLiteral(MOUSE_DATA_DIR "/i18n/") + file, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("keyCode"));
    QStringList names;
    const int total = ini.value(QStringLiteral("total")).toInt();
    for (int i = 0; i < total; ++i)
        names << ini.value(QString::number(i)).toString();
    return names;
}

} // namespace

class TestMacros : public QObject {
    Q_OBJECT
private slots:
    void keyTable();
    void keyLookups_data();
    void keyLookups();
    void deCode_data();
    void deCode();
    void deCodeTakesScriptRecords();
    void fitBlock_data();
    void fitBlock();
    void send_data();
    void send();
};

// The built-in names are the English language file's, index for index, and every code is unique.
void TestMacros::keyTable()
{
    QCOMPARE(KeyCodeString::kKeys.size(), size_t(133));
    for (size_t i = 1; i < KeyCodeString::kKeys.size(); ++i)
        QVERIFY(KeyCodeString::kKeys[i].code > KeyCodeString::kKeys[i - 1].code);
    QCOMPARE(KeyCodeString::keyCode(0), uint8_t(0x04));
    QCOMPARE(KeyCodeString::keyCode(111), uint8_t(0x73));
    QCOMPARE(KeyCodeString::keyCode(132), uint8_t(0xF4));
    QCOMPARE(KeyCodeString::keyCode(133), uint8_t(0));
    QCOMPARE(KeyCodeString::builtInNames(), languageNames(QStringLiteral("English.ini")));
    QCOMPARE(languageNames(QStringLiteral("ChineseSimplified.ini")).size(), 133);
}

void TestMacros::keyLookups_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");     // strTokeycode(name)
    QTest::addColumn<int>("askCode");  // keycodeTostr(askCode) …
    QTest::addColumn<QString>("text"); // … gives text

    const QStringList builtIn = KeyCodeString::builtInNames();
    const QString backslash = QStringLiteral("\\");
    QTest::newRow("backslash leads to 0x31") << builtIn << backslash << 0x31 << 0x32 << backslash;
    QTest::newRow("Intl3") << builtIn << QStringLiteral("Intl3") << 0x89 << 0x86 << QString();
    QTest::newRow("empty name") << builtIn << QString() << 0 << 0xF0 << QStringLiteral("MS-L");
    QTest::newRow("case differs") << builtIn << QStringLiteral("space") << 0 << 0x2C
                                  << QStringLiteral("Space");
    QTest::newRow("extra blank") << builtIn << QStringLiteral("A ") << 0 << 0x04
                                 << QStringLiteral("A");
    QTest::newRow("MS-B5") << builtIn << QStringLiteral("MS-B5") << 0xF4 << 0xE7
                           << QStringLiteral("RWin");
    QTest::newRow("arrow") << builtIn << QStringLiteral("►") << 0x4F << 0x52 << QStringLiteral("▲");
    QTest::newRow("no language names")
        << QStringList() << QStringLiteral("A") << 0 << 0x04 << QString();
    const QStringList chinese = languageNames(QStringLiteral("ChineseSimplified.ini"));
    QTest::newRow("Chinese arrow")
        << chinese << QStringLiteral("→") << 0x4F << 0x50 << QStringLiteral("←");
    QTest::newRow("English arrow under Chinese")
        << chinese << QStringLiteral("►") << 0 << 0x4F << QStringLiteral("→");
    // Names past the table's end have no code.
    QTest::newRow("name past the table")
        << (builtIn + QStringList{QStringLiteral("Extra")}) << QStringLiteral("Extra") << 0 << 0xF4
        << QStringLiteral("MS-B5");
    QTest::newRow("short name array")
        << builtIn.mid(0, 3) << QStringLiteral("C") << 0x06 << 0x07 << QString();
}

void TestMacros::keyLookups()
{
    QFETCH(QStringList, names);
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, askCode);
    QFETCH(QString, text);
    QCOMPARE(int(KeyCodeString::strTokeycode(name, names)), code);
    QCOMPARE(KeyCodeString::keycodeTostr(askCode, names), text);
}

void TestMacros::deCode_data()
{
    QTest::addColumn<QStringList>("actions"); // stored records "<type>,<info>"
    QTest::addColumn<QVariant>("repeat");
    QTest::addColumn<QByteArray>("expected");

    const auto row = [](const char* name, const QStringList& actions, const QVariant& repeat,
                        const char* hex) {
        QTest::newRow(name) << actions << repeat << QByteArray::fromHex(hex);
    };
    const QString a = QStringLiteral("1,A"), ra = QStringLiteral("2,A");
    const auto d = [](int ms) { return QStringLiteral("0,%1").arg(ms); };

    row("press, 50 ms, release", {a, d(50), ra}, 1, "0001 0504 8104 0000");
    row("press, 2000 ms, release: 100 × 20 ms", {a, d(2000), ra}, 1,
        "0001 0004 0001 0064 8104 0000");
    row("no delay between: 1", {a, ra}, 1, "0001 0104 8104 0000");
    row("repeat 300", {a, ra}, 300, "012c 0104 8104 0000");
    row("repeat as text", {a, ra}, QStringLiteral("2"), "0002 0104 8104 0000");
    row("leading delays dropped", {d(500), d(20), a, d(30), ra}, 1, "0001 0304 8104 0000");
    row("only delays", {d(10), d(20)}, 1, "0001");
    row("only one press", {a}, 1, "0001");
    row("one press and a delay", {a, d(50)}, 1, "0001 0104 0000");
    row("no actions", {}, 7, "0007");
    row("press 55 ms rounds up", {a, d(55), ra}, 1, "0001 0604 8104 0000");
    row("release 55 ms is cut", {ra, d(55), a}, 1, "0001 8504 0104 0000");
    row("release 5 ms gives 1", {ra, d(5), a}, 1, "0001 8104 0104 0000");
    row("press 4 ms gives 1", {a, d(4), ra}, 1, "0001 0104 8104 0000");
    row("mouse buttons", {QStringLiteral("3,MS-L"), QStringLiteral("4,MS-L")}, 1,
        "0001 01f0 81f0 0000");
    row("delays after the last action dropped", {a, ra, d(5000)}, 1, "0001 0104 8104 0000");
    // The sum stays real: 25 + 26 ms is 5.1 units (cut 5), not 2 + 2; 3 × 14 ms is 4.2, not 3.
    row("release sum cut", {ra, d(25), d(26), a}, 1, "0001 8504 0104 0000");
    row("press sum rounded", {a, d(14), d(14), d(14), ra}, 1, "0001 0404 8104 0000");
    row("press 1264 ms: 126", {a, d(1264), ra}, 1, "0001 7e04 8104 0000");
    row("press 1266 ms rounds to 127: held to 126", {a, d(1266), ra}, 1, "0001 7e04 8104 0000");
    row("release 1269 ms: 126", {ra, d(1269), a}, 1, "0001 fe04 0104 0000");
    row("1270 ms: 63 × 20 ms", {a, d(1270), ra}, 1, "0001 0004 0001 003f 8104 0000");
    row("release, long delay: bit 7 kept", {ra, d(2000), a}, 1, "0001 8004 0001 0064 0104 0000");
    row("below 100000 units: 20 ms", {a, d(999990), ra}, 1, "0001 0004 0001 c34f 8104 0000");
    row("100000 units: 50 ms", {a, d(1000000), ra}, 1, "0001 0004 0002 4e20 8104 0000");
    row("below 300000 units: 50 ms", {a, d(2999990), ra}, 1, "0001 0004 0002 ea5f 8104 0000");
    row("300000 units: 100 ms", {a, d(3000000), ra}, 1, "0001 0004 0003 7530 8104 0000");
    row("below 600000 units: 100 ms", {a, d(5999990), ra}, 1, "0001 0004 0003 ea5f 8104 0000");
    // Beyond 100 minutes the longest unit is kept, capped at its 16 bits.
    row("600000 units", {a, d(6000000), ra}, 1, "0001 0004 0003 ea60 8104 0000");
    row("beyond 16 bits of 100 ms", {a, d(9000000), ra}, 1, "0001 0004 0003 ffff 8104 0000");
    row("several delays summed to a long one", {a, d(700), d(700), ra}, 1,
        "0001 0004 0001 0046 8104 0000");
    row("unknown key name: code 0", {QStringLiteral("1,Nope"), ra}, 1, "0001 0100 8104 0000");
    row("repeat 65535", {a, ra}, 65535, "ffff 0104 8104 0000");
    row("repeat beyond 16 bits held", {a, ra}, 70000, "ffff 0104 8104 0000");
    row("negative repeat: 0", {a, ra}, -3, "0000 0104 8104 0000");
    row("unreadable repeat: 0", {a, ra}, QStringLiteral("many"), "0000 0104 8104 0000");
    row("unreadable delay: 0 ms", {a, QStringLiteral("0,abc"), ra}, 1, "0001 0104 8104 0000");
    row("negative delay: 0 ms", {a, d(-500), d(30), ra}, 1, "0001 0304 8104 0000");
    row("record without a type left out", {a, QStringLiteral("x,B"), ra}, 1, "0001 0104 8104 0000");
    row("comma key", {QStringLiteral("1,,"), QStringLiteral("2,,")}, 1, "0001 0136 8136 0000");
}

void TestMacros::deCode()
{
    QFETCH(QStringList, actions);
    QFETCH(QVariant, repeat);
    QFETCH(QByteArray, expected);
    const QVariantList result = MacroCode::deCode(records(actions), repeat);
    QCOMPARE(bytesOf(result), expected);
    for (const QVariant& v : result)
        QVERIFY(v.toInt() >= 0 && v.toInt() <= 255);
}

// The scene passes its action records as script objects, and the names of its language.
void TestMacros::deCodeTakesScriptRecords()
{
    const QVariantList actions{
        QVariantMap{{QStringLiteral("type"), 1}, {QStringLiteral("info"), QStringLiteral("→")}},
        QVariantMap{{QStringLiteral("type"), 0}, {QStringLiteral("info"), QStringLiteral("50")}},
        QVariantHash{{QStringLiteral("type"), QStringLiteral("2")},
                     {QStringLiteral("info"), QStringLiteral("→")}},
        QVariant(5), // not a record
    };
    const QStringList chinese = languageNames(QStringLiteral("ChineseSimplified.ini"));
    QCOMPARE(bytesOf(MacroCode::deCode(actions, 1.0, chinese)),
             QByteArray::fromHex("0001 054f 814f 0000"));
    // The same records under the built-in names: the key is unknown.
    QCOMPARE(bytesOf(MacroCode::deCode(actions, 1)), QByteArray::fromHex("0001 0500 8100 0000"));
}

void TestMacros::fitBlock_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("keep");   // records whose encoding is the expected block; -1: refused
    QTest::addColumn<int>("length"); // its length

    QTest::newRow("62 actions fill 128 bytes") << pressRelease(62) << 62 << 128;
    QTest::newRow("63 actions: cut to 62") << pressRelease(63) << 62 << 128;
    QTest::newRow("200 actions: cut to 62") << pressRelease(200) << 62 << 128;
    // The editor's last action after a long delay makes 130 bytes: the action and the delay go.
    QStringList editor = pressRelease(60);
    editor << QStringLiteral("0,3000") << QStringLiteral("1,B");
    QTest::newRow("editor's 130 bytes") << editor << 60 << 124;
    // Long delays: an action whose long delay would cross the end is the last one kept.
    QStringList delays;
    for (int i = 0; i < 30; ++i)
        delays << QStringLiteral("1,A") << QStringLiteral("0,2000");
    delays << QStringLiteral("2,A");
    QTest::newRow("actions with long delays") << delays << 41 << 126;
}

// Too long for the block: cut after the last whole action that fits, as if the macro ended there.
void TestMacros::fitBlock()
{
    QFETCH(QStringList, actions);
    QFETCH(int, keep);
    QFETCH(int, length);
    const QByteArray encoded = bytesOf(MacroCode::deCode(records(actions), 1));
    const QByteArray expected = bytesOf(MacroCode::deCode(records(actions.mid(0, keep)), 1));
    QCOMPARE(expected.size(), length);
    const std::optional<QByteArray> fitted = MacroCode::fitBlock(encoded);
    QVERIFY(fitted);
    QCOMPARE(*fitted, expected);
}

void TestMacros::send_data()
{
    QTest::addColumn<bool>("is560");
    QTest::addColumn<QVariantList>("data");
    QTest::addColumn<QVariant>("slot");
    QTest::addColumn<int>("macroId"); // 0: nothing sent
    QTest::addColumn<QByteArray>("expected");

    const QByteArray example = QByteArray::fromHex("0001 0504 8104 0000");
    const QByteArray longMacro = bytesOf(MacroCode::deCode(records(pressRelease(70)), 1));
    const QByteArray cut = bytesOf(MacroCode::deCode(records(pressRelease(62)), 1));
    QVariantList wide = values(example);
    wide[1] = 0x101;                        // low byte 1
    wide[3] = QStringLiteral("4");          // numeric text
    wide[2] = 5.0;                          // a script number
    QVariantList garbage(130, QVariant(5)); // too long and not an encoding

    for (bool is560 : {false, true}) {
        const char* fam = is560 ? "560" : "553";
        QTest::addRow("%s slot 0 is id 1", fam)
            << is560 << values(example) << QVariant(0) << 1 << block(example);
        QTest::addRow("%s slot 11 is id 12", fam)
            << is560 << values(example) << QVariant(11) << 12 << block(example);
        QTest::addRow("%s slot as text", fam)
            << is560 << values(example) << QVariant(QStringLiteral("4")) << 5 << block(example);
        QTest::addRow("%s slot 12: nothing", fam)
            << is560 << values(example) << QVariant(12) << 0 << QByteArray();
        QTest::addRow("%s slot 256: nothing", fam)
            << is560 << values(example) << QVariant(256) << 0 << QByteArray();
        QTest::addRow("%s slot -1: nothing", fam)
            << is560 << values(example) << QVariant(-1) << 0 << QByteArray();
        QTest::addRow("%s slot unreadable: nothing", fam)
            << is560 << values(example) << QVariant(QStringLiteral("first")) << 0 << QByteArray();
        QTest::addRow("%s bytes cut to their low byte", fam)
            << is560 << wide << QVariant(2) << 3 << block(example);
        QTest::addRow("%s empty data: a zero block", fam)
            << is560 << QVariantList() << QVariant(3) << 4 << block({});
        QTest::addRow("%s exactly 128 bytes", fam)
            << is560 << values(cut) << QVariant(5) << 6 << cut;
        QTest::addRow("%s longer macro cut at a whole action", fam)
            << is560 << values(longMacro) << QVariant(5) << 6 << cut;
        QTest::addRow("%s longer data that is no encoding: nothing", fam)
            << is560 << garbage << QVariant(5) << 0 << QByteArray();
    }
}

// The block goes out under id slot + 1 with the family's macro command; the mouse's other macros
// stay. The result is always true.
void TestMacros::send()
{
    QFETCH(bool, is560);
    QFETCH(QVariantList, data);
    QFETCH(QVariant, slot);
    QFETCH(int, macroId);
    QFETCH(QByteArray, expected);
    ButtonsFixture f(is560);
    VirtualMouse::Memory before = f.mouse->memory();
    for (int id = 1; id <= 12; ++id)
        before.macros[id] = QByteArray(128, char(id));
    f.mouse->setMemory(before);

    QCOMPARE(MacroTransfer(f.ctx).mouseSendMacroData(data, slot), QVariant(true));

    QMap<int, QByteArray> macros = before.macros;
    if (macroId) {
        QCOMPARE(f.lines(), wire::blockCommand({is560 ? 0x0F : 0x13, macroId, 0x80}, expected));
        macros[macroId] = expected;
    } else {
        QVERIFY(f.lines().isEmpty());
    }
    QCOMPARE(f.mouse->memory().macros, macros);
    QVERIFY(f.errors().isEmpty());
}

QTEST_GUILESS_MAIN(TestMacros)
#include "tst_macros.moc"
