// Linux key codes and X buttons end to end through the capture procedures: what the X11 source
// turns an event into must give the usage the Windows hook would have given.
#include "platform/evdevkeys.h"
#include "shell/inputcapture.h"

#include <QHash>
#include <QTest>

#include <linux/input-event-codes.h>

namespace {

struct Report {
    int code;
    bool isDown;
    bool operator==(const Report&) const = default;
};

// Feeds key codes through the translator into a capture object and records the reports.
struct Pipeline {
    InputCapture capture{nullptr};
    KeyRecordTranslator keys;
    QList<Report> reports;

    Pipeline()
    {
        capture.registerKeyboardCallback(
            [](uint8_t usage, bool isDown, void* self) {
                static_cast<Pipeline*>(self)->reports.append({usage, isDown});
            },
            this);
        capture.registerMouseCallback(
            [](uint8_t button, bool isDown, int, int, void* self) {
                static_cast<Pipeline*>(self)->reports.append({button, isDown});
            },
            this);
    }
    void key(int evdev, bool down)
    {
        if (const auto record = keys.translate(evdev, down))
            capture.keyboardProc(*record);
    }
    void button(int button, bool down)
    {
        if (const auto message = mouseMessageForButton(button, down))
            capture.mouseProc({hook::Action, *message, 0, 0});
    }
};

// What each Linux key must report: the USB HID usage of the key (the usual correspondence
// between the two code sets). Keys that are not listed report nothing.
const QHash<int, int>& expectedUsages()
{
    static const QHash<int, int> usages = {
        {KEY_ESC, 0x29},        {KEY_1, 0x1E},         {KEY_2, 0x1F},
        {KEY_3, 0x20},          {KEY_4, 0x21},         {KEY_5, 0x22},
        {KEY_6, 0x23},          {KEY_7, 0x24},         {KEY_8, 0x25},
        {KEY_9, 0x26},          {KEY_0, 0x27},         {KEY_MINUS, 0x2D},
        {KEY_EQUAL, 0x2E},      {KEY_BACKSPACE, 0x2A}, {KEY_TAB, 0x2B},
        {KEY_Q, 0x14},          {KEY_W, 0x1A},         {KEY_E, 0x08},
        {KEY_R, 0x15},          {KEY_T, 0x17},         {KEY_Y, 0x1C},
        {KEY_U, 0x18},          {KEY_I, 0x0C},         {KEY_O, 0x12},
        {KEY_P, 0x13},          {KEY_LEFTBRACE, 0x2F}, {KEY_RIGHTBRACE, 0x30},
        {KEY_ENTER, 0x28},      {KEY_LEFTCTRL, 0xE0},  {KEY_A, 0x04},
        {KEY_S, 0x16},          {KEY_D, 0x07},         {KEY_F, 0x09},
        {KEY_G, 0x0A},          {KEY_H, 0x0B},         {KEY_J, 0x0D},
        {KEY_K, 0x0E},          {KEY_L, 0x0F},         {KEY_SEMICOLON, 0x33},
        {KEY_APOSTROPHE, 0x34}, {KEY_GRAVE, 0x35},     {KEY_LEFTSHIFT, 0xE1},
        {KEY_BACKSLASH, 0x31},  {KEY_Z, 0x1D},         {KEY_X, 0x1B},
        {KEY_C, 0x06},          {KEY_V, 0x19},         {KEY_B, 0x05},
        {KEY_N, 0x11},          {KEY_M, 0x10},         {KEY_COMMA, 0x36},
        {KEY_DOT, 0x37},        {KEY_SLASH, 0x38},     {KEY_RIGHTSHIFT, 0xE5},
        {KEY_KPASTERISK, 0x55}, {KEY_LEFTALT, 0xE2},   {KEY_SPACE, 0x2C},
        {KEY_CAPSLOCK, 0x39},   {KEY_F1, 0x3A},        {KEY_F2, 0x3B},
        {KEY_F3, 0x3C},         {KEY_F4, 0x3D},        {KEY_F5, 0x3E},
        {KEY_F6, 0x3F},         {KEY_F7, 0x40},        {KEY_F8, 0x41},
        {KEY_F9, 0x42},         {KEY_F10, 0x43},       {KEY_NUMLOCK, 0x53},
        {KEY_SCROLLLOCK, 0x47}, {KEY_KP7, 0x5F},       {KEY_KP8, 0x60},
        {KEY_KP9, 0x61},        {KEY_KPMINUS, 0x56},   {KEY_KP4, 0x5C},
        {KEY_KP5, 0x5D},        {KEY_KP6, 0x5E},       {KEY_KPPLUS, 0x57},
        {KEY_KP1, 0x59},        {KEY_KP2, 0x5A},       {KEY_KP3, 0x5B},
        {KEY_KP0, 0x62},        {KEY_KPDOT, 0x63},     {KEY_102ND, 0x64},
        {KEY_F11, 0x44},        {KEY_F12, 0x45},       {KEY_F23, 0x72},
        {KEY_KPENTER, 0x58},    {KEY_RIGHTCTRL, 0xE4}, {KEY_KPSLASH, 0x54},
        {KEY_SYSRQ, 0x46},      {KEY_RIGHTALT, 0xE6},  {KEY_HOME, 0x4A},
        {KEY_UP, 0x52},         {KEY_PAGEUP, 0x4B},    {KEY_LEFT, 0x50},
        {KEY_RIGHT, 0x4F},      {KEY_END, 0x4D},       {KEY_DOWN, 0x51},
        {KEY_PAGEDOWN, 0x4E},   {KEY_INSERT, 0x49},    {KEY_DELETE, 0x4C},
        {KEY_PAUSE, 0x48},      {KEY_LEFTMETA, 0xE3},  {KEY_COMPOSE, 0x65},
    };
    return usages;
}

} // namespace

class TestEvdevKeys : public QObject {
    Q_OBJECT
private slots:
    void everyRowOfTheTable();
    void keys_data();
    void keys();
    void repeatsReportOnce();
    void altReleasedFirstStillEndsTheKey();
    void buttons_data();
    void buttons();
};

void TestEvdevKeys::everyRowOfTheTable()
{
    QSet<int> seen;
    for (const EvdevScanCode& row : evdevScanCodes()) {
        QVERIFY2(!seen.contains(row.evdev), qPrintable(QString::number(row.evdev)));
        seen.insert(row.evdev);
        Pipeline p;
        p.key(row.evdev, true);
        p.key(row.evdev, false);
        const int usage = expectedUsages().value(row.evdev, 0);
        const QList<Report> expected =
            usage ? QList<Report>{{usage, true}, {usage, false}} : QList<Report>{};
        QVERIFY2(p.reports == expected, qPrintable(QStringLiteral("evdev %1").arg(row.evdev)));
    }
    // Every key that should report is in the table.
    for (auto it = expectedUsages().begin(); it != expectedUsages().end(); ++it)
        QVERIFY2(seen.contains(it.key()), qPrintable(QString::number(it.key())));
}

void TestEvdevKeys::keys_data()
{
    QTest::addColumn<int>("modifier"); // held before the key, 0 for none
    QTest::addColumn<int>("evdev");
    QTest::addColumn<int>("usage"); // 0: not reported

    QTest::newRow("A") << 0 << KEY_A << 0x04;
    QTest::newRow("Enter") << 0 << KEY_ENTER << 0x28;
    QTest::newRow("keypad Enter") << 0 << KEY_KPENTER << 0x58;
    QTest::newRow("right GUI") << 0 << KEY_RIGHTMETA << 0;
    QTest::newRow("Print Screen") << 0 << KEY_SYSRQ << 0x46;
    QTest::newRow("Alt+Print Screen") << KEY_LEFTALT << KEY_SYSRQ << 0x46;
    QTest::newRow("right Alt+Print Screen") << KEY_RIGHTALT << KEY_SYSRQ << 0x46;
    QTest::newRow("Pause") << 0 << KEY_PAUSE << 0x48;
    QTest::newRow("Ctrl+Break") << KEY_LEFTCTRL << KEY_PAUSE << 0x48;
    QTest::newRow("right Ctrl+Break") << KEY_RIGHTCTRL << KEY_PAUSE << 0x48;
    QTest::newRow("Alt+F4") << KEY_LEFTALT << KEY_F4 << 0x3D;
    QTest::newRow("keypad equals") << 0 << KEY_KPEQUAL << 0;
    QTest::newRow("F13") << 0 << KEY_F13 << 0;
    QTest::newRow("volume up") << 0 << KEY_VOLUMEUP << 0;
    QTest::newRow("unknown code") << 0 << 0x2FF << 0;
}

void TestEvdevKeys::keys()
{
    QFETCH(int, modifier);
    QFETCH(int, evdev);
    QFETCH(int, usage);

    Pipeline p;
    if (modifier)
        p.key(modifier, true);
    const qsizetype before = p.reports.size();
    p.key(evdev, true);
    p.key(evdev, false);
    const QList<Report> expected =
        usage ? QList<Report>{{usage, true}, {usage, false}} : QList<Report>{};
    QCOMPARE(p.reports.mid(before), expected);
}

void TestEvdevKeys::repeatsReportOnce()
{
    Pipeline p;
    for (int i = 0; i < 4; ++i)
        p.key(KEY_A, true);
    p.key(KEY_A, false);
    QCOMPARE(p.reports, (QList<Report>{{0x04, true}, {0x04, false}}));
}

void TestEvdevKeys::altReleasedFirstStillEndsTheKey()
{
    Pipeline p;
    // Alt released before Print Screen: the release comes without the Alt flag and must still
    // end the key, or the next press would be swallowed.
    p.key(KEY_LEFTALT, true);
    p.key(KEY_SYSRQ, true);
    p.key(KEY_SYSRQ, true);
    p.key(KEY_LEFTALT, false);
    p.key(KEY_SYSRQ, false);
    p.key(KEY_SYSRQ, true);
    QCOMPARE(
        p.reports,
        (QList<Report>{{0xE2, true}, {0x46, true}, {0xE2, false}, {0x46, false}, {0x46, true}}));
}

void TestEvdevKeys::buttons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("code"); // 0: not reported

    QTest::newRow("left") << 1 << 0xF0;
    QTest::newRow("middle") << 2 << 0xF2;
    QTest::newRow("right") << 3 << 0xF1;
    QTest::newRow("wheel up") << 4 << 0;
    QTest::newRow("wheel down") << 5 << 0;
    QTest::newRow("wheel left") << 6 << 0;
    QTest::newRow("wheel right") << 7 << 0;
    QTest::newRow("back") << 8 << 0;
    QTest::newRow("forward") << 9 << 0;
    QTest::newRow("button 10") << 10 << 0;
}

void TestEvdevKeys::buttons()
{
    QFETCH(int, button);
    QFETCH(int, code);

    Pipeline p;
    p.button(button, true);
    p.button(button, false);
    const QList<Report> expected =
        code ? QList<Report>{{code, true}, {code, false}} : QList<Report>{};
    QCOMPARE(p.reports, expected);
}

QTEST_GUILESS_MAIN(TestEvdevKeys)
#include "tst_evdevkeys.moc"
