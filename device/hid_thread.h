#pragma once

#include "deviceentry.h"

#include <QFuture>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class HidBackend;
struct HidHandle;
class LinkOwner;
class Sleeper;

namespace commandset {
struct Row;
}

// The device link: every exchange with the mouse. Derives from QThread for its meta-object only;
// its operations run on the calling (GUI) thread. The one background job is the report listener.
class Hid_Thread : public QThread {
    Q_OBJECT
public:
    // Both seams default to production: hidapi and real sleeping. Borrowed, not owned.
    explicit Hid_Thread(HidBackend* backend = nullptr, Sleeper* sleeper = nullptr,
                        QObject* parent = nullptr);
    ~Hid_Thread() override;

    void setOwner(LinkOwner* owner) { owner_ = owner; }
    LinkOwner* owner() const { return owner_; }
    HidBackend& backend() const { return *backend_; }
    Sleeper& sleeper() const { return *sleeper_; }

    DeviceTable deviceTable() const;
    void setDeviceTable(const DeviceTable& table);
    // Builds the table from the global settings file and completes it by enumeration.
    void rebuildDeviceTable(const QString& iniPath);

    int currentDevice() const { return currentDevice_; }
    void setCurrentDevice(int index) { currentDevice_ = index; }
    bool linkFree() const { return linkFree_; }
    void setLinkFree(bool free) { linkFree_ = free; }
    bool listening() const { return listening_.load(); }
    void setListening(bool on) { listening_.store(on); }
    // Waits for the listener task to end (it ends within one read cycle once listening is false).
    void waitForListener();

    // Takes the busy token; gives up after 255 rounds of 8 ms, processing events in between.
    bool waitLinkFree();
    void settleDelay();
    bool sendCommand(int dataLength, bool waitSettle);
    bool sendCommandRead(int dataLength);

    // Frames and block of the current command, for the transport and for inspection.
    uint8_t commandFrame[9] = {};
    uint8_t answerFrame[9] = {};
    uint8_t dataBlock[512] = {};

    // A read of the data block that never comes is given up after this long (ms).
    static constexpr int kBlockReadTimeoutMs = 1000;
    // The listener's wait for one report (ms).
    static constexpr int kReportReadTimeoutMs = 500;

public slots:
    uchar hidCS(uchar* cmd);
    void USBDataEncryption(uchar* FIFOBuf, uchar* SecrecyCode);
    void USBDataDecipher(uchar* FIFOBuf, uchar* SecrecyCode);
    bool chkDeviceIsEnCode(int index);

    void startReportListener(unsigned int index);

    // 553 family.
    void hid553_00H_GetSecrecyCode(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid553_01H_SetReportRate(uchar rate);
    void hid553_02H_SetCurrentKeyMatrix(uchar currentKeyMatrix);
    void hid553_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_04H_SetGunData(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid553_0BH_SetCurrentDPI(uchar stage);
    void hid553_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid553_10H_SetLED8StageColor(uchar type, uchar* src24);
    void hid553_11H_SetDPISet(uchar dpiStage, uchar* src8);
    void hid553_12H_SetKeyMatrix(uchar* src64, uchar indexAddOne);
    void hid553_13H_SetMacroKey(uchar macroId, uchar* src128);
    void hid553_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid553_8BH_GetCurrentDPI(uchar& byte1);

    // 560 family.
    void hid560_01H_SetKeyboardoption(uchar byte1, uchar byte2);
    void hid560_02H_SetCurrentProfile(uchar profile);
    void hid560_03H_SetReportRate(uchar rate);
    void hid560_04H_SetCurrentDPI(uchar stage);
    void hid560_0CH_setProfile(uchar* src128, uchar profileData);
    void hid560_0DH_SetKeyMatrix(uchar* src64, uchar indexAddOne);
    void hid560_0FH_SetMacroKey(uchar macroId, uchar* src128);
    void hid560_81H_GetKeyboardoption(uchar& byte1, uchar& byte2);
    void hid560_82H_GetCurrentProfile(uchar& byte1);
    void hid560_84H_GetCurrentDPI(uchar& byte1, uchar& byte2);
    void hid560_8CH_readProfile(uchar* src128, uchar profileNo);

private:
    // Closes handle if open, then opens the interface at the entry's path in blocking mode. A path
    // that fails to open is emptied. nullptr when the entry or its path is missing.
    HidHandle* openInterface(int index, QByteArray DeviceEntry::*path, HidHandle*& handle);
    HidHandle* openCommandInterface(int index);
    HidHandle* openReportInterface(int index);
    void closeInterface(HidHandle*& handle);
    void closeCommandInterface();
    void closeReportInterface();
    // Opens the command interface of currentDevice, scrambles the frame where the device asks for
    // it and sends it. False at the first step that fails.
    bool sendFrame(int dataLength, DeviceEntry& entry);
    // Every transfer ends here: the interface closed, the token free.
    bool endTransfer(bool ok);
    // Entry of currentDevice, or false when it indexes none.
    bool currentEntry(DeviceEntry& out) const;

    // The command pattern for a row: take the token, build the frame, transfer. A block of
    // blockLength bytes (the row's length when negative) is copied into dataBlock first.
    // Returns whether every transfer went through; the slots ignore it, as callers never learn.
    bool send(const commandset::Row& row, std::initializer_list<uchar> args,
              const uchar* block = nullptr, int blockLength = -1);
    // A read: values are the caller's in/out parameters, in order; a block read fills block.
    bool query(const commandset::Row& row, std::initializer_list<uchar*> values,
               uchar* block = nullptr);
    void buildFrame(const commandset::Row& row, const uchar* args, int argCount);

    void listenReports(unsigned int index, int generation);
    void queueToOwner(int generation, std::function<void(LinkOwner&)> effect);

    LinkOwner* owner_ = nullptr;
    std::unique_ptr<HidBackend> ownBackend_;
    HidBackend* backend_;
    std::unique_ptr<Sleeper> ownSleeper_;
    Sleeper* sleeper_;

    mutable QMutex tableMutex_; // the listener clears reportPath while the GUI thread may read
    DeviceTable deviceTable_;
    int currentDevice_ = 1;
    HidHandle* commandHandle_ = nullptr;
    HidHandle* reportHandle_ = nullptr; // listener task only
    bool linkFree_ = true;
    std::atomic<bool> listening_{false};
    bool settleFlag_ = true;
    QFuture<void> listenerFuture_;
    std::atomic<int> listenerGeneration_{0}; // tells a superseded task's queued effects apart
};
