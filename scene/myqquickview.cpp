#include "myqquickview.h"

#include "qtfiledialogs.h"

#include "buttons/buttonassignment.h"
#include "buttons/macrotransfer.h"
#include "device/dpiswitchtexts.h"
#include "device/hid_thread.h"
#include "platform/pointersettings.h"
#include "sensor/deviceoptions.h"
#include "sensor/dpistages.h"
#include "sensor/gundata.h"
#include "sensor/lighting.h"
#include "sensor/pointeroptions.h"
#include "store/langstrings.h"
#include "store/macrofiles.h"
#include "store/namelists.h"
#include "store/profiles.h"

#include <QJSValue>
#include <QLoggingCategory>
#include <QQuickItem>

Q_LOGGING_CATEGORY(lcScene, "mouse.scene", QtWarningMsg)

namespace {

// A script array or object passed where a variant is taken arrives wrapped as a QJSValue, which
// QSettings would store as an opaque blob; unwrap it into plain lists and maps.
QVariant plain(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<QJSValue>() ? v.value<QJSValue>().toVariant() : v;
}

} // namespace

myQQuickView::myQQuickView(QWidget* parent) : myQQuickView(Seams{}, parent) {}

myQQuickView::myQQuickView(const Seams& seams, QWidget* parent)
    : QQuickWidget(parent), store_(seams.modulesDir)
{
    ctx_.store = &store_;
    ctx_.blocks = &blocks_;
    ctx_.isColorful = store_.isColorful();
    ctx_.isGun = store_.isGun();
    ctx_.icType = store_.icType();

    FileDialogs* dialogs = seams.dialogs;
    if (!dialogs) {
        ownDialogs_ = std::make_unique<QtFileDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    pointerSettings_ = seams.pointerSettings;
    profiles_ = std::make_unique<Profiles>(store_, *dialogs);
    nameLists_ = std::make_unique<NameLists>(seams.modulesDir);
    langStrings_ = std::make_unique<LangStrings>(seams.modulesDir);
    macroFiles_ = std::make_unique<MacroFiles>(store_, *dialogs);
    buttons_ = std::make_unique<ButtonAssignment>(ctx_);
    macroTransfer_ = std::make_unique<MacroTransfer>(ctx_);
    dpi_ = std::make_unique<DpiStages>(ctx_);
    options_ = std::make_unique<DeviceOptions>(ctx_);
    lighting_ = std::make_unique<Lighting>(ctx_);
    guns_ = std::make_unique<GunData>(ctx_);
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::setDeviceLink(Hid_Thread* link)
{
    ctx_.link = link;
}

bool myQQuickView::invokeRoot(const char* function, Qt::ConnectionType type,
                              const QVariantList& args)
{
    QQuickItem* root = rootObject();
    if (lcScene().isDebugEnabled()) {
        QStringList shown;
        for (const QVariant& a : args)
            shown << a.toString();
        qCDebug(lcScene).noquote()
            << QStringLiteral("%1(%2) %3")
                   .arg(QLatin1String(function), shown.join(QLatin1String(", ")),
                        type == Qt::QueuedConnection ? QLatin1String("queued")
                                                     : QLatin1String("direct"));
    }
    if (!root)
        return false;
    // Scene functions take their arguments as variants.
    switch (args.size()) {
    case 0:
        return QMetaObject::invokeMethod(root, function, type);
    case 1:
        return QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, args[0]));
    case 2:
        return QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, args[0]),
                                         Q_ARG(QVariant, args[1]));
    case 4:
        return QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, args[0]),
                                         Q_ARG(QVariant, args[1]), Q_ARG(QVariant, args[2]),
                                         Q_ARG(QVariant, args[3]));
    default:
        return false;
    }
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    // Repaint and keep the event: the scene handles its own focus.
    update();
    event->accept();
}

// ---- This view's own operations -----------------------------------------------------------------

void myQQuickView::clearHidBusy()
{
    if (ctx_.link)
        ctx_.link->setLinkFree(true);
}

void myQQuickView::initUI()
{
    invokeRoot("initUI", Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    invokeRoot("run", Qt::QueuedConnection);
}

void myQQuickView::openUpdateExe() {}

void myQQuickView::setBusy(int busyTime)
{
    invokeRoot("setProtectUI", Qt::DirectConnection, {busyTime});
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    invokeRoot("setCurrentDPI", Qt::DirectConnection, {dpiValue});
}

// ---- Settings store -----------------------------------------------------------------------------

void myQQuickView::resetApconfig()
{
    store_.resetApconfig();
}

QVariant myQQuickView::getData(QVariant key, bool isRecovery)
{
    return store_.getData(key, isRecovery);
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    return store_.getGlobalData(key);
}

QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery)
{
    return store_.getDataList(key, isRecovery);
}

void myQQuickView::setData(QVariant key, QVariant value)
{
    store_.setData(key, value);
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    store_.setGlobalData(key, plain(tmpdata));
}

void myQQuickView::setDataList(QVariant key, QVariantList datalist)
{
    store_.setDataList(key, datalist);
}

void myQQuickView::setCurrentProfile(int profile)
{
    store_.setCurrentProfile(profile);
}

bool myQQuickView::loadProfile(int profile)
{
    return profiles_->loadProfile(profile);
}

void myQQuickView::saveProfile(int profile)
{
    profiles_->saveProfile(profile);
}

void myQQuickView::resetProfile(int profile)
{
    profiles_->resetProfile(profile);
}

void myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    profiles_->copyProfile(destprofile, srcprofile);
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    return nameLists_->updataNameList(type, nameList);
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return nameLists_->getNameList(type);
}

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode)
{
    const QStringList texts = langStrings_->getLangStrings(typeStr, langCode);
    // The report listener announces DPI-button changes with these.
    if (typeStr == QLatin1String("other"))
        DpiSwitchTexts::set(texts);
    return texts;
}

// ---- Macros -------------------------------------------------------------------------------------

bool myQQuickView::loadMacroFile(QVariant macroFileName)
{
    return macroFiles_->loadMacroFile(macroFileName);
}

void myQQuickView::saveMacroFile(QVariant macroFileName)
{
    macroFiles_->saveMacroFile(macroFileName);
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex)
{
    return macroFiles_->createMacroIni(name, macroIndex);
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    return macroFiles_->modifyMacroNameUpdateProfile(oldname, newname);
}

void myQQuickView::deleteMacroUpdateProfile(QVariant macroName)
{
    macroFiles_->deleteMacroUpdateProfile(macroName);
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return macroFiles_->deleteMacroIni(name);
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariant repeat)
{
    return macroFiles_->saveMacroIni(name, macros, repeat);
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return macroFiles_->loadMacroIni(name);
}

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    return macroTransfer_->mouseSendMacroData(macroData, macroIndex);
}

// ---- Buttons ------------------------------------------------------------------------------------

void myQQuickView::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    buttons_->mouseSetKeyMatrix(src64, isSendData, otherParam);
}

void myQQuickView::mouseResetKeyMatrix()
{
    buttons_->mouseResetKeyMatrix();
}

void myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    buttons_->mouseSwitchKeyMatrix(indexNo);
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant index, bool factory)
{
    return buttons_->mouseGetKeydefine(index, factory);
}

// ---- Gun data -----------------------------------------------------------------------------------

void myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6)
{
    guns_->mouseSaveGundata(index, src6);
}

void myQQuickView::mouseSendGundata(int slot, QVariantList values)
{
    guns_->mouseSendGundata(slot, values);
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    guns_->modifyGundata(modifyType, src6);
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    return guns_->getGunData(name);
}

QStringList myQQuickView::getGunDataKey()
{
    return guns_->getGunDataKey();
}

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    return guns_->getXYSensitive(index);
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    return guns_->getselectGun(index);
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    guns_->setXYSensitive(index, plain(xyData));
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    guns_->setSelectGun(index, plain(xyData));
}

// ---- Sensor, rate, options, lighting ------------------------------------------------------------

void myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    options_->mouseSetKeyboardoption(byte1, byte2, byte3, byte4);
}

QVariantList myQQuickView::GetKeyboardoption()
{
    return options_->GetKeyboardoption();
}

void myQQuickView::mouseSetReportRate(uchar rate)
{
    options_->mouseSetReportRate(rate);
}

void myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    dpi_->mouseSetCurrentDPI(currentDPI);
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    return dpi_->mouseGetCurrentDPI();
}

void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    dpi_->mouseSetDpi(dpiCount, sensorType, dpiValueArray);
}

void myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    lighting_->mouseSetRGBEffect(effect, option1, option2);
}

void myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24)
{
    lighting_->mouseSetRGBColor(type, src24);
}

// ---- Profile blocks of the 560 family -----------------------------------------------------------

void myQQuickView::mouseSetProfile(uint profileNo)
{
    if (hasLink())
        blocks_.mouseSetProfile(*ctx_.link, profileNo);
}

void myQQuickView::mouseReadProfile(uint profileNo)
{
    if (hasLink())
        blocks_.mouseReadProfile(*ctx_.link, profileNo);
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    return hasLink() ? ProfileBlocks::mouseReadCurrentProfile(*ctx_.link) : QVariant(0);
}

// ---- Desktop pointer settings -------------------------------------------------------------------

PointerOptions& myQQuickView::pointer()
{
    // The desktop's settings are looked up at the first use, not at start: the system settings
    // page is rarely opened, and start-up time and memory matter more.
    if (!pointer_) {
        if (!pointerSettings_) {
            ownPointerSettings_ = createPointerSettings();
            pointerSettings_ = ownPointerSettings_.get();
        }
        pointer_ = std::make_unique<PointerOptions>(*pointerSettings_);
    }
    return *pointer_;
}

void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    pointer().mouseSetCursorSpeed(cursorSpeed);
}

void myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    pointer().mouseSetVerticalScrollLines(lines);
}

void myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    pointer().mouseSetDoubleClickSpeed(speed);
}
