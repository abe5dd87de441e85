#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>

// Small helpers shared by everything that reads or replaces the INI files under the modules folder.
namespace IniFiles {

// The text of a stored value. Qt reads an unquoted value that contains commas as a list of strings;
// such a list is joined back with sep, so a hand-edited text keeps its words.
QString text(const QVariant& value, QStringView sep = u", ");

// The stored value as a list: empty when the key is absent or holds a single plain value (a string
// is never split into characters).
QVariantList list(const QVariant& value);

// True when name can be used as a file name inside one folder: no path separator, no control
// character, not "." or "..". Names from the user are checked with it before they touch the disk.
bool isPlainFileName(const QString& name);

// Copies source over target so that target is either its old self or a complete copy, never a mix
// (written to a temporary file beside target, then renamed over it). Returns false, with target
// untouched, when source cannot be read or the copy cannot be completed. A source that is target
// itself succeeds without writing.
bool replaceFileAtomically(const QString& source, const QString& target);

// Qt keeps the parsed content of a settings file after its last QSettings is gone and reuses it for
// the next QSettings on the same path while the file's size and modification time are unchanged.
// Call this before a different file appears at path (path must not exist at that moment): it drops
// what Qt remembers, so the next reader parses the new file.
void forgetCachedSettings(const QString& path);

} // namespace IniFiles
