#pragma once

#include "core/catalogue/Common.h"
#include "core/catalogue/SingleChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

// The texts of the directory-wide checks: their closing messages, the messages of a run that
// stopped early, and the wording of the details under a closing message.
namespace vestimo::texts {

// Closing messages, one per check.
inline QString cmxFilesChecked() {
    return QCoreApplication::translate(
               "Vestimo",
               "Problem Files were moved into the same directory as the program for you to check "
               "individually and fix, everything else was left where it was. If you have a cmx file "
               "that was moved but yet was a valid file, please email the file to ") +
           maintainerContact();
}
inline QString bitmapsChecked() {
    return QCoreApplication::translate(
               "Vestimo",
               "Problem Files were moved into the same directory as the program for you to fix, "
               "everything else was left where it was. If you encounter a file that was moved that "
               "is valid, please email the dimensions and file size to ") +
           maintainerContact();
}
inline QString orphansMoved() {
    return QCoreApplication::translate(
        "Vestimo", "CMX and SKN Files that have no BMP files associated with them were moved into the "
                   "same directory as the program.");
}

// An empty listing, one per kind of file (see FileFilter.cpp); lower-case "bmp"/"cmx" as players
// have always seen it here.
inline QString noBmpFilesInDirectory() {
    return QCoreApplication::translate("Vestimo", "There are no bmp files in this directory!");
}
inline QString noCmxFilesInDirectory() {
    return QCoreApplication::translate("Vestimo", "There are no cmx files in this directory!");
}

// Above the counts of a run the player cancelled: the counts hold only what was done.
inline QString checkCancelled() {
    return QCoreApplication::translate("Vestimo", "Cancelled: the files after the one in hand were not "
                                                  "checked and stay where they are.");
}

// A run that stopped before its walk.
inline QString programFolderBusy(const QString& programDirectory) {
    return QCoreApplication::translate(
               "Vestimo",
               "Another copy of Vestimo is using the program folder %1. Try again when it has finished.")
        .arg(QDir::toNativeSeparators(programDirectory));
}
inline QString skinFolderIsProgramFolder(const QString& skinDirectory) {
    return QCoreApplication::translate(
               "Vestimo", "The skin folder %1 is the program's own folder, where problem files are moved; "
                          "choose another folder to check.")
        .arg(QDir::toNativeSeparators(skinDirectory));
}
inline QString lockFileUnusable(const QString& lockPath, const QString& why) {
    return QCoreApplication::translate("Vestimo",
                                       "The lock file %1 in the program folder could not be used: %2")
        .arg(QDir::toNativeSeparators(lockPath), why);
}
inline QString folderUnreadable(const QString& skinDirectory, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not read the folder %1: %2")
        .arg(QDir::toNativeSeparators(skinDirectory), why);
}
inline QString listingNotWritten(const QString& listingName, const QString& programDirectory,
                                 const QString& why) {
    return QCoreApplication::translate(
               "Vestimo", "The list of files could not be written to %1 in the program folder %2: %3")
        .arg(listingName, QDir::toNativeSeparators(programDirectory), why);
}
inline QString oldListingNotDeleted(const QString& listingName, const QString& why) {
    return QCoreApplication::translate("Vestimo", "the old %1 there could not be deleted (%2)")
        .arg(listingName, why);
}
inline QString earlierListingTrashed() {
    return QCoreApplication::translate(
        "Vestimo", "an earlier Temp.txt that was not a listing of Vestimo's was sent to the trash");
}
inline QString earlierListingNotTrashed(const QString& why) {
    return QCoreApplication::translate(
               "Vestimo",
               "an earlier Temp.txt that is not a listing of Vestimo's could not be sent to the trash (%1)")
        .arg(why);
}
inline QString oldListingNotReplaced(const QString& listingName, const QString& why) {
    return QCoreApplication::translate(
               "Vestimo",
               "the program folder cannot be written, so the old %1 there could not be replaced (%2)")
        .arg(listingName, why);
}
inline QString skinFolderIsProgramFolderShort() {
    return QCoreApplication::translate("Vestimo", "the skin directory is the program's own folder");
}

// The details under a closing message.
inline QString detailsSkinFolder(const QString& skinDirectory) {
    return QCoreApplication::translate("Vestimo", "Skin folder: %1")
        .arg(QDir::toNativeSeparators(skinDirectory));
}
inline QString detailsJudged(int count) {
    return QCoreApplication::translate("Vestimo", "Files judged: %1").arg(count);
}
inline QString detailsMoved(qsizetype count, const QString& programDirectory) {
    return QCoreApplication::translate("Vestimo", "Files moved: %1, into %2")
        .arg(count)
        .arg(QDir::toNativeSeparators(programDirectory));
}
// A dry run's count of the files that would have moved.
inline QString detailsWouldMove(qsizetype count, const QString& programDirectory) {
    return QCoreApplication::translate("Vestimo", "Files that would move: %1, into %2")
        .arg(count)
        .arg(QDir::toNativeSeparators(programDirectory));
}
inline QString detailsLeft(int count) {
    return QCoreApplication::translate("Vestimo", "Files left: %1").arg(count);
}
inline QString detailsCount(const QString& label, int count) {
    return QStringLiteral("%1: %2").arg(label).arg(count);
}
inline QString detailsLine(const QString& name, const QString& reason) {
    return QStringLiteral("%1: %2").arg(name, reason);
}
inline QString detailsMovedHeading() {
    return QCoreApplication::translate("Vestimo", "Moved:");
}
inline QString detailsTroubleHeading() {
    return QCoreApplication::translate("Vestimo", "Could not be read or moved, left where they were:");
}
inline QString detailsLeftOutHeading() {
    return QCoreApplication::translate("Vestimo",
                                       "Not judged, because a line break in the name keeps it off the list:");
}
inline QString detailsUnnamableHeading() {
    return QCoreApplication::translate("Vestimo",
                                       "Not judged, because the name is not valid text here (rename it):");
}

// Why a file moved or stayed, one line of the details each.
inline QString couldNotBeMoved(const QString& reason, const QString& why) {
    return QCoreApplication::translate("Vestimo", "could not be moved (%1): %2").arg(reason, why);
}
// Why a dry run's file could not move: the words a move itself would give.
inline QString alreadyInFolder(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "a file of that name is already in %1").arg(folder);
}
inline QString companionWentWith(const QString& role, const QString& companion) {
    return QCoreApplication::translate("Vestimo", "; its %1 %2 went with it").arg(role, companion);
}
inline QString companionNotMoved(const QString& role, const QString& owner, const QString& why) {
    return QCoreApplication::translate("Vestimo", "the %1 of %2 could not be moved: %3")
        .arg(role, owner, why);
}
inline QString companionOf(const QString& role, const QString& owner) {
    return QCoreApplication::translate("Vestimo", "the %1 of %2, moved with it").arg(role, owner);
}
inline QString meshRole() {
    return QCoreApplication::translate("Vestimo", "mesh");
}
inline QString noBitmapBeginsWith(const QString& prefix) {
    return QCoreApplication::translate("Vestimo", "no bitmap begins with \"%1\"").arg(prefix);
}
// The line and the message "Check CMX For Errors" gives for it.
inline QString faultyLine(int line) {
    return atLine(line, cmxFaultAtLine(line));
}
inline QString couldNotBeOpened(const QString& why) {
    return QCoreApplication::translate("Vestimo", "could not be opened: %1").arg(why);
}
inline QString couldNotBeRead(const QString& why) {
    return QCoreApplication::translate("Vestimo", "could not be read: %1").arg(why);
}
inline QString notAReadablePicture() {
    return QCoreApplication::translate("Vestimo", "not a readable picture");
}
inline QString notAReadablePicture(const QString& why) {
    return QStringLiteral("%1 (%2)").arg(notAReadablePicture(), why);
}
inline QString overTheLimit(int width, int height, qint64 length, qint64 limit) {
    return QCoreApplication::translate("Vestimo", "%1 x %2, %3 bytes, more than %4")
        .arg(width)
        .arg(height)
        .arg(length)
        .arg(limit);
}
inline QString noLongerThere(const QString& reason) {
    return reason + QCoreApplication::translate("Vestimo", ", but it is no longer there under this name");
}

// Why a file stayed or was passed over, for the report.
inline QString withinTheLimit(int width, int height, qint64 length, qint64 limit) {
    return QCoreApplication::translate("Vestimo", "%1 x %2, %3 bytes, not more than %4")
        .arg(width)
        .arg(height)
        .arg(length)
        .arg(limit);
}
inline QString sizeNotListed(int width, int height) {
    return QCoreApplication::translate("Vestimo", "%1 x %2, a size the texture table does not list")
        .arg(width)
        .arg(height);
}
inline QString bitmapBeginsWith(const QString& prefix) {
    return QCoreApplication::translate("Vestimo", "a bitmap begins with \"%1\"").arg(prefix);
}
inline QString notASkinDescription() {
    return QCoreApplication::translate(
        "Vestimo", "not a skin description this check reads (an animation or another kind)");
}
inline QString lineBreakInName() {
    return QCoreApplication::translate("Vestimo",
                                       "not judged: a line break in the name keeps it off the list");
}
inline QString nameNotValidText() {
    return QCoreApplication::translate("Vestimo", "not judged: the name is not valid text here (rename it)");
}

// What the details call the files a check passed over and the files that went along.
inline QString notSkinDescriptionsLeft() {
    return QCoreApplication::translate(
        "Vestimo", "Not skin descriptions this check reads (animations and other kinds), left");
}
inline QString sizesNotListedLeft() {
    return QCoreApplication::translate("Vestimo", "Sizes the texture table does not list, left");
}
inline QString meshesMovedWithThem() {
    return QCoreApplication::translate("Vestimo", "Mesh files moved with them");
}

} // namespace vestimo::texts
