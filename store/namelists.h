#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// The ordered name lists of macros, guns and profiles in "setting/name.bin", read and written whole
// by type. The file is opened for each call.
//
//   type 0  macro/macroName       type 2  profile/profileName
//   type 1  gun/gunName           type 3  gun/selectGun
//
// A string list of exactly one entry would be stored as a plain value that does not read back as a
// list, so the writer appends the sentinel "quillmarker" to it; readers drop a second entry equal
// to the sentinel.
class NameLists {
public:
    static constexpr QLatin1StringView Sentinel{"quillmarker"};

    explicit NameLists(const QString& modulesDir = QStringLiteral("./modules"));

    // Replaces the list of the type (an empty list removes the key); an unknown type writes
    // nothing. Always true.
    QVariant updataNameList(const QVariant& type, const QStringList& nameList);
    // The stored list as strings, sentinel included; empty for an absent key, a value that is not
    // a list or an unknown type.
    QVariantList getNameList(const QVariant& type) const;

    // The settings key of a type; empty for an unknown type.
    static QString keyOf(const QVariant& type);

private:
    QString m_file;
};
