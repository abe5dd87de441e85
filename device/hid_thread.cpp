#include "hid_thread.h"

#include "commandset.h"
#include "dpiswitchtexts.h"
#include "hidbackend.h"
#include "linkowner.h"
#include "scramble.h"
#include "sleeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMutexLocker>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

using namespace commandset;

namespace {

constexpr int kWaitRounds = 255;
constexpr int kWaitRoundMs = 8;
constexpr int kSettleHalfMs = 64;
constexpr int kReportPauseMs = 120;
constexpr int kAfterPauseMs = 8;
constexpr int kBalloonMs = 10000;
// Report lengths outside this range can only come from a damaged device table.
constexpr int kMaxReportLength = 1024;

void processEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

bool usableReportLength(int n)
{
    return n >= 1 && n <= kMaxReportLength;
}

} // namespace

Hid_Thread::Hid_Thread(HidBackend* backend, Sleeper* sleeper, QObject* parent) : QThread(parent)
{
    if (!backend) {
        ownBackend_ = createHidapiBackend();
        backend = ownBackend_.get();
    }
    if (!sleeper) {
        ownSleeper_ = std::make_unique<RealSleeper>();
        sleeper = ownSleeper_.get();
    }
    backend_ = backend;
    sleeper_ = sleeper;
}

Hid_Thread::~Hid_Thread()
{
    // The listener task uses this object; it ends within one read cycle.
    listening_.store(false);
    waitForListener();
}

DeviceTable Hid_Thread::deviceTable() const
{
    QMutexLocker lock(&tableMutex_);
    return deviceTable_;
}

void Hid_Thread::setDeviceTable(const DeviceTable& table)
{
    QMutexLocker lock(&tableMutex_);
    deviceTable_ = table;
}

void Hid_Thread::rebuildDeviceTable(const QString& iniPath)
{
    DeviceTable table = readDeviceTable(iniPath);
    completeDeviceTable(table, *backend_);
    setDeviceTable(table);
}

void Hid_Thread::waitForListener()
{
    listenerFuture_.waitForFinished();
}

bool Hid_Thread::currentEntry(DeviceEntry& out) const
{
    QMutexLocker lock(&tableMutex_);
    if (currentDevice_ < 0 || currentDevice_ >= deviceTable_.size())
        return false;
    out = deviceTable_[currentDevice_];
    return true;
}

// ---- Opening interfaces -------------------------------------------------------------------------

HidHandle* Hid_Thread::openInterface(int index, QByteArray DeviceEntry::*path, HidHandle*& handle)
{
    QByteArray p;
    {
        QMutexLocker lock(&tableMutex_);
        if (index < 0 || index >= deviceTable_.size())
            return nullptr;
        p = deviceTable_[index].*path;
    }
    if (p.isEmpty())
        return nullptr;
    closeInterface(handle);
    HidHandle* h = backend_->openPath(p);
    if (!h) {
        // Only if the table still names what failed: a device check may have replaced it.
        QMutexLocker lock(&tableMutex_);
        if (index < deviceTable_.size() && deviceTable_[index].*path == p)
            (deviceTable_[index].*path).clear();
        return nullptr;
    }
    backend_->setNonblocking(h, 0);
    handle = h;
    return h;
}

HidHandle* Hid_Thread::openCommandInterface(int index)
{
    return openInterface(index, &DeviceEntry::commandPath, commandHandle_);
}

HidHandle* Hid_Thread::openReportInterface(int index)
{
    return openInterface(index, &DeviceEntry::reportPath, reportHandle_);
}

void Hid_Thread::closeInterface(HidHandle*& handle)
{
    if (handle) {
        backend_->close(handle);
        handle = nullptr;
    }
}

void Hid_Thread::closeCommandInterface()
{
    closeInterface(commandHandle_);
}

void Hid_Thread::closeReportInterface()
{
    closeInterface(reportHandle_);
}

// ---- Transport ----------------------------------------------------------------------------------

bool Hid_Thread::waitLinkFree()
{
    for (int round = 0; round < kWaitRounds; ++round) {
        if (linkFree_) {
            linkFree_ = false;
            return true;
        }
        sleeper_->sleep(kWaitRoundMs);
        processEvents();
    }
    return false;
}

void Hid_Thread::settleDelay()
{
    settleFlag_ = false;
    sleeper_->sleep(kSettleHalfMs);
    settleFlag_ = true;
    sleeper_->sleep(kSettleHalfMs);
}

bool Hid_Thread::sendFrame(int dataLength, DeviceEntry& entry)
{
    if (!currentEntry(entry) || !openCommandInterface(currentDevice_))
        return false;
    if (dataLength < 0 || dataLength > int(sizeof dataBlock) ||
        (dataLength > 0 && !usableReportLength(entry.reportLength)))
        return false;
    if (entry.isEncode)
        scrambleFrame(commandFrame + 1, secrecyBuffer);
    return openCommandInterface(currentDevice_) &&
           backend_->sendFeatureReport(commandHandle_, commandFrame, sizeof commandFrame) >= 0;
}

bool Hid_Thread::endTransfer(bool ok)
{
    closeCommandInterface();
    linkFree_ = true;
    return ok;
}

bool Hid_Thread::sendCommand(int dataLength, bool waitSettle)
{
    processEvents();

    DeviceEntry entry;
    if (!sendFrame(dataLength, entry))
        return endTransfer(false);
    if (waitSettle)
        settleDelay();
    if (dataLength == 0)
        return endTransfer(true);

    const int chunk = std::min(dataLength, entry.reportLength);
    std::vector<uint8_t> report(size_t(entry.reportLength) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        report[0] = 0;
        // The last report carries whatever follows the block in dataBlock, never beyond it.
        const int n = std::min(chunk, int(sizeof dataBlock) - offset);
        std::memcpy(report.data() + 1, dataBlock + offset, size_t(n));
        if (!openCommandInterface(currentDevice_) ||
            backend_->write(commandHandle_, report.data(), report.size()) < 0)
            return endTransfer(false);
        sleeper_->sleep(kReportPauseMs);
    }
    if (waitSettle)
        settleDelay();
    return endTransfer(true);
}

bool Hid_Thread::sendCommandRead(int dataLength)
{
    DeviceEntry entry;
    if (!sendFrame(dataLength, entry) || !openCommandInterface(currentDevice_) ||
        backend_->getFeatureReport(commandHandle_, answerFrame, sizeof answerFrame) < 0)
        return endTransfer(false);

    if (dataLength == 0) {
        endTransfer(true);
        if (entry.isEncode)
            unscrambleFrame(answerFrame + 1, secrecyBuffer);
        return true;
    }

    const int chunk = std::min(dataLength, entry.reportLength);
    std::vector<uint8_t> report(size_t(entry.reportLength) + 1);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        // Bounded: a device that never delivers must not stop the GUI thread.
        if (!openCommandInterface(currentDevice_) ||
            backend_->readTimeout(commandHandle_, report.data(), report.size(),
                                  kBlockReadTimeoutMs) <= 0)
            return endTransfer(false);
        const int n = std::min(chunk, int(sizeof dataBlock) - offset);
        std::memcpy(dataBlock + offset, report.data(), size_t(n));
    }
    return endTransfer(true);
}

// ---- Command pattern ----------------------------------------------------------------------------

void Hid_Thread::buildFrame(const Row& row, const uchar* args, int argCount)
{
    commandFrame[0] = 0;
    commandFrame[1] = row.id;
    for (int i = 0; i < 6; ++i) {
        const uint16_t p = row.params[size_t(i)];
        const int k = argIndex(p);
        commandFrame[2 + i] = isArg(p) ? (k < argCount ? args[k] : 0) : uchar(p);
    }
    commandFrame[8] = hidCS(commandFrame + 1);
}

bool Hid_Thread::send(const Row& row, std::initializer_list<uchar> args, const uchar* block,
                      int blockLength)
{
    if (!waitLinkFree()) {
        qDebug("%s", row.failure);
        return false;
    }
    const int length = blockLength < 0 ? row.dataLength : blockLength;
    std::vector<uchar> a(args);
    // The repeated 560 commands carry the on-board profile k in b1; gun mice use only profile 1.
    const int repeats = row.perStage ? ((owner_ && owner_->isGun()) ? 1 : 4) : 1;
    bool ok = true;
    for (int k = 1; k <= repeats; ++k) {
        if (row.perStage)
            a.insert(a.begin(), uchar(k));
        buildFrame(row, a.data(), int(a.size()));
        if (row.perStage)
            a.erase(a.begin());
        if (length > 0) {
            std::memset(dataBlock, 0, size_t(length));
            if (block)
                std::memcpy(dataBlock, block, size_t(length));
        }
        // Each repetition gives the token back; the next one goes out without taking it again.
        ok = sendCommand(length, row.settle) && ok;
    }
    if (row.pauseAfter)
        sleeper_->sleep(kAfterPauseMs);
    return ok;
}

bool Hid_Thread::query(const Row& row, std::initializer_list<uchar*> values, uchar* block)
{
    if (!waitLinkFree()) {
        qDebug("%s", row.failure);
        return false;
    }
    uchar args[6] = {};
    int n = 0;
    for (uchar* v : values)
        args[n++] = *v;
    buildFrame(row, args, n);

    std::memset(answerFrame, 0, sizeof answerFrame);
    if (row.answer == Answer::IdAndArgs)
        answerFrame[1] = row.id;
    if (row.answer != Answer::Zero)
        std::memcpy(answerFrame + 2, args, size_t(std::min(n, 7)));
    if (block)
        std::memcpy(dataBlock, block, size_t(row.dataLength));

    const bool ok = sendCommandRead(block ? row.dataLength : 0);

    // Results come from the frames whether the exchange worked or not; pre-filled values survive
    // a failed one.
    if (block) {
        std::memcpy(block, dataBlock, size_t(row.dataLength));
    } else {
        int i = 0;
        for (uchar* v : values)
            *v = answerFrame[2 + i++];
    }
    return ok;
}

// ---- Checksum, scrambling, handshake ------------------------------------------------------------

uchar Hid_Thread::hidCS(uchar* cmd)
{
    return commandChecksum(cmd);
}

void Hid_Thread::USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode)
{
    scrambleFrame(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode)
{
    unscrambleFrame(FIFOBuf, SecrecyCode);
}

bool Hid_Thread::chkDeviceIsEnCode(int index)
{
    currentDevice_ = index;

    // Seeded from the time; the attempt counter keeps two handshakes in one second apart.
    static unsigned attempts = 0;
    std::minstd_rand random(static_cast<unsigned>(QDateTime::currentSecsSinceEpoch()) ^
                            (++attempts * 2654435761u));
    uchar r[4];
    for (uchar& b : r)
        b = uchar(random() & 0xFF);

    DeviceEntry entry;
    if (currentEntry(entry) && entry.sCode.size() == 6) {
        const QByteArray code = entry.sCode.toLatin1();
        std::memcpy(secrecyBuffer + 1, code.constData(), 6);
    }

    uchar echo[4] = {r[0], r[1], r[2], r[3]};
    hid553_00H_GetSecrecyCode(echo[0], echo[1], echo[2], echo[3]);
    return std::equal(echo, echo + 4, r);
}

// ---- 553 family ---------------------------------------------------------------------------------

void Hid_Thread::hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4)
{
    query(k553_00H_GetSecrecyCode, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid553_01H_SetReportRate(uchar rate)
{
    send(k553_01H_SetReportRate, {rate});
}

void Hid_Thread::hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix)
{
    send(k553_02H_SetCurrentKeyMatrix, {currentKeyMatrix});
}

void Hid_Thread::hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    send(k553_03H_SetKeyboardoption, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    send(k553_04H_SetGunData, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid553_0BH_SetCurrentDPI(uchar stage)
{
    send(k553_0BH_SetCurrentDPI, {stage});
}

void Hid_Thread::hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2)
{
    send(k553_0DH_SetRGBLedEffect, {effect, option1, option2});
}

void Hid_Thread::hid553_10H_SetLED8StageColor(uchar type, uchar* src24)
{
    const uchar n = type == 2 ? 4 : 24;
    send(k553_10H_SetLED8StageColor, {type, n}, src24, n);
}

void Hid_Thread::hid553_11H_SetDPISet(uchar dpiStage, uchar* src8)
{
    send(k553_11H_SetDPISet, {dpiStage}, src8);
}

void Hid_Thread::hid553_12H_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    send(k553_12H_SetKeyMatrix, {indexAddOne}, src64);
}

void Hid_Thread::hid553_13H_SetMacroKey(uchar macroId, uchar* src128)
{
    send(k553_13H_SetMacroKey, {macroId}, src128);
}

void Hid_Thread::hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3,
                                              uchar& byte4)
{
    query(k553_83H_GetKeyboardoption, {&byte1, &byte2, &byte3, &byte4});
}

void Hid_Thread::hid553_8BH_GetCurrentDPI(uchar& byte1)
{
    query(k553_8BH_GetCurrentDPI, {&byte1});
}

// ---- 560 family ---------------------------------------------------------------------------------

void Hid_Thread::hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2)
{
    send(k560_01H_SetKeyboardoption, {byte1, byte2});
}

void Hid_Thread::hid560_02H_SetCurrentProfile(uchar profile)
{
    send(k560_02H_SetCurrentProfile, {profile});
}

void Hid_Thread::hid560_03H_SetReportRate(uchar rate)
{
    send(k560_03H_SetReportRate, {rate});
}

void Hid_Thread::hid560_04H_SetCurrentDPI(uchar stage)
{
    send(k560_04H_SetCurrentDPI, {stage});
}

void Hid_Thread::hid560_0CH_setProfile(uchar* src128, uchar profileData)
{
    send(k560_0CH_setProfile, {profileData}, src128);
}

void Hid_Thread::hid560_0DH_SetKeyMatrix(uchar* src64, uchar indexAddOne)
{
    // The matrix fills the first half of a 128-byte block.
    uchar block[128] = {};
    if (src64)
        std::memcpy(block, src64, 64);
    send(k560_0DH_SetKeyMatrix, {indexAddOne}, block);
}

void Hid_Thread::hid560_0FH_SetMacroKey(uchar macroId, uchar* src128)
{
    send(k560_0FH_SetMacroKey, {macroId}, src128);
}

void Hid_Thread::hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2)
{
    query(k560_81H_GetKeyboardoption, {&byte1, &byte2});
}

void Hid_Thread::hid560_82H_GetCurrentProfile(uchar& byte1)
{
    query(k560_82H_GetCurrentProfile, {&byte1});
}

void Hid_Thread::hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2)
{
    query(k560_84H_GetCurrentDPI, {&byte1, &byte2});
}

void Hid_Thread::hid560_8CH_readProfile(uchar* src128, uchar profileNo)
{
    uchar scratch[128] = {};
    query(k560_8CH_readProfile, {&profileNo}, src128 ? src128 : scratch);
}

// ---- Report listener ----------------------------------------------------------------------------

void Hid_Thread::startReportListener(unsigned int index)
{
    if (listening_.load())
        listening_.store(false);

    // Write back only what was actually read: a failed read would otherwise clear the mouse's
    // other option bits.
    const bool family560 = owner_ && owner_->icType() == QLatin1String("560");
    if (family560) {
        uchar b1 = 0, b2 = 0;
        if (query(k560_81H_GetKeyboardoption, {&b1, &b2}))
            hid560_01H_SetKeyboardoption(uchar(b1 | 0x08), b2);
    } else {
        uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
        if (query(k553_83H_GetKeyboardoption, {&b1, &b2, &b3, &b4}))
            hid553_03H_SetKeyboardoption(b1, b2, b3, uchar(b4 | 0x40));
    }

    // One task at a time: both would open and close the same report handle. The earlier task
    // saw listening cleared above and ends within one read.
    waitForListener();
    const int generation = ++listenerGeneration_;
    listening_.store(true);
    listenerFuture_ = QtConcurrent::run(QThreadPool::globalInstance(), [this, index, generation] {
        listenReports(index, generation);
    });
}

void Hid_Thread::queueToOwner(int generation, std::function<void(LinkOwner&)> effect)
{
    // Runs on the GUI thread in the order queued; effects of a superseded task are dropped.
    QMetaObject::invokeMethod(
        this,
        [this, generation, effect = std::move(effect)] {
            if (owner_ && generation == listenerGeneration_.load())
                effect(*owner_);
        },
        Qt::QueuedConnection);
}

void Hid_Thread::listenReports(unsigned int index, int generation)
{
    {
        QMutexLocker lock(&tableMutex_);
        if (index >= unsigned(deviceTable_.size()) || deviceTable_[int(index)].reportPath.isEmpty())
            return;
    }
    while (listening_.load()) {
        HidHandle* h = openReportInterface(int(index));
        if (!h) {
            qDebug("Device removed");
            queueToOwner(generation, [](LinkOwner& o) { o.disableView(); });
            {
                QMutexLocker lock(&tableMutex_);
                if (index < unsigned(deviceTable_.size()))
                    deviceTable_[int(index)].reportPath.clear();
            }
            listening_.store(false);
            return;
        }
        uint8_t report[4] = {};
        const int n = backend_->readTimeout(h, report, sizeof report, kReportReadTimeoutMs);
        if (n == 4 && report[0] == 0x06 && report[1] == 0x07) {
            const int stage = report[3];
            const QString text = DpiSwitchTexts::forStage(stage) + QLatin1Char(' ');
            queueToOwner(generation, [stage, text](LinkOwner& o) {
                o.setCurrentDPI(stage);
                o.showBalloon(QStringLiteral("Info"), text, kBalloonMs);
            });
        }
        closeReportInterface();
    }
}
