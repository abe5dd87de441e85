#include "linkfixture.h"

void attachToMouse(Hid_Thread& link, HidBackend& backend, const VirtualMouse& mouse)
{
    DeviceTable table{mouse.tableEntry()};
    completeDeviceTable(table, backend);
    link.setDeviceTable(table);
    link.setCurrentDevice(0);
}

LinkFixture::LinkFixture(VirtualMouse::Config config)
{
    mouse = &backend.addMouse(config);
    link = std::make_unique<Hid_Thread>(&backend, &backend.sleeper());
    link->setOwner(&owner);
    owner.family = config.family == VirtualMouse::Family::F560 ? QStringLiteral("560")
                                                               : QStringLiteral("553-24");
    attachToMouse(*link, backend, *mouse);
    backend.trace().clear();
}
