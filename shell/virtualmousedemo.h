#pragma once

#include "emulator/virtualmouse.h"

#include <QObject>
#include <QString>

class QMenu;
struct CopyDataRecord;

// The program attached to a virtual mouse instead of hardware: its identity comes from the first
// device of the global settings file, its memory persists in a file between runs, and the tray
// menu (or a copy-data message) presses its DPI button and plugs it in and out.
class VirtualMouseDemo : public QObject {
    Q_OBJECT
public:
    // family: "553", "560", or empty to follow mouse/icType of the global file.
    VirtualMouseDemo(const QString& family, const QString& globalFile, const QString& memoryFile,
                     QObject* parent = nullptr);
    ~VirtualMouseDemo() override;

    VirtualHidBackend& backend() { return backend_; }
    VirtualMouse& mouse() { return *mouse_; }
    bool is560() const { return mouse_->config().family == VirtualMouse::Family::F560; }
    QString memoryFile() const { return memoryFile_; }

    void addTrayActions(QMenu* menu);
    // True when the record was a control message (kCopyDataVirtualMouseTag: "unplug", "plug",
    // "dpi <stage>", "report <hex bytes>") and was carried out.
    bool control(const CopyDataRecord& record);

    void pressDpiButton();
    void setPlugged(bool plugged);

signals:
    // The mouse was plugged in or out: what the system's device watch would report.
    void deviceChanged();

private:
    VirtualHidBackend backend_;
    VirtualMouse* mouse_ = nullptr;
    QString memoryFile_;
};
