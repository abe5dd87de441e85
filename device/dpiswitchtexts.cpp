#include "dpiswitchtexts.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct Texts {
    QMutex mutex;
    QStringList texts = QStringList(8, QStringLiteral("DPI Switch to"));
};

Texts& store()
{
    static Texts t;
    return t;
}

} // namespace

namespace DpiSwitchTexts {

void set(const QStringList& texts)
{
    Texts& t = store();
    QMutexLocker lock(&t.mutex);
    for (int i = 0; i < 8 && i < texts.size(); ++i)
        t.texts[i] = texts[i];
}

QString forStage(int stage)
{
    Texts& t = store();
    QMutexLocker lock(&t.mutex);
    // Copy under the lock: the reader gets a whole text, old or new.
    return (stage >= 1 && stage <= 7) ? QString(t.texts[stage - 1]) : QString(t.texts[7]);
}

QStringList all()
{
    Texts& t = store();
    QMutexLocker lock(&t.mutex);
    return t.texts;
}

} // namespace DpiSwitchTexts
