#include "sleeper.h"

#include <QThread>

void RealSleeper::sleep(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
