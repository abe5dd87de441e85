#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class FileDialogs;
class SettingsStore;

// One INI file per macro, "macro/<name>.bin" under the modules folder:
//   [config] index, total (number of actions), repeat, did (-1)
//   [macro]  0, 1, … : action records "<type digit>,<info>"
// plus the rewrites of the profiles' macro slot names that a rename or delete needs. Names arrive
// as variants and are used as text. A name that is not a plain file name (a path separator, "." or
// "..", a control character) is refused as a missing file would be, and touches no file.
class MacroFiles {
public:
    // Beyond any macro the editor can record; keeps a garbled "total" from building a huge list.
    static constexpr int MaxRecords = 1024;

    MacroFiles(SettingsStore& store, FileDialogs& dialogs) : m_store(store), m_dialogs(dialogs) {}

    // Creates the file (an existing one keeps its other keys) with index, total 0, repeat 1 and
    // did -1. True, or false for a refused name.
    QVariant createMacroIni(const QVariant& name, const QVariant& macroIndex);
    // Replaces the actions and the repeat count; false (nothing written) when the file is missing.
    QVariant saveMacroIni(const QVariant& name, const QStringList& macros, const QVariant& repeat);
    // The action records in order followed by the repeat count; empty when the file is missing.
    QStringList loadMacroIni(const QVariant& name) const;
    // True when the file existed and was removed.
    QVariant deleteMacroIni(const QVariant& name);
    // Renames the macro in the slot names of profile slots 0 … 5, then renames its file. False,
    // with nothing changed, when the old file is missing; false after the profile rewrite when the
    // file cannot be renamed (for example because the new name exists).
    QVariant modifyMacroNameUpdateProfile(const QVariant& oldname, const QVariant& newname);
    // Gives every button of profile slots 0 … 5 that runs this macro its factory assignment.
    void deleteMacroUpdateProfile(const QVariant& macroName);
    // Asks for a "*.mc" file and copies it to the macro's file unless that exists. True when the
    // user chose a file.
    bool loadMacroFile(const QVariant& macroFileName);
    // Asks for a target and writes a copy of the macro's file there. A missing macro file or a
    // failed copy leaves an existing target as it was.
    void saveMacroFile(const QVariant& macroFileName);

    // The file of a macro; empty for a refused name.
    QString macroPath(const QString& name) const;

private:
    SettingsStore& m_store;
    FileDialogs& m_dialogs;
};
