#pragma once

#include "store/filedialogs.h"

#include <QStringList>

// Answers each dialog with the next queued path (an empty string is a cancel) and records what it
// was asked.
class FakeDialogs : public FileDialogs {
public:
    QStringList answers;
    QStringList asked; // "open|caption|filter" or "save|caption|filter"

    QString getOpenFileName(const QString& caption, const QString& filter) override
    {
        return answer(QStringLiteral("open"), caption, filter);
    }
    QString getSaveFileName(const QString& caption, const QString& filter) override
    {
        return answer(QStringLiteral("save"), caption, filter);
    }

private:
    QString answer(const QString& kind, const QString& caption, const QString& filter)
    {
        asked.append(kind + u'|' + caption + u'|' + filter);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
