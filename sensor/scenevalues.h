#pragma once

#include <QVariant>
#include <QVariantList>

#include <optional>
#include <vector>

// Numbers as the scene hands them over: ints, doubles (rounded, as QVariant::toInt does) or numeric
// text ("10", as the settings files return it).
namespace scenevalues {

// The integer v stands for; nullopt for anything that is no finite number.
std::optional<qint64> integer(const QVariant& v);

// The first count entries as integers; nullopt when the list holds fewer or one of them is no
// number. Entries after the first count are not looked at.
std::optional<std::vector<qint64>> integers(const QVariantList& list, int count);

} // namespace scenevalues
