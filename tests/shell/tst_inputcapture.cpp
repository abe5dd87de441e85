// The capture procedures over hook records: key translation, repeat suppression, mouse messages,
// callbacks and hooks.
#include "shell/inputcapture.h"

#include <QSet>
#include <QTest>

namespace {

struct Report {
    int code;
    bool isDown;
    int x = 0;
    int y = 0;
    bool operator==(const Report&) const = default;
};

struct Recorder {
    QList<Report> keys;
    QList<Report> buttons;
    QList<CopyDataRecord> copies;

    static void key(uint8_t usage, bool isDown, void* self)
    {
        static_cast<Recorder*>(self)->keys.append({usage, isDown});
    }
    static void button(uint8_t code, bool isDown, int x, int y, void* self)
    {
        static_cast<Recorder*>(self)->buttons.append({code, isDown, x, y});
    }
    static void copy(const CopyDataRecord& record, void* self)
    {
        static_cast<Recorder*>(self)->copies.append(record);
    }
    void attach(InputCapture& capture)
    {
        capture.registerKeyboardCallback(&Recorder::key, this);
        capture.registerMouseCallback(&Recorder::button, this);
        capture.registerCopyDataCallback(&Recorder::copy, this);
    }
};

KeyboardHookRecord key(uint32_t scan, uint32_t flags, bool down)
{
    KeyboardHookRecord r;
    r.message = down ? hook::KeyDown : hook::KeyUp;
    r.scanCode = scan;
    r.flags = flags | (down ? 0 : hook::Up);
    return r;
}

// An input source that hands out the installed procedures so the test can feed them.
class FakeSource : public InputSource {
public:
    bool available = true;
    int installs = 0;
    int uninstalls = 0;
    KeyboardProc keyboard;
    MouseProc mouse;

    bool install(KeyboardProc k, MouseProc m) override
    {
        ++installs;
        if (!available)
            return false;
        keyboard = std::move(k);
        mouse = std::move(m);
        return true;
    }
    void uninstall() override
    {
        ++uninstalls;
        keyboard = nullptr;
        mouse = nullptr;
    }
};

} // namespace

Q_DECLARE_METATYPE(Report)

class TestInputCapture : public QObject {
    Q_OBJECT
private slots:
    void keyUsage_data();
    void keyUsage();
    void mapsAreConsistent();
    void repeatsAreSuppressed();
    void releaseNeverPressedIsSilent();
    void systemKeyDownCountsAsPress();
    void mouseMessages_data();
    void mouseMessages();
    void unregisteredCallbacksAreNotCalled();
    void hooksFollowTheCaptureObject();
    void unavailableSourceLeavesCaptureOff();
    void copyDataIsRelayed();
};

void TestInputCapture::keyUsage_data()
{
    QTest::addColumn<uint>("scan");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<int>("usage"); // 0: not reported

    const uint E = hook::Extended;
    const uint Alt = hook::AltDown;
    // The rows that differ from a plain set-1 table.
    QTest::newRow("right Shift, extended") << 0x36u << E << 0xE5;
    QTest::newRow("0x36 without the flag") << 0x36u << 0u << 0;
    QTest::newRow("Pause as the hook reports it") << 0x45u << 0u << 0x48;
    QTest::newRow("Num Lock, extended") << 0x45u << E << 0x53;
    QTest::newRow("keypad Enter") << 0x1Cu << E << 0x58;
    QTest::newRow("Ctrl+Break") << 0x46u << E << 0x48;
    QTest::newRow("Alt+Print Screen") << 0x54u << Alt << 0x46;
    QTest::newRow("SysRq without Alt") << 0x54u << 0u << 0;
    QTest::newRow("right GUI") << 0x5Cu << E << 0;
    // Ordinary keys.
    QTest::newRow("Enter") << 0x1Cu << 0u << 0x28;
    QTest::newRow("A") << 0x1Eu << 0u << 0x04;
    QTest::newRow("Q") << 0x10u << 0u << 0x14;
    QTest::newRow("M") << 0x32u << 0u << 0x10;
    QTest::newRow("Z") << 0x2Cu << 0u << 0x1D;
    QTest::newRow("1") << 0x02u << 0u << 0x1E;
    QTest::newRow("0") << 0x0Bu << 0u << 0x27;
    QTest::newRow("minus") << 0x0Cu << 0u << 0x2D;
    QTest::newRow("equals") << 0x0Du << 0u << 0x2E;
    QTest::newRow("Esc") << 0x01u << 0u << 0x29;
    QTest::newRow("Backspace") << 0x0Eu << 0u << 0x2A;
    QTest::newRow("Tab") << 0x0Fu << 0u << 0x2B;
    QTest::newRow("Space") << 0x39u << 0u << 0x2C;
    QTest::newRow("Caps Lock") << 0x3Au << 0u << 0x39;
    QTest::newRow("backslash") << 0x2Bu << 0u << 0x31;
    QTest::newRow("grave") << 0x29u << 0u << 0x35;
    QTest::newRow("slash") << 0x35u << 0u << 0x38;
    QTest::newRow("ISO key") << 0x56u << 0u << 0x64;
    QTest::newRow("F1") << 0x3Bu << 0u << 0x3A;
    QTest::newRow("F10") << 0x44u << 0u << 0x43;
    QTest::newRow("F11") << 0x57u << 0u << 0x44;
    QTest::newRow("F12") << 0x58u << 0u << 0x45;
    QTest::newRow("F23") << 0x6Eu << 0u << 0x72;
    QTest::newRow("Print Screen") << 0x37u << E << 0x46;
    QTest::newRow("Scroll Lock") << 0x46u << 0u << 0x47;
    QTest::newRow("Insert") << 0x52u << E << 0x49;
    QTest::newRow("Delete") << 0x53u << E << 0x4C;
    QTest::newRow("Home") << 0x47u << E << 0x4A;
    QTest::newRow("End") << 0x4Fu << E << 0x4D;
    QTest::newRow("Page Up") << 0x49u << E << 0x4B;
    QTest::newRow("Page Down") << 0x51u << E << 0x4E;
    QTest::newRow("right arrow") << 0x4Du << E << 0x4F;
    QTest::newRow("left arrow") << 0x4Bu << E << 0x50;
    QTest::newRow("down arrow") << 0x50u << E << 0x51;
    QTest::newRow("up arrow") << 0x48u << E << 0x52;
    QTest::newRow("keypad slash") << 0x35u << E << 0x54;
    QTest::newRow("keypad star") << 0x37u << 0u << 0x55;
    QTest::newRow("keypad minus") << 0x4Au << 0u << 0x56;
    QTest::newRow("keypad plus") << 0x4Eu << 0u << 0x57;
    QTest::newRow("keypad 1") << 0x4Fu << 0u << 0x59;
    QTest::newRow("keypad 8") << 0x48u << 0u << 0x60;
    QTest::newRow("keypad 0") << 0x52u << 0u << 0x62;
    QTest::newRow("keypad period") << 0x53u << 0u << 0x63;
    QTest::newRow("left Ctrl") << 0x1Du << 0u << 0xE0;
    QTest::newRow("left Shift") << 0x2Au << 0u << 0xE1;
    QTest::newRow("left Alt") << 0x38u << Alt << 0xE2;
    QTest::newRow("left GUI") << 0x5Bu << E << 0xE3;
    QTest::newRow("right Ctrl") << 0x1Du << E << 0xE4;
    QTest::newRow("right Alt") << 0x38u << (E | Alt) << 0xE6;
    QTest::newRow("Menu") << 0x5Du << E << 0x65;
    QTest::newRow("A with Alt held") << 0x1Eu << Alt << 0x04;
    // Codes the maps do not know.
    QTest::newRow("extended A") << 0x1Eu << E << 0;
    QTest::newRow("F13") << 0x64u << 0u << 0;
    QTest::newRow("scan code above 255 counts as 0") << 0x11Eu << 0u << 0;
}

void TestInputCapture::keyUsage()
{
    QFETCH(uint, scan);
    QFETCH(uint, flags);
    QFETCH(int, usage);

    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    capture.keyboardProc(key(scan, flags, true));
    capture.keyboardProc(key(scan, flags, false));
    const QList<Report> expected =
        usage ? QList<Report>{{usage, true}, {usage, false}} : QList<Report>{};
    QCOMPARE(rec.keys, expected);
}

void TestInputCapture::mapsAreConsistent()
{
    using namespace inputcapture;
    QCOMPARE(scanCodeMap().size(), 105u);
    QSet<int> keys;
    QSet<int> usages;
    InputCapture capture(nullptr);
    for (const ScanCodeEntry& e : scanCodeMap()) {
        QVERIFY2(!keys.contains(e.key), qPrintable(QString::number(e.key, 16)));
        keys.insert(e.key);
        KeyboardHookRecord r;
        r.scanCode = e.key >> 8;
        r.flags = e.key & 1 ? hook::Extended : 0;
        const int usage = capture.usageOf(r);
        // Every key of the map reaches a usage of its own.
        QVERIFY2(usage != 0, qPrintable(QString::number(e.key, 16)));
        QVERIFY2(!usages.contains(usage), qPrintable(QString::number(usage, 16)));
        usages.insert(usage);
    }
}

void TestInputCapture::repeatsAreSuppressed()
{
    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    for (int i = 0; i < 5; ++i)
        capture.keyboardProc(key(0x1E, 0, true));
    QVERIFY(capture.isKeyDown(0x04));
    capture.keyboardProc(key(0x1E, 0, false));
    capture.keyboardProc(key(0x1E, 0, false));
    QCOMPARE(rec.keys, (QList<Report>{{0x04, true}, {0x04, false}}));
    // Pressed again later: reported again.
    capture.keyboardProc(key(0x1E, 0, true));
    QCOMPARE(rec.keys.size(), 3);
}

void TestInputCapture::releaseNeverPressedIsSilent()
{
    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    capture.keyboardProc(key(0x1C, 0, false));
    QVERIFY(rec.keys.isEmpty());
}

void TestInputCapture::systemKeyDownCountsAsPress()
{
    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    KeyboardHookRecord down = key(0x3E, hook::AltDown, true);
    down.message = hook::SysKeyDown;
    KeyboardHookRecord up = key(0x3E, hook::AltDown, false);
    up.message = hook::SysKeyUp;
    capture.keyboardProc(down);
    capture.keyboardProc(up);
    // A key-down with a hook code other than HC_ACTION counts as a release.
    KeyboardHookRecord odd = key(0x3E, 0, true);
    capture.keyboardProc(odd);
    odd.code = 3;
    capture.keyboardProc(odd);
    QCOMPARE(rec.keys, (QList<Report>{{0x3D, true}, {0x3D, false}, {0x3D, true}, {0x3D, false}}));
}

void TestInputCapture::mouseMessages_data()
{
    QTest::addColumn<uint>("message");
    QTest::addColumn<int>("button"); // 0: not reported
    QTest::addColumn<bool>("isDown");

    QTest::newRow("left down") << 0x201u << 0xF0 << true;
    QTest::newRow("left up") << 0x202u << 0xF0 << false;
    QTest::newRow("right down") << 0x204u << 0xF1 << true;
    QTest::newRow("right up") << 0x205u << 0xF1 << false;
    QTest::newRow("middle down") << 0x207u << 0xF2 << true;
    QTest::newRow("middle up") << 0x208u << 0xF2 << false;
    QTest::newRow("move") << 0x200u << 0 << false;
    QTest::newRow("left double click") << 0x203u << 0 << false;
    QTest::newRow("right double click") << 0x206u << 0 << false;
    QTest::newRow("middle double click") << 0x209u << 0 << false;
    QTest::newRow("wheel") << 0x20Au << 0 << false;
    QTest::newRow("horizontal wheel") << 0x20Eu << 0 << false;
    QTest::newRow("X button down") << 0x20Bu << 0 << false;
    QTest::newRow("X button up") << 0x20Cu << 0 << false;
}

void TestInputCapture::mouseMessages()
{
    QFETCH(uint, message);
    QFETCH(int, button);
    QFETCH(bool, isDown);

    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    capture.mouseProc({hook::Action, message, -5, 1440});
    const QList<Report> expected =
        button ? QList<Report>{{button, isDown, -5, 1440}} : QList<Report>{};
    QCOMPARE(rec.buttons, expected);
}

void TestInputCapture::unregisteredCallbacksAreNotCalled()
{
    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    capture.registerKeyboardCallback(nullptr, &rec);
    capture.registerMouseCallback(nullptr, &rec);
    capture.registerCopyDataCallback(nullptr, &rec);

    capture.keyboardProc(key(0x1E, 0, true));
    capture.mouseProc({hook::Action, hook::LeftDown, 1, 2});
    QVERIFY(!capture.copyDataProc({kCopyDataTextTag, "x", 1}));
    QVERIFY(rec.keys.isEmpty() && rec.buttons.isEmpty() && rec.copies.isEmpty());

    // The key state still follows the keys, so the release is reported once a callback is back.
    rec.attach(capture);
    capture.keyboardProc(key(0x1E, 0, true));
    capture.keyboardProc(key(0x1E, 0, false));
    QCOMPARE(rec.keys, (QList<Report>{{0x04, false}}));
}

void TestInputCapture::hooksFollowTheCaptureObject()
{
    FakeSource source;
    Recorder rec;
    {
        InputCapture capture(&source);
        QVERIFY(capture.hooksInstalled());
        QCOMPARE(source.installs, 1);
        rec.attach(capture);

        source.keyboard(key(0x1C, hook::Extended, true));
        source.mouse({hook::Action, hook::RightDown, 10, 20});
        QCOMPARE(rec.keys, (QList<Report>{{0x58, true}}));
        QCOMPARE(rec.buttons, (QList<Report>{{0xF1, true, 10, 20}}));

        // Installing again removes the old hooks first.
        QVERIFY(capture.installHooks());
        QCOMPARE(source.uninstalls, 1);
        QCOMPARE(source.installs, 2);
    }
    QCOMPARE(source.uninstalls, 2);
    QVERIFY(!source.keyboard && !source.mouse);
}

void TestInputCapture::unavailableSourceLeavesCaptureOff()
{
    FakeSource source;
    source.available = false;
    {
        InputCapture capture(&source);
        QVERIFY(!capture.hooksInstalled());
        capture.removeHooks();
    }
    QCOMPARE(source.installs, 1);
    QCOMPARE(source.uninstalls, 0);
}

void TestInputCapture::copyDataIsRelayed()
{
    InputCapture capture(nullptr);
    Recorder rec;
    rec.attach(capture);
    const CopyDataRecord record{kCopyDataTextTag, QByteArrayLiteral("hello"), 5};
    QVERIFY(capture.copyDataProc(record));
    QCOMPARE(rec.copies.size(), 1);
    QCOMPARE(rec.copies[0].tag, record.tag);
    QCOMPARE(rec.copies[0].bytes, record.bytes);
    QCOMPARE(rec.copies[0].byteCount, record.byteCount);
}

QTEST_GUILESS_MAIN(TestInputCapture)
#include "tst_inputcapture.moc"
