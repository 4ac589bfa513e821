#pragma once

#include <QDir>
#include <QString>

// The texts of the journal: the last line of a run's details, the History window and what
// "Put Back" tells the player.
namespace vestimo::texts {

// The last line of a directory-wide check's details.
inline QString runCanBeUndone() {
    return QStringLiteral("This run can be undone from History.");
}
inline QString runNotRecorded(const QString& why) {
    return QStringLiteral("This run could not be recorded: %1").arg(why);
}

// Why a file changed, as the journal keeps it for the single-file commands.
inline QString movedByThePlayer() {
    return QStringLiteral("moved with \"Move this file\"");
}
inline QString trashedByThePlayer() {
    return QStringLiteral("sent to the Trash with \"Delete Current BMP File\"");
}
inline QString savedByThePlayer() {
    return QStringLiteral("saved with \"Save CMX Changes\"");
}
inline QString companionReason(const QString& role, const QString& owner, const QString& ownerReason) {
    return QStringLiteral("the %1 of %2 (%3)").arg(role, owner, ownerReason);
}
inline QString exportedCmx() {
    return QStringLiteral("the buyable outfit's CMX file");
}
inline QString exportedBitmap() {
    return QStringLiteral("the buyable outfit's bitmap");
}
inline QString exportTakenBack() {
    return QStringLiteral("taken back: the bitmap could not be written");
}

// How a run ended, as History shows it.
inline QString runMoved(qsizetype moved, qsizetype trouble) {
    return trouble == 0 ? QStringLiteral("finished; %1 moved").arg(moved)
                        : QStringLiteral("finished; %1 moved, %2 left with trouble").arg(moved).arg(trouble);
}
inline QString runFinished() {
    return QStringLiteral("finished");
}
inline QString runFailed(const QString& why) {
    return QStringLiteral("failed: %1").arg(why);
}

// An export's success message gets this as its details when the journal could not keep it.
inline QString exportNotRecorded(const QString& why) {
    return QStringLiteral("This export could not be recorded: %1").arg(why);
}

// The History window.
inline QString historyButton() {
    return QStringLiteral("History...");
}
inline QString historyCaption() {
    return QStringLiteral("Vestimo - History");
}
inline QString putBackButton() {
    return QStringLiteral("Put Back");
}
inline QString closeHistoryButton() {
    return QStringLiteral("Close");
}
inline QString historyHelp() {
    return QStringLiteral("Newest first. Select a run to put all of it back, or some of its changes.");
}
inline QString historyColumnWhat() {
    return QStringLiteral("Run or file");
}
inline QString historyColumnHappened() {
    return QStringLiteral("What happened");
}
inline QString historyColumnReason() {
    return QStringLiteral("Reason");
}
inline QString historyRun(const QString& when, const QString& command, const QString& skinFolder) {
    return skinFolder.isEmpty()
               ? QStringLiteral("%1  %2").arg(when, command)
               : QStringLiteral("%1  %2  (%3)").arg(when, command, QDir::toNativeSeparators(skinFolder));
}
inline QString historyRunInterrupted() {
    return QStringLiteral("did not end (the program stopped)");
}
inline QString historyNoChanges() {
    return QStringLiteral("no file changed");
}
inline QString historyUnreadable(const QString& why) {
    return QStringLiteral("The history could not be read: %1").arg(why);
}
inline QString historyNotOpen(const QString& why) {
    return QStringLiteral("There is no history to show: %1").arg(why);
}

// What happened to a file, one word or so each: kind, then how it ended.
inline QString happenedMoved(const QString& to) {
    return QStringLiteral("moved to %1").arg(QDir::toNativeSeparators(to));
}
inline QString happenedTrashed() {
    return QStringLiteral("sent to the Trash");
}
inline QString happenedSaved() {
    return QStringLiteral("saved over");
}
inline QString happenedExported() {
    return QStringLiteral("written (export)");
}
inline QString happenedInstalled() {
    return QStringLiteral("written (install)");
}
inline QString happenedRestored(const QString& to) {
    return QStringLiteral("brought back from the Trash to %1").arg(QDir::toNativeSeparators(to));
}
inline QString stateIntended() {
    return QStringLiteral("not known whether it happened");
}
inline QString stateFailed(const QString& why) {
    return why.isEmpty() ? QStringLiteral("did not happen") : QStringLiteral("did not happen: %1").arg(why);
}
inline QString stateUndone() {
    return QStringLiteral("put back since");
}
inline QString stateNeverHappened() {
    return QStringLiteral("never happened (found so after the program stopped)");
}
inline QString happenedWithState(const QString& happened, const QString& state) {
    return QStringLiteral("%1; %2").arg(happened, state);
}

// The one message at the end of "Put Back".
inline QString selectSomethingToPutBack() {
    return QStringLiteral("Please select a run or some of its changes first!");
}
inline QString nothingToPutBack() {
    return QStringLiteral("There was nothing to put back.");
}
inline QString putBackCount(int putBack, int leftAlone) {
    return leftAlone == 0 ? QStringLiteral("Put back: %1.").arg(putBack)
                          : QStringLiteral("Put back: %1. Left alone: %2 (the details say why).")
                                .arg(putBack)
                                .arg(leftAlone);
}
inline QString putBackHeading() {
    return QStringLiteral("Put back:");
}
inline QString leftAloneHeading() {
    return QStringLiteral("Left alone, nothing overwritten:");
}
inline QString nothingToDoHeading() {
    return QStringLiteral("Nothing to do (put back before, or never happened):");
}
inline QString putBackNotRecorded(const QString& why) {
    return QStringLiteral("This could not all be recorded: %1").arg(why);
}

} // namespace vestimo::texts
