#pragma once

#include "sensor/mousecontext.h"
#include "sensor/profileblocks.h"
#include "store/settingsstore.h"

#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>

class ButtonAssignment;
class DeviceOptions;
class DpiStages;
class FileDialogs;
class GunData;
class Hid_Thread;
class LangStrings;
class Lighting;
class MacroFiles;
class MacroTransfer;
class NameLists;
class PointerOptions;
class PointerSettings;
class Profiles;

// The scene host and the bridge: a widget that shows the scene and whose slots are the scene's
// whole API besides the raw device commands. Each slot converts its arguments and hands the work
// to a plain class of store/, buttons/ or sensor/.
class myQQuickView : public QQuickWidget {
    Q_OBJECT
public:
    // What a test or the demo may put in place of the production pieces. Null members take the
    // defaults: "./modules", real file dialogs and the desktop's pointer settings.
    struct Seams {
        QString modulesDir = QStringLiteral("./modules");
        FileDialogs* dialogs = nullptr;
        PointerSettings* pointerSettings = nullptr;
    };

    explicit myQQuickView(QWidget* parent = nullptr);
    myQQuickView(const Seams& seams, QWidget* parent);
    ~myQQuickView() override;

    // The device link the device operations use; the main window sets it after the set-up.
    void setDeviceLink(Hid_Thread* link);
    Hid_Thread* deviceLink() const { return ctx_.link; }

    bool isColorful() const { return ctx_.isColorful; }
    bool isGun() const { return ctx_.isGun; }
    QString icType() const { return ctx_.icType; }
    SettingsStore& store() { return store_; }
    ProfileBlocks& profileBlocks() { return blocks_; }

public slots:
    void clearHidBusy();
    void initUI();
    void runUI();
    void resetApconfig();
    bool loadMacroFile(QVariant macroFileName);
    void saveMacroFile(QVariant macroFileName);
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getLangStrings(QString typeStr, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname);
    void deleteMacroUpdateProfile(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat);
    QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    void mouseSaveGundata(QVariant index, QVariantList src6);
    void mouseSendGundata(int slot, QVariantList data);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QStringList getGunDataKey();
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setCurrentProfile(int profile);
    void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void mouseSetReportRate(uchar rate);
    void mouseSetCurrentDPI(uchar currentDPI);
    void mouseResetKeyMatrix();
    QVariant mouseGetCurrentDPI();
    void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam);
    void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray);
    void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2);
    void mouseSetRGBColor(uchar type, QVariantList src24);
    void mouseSetProfile(uint profileNo);
    void mouseReadProfile(uint profileNo);
    QVariant mouseReadCurrentProfile();
    void mouseSwitchKeyMatrix(int indexNo);
    QVariantList GetKeyboardoption();
    void mouseSetCursorSpeed(uint cursorSpeed);
    void mouseSetVerticalScrollLines(uint lines);
    void mouseSetDoubleClickSpeed(uint speed);
    QVariantList mouseGetKeydefine(QVariant index, bool factory);
    void openUpdateExe();
    QVariant getData(QVariant key, bool isRecovery);
    QVariant getGlobalData(QVariant key);
    QVariantList getDataList(QVariant key, bool isRecovery);
    void setData(QVariant key, QVariant data);
    void setGlobalData(QVariant key, QVariant tmpdata);
    void setDataList(QVariant key, QVariantList datalist);
    void setBusy(int busyTime);
    void setCurrentDPI(int dpiValue);

public:
    // Calls a function of the scene's root item: queued (runs when control returns to the event
    // loop, from any thread) or direct (runs before this returns; GUI thread only).
    bool invokeRoot(const char* function, Qt::ConnectionType type, const QVariantList& args = {});

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    // Device operations need the link; without one they store what they store and send nothing.
    bool hasLink() const { return ctx_.link != nullptr; }
    PointerOptions& pointer();

    SettingsStore store_;
    ProfileBlocks blocks_;
    MouseContext ctx_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    PointerSettings* pointerSettings_ = nullptr;
    std::unique_ptr<PointerSettings> ownPointerSettings_;
    std::unique_ptr<Profiles> profiles_;
    std::unique_ptr<NameLists> nameLists_;
    std::unique_ptr<LangStrings> langStrings_;
    std::unique_ptr<MacroFiles> macroFiles_;
    std::unique_ptr<ButtonAssignment> buttons_;
    std::unique_ptr<MacroTransfer> macroTransfer_;
    std::unique_ptr<DpiStages> dpi_;
    std::unique_ptr<DeviceOptions> options_;
    std::unique_ptr<Lighting> lighting_;
    std::unique_ptr<GunData> guns_;
    std::unique_ptr<PointerOptions> pointer_;
};
