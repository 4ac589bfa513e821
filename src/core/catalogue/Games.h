#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// The texts of the game-folders box and of the game installs found.
namespace vestimo::texts {

inline QString gameFoldersCaption() {
    return QStringLiteral("Game folders");
}
inline QString noGameFound() {
    return QStringLiteral("No game found");
}
// Follows an install's label for its SkinsBuy folder.
inline QString buyableOutfits(const QString& installLabel) {
    return installLabel + QStringLiteral(" buyable outfits");
}
// The details under "You have not installed the game in the default directory...": one line per
// folder the game-folders box offers.
inline QString installsFoundHeading() {
    return QStringLiteral("The game was found in these folders; choose one under \"Game folders\":");
}
inline QString installFoundLine(const QString& label, const QString& folder) {
    return QStringLiteral("%1: %2").arg(label, QDir::toNativeSeparators(folder));
}

} // namespace vestimo::texts
