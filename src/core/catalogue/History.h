#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

// The texts of the journal: the last line of a run's details, the History window and what
// "Put Back" tells the player.
namespace vestimo::texts {

// The last line of a directory-wide check's details.
inline QString runCanBeUndone() {
    return QCoreApplication::translate("Vestimo", "This run can be undone from History.");
}
inline QString runChangedNothing() {
    return QCoreApplication::translate("Vestimo", "No file was moved, so nothing was changed.");
}
inline QString runNotRecorded(const QString& why) {
    return QCoreApplication::translate("Vestimo", "This run could not be recorded: %1").arg(why);
}

// Why a file changed, as the journal keeps it for the single-file commands.
inline QString movedByThePlayer() {
    return QCoreApplication::translate("Vestimo", "moved with \"Move this file\"");
}
inline QString trashedByThePlayer() {
    return QCoreApplication::translate("Vestimo", "sent to the Trash with \"Delete Current BMP File\"");
}
inline QString savedByThePlayer() {
    return QCoreApplication::translate("Vestimo", "saved with \"Save CMX Changes\"");
}
inline QString companionReason(const QString& role, const QString& owner, const QString& ownerReason) {
    return QCoreApplication::translate("Vestimo", "the %1 of %2 (%3)").arg(role, owner, ownerReason);
}
inline QString exportedCmx() {
    return QCoreApplication::translate("Vestimo", "the buyable outfit's CMX file");
}
inline QString exportedBitmap() {
    return QCoreApplication::translate("Vestimo", "the buyable outfit's bitmap");
}
inline QString exportTakenBack() {
    return QCoreApplication::translate("Vestimo", "taken back: the bitmap could not be written");
}

// Why a change could not be recorded when there is no journal to record it in.
inline QString journalNotOpen() {
    return QCoreApplication::translate("Vestimo", "the journal is not open");
}

// Why a change could not be recorded, or a put-back stopped before it began: another program
// held the journal for longer than a command waits.
inline QString journalInUse() {
    return QCoreApplication::translate("Vestimo", "the journal is in use by another program");
}

// Why a moved file was not put back: the file in the problem folder is not the one moved.
inline QString notTheFileMoved(const QString& name, qint64 run) {
    return QCoreApplication::translate("Vestimo", "%1 in the problem folder is not the file run %2 moved")
        .arg(name)
        .arg(run);
}
// Said of a file put back from a run recorded before the journal kept contents.
inline QString matchedBySizeOnly(const QString& what) {
    return QCoreApplication::translate("Vestimo", "%1 (matched by its size only: its run was recorded before "
                                                  "the journal kept what files hold)")
        .arg(what);
}
// What settling after a crash removed.
inline QString leftoverRemoved(const QString& path) {
    return QCoreApplication::translate("Vestimo", "removed what a stopped installation left: %1")
        .arg(QDir::toNativeSeparators(path));
}

// How settling after a crash found a change that was left open, as the journal keeps it.
inline QString settledStillInPlace() {
    return QCoreApplication::translate("Vestimo", "it was still in its place");
}
inline QString settledStillInPlaceBeside(const QString& other) {
    return QCoreApplication::translate("Vestimo",
                                       "it was still in its place; the file at %1 was left as it is")
        .arg(other);
}
inline QString settledFoundNowhere(const QString& destination) {
    return QCoreApplication::translate("Vestimo", "it was found neither in its place nor at %1")
        .arg(destination);
}
inline QString settledTrashedNoTrace() {
    return QCoreApplication::translate("Vestimo",
                                       "it went to the trash, but where in the trash was not recorded");
}
inline QString settledUnreadable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "it could not be read: %1").arg(why);
}
inline QString settledHeldBefore() {
    return QCoreApplication::translate("Vestimo", "it still held what it held before");
}
inline QString settledHoldsNeither() {
    return QCoreApplication::translate("Vestimo", "it holds neither what it held before nor what was saved");
}
inline QString settledNeverWritten() {
    return QCoreApplication::translate("Vestimo", "it was never written");
}
inline QString settledAnotherFile() {
    return QCoreApplication::translate("Vestimo", "another file is in its place");
}
// The note of a change that has been undone, and the outcome of a run closed after a crash.
inline QString changePutBack() {
    return QCoreApplication::translate("Vestimo", "put back");
}
inline QString runInterrupted() {
    return QCoreApplication::translate("Vestimo", "interrupted");
}

// How a run ended, as History shows it.
inline QString runMoved(qsizetype moved, qsizetype trouble) {
    return trouble == 0 ? QCoreApplication::translate("Vestimo", "finished; %1 moved").arg(moved)
                        : QCoreApplication::translate("Vestimo", "finished; %1 moved, %2 left with trouble")
                              .arg(moved)
                              .arg(trouble);
}
inline QString runFinished() {
    return QCoreApplication::translate("Vestimo", "finished");
}
inline QString runFailed(const QString& why) {
    return QCoreApplication::translate("Vestimo", "failed: %1").arg(why);
}

// An export's success message gets this as its details when the journal could not keep it.
inline QString exportNotRecorded(const QString& why) {
    return QCoreApplication::translate("Vestimo", "This export could not be recorded: %1").arg(why);
}

// The History window.
inline QString historyButton() {
    return QCoreApplication::translate("Vestimo", "History...");
}
inline QString historyCaption() {
    return QCoreApplication::translate("Vestimo", "Vestimo - History");
}
inline QString putBackButton() {
    return QCoreApplication::translate("Vestimo", "Put Back");
}
inline QString closeHistoryButton() {
    return QCoreApplication::translate("Vestimo", "Close");
}
inline QString historyHelp() {
    return QCoreApplication::translate(
        "Vestimo", "Newest first. Select a run to put all of it back, or some of its changes.");
}
inline QString historyColumnWhat() {
    return QCoreApplication::translate("Vestimo", "Run or file");
}
inline QString historyColumnHappened() {
    return QCoreApplication::translate("Vestimo", "What happened");
}
inline QString historyColumnReason() {
    return QCoreApplication::translate("Vestimo", "Reason");
}
inline QString historyColumnFolder() {
    return QCoreApplication::translate("Vestimo", "Folder");
}
inline QString showRunsWithoutChanges() {
    return QCoreApplication::translate("Vestimo", "Show runs without changes");
}
inline QString historyRun(const QString& when, const QString& command, const QString& skinFolder) {
    return skinFolder.isEmpty()
               ? QStringLiteral("%1  %2").arg(when, command)
               : QStringLiteral("%1  %2  (%3)").arg(when, command, QDir::toNativeSeparators(skinFolder));
}
inline QString historyRunInterrupted() {
    return QCoreApplication::translate("Vestimo", "did not end (the program stopped)");
}
inline QString historyNoChanges() {
    return QCoreApplication::translate("Vestimo", "no file changed");
}
inline QString historyUnreadable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "The history could not be read: %1").arg(why);
}
inline QString historyNotOpen(const QString& why) {
    return QCoreApplication::translate("Vestimo", "There is no history to show: %1").arg(why);
}

// What happened to a file, one word or so each: kind, then how it ended.
inline QString happenedMoved(const QString& to) {
    return QCoreApplication::translate("Vestimo", "moved to %1").arg(QDir::toNativeSeparators(to));
}
inline QString happenedTrashed() {
    return QCoreApplication::translate("Vestimo", "sent to the Trash");
}
inline QString happenedSaved() {
    return QCoreApplication::translate("Vestimo", "saved over");
}
inline QString happenedExported() {
    return QCoreApplication::translate("Vestimo", "written (export)");
}
inline QString happenedInstalled() {
    return QCoreApplication::translate("Vestimo", "written (install)");
}
inline QString happenedRestored(const QString& to) {
    return QCoreApplication::translate("Vestimo", "brought back from the Trash to %1")
        .arg(QDir::toNativeSeparators(to));
}
inline QString stateIntended() {
    return QCoreApplication::translate("Vestimo", "not known whether it happened");
}
inline QString stateFailed(const QString& why) {
    return why.isEmpty() ? QCoreApplication::translate("Vestimo", "did not happen")
                         : QCoreApplication::translate("Vestimo", "did not happen: %1").arg(why);
}
inline QString stateUndone() {
    return QCoreApplication::translate("Vestimo", "put back since");
}
inline QString stateNeverHappened() {
    return QCoreApplication::translate("Vestimo", "never happened (found so after the program stopped)");
}
inline QString happenedWithState(const QString& happened, const QString& state) {
    return QStringLiteral("%1; %2").arg(happened, state);
}

// The one message at the end of "Put Back".
inline QString selectSomethingToPutBack() {
    return QCoreApplication::translate("Vestimo", "Please select a run or some of its changes first!");
}
inline QString nothingToPutBack() {
    return QCoreApplication::translate("Vestimo", "There was nothing to put back.");
}
inline QString putBackCount(int putBack, int leftAlone) {
    return leftAlone == 0
               ? QCoreApplication::translate("Vestimo", "Put back: %1.").arg(putBack)
               : QCoreApplication::translate("Vestimo", "Put back: %1. Left alone: %2 (the details say why).")
                     .arg(putBack)
                     .arg(leftAlone);
}
inline QString putBackHeading() {
    return QCoreApplication::translate("Vestimo", "Put back:");
}
inline QString leftAloneHeading() {
    return QCoreApplication::translate("Vestimo", "Left alone, nothing overwritten:");
}
inline QString nothingToDoHeading() {
    return QCoreApplication::translate("Vestimo", "Nothing to do (put back before, or never happened):");
}
inline QString putBackStopped(const QString& why) {
    return QCoreApplication::translate("Vestimo", "Nothing was put back: %1.").arg(why);
}
inline QString putBackNotRecorded(const QString& why) {
    return QCoreApplication::translate("Vestimo", "This could not all be recorded: %1").arg(why);
}

} // namespace vestimo::texts
