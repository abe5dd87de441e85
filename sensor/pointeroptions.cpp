#include "pointeroptions.h"

#include "platform/pointersettings.h"

#include <QtDebug>

#include <algorithm>

namespace pointer {

namespace {

constexpr int kSpeedPerStep = 2;
constexpr int kSlowestSpeed = 1;
constexpr int kLongestDoubleClickMs = 900;
constexpr int kDoubleClickMsPerStep = 70;

} // namespace

int cursorSpeed(unsigned step)
{
    const int speed = kSpeedPerStep * int(std::min(step, kMaxStep));
    return speed == 0 ? kSlowestSpeed : speed;
}

int doubleClickTime(unsigned step)
{
    return kLongestDoubleClickMs - kDoubleClickMsPerStep * int(std::min(step, kMaxStep));
}

} // namespace pointer

void PointerOptions::mouseSetCursorSpeed(unsigned cursorSpeed)
{
    if (!settings_.setMouseSpeed(pointer::cursorSpeed(cursorSpeed)))
        qDebug("%s", "setCursorSpeed Failed");
}

void PointerOptions::mouseSetDoubleClickSpeed(unsigned speed)
{
    if (!settings_.setDoubleClickTime(pointer::doubleClickTime(speed)))
        qDebug("%s", "setDoubleClickSpeed Failed");
}

void PointerOptions::mouseSetVerticalScrollLines(unsigned lines)
{
    if (!settings_.setWheelScrollLines(lines))
        qDebug("%s", "setVerticalScrollLines Failed");
}
