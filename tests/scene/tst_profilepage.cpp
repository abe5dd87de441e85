// The profile page and the profile switch on the real bridge and window: the list and its file,
// New, Import, Delete, Export, renaming, and which slot each action reads, writes and sends.
#include "scenefixture.h"

#include <QApplication>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString ApConfig = QStringLiteral("setting/apConfig.bin");
const QString NameBin = QStringLiteral("setting/name.bin");
const QString ProfileNames = QStringLiteral("profile/profileName");
const QString ReportRate = QStringLiteral("mouse/reportRate");
const QString Marker = QStringLiteral("test/marker");

QString slotFile(int slot)
{
    return QStringLiteral("setting/p%1.bin").arg(slot + 1);
}

QStringList list(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

struct Page {
    SceneFixture& f;

    int count() const
    {
        return f.eval(QStringLiteral("profileMain.profileDataModel0.count")).toInt();
    }
    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < count(); ++i)
            out << f.eval(QStringLiteral("profileMain.profileDataModel0.get(%1).textValue").arg(i))
                       .toString();
        return out;
    }
    QList<int> numbers() const
    {
        QList<int> out;
        for (int i = 0; i < count(); ++i)
            out << f.eval(QStringLiteral("profileMain.profileDataModel0.get(%1).profileNo").arg(i))
                       .toInt();
        return out;
    }
    QStringList stored() const
    {
        QStringList out;
        for (const QVariant& v : f.view()->getNameList(2))
            out << v.toString();
        return out;
    }
    int profileNo() const { return f.eval(QStringLiteral("profileMain.profileNo")).toInt(); }
    int dropDownSelect() const
    {
        return f.item(QStringLiteral("profileList"))->property("currentSelect").toInt();
    }
    QString dropDownText() const
    {
        return f.item(QStringLiteral("profileList"))->property("textValue").toString();
    }
    int selected() const { return f.eval(QStringLiteral("profileMain.currentIndex")).toInt(); }

    void open() { f.click(QStringLiteral("configButton")); }
    QQuickItem* row(int position) const
    {
        return f.item(QStringLiteral("profileRow%1").arg(position));
    }
    void rightClick(int position) { f.clickAt(f.centreOf(row(position)), Qt::RightButton); }
    void menu(int entry) { f.click(QStringLiteral("profileMenu%1").arg(entry)); }
};

// A profile file as exported: the factory profile with a marker and report rate 0.
QByteArray exportedProfile(const ModulesCopy& modules)
{
    QByteArray bytes = modules.read(QStringLiteral("setting/pD.bin"));
    bytes.replace("reportRate=3", "reportRate=0");
    bytes.append("\n[test]\nmarker=imported\n");
    return bytes;
}

} // namespace

class TestProfilePage : public QObject {
    Q_OBJECT

private slots:
    void initReadsNameList_data();
    void initReadsNameList();
    void newProfile();
    void newOnFullListAddsNothing();
    void importProfile_data();
    void importProfile();
    void deleteKeepsEachEntryOnItsOwnSlot();
    void rename();
    void exportTakesActiveSlot();
    void switchResendsInOrder();
    void switchOn560StaysOnBoardProfile1();
    void storedProfileNo_data();
    void storedProfileNo();
    void clicksWhileBusy();
};

void TestProfilePage::initReadsNameList_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("standard and sentinel")
        << QVariant(list({"Standard0", "quillmarker"})) << list({"Standard"}) << QList<int>{0}
        << list({"Standard0", "quillmarker"});
    QTest::newRow("entry 0 takes the language's name")
        << QVariant(list({"Mine0", "Work1", "Game2"})) << list({"Standard", "Work", "Game"})
        << QList<int>{0, 1, 2} << list({"Standard0", "Work1", "Game2"});
    QTest::newRow("name ending in a digit")
        << QVariant(list({"Standard0", "team71"})) << list({"Standard", "team7"})
        << QList<int>{0, 1} << list({"Standard0", "team71"});
    QTest::newRow("damaged entries are left out")
        << QVariant(list({"Standard0", "", "noDigit", "big7", "Work1", "again1", "Game2"}))
        << list({"Standard", "Work", "Game"}) << QList<int>{0, 1, 2}
        << list({"Standard0", "Work1", "Game2"});
    QTest::newRow("sentinel inside a longer list")
        << QVariant(list({"Standard0", "quillmarker", "Work1"})) << list({"Standard", "Work"})
        << QList<int>{0, 1} << list({"Standard0", "Work1"});
    QTest::newRow("no list: the standard entry")
        << QVariant() << list({"Standard"}) << QList<int>{0} << list({"Standard0", "quillmarker"});
    QTest::newRow("one plain value, unreadable as a list")
        << QVariant(QStringLiteral("Work3")) << list({"Standard"}) << QList<int>{0}
        << list({"Standard0", "quillmarker"});
}

void TestProfilePage::initReadsNameList()
{
    QFETCH(QVariant, stored);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, numbers);
    QFETCH(QStringList, written);

    SceneFixture f;
    f.setting(NameBin, ProfileNames, stored);
    QVERIFY(f.start());
    Page page{f};
    QCOMPARE(page.names(), names);
    QCOMPARE(page.numbers(), numbers);
    QCOMPARE(page.stored(), written);
    // The title-bar drop-down shows the same list.
    QCOMPARE(f.item(QStringLiteral("profileList"))->property("count").toInt(), names.size());
    QCOMPARE(page.dropDownText(), QStringLiteral("Standard"));
}

void TestProfilePage::newProfile()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1", "B2"}));
    f.setting(slotFile(3), Marker, QStringLiteral("old"));
    f.setting(slotFile(3), ReportRate, 0);
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();
    f.clearTrace();

    f.click(QStringLiteral("profileNew"));
    QCOMPARE(page.names(), list({"Standard", "A", "B", "profile_0"}));
    QCOMPARE(page.numbers(), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(page.stored(), list({"Standard0", "A1", "B2", "profile_03"}));
    QCOMPARE(page.selected(), 3);
    // Slot 3 ("p4.bin") is the factory profile now; nothing went to the mouse.
    QCOMPARE(f.profileValue(3, Marker), QVariant());
    QCOMPARE(f.profileValue(3, ReportRate).toString(), QStringLiteral("3"));
    QVERIFY(f.lines().isEmpty());
    QCOMPARE(page.profileNo(), 0);

    f.click(QStringLiteral("profileNew"));
    QCOMPARE(page.names().last(), QStringLiteral("profile_1"));
    QCOMPARE(page.numbers().last(), 4);
}

void TestProfilePage::newOnFullListAddsNothing()
{
    SceneFixture f;
    const QStringList six = list({"Standard0", "a1", "b2", "c3", "d4", "e5"});
    f.setting(NameBin, ProfileNames, six);
    for (int slot = 0; slot < 10; ++slot)
        f.setting(slotFile(slot), Marker, QStringLiteral("kept"));
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();
    f.click(QStringLiteral("profileNew"));
    QCOMPARE(page.count(), 6);
    QCOMPARE(page.stored(), (QStringList{QStringLiteral("Standard0")} + six.mid(1)));
    for (int slot = 0; slot < 10; ++slot)
        QCOMPARE(f.profileValue(slot, Marker).toString(), QStringLiteral("kept"));
}

void TestProfilePage::importProfile_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("select");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<int>("count");

    QTest::newRow("new entry, file chosen")
        << list({"Standard0"}) << 0 << true << 1 << QStringLiteral("imported")
        << QStringLiteral("0") << 2;
    // Cancelled: the new entry starts from the factory profile, not from what an earlier,
    // deleted profile left in its file.
    QTest::newRow("new entry, cancelled")
        << list({"Standard0"}) << 0 << false << 1 << QString() << QStringLiteral("3") << 2;
    QTest::newRow("full list: into the selected entry's slot")
        << list({"Standard0", "a1", "b3", "c2", "d4", "e5"}) << 2 << true << 3
        << QStringLiteral("imported") << QStringLiteral("0") << 6;
    QTest::newRow("full list, cancelled: nothing changes")
        << list({"Standard0", "a1", "b3", "c2", "d4", "e5"}) << 2 << false << 3
        << QStringLiteral("old") << QStringLiteral("1") << 6;
}

void TestProfilePage::importProfile()
{
    QFETCH(QStringList, entries);
    QFETCH(int, select);
    QFETCH(bool, choose);
    QFETCH(int, slot);
    QFETCH(QString, marker);
    QFETCH(QString, rate);
    QFETCH(int, count);

    SceneFixture f;
    f.setting(NameBin, ProfileNames, entries);
    f.setting(slotFile(slot), Marker, QStringLiteral("old"));
    f.setting(slotFile(slot), ReportRate, 1);
    const QString pf = f.modules.file(QStringLiteral("../mine.pf"));
    QVERIFY(f.modules.write(QStringLiteral("../mine.pf"), exportedProfile(f.modules)));
    f.dialogs.answers << (choose ? pf : QString());
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();
    f.clickAt(f.centreOf(page.row(select)));
    f.clearTrace();

    f.click(QStringLiteral("profileImport"));
    QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("open|Open File|Profile(*.pf)")});
    QCOMPARE(page.count(), count);
    QCOMPARE(f.profileValue(slot, Marker).toString(), marker);
    QCOMPARE(f.profileValue(slot, ReportRate).toString(), rate);
    // Importing never sends, and the active profile stays.
    QVERIFY(f.lines().isEmpty());
    QCOMPARE(page.profileNo(), 0);
    QCOMPARE(f.view()->store().currentProfile(), 0);
}

void TestProfilePage::deleteKeepsEachEntryOnItsOwnSlot()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1", "B2"}));
    f.setting(ApConfig, QStringLiteral("mouse/profileNo"), 2);
    f.setting(slotFile(1), ReportRate, 0); // A: 125 Hz, rate byte 8
    f.setting(slotFile(1), Marker, QStringLiteral("A"));
    f.setting(slotFile(2), ReportRate, 2); // B: 500 Hz, rate byte 2
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    QCOMPARE(page.profileNo(), 2);
    QCOMPARE(page.dropDownText(), QStringLiteral("B"));
    page.open();

    // Neither the standard entry nor the active one can go.
    page.rightClick(0);
    QVERIFY(f.item(QStringLiteral("profileMenu"))->isVisible());
    page.menu(0);
    QVERIFY(!f.item(QStringLiteral("profileMenu"))->isVisible());
    page.rightClick(2);
    page.menu(0);
    QCOMPARE(page.names(), list({"Standard", "A", "B"}));

    // Deleting A moves B to position 1; B keeps its number and the drop-down stays on it.
    page.rightClick(1);
    page.menu(0);
    QCOMPARE(page.names(), list({"Standard", "B"}));
    QCOMPARE(page.numbers(), (QList<int>{0, 2}));
    QCOMPARE(page.stored(), list({"Standard0", "B2"}));
    QCOMPARE(page.dropDownSelect(), 1);
    QCOMPARE(page.dropDownText(), QStringLiteral("B"));
    QCOMPARE(f.profileValue(1, Marker).toString(), QStringLiteral("A"));
    f.click(QStringLiteral("profileClose"));

    // Switching away and back to position 1 sends B's settings from B's slot, not A's.
    QVERIFY(f.chooseInDropDown(f.item(QStringLiteral("profileList")), 0));
    QCOMPARE(f.view()->store().currentProfile(), 0);
    f.clearTrace();
    QVERIFY(f.chooseInDropDown(f.item(QStringLiteral("profileList")), 1));
    QCOMPARE(page.profileNo(), 2);
    QCOMPARE(f.view()->store().currentProfile(), 2);
    QVERIFY(f.lines().contains(wire::feature({0x01, 2})));
    QVERIFY(!f.lines().contains(wire::feature({0x01, 8})));
    QCOMPARE(f.mouse->memory().reportRate, uint8_t(2));
    f.sync();
    QCOMPARE(valueOnDisk(f.modules.file(ApConfig), QStringLiteral("mouse/profileNo")).toString(),
             QStringLiteral("2"));

    // A's number is free again and comes back with a fresh file.
    page.open();
    f.click(QStringLiteral("profileNew"));
    QCOMPARE(page.names(), list({"Standard", "B", "profile_0"}));
    QCOMPARE(page.numbers(), (QList<int>{0, 2, 1}));
    QCOMPARE(f.profileValue(1, Marker), QVariant());
    QCOMPARE(f.profileValue(1, ReportRate).toString(), QStringLiteral("3"));
}

void TestProfilePage::rename()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1", "B2"}));
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();
    f.clearTrace();
    QQuickItem* editor = f.item(QStringLiteral("profileNameEditor"));

    // Enter ends the edit; the whole name was selected, so typing replaces it.
    f.doubleClickAt(f.centreOf(page.row(1)));
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->property("selectedText").toString(), QStringLiteral("A"));
    QTest::keyClicks(f.view(), QStringLiteral("Work"));
    QTest::keyClick(f.view(), Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(page.names(), list({"Standard", "Work", "B"}));
    QCOMPARE(page.stored(), list({"Standard0", "Work1", "B2"}));
    QCOMPARE(page.dropDownSelect(), 0);

    // The name of another entry, or the unchanged name, changes nothing.
    f.doubleClickAt(f.centreOf(page.row(2)));
    QTest::keyClicks(f.view(), QStringLiteral("Work"));
    QTest::keyClick(f.view(), Qt::Key_Return);
    f.doubleClickAt(f.centreOf(page.row(2)));
    QTest::keyClick(f.view(), Qt::Key_Return);
    QCOMPARE(page.names(), list({"Standard", "Work", "B"}));

    // A press on the mask ends the edit too.
    f.doubleClickAt(f.centreOf(page.row(2)));
    QTest::keyClicks(f.view(), QStringLiteral("Game"));
    f.clickAt(QPoint(40, 600));
    QVERIFY(!editor->isVisible());
    QCOMPARE(page.names(), list({"Standard", "Work", "Game"}));
    QCOMPARE(page.stored(), list({"Standard0", "Work1", "Game2"}));
    // The drop-down shows the new names.
    QCOMPARE(f.item(QStringLiteral("profileList"))->property("count").toInt(), 3);
    QVERIFY(f.lines().isEmpty());
}

void TestProfilePage::exportTakesActiveSlot()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1"}));
    f.setting(slotFile(0), Marker, QStringLiteral("standard"));
    f.setting(slotFile(1), Marker, QStringLiteral("A"));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("export.pf"));
    f.dialogs.answers << target;
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();

    page.rightClick(1);
    QQuickItem* menu = f.item(QStringLiteral("profileMenu"));
    QVERIFY(menu->isVisible());
    QCOMPARE(QSizeF(menu->width(), menu->height()), QSizeF(100, 48));
    QCOMPARE(page.selected(), 1);
    page.menu(1);
    QVERIFY(!menu->isVisible());
    QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("save|Save File|Profile(*.pf)")});
    const QSettings exported(target, QSettings::IniFormat);
    QCOMPARE(exported.value(Marker).toString(), QStringLiteral("standard"));
}

void TestProfilePage::switchResendsInOrder()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1"}));
    f.setting(slotFile(1), ReportRate, 0);
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    QQuickItem* dropDown = f.item(QStringLiteral("profileList"));
    f.clearTrace();

    // The choice takes effect once the list has closed.
    f.clickAt(f.pointIn(dropDown, 20, 12));
    QVERIFY(f.waitForAnimation(dropDown));
    f.clickAt(f.pointIn(dropDown, 20, 24 + 24 + 12));
    QCOMPARE(page.profileNo(), 0);
    QVERIFY(f.lines().isEmpty());
    QVERIFY(f.waitForAnimation(dropDown));
    QTRY_COMPARE(page.profileNo(), 1);

    QCOMPARE(f.steps(), resendSteps553Gun());
    QCOMPARE(f.view()->store().currentProfile(), 1);
    QCOMPARE(f.mouse->memory().reportRate, uint8_t(8));
    QCOMPARE(f.view()->getGlobalData(QStringLiteral("mouse/profileNo")).toString(),
             QStringLiteral("1"));
    QVERIFY(f.view()->isEnabled());
    QVERIFY(!f.item(QStringLiteral("busy"))->isVisible());
    QCOMPARE(f.item(QStringLiteral("reportRateList"))->property("textValue").toString(),
             QStringLiteral("125Hz"));

    // The active profile again: nothing at all.
    f.clearTrace();
    QVERIFY(f.chooseInDropDown(dropDown, 1));
    QVERIFY(f.lines().isEmpty());
    // A selection set by the program is no choice.
    f.eval(QStringLiteral("upItem.profileBtn.currentSelect = 0"));
    QTest::qWait(300);
    QVERIFY(f.lines().isEmpty());
    QCOMPARE(page.profileNo(), 1);
}

void TestProfilePage::switchOn560StaysOnBoardProfile1()
{
    SceneFixture f({.is560 = true, .isGun = false});
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1"}));
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    f.clearTrace();
    QVERIFY(f.chooseInDropDown(f.item(QStringLiteral("profileList")), 1));
    // Key matrix, report rate, profile blocks of DPI and lighting, pointer settings; no
    // on-board profile command.
    QCOMPARE(f.steps(), (QStringList{QStringLiteral("0d"), QStringLiteral("03"),
                                     QStringLiteral("0c"), QStringLiteral("pointer")}));
    QCOMPARE(f.mouse->memory().currentProfile, uint8_t(1));
    QCOMPARE(f.view()->store().currentProfile(), 1);
}

void TestProfilePage::storedProfileNo_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("profileNo");
    QTest::addColumn<int>("position");

    QTest::newRow("number 1 at position 2") << QVariant(1) << 1 << 2;
    QTest::newRow("number 2 at position 1") << QVariant(2) << 2 << 1;
    // What names no entry falls back to the standard entry and its slot.
    QTest::newRow("slot without entry") << QVariant(3) << 0 << 0;
    QTest::newRow("beyond the slots") << QVariant(17) << 0 << 0;
    QTest::newRow("negative") << QVariant(-1) << 0 << 0;
    QTest::newRow("text") << QVariant(QStringLiteral("two")) << 0 << 0;
    QTest::newRow("absent") << QVariant() << 0 << 0;
}

void TestProfilePage::storedProfileNo()
{
    QFETCH(QVariant, stored);
    QFETCH(int, profileNo);
    QFETCH(int, position);

    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "B2", "A1"}));
    f.setting(ApConfig, QStringLiteral("mouse/profileNo"), stored);
    for (int slot = 0; slot < 10; ++slot)
        f.setting(slotFile(slot), ReportRate, 0);
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    QCOMPARE(page.profileNo(), profileNo);
    QCOMPARE(page.dropDownSelect(), position);
    QCOMPARE(f.view()->store().currentProfile(), profileNo);
    QCOMPARE(page.selected(), position);

    // An edit lands in the shown profile's slot and nowhere else.
    QVERIFY(f.chooseInDropDown(f.item(QStringLiteral("reportRateList")), 1));
    for (int slot = 0; slot < 10; ++slot)
        QCOMPARE(f.profileValue(slot, ReportRate).toString(),
                 slot == profileNo ? QStringLiteral("1") : QStringLiteral("0"));
}

void TestProfilePage::clicksWhileBusy()
{
    SceneFixture f;
    f.setting(NameBin, ProfileNames, list({"Standard0", "A1"}));
    QVERIFY(f.start());
    QVERIFY(f.finishStartup());
    Page page{f};
    page.open();
    f.clearTrace();
    f.view()->setBusy(1000);
    f.click(QStringLiteral("profileNew"));
    f.doubleClickAt(f.centreOf(page.row(1)));
    QTest::keyClicks(f.view(), QStringLiteral("X"));
    QTest::keyClick(f.view(), Qt::Key_Return);
    page.rightClick(1);
    QCOMPARE(page.names(), list({"Standard", "A"}));
    QVERIFY(!f.item(QStringLiteral("profileMenu"))->isVisible());
    QVERIFY(f.lines().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(f.view()->isEnabled(), 10000);
    f.click(QStringLiteral("profileNew"));
    QCOMPARE(page.count(), 3);
}

int main(int argc, char* argv[])
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    TestProfilePage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_profilepage.moc"
