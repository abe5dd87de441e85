#pragma once

#include <QString>
#include <QStringList>

// The texts of one page group from a language file "i18n/<code>.ini" (UTF-8). A group holds
// "total" and the keys 0 … total − 1; the file is opened for each call and never written.
class LangStrings {
public:
    // Beyond any real group; keeps a garbled "total" from building a huge list.
    static constexpr int MaxTexts = 4096;

    explicit LangStrings(const QString& modulesDir = QStringLiteral("./modules"));

    // total texts in key order; a missing key gives an empty text at its place. A missing file or
    // group, an unreadable total, or a code that is not a plain file name give an empty list.
    QStringList getLangStrings(const QString& typeStr, const QString& langCode) const;

private:
    QString m_dir;
};
