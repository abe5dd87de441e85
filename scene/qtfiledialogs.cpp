#include "qtfiledialogs.h"

#include <QCoreApplication>
#include <QFileDialog>

QString QtFileDialogs::getOpenFileName(const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(
        parent_, QCoreApplication::translate("FileDialogs", caption.toUtf8().constData()), {},
        filter);
}

QString QtFileDialogs::getSaveFileName(const QString& caption, const QString& filter)
{
    return QFileDialog::getSaveFileName(
        parent_, QCoreApplication::translate("FileDialogs", caption.toUtf8().constData()), {},
        filter);
}
