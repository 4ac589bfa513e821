#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

// The texts of a run's report: the window that lists every file a run judged, and the files it
// saves.
namespace vestimo::texts {

// The four verdicts, as the table and the filter name them.
inline QString verdictMoved() {
    return QCoreApplication::translate("Vestimo", "moved");
}
inline QString verdictLeft() {
    return QCoreApplication::translate("Vestimo", "left");
}
inline QString verdictNotMoved() {
    return QCoreApplication::translate("Vestimo", "could not be moved");
}
inline QString verdictPassedOver() {
    return QCoreApplication::translate("Vestimo", "passed over");
}
// An installation's verdicts.
inline QString verdictInstalled() {
    return QCoreApplication::translate("Vestimo", "installed");
}
inline QString verdictWouldBeInstalled() {
    return QCoreApplication::translate("Vestimo", "would be installed");
}
inline QString verdictAlreadyInstalled() {
    return QCoreApplication::translate("Vestimo", "already installed");
}
inline QString verdictRefused() {
    return QCoreApplication::translate("Vestimo", "refused");
}
inline QString verdictAll() {
    return QCoreApplication::translate("Vestimo", "all");
}

// The plain-text report's section headings, one per verdict.
inline QString sectionMoved() {
    return QCoreApplication::translate("Vestimo", "Moved:");
}
inline QString sectionLeft() {
    return QCoreApplication::translate("Vestimo", "Left:");
}
inline QString sectionNotMoved() {
    return QCoreApplication::translate("Vestimo", "Could not be moved:");
}
inline QString sectionPassedOver() {
    return QCoreApplication::translate("Vestimo", "Passed over:");
}
inline QString sectionInstalled() {
    return QCoreApplication::translate("Vestimo", "Installed:");
}
inline QString sectionWouldBeInstalled() {
    return QCoreApplication::translate("Vestimo", "Would be installed:");
}
inline QString sectionAlreadyInstalled() {
    return QCoreApplication::translate("Vestimo", "Already installed:");
}
inline QString sectionRefused() {
    return QCoreApplication::translate("Vestimo", "Refused:");
}

// The table's columns.
inline QString columnFile() {
    return QCoreApplication::translate("Vestimo", "File");
}
inline QString columnVerdict() {
    return QCoreApplication::translate("Vestimo", "Verdict");
}
inline QString columnReason() {
    return QCoreApplication::translate("Vestimo", "Reason");
}
inline QString columnWhere() {
    return QCoreApplication::translate("Vestimo", "Where");
}

// The counts at the top of a directory-wide run's report.
inline QString factSkinFolder() {
    return QCoreApplication::translate("Vestimo", "Skin folder");
}
inline QString factProblemFolder() {
    return QCoreApplication::translate("Vestimo", "Problem folder");
}
inline QString factListing() {
    return QCoreApplication::translate("Vestimo", "Listing");
}
inline QString factHistory() {
    return QCoreApplication::translate("Vestimo", "History");
}
inline QString factJudged() {
    return QCoreApplication::translate("Vestimo", "Files judged");
}
inline QString factMoved() {
    return QCoreApplication::translate("Vestimo", "Moved");
}
inline QString factLeft() {
    return QCoreApplication::translate("Vestimo", "Left");
}
inline QString factNotMoved() {
    return QCoreApplication::translate("Vestimo", "Could not be moved");
}
inline QString factPassedOver() {
    return QCoreApplication::translate("Vestimo", "Passed over");
}
inline QString factLine(const QString& label, const QString& value) {
    return QStringLiteral("%1: %2").arg(label, value);
}
// One row of the plain-text report; the folder only for files that went somewhere.
inline QString reportLine(const QString& file, const QString& reason) {
    return reason.isEmpty() ? file : QStringLiteral("%1: %2").arg(file, reason);
}
inline QString reportLineMoved(const QString& line, const QString& where) {
    return QStringLiteral("%1 -> %2").arg(line, QDir::toNativeSeparators(where));
}

// The report's closing line, and the line under a closing message when it is not zero.
inline QString notMovedClosingLine(int count) {
    return QCoreApplication::translate("Vestimo", "Files left in place because they could not be moved: %1")
        .arg(count);
}
inline QString filesNotMovedSeeReport(int count) {
    return count == 1 ? QCoreApplication::translate("Vestimo", "1 file could not be moved; see the report.")
                      : QCoreApplication::translate("Vestimo", "%1 files could not be moved; see the report.")
                            .arg(count);
}

// The window and its controls.
inline QString reportButton() {
    return QCoreApplication::translate("Vestimo", "Report...");
}
inline QString reportWindowTitle() {
    return QCoreApplication::translate("Vestimo", "Vestimo - Report");
}
inline QString reportShowLabel() {
    return QCoreApplication::translate("Vestimo", "&Show:");
}
inline QString saveReportButton() {
    return QCoreApplication::translate("Vestimo", "Save Report...");
}
inline QString openProblemFolderButton() {
    return QCoreApplication::translate("Vestimo", "Open Problem Folder");
}
inline QString closeReportButton() {
    return QCoreApplication::translate("Vestimo", "Close");
}
inline QString saveReportTitle() {
    return QCoreApplication::translate("Vestimo", "Save Report");
}
inline QString saveReportFilters() {
    return QCoreApplication::translate("Vestimo",
                                       "Plain text (*.txt);;CSV (*.csv);;JSON (*.json);;All files (*)");
}
inline QString suggestedReportName() {
    return QCoreApplication::translate("Vestimo", "vestimo-report.txt");
}
inline QString reportNotSaved(const QString& path, const QString& why) {
    return QCoreApplication::translate("Vestimo", "The report could not be saved to %1: %2")
        .arg(QDir::toNativeSeparators(path), why);
}
inline QString problemFolderNotOpened(const QString& path) {
    return QCoreApplication::translate("Vestimo", "The problem folder %1 could not be opened.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace vestimo::texts
