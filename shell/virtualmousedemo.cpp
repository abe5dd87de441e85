#include "virtualmousedemo.h"

#include "device/deviceentry.h"
#include "platform/copydata.h"

#include <QLoggingCategory>
#include <QMenu>
#include <QSettings>

// Everything on the virtual wire, for whoever wants to watch:
// QT_LOGGING_RULES="mouse.wire.debug=true".
Q_LOGGING_CATEGORY(lcWire, "mouse.wire", QtWarningMsg)

namespace {

VirtualMouse::Config configFor(const QString& family, const QString& globalFile)
{
    // The first configured device, so that the device check finds the virtual one.
    VirtualMouse::Config c;
    QSettings global(globalFile, QSettings::IniFormat);
    const DeviceTable table = readDeviceTable(global);
    if (!table.isEmpty()) {
        const DeviceEntry& e = table.first();
        c.vid = e.vid;
        c.pid = e.pid;
        c.usagePage = e.usagePage;
        c.usage = e.usage;
        c.usagePage2 = e.usagePage2;
        c.usage2 = e.usage2;
        c.reportLength = e.reportLength;
        c.isEncode = e.isEncode;
        c.sCode = e.sCode.toLatin1();
    }
    const QString f =
        family.isEmpty() ? global.value(QStringLiteral("mouse/icType")).toString() : family;
    c.family = f == QLatin1String("560") ? VirtualMouse::Family::F560 : VirtualMouse::Family::F553;
    c.name = "demo";
    return c;
}

} // namespace

VirtualMouseDemo::VirtualMouseDemo(const QString& family, const QString& globalFile,
                                   const QString& memoryFile, QObject* parent)
    : QObject(parent), memoryFile_(memoryFile)
{
    mouse_ = &backend_.addMouse(configFor(family, globalFile));
    mouse_->loadMemory(memoryFile_); // a first run starts from the factory state
    backend_.setRealTime(true);
    backend_.trace().setKeeping(false);
    if (lcWire().isDebugEnabled())
        backend_.trace().setObserver([](const QString& line) { qCDebug(lcWire).noquote() << line; },
                                     WireTrace::kDefault | WireTrace::Report | WireTrace::Note);
}

VirtualMouseDemo::~VirtualMouseDemo()
{
    mouse_->saveMemory(memoryFile_);
}

void VirtualMouseDemo::addTrayActions(QMenu* menu)
{
    QAction* first = menu->actions().value(0);
    auto* dpi = new QAction(tr("Virtual mouse: press the DPI button"), menu);
    connect(dpi, &QAction::triggered, this, &VirtualMouseDemo::pressDpiButton);
    auto* plug = new QAction(tr("Virtual mouse: plugged in"), menu);
    plug->setCheckable(true);
    plug->setChecked(mouse_->plugged());
    connect(plug, &QAction::toggled, this, &VirtualMouseDemo::setPlugged);
    menu->insertAction(first, dpi);
    menu->insertAction(first, plug);
    menu->insertSeparator(first);
}

void VirtualMouseDemo::pressDpiButton()
{
    const VirtualMouse::Memory m = mouse_->memory();
    const int current =
        is560() ? m.currentDpis[std::min<size_t>(m.currentProfile, 4)] : m.currentDpi;
    mouse_->pressDpiButton(current % 4 + 1);
}

void VirtualMouseDemo::setPlugged(bool plugged)
{
    if (plugged == mouse_->plugged())
        return;
    if (plugged) {
        mouse_->plug();
    } else {
        mouse_->saveMemory(memoryFile_);
        mouse_->unplug();
    }
    emit deviceChanged();
}

bool VirtualMouseDemo::control(const CopyDataRecord& record)
{
    if (record.tag != kCopyDataVirtualMouseTag)
        return false;
    const QString text = QString::fromUtf8(record.bytes).trimmed();
    const QString arg = text.section(QLatin1Char(' '), 1);
    if (text == QLatin1String("unplug"))
        setPlugged(false);
    else if (text == QLatin1String("plug"))
        setPlugged(true);
    else if (text.startsWith(QLatin1String("dpi ")))
        mouse_->pressDpiButton(arg.toInt());
    else if (text.startsWith(QLatin1String("report ")))
        mouse_->sendReport(QByteArray::fromHex(arg.toLatin1()));
    return true;
}
