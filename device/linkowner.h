#pragma once

#include <QString>

// What the device link needs from the window that owns it. The link calls these on the GUI thread
// only; effects of the report listener are queued there first.
class LinkOwner {
public:
    virtual ~LinkOwner() = default;

    // Controller family and gun feature of the model, as the scene host read them at start.
    virtual QString icType() const = 0;
    virtual bool isGun() const = 0;

    // Tray balloon with the information icon.
    virtual void showBalloon(const QString& title, const QString& text, int msecs) = 0;
    // Tells the scene the DPI stage the mouse switched to (1-based, as reported).
    virtual void setCurrentDPI(int stage) = 0;
    // Blocks input to the scene after the mouse went away.
    virtual void disableView() = 0;
};
