#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The texts of the Skins window: the button that opens it, its controls and its card menu. A
// card's kind and badges are named in Collection.h.
namespace vestimo::texts {

// The button in the skin editing window, worded so its Alt+letter (V) is one no other button has.
inline QString skinsButton() {
    return QCoreApplication::translate("Vestimo", "View Skins...");
}
inline QString skinsTitle(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "Skins in %1").arg(folder);
}

inline QString skinsKindLabel() {
    return QCoreApplication::translate("Vestimo", "Kind:");
}
inline QString skinsAllKinds() {
    return QCoreApplication::translate("Vestimo", "All kinds");
}
// The kind filter's entry for every buyable skin, whatever its category.
inline QString skinsBuyables() {
    return QCoreApplication::translate("Vestimo", "Buyable");
}
inline QString skinsProblemsOnly() {
    return QCoreApplication::translate("Vestimo", "Has problems");
}
inline QString skinsSearchLabel() {
    return QCoreApplication::translate("Vestimo", "Search:");
}
inline QString skinsSearchHint() {
    return QCoreApplication::translate("Vestimo", "Part of a skin's name");
}
inline QString skinsSortLabel() {
    return QCoreApplication::translate("Vestimo", "Sort by:");
}
inline QString skinsSortName() {
    return QCoreApplication::translate("Vestimo", "Name");
}
inline QString skinsSortKind() {
    return QCoreApplication::translate("Vestimo", "Kind");
}
inline QString skinsSortProblems() {
    return QCoreApplication::translate("Vestimo", "Number of problems");
}
inline QString skinsSortDate() {
    return QCoreApplication::translate("Vestimo", "Date");
}

// The counts at the top.
inline QString skinsCounts(qsizetype shown, qsizetype problems) {
    return QCoreApplication::translate("Vestimo", "%1 skins shown, %2 problems in the folder")
        .arg(shown)
        .arg(problems);
}
// Added while the bitmaps are still being judged, so more badges may come.
inline QString skinsStillChecking(const QString& counts) {
    return QCoreApplication::translate("Vestimo", "%1 (still checking...)").arg(counts);
}
inline QString skinsFolderUnreadable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "The folder could not be read: %1").arg(why);
}

inline QString skinsCacheLimitLabel() {
    return QCoreApplication::translate("Vestimo", "Picture cache limit:");
}
inline QString skinsCacheLimitUnit() {
    return QCoreApplication::translate("Vestimo", " MB");
}
inline QString skinsClearCache() {
    return QCoreApplication::translate("Vestimo", "Clear Picture Cache");
}
inline QString skinsCacheNotCleared() {
    return QCoreApplication::translate("Vestimo",
                                       "Some pictures could not be removed from the picture cache.");
}

// The tone marks' tool tips.
inline QString skinsTonePresent(const QString& tone) {
    return QCoreApplication::translate("Vestimo", "Texture for the %1 tone").arg(tone);
}
inline QString skinsToneMissing(const QString& tone) {
    return QCoreApplication::translate("Vestimo", "No texture for the %1 tone").arg(tone);
}
// A badge's tool tip: what it is and why.
inline QString skinsBadgeTip(const QString& badge, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "%1: %2").arg(badge, reason);
}
// Drawn on a problem's badge.
inline QString skinsBadgeMark() {
    return QCoreApplication::translate("Vestimo", "!");
}
// A card's files, as its tool tip lists them.
inline QString skinsCardFiles(const QStringList& files) {
    return files.join(QCoreApplication::translate("Vestimo", ", "));
}
// The card's picture could not be drawn.
inline QString skinsNoPicture(const QString& why) {
    return QCoreApplication::translate("Vestimo", "No picture: %1").arg(why);
}

// The card's menu.
inline QString skinsMoveToProblemFolder() {
    return QCoreApplication::translate("Vestimo", "Move to the problem folder");
}
inline QString skinsOpenFolder() {
    return QCoreApplication::translate("Vestimo", "Open the folder");
}
inline QString skinsMovedByThePlayer() {
    return QCoreApplication::translate("Vestimo", "moved with \"Move to the problem folder\"");
}
inline QString skinsFolderNotOpened(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "The folder %1 could not be opened.").arg(folder);
}

} // namespace vestimo::texts
