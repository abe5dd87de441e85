#pragma once

#include "store/filedialogs.h"

class QWidget;

// The open and save dialogs of profiles and macros, as the desktop shows them.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    QString getOpenFileName(const QString& caption, const QString& filter) override;
    QString getSaveFileName(const QString& caption, const QString& filter) override;

private:
    QWidget* parent_;
};
