#pragma once

#include "core/catalogue/FileErrors.h"

#include <QCoreApplication>
#include <QString>

// The texts of "Put Back": why a change is left alone, what was done instead, and what the journal
// records about the undo.
namespace vestimo::texts {

// Why a change is left alone.
inline QString putBackUnreadable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "it could not be read: %1").arg(why);
}
inline QString putBackChangedSince(const QString& since) {
    return QCoreApplication::translate("Vestimo", "it has changed since it was %1").arg(since);
}
inline QString putBackWhereNotRecorded() {
    return QCoreApplication::translate("Vestimo", "where it went was not recorded");
}
inline QString putBackNoLongerIn(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "it is no longer in %1").arg(folder);
}
inline QString putBackNameTakenIn(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "another file now has its name in %1").arg(folder);
}
inline QString putBackNoLongerThere() {
    return fileErrorReason(platform::FileError::of(platform::FileError::Kind::NoLongerThere));
}
inline QString putBackContentNotRecorded() {
    return QCoreApplication::translate("Vestimo", "what it held was not recorded, so it is kept");
}
inline QString putBackPreviousNotRecorded() {
    return QCoreApplication::translate("Vestimo", "what it held before was not recorded");
}
inline QString putBackUnknownChange() {
    return QCoreApplication::translate("Vestimo", "the journal does not know this kind of change");
}
inline QString putBackNotKnownYet() {
    return QCoreApplication::translate("Vestimo", "it is not known yet whether it happened");
}
inline QString putBackNeverHappened() {
    return QCoreApplication::translate("Vestimo", "it never happened");
}
inline QString putBackPutBackBefore() {
    return QCoreApplication::translate("Vestimo", "it was put back before");
}
inline QString putBackNotRecordable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "the journal cannot record it: %1").arg(why);
}

// How a change came about, as "it has changed since it was ..." ends.
inline QString putBackSinceMoved() {
    return QCoreApplication::translate("Vestimo", "moved");
}
// Also what was done when a file goes back to the trash.
inline QString putBackSinceTrashed() {
    return QCoreApplication::translate("Vestimo", "sent to the trash");
}
inline QString putBackSinceBroughtBack() {
    return QCoreApplication::translate("Vestimo", "brought back");
}
inline QString putBackSinceWritten() {
    return QCoreApplication::translate("Vestimo", "written");
}
inline QString putBackSinceSaved() {
    return QCoreApplication::translate("Vestimo", "saved");
}

// What was done.
inline QString putBackMovedBack(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "moved back to %1").arg(folder);
}
inline QString putBackBroughtBack() {
    return QCoreApplication::translate("Vestimo", "brought back from the trash");
}
inline QString putBackGaveBack() {
    return QCoreApplication::translate("Vestimo", "given back what it held before the save");
}

// What the journal records: the undo's reason, and how the run ended.
inline QString putBackReason() {
    return QCoreApplication::translate("Vestimo", "put back");
}
inline QString putBackFinished() {
    return QCoreApplication::translate("Vestimo", "finished");
}
inline QString putBackFinishedLeftAlone(int left) {
    return QCoreApplication::translate("Vestimo", "finished; %1 left alone").arg(left);
}

} // namespace vestimo::texts
