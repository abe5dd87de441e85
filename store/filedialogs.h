#pragma once

#include <QString>

// The open and save dialogs of profile and macro import and export. The program's implementation
// shows the platform dialogs over the scene, starting in the user's desktop folder; tests answer
// with a path or cancel.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or an empty string when the user cancelled.
    virtual QString getOpenFileName(const QString& caption, const QString& filter) = 0;
    // The chosen file (the dialog has asked before an existing file is chosen), or an empty string
    // when the user cancelled.
    virtual QString getSaveFileName(const QString& caption, const QString& filter) = 0;
};
