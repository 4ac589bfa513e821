#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QStringList>

// The texts of the game-folders box and of the game installs found.
namespace vestimo::texts {

inline QString gameFoldersCaption() {
    return QCoreApplication::translate("Vestimo", "Game folders");
}
inline QString noGameFound() {
    return QCoreApplication::translate("Vestimo", "No game found");
}
// Shown while the browser is in none of the folders offered.
inline QString otherFolder() {
    return QCoreApplication::translate("Vestimo", "Other folder");
}
// What discovery passed over in a list too long to be believed.
inline QString libraryFoldersIgnored(const QString& list, qsizetype ignored, qsizetype most) {
    return QCoreApplication::translate("Vestimo", "%1 lists %2 more library folders than the %3 looked at; "
                                                  "they were ignored")
        .arg(QDir::toNativeSeparators(list))
        .arg(ignored)
        .arg(most);
}
inline QString registryPathsIgnored(const QString& registry, qsizetype ignored, qsizetype most) {
    return QCoreApplication::translate("Vestimo", "%1 names %2 more install folders of the game than the %3 "
                                                  "looked at; they were ignored")
        .arg(QDir::toNativeSeparators(registry))
        .arg(ignored)
        .arg(most);
}
// Follows an install's label for its SkinsBuy folder.
inline QString buyableOutfits(const QString& installLabel) {
    return QCoreApplication::translate("Vestimo", "%1 buyable outfits").arg(installLabel);
}
// The details under "You have not installed the game in the default directory...": one line per
// folder the game-folders box offers.
inline QString installsFoundHeading() {
    return QCoreApplication::translate(
        "Vestimo", "The game was found in these folders; choose one under \"Game folders\":");
}
inline QString installFoundLine(const QString& label, const QString& folder) {
    return QStringLiteral("%1: %2").arg(label, QDir::toNativeSeparators(folder));
}

// After an export into an install's Skins folder that has a SkinsBuy folder.
inline QString gameReadsBuyableFrom(const QString& skinsBuy) {
    return QCoreApplication::translate("Vestimo", "The game reads buyable outfits from %1.")
        .arg(QDir::toNativeSeparators(skinsBuy));
}
inline QString putThemInSkinsBuy() {
    return QCoreApplication::translate("Vestimo", "Put Them in SkinsBuy");
}
inline QString movedIntoSkinsBuy(const QString& cmx, const QString& bitmap, const QString& skinsBuy) {
    return QCoreApplication::translate("Vestimo", "%1 and %2 were moved into %3.")
        .arg(cmx, bitmap, QDir::toNativeSeparators(skinsBuy));
}
// A folder that is a symbolic link, named with the folder it leads to.
inline QString linkAndTarget(const QString& link, const QString& target) {
    return QStringLiteral("%1 -> %2").arg(QDir::toNativeSeparators(link), QDir::toNativeSeparators(target));
}
inline QString nothingMovedIntoSkinsBuy(const QString& name, const QString& skinsBuy) {
    return QCoreApplication::translate("Vestimo", "Nothing was moved: %1 is already in %2.")
        .arg(name, QDir::toNativeSeparators(skinsBuy));
}
inline QString notMovedIntoSkinsBuy(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 could not be moved into SkinsBuy: %2").arg(name, why);
}
inline QString movedForTheGame() {
    return QCoreApplication::translate("Vestimo", "moved where the game reads buyable outfits");
}

} // namespace vestimo::texts
