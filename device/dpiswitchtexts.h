#pragma once

#include <QString>
#include <QStringList>

// The eight tray texts announcing a DPI-button change: text k belongs to stage k + 1 for k < 7,
// text 7 to every other stage. Written on the GUI thread, read by the report listener; a reader
// always gets a whole text.
namespace DpiSwitchTexts {
void set(const QStringList& texts); // takes the first eight; missing ones keep their value
QString forStage(int stage);
QStringList all();
} // namespace DpiSwitchTexts
