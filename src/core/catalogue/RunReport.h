#pragma once

#include <QDir>
#include <QString>

// The texts of a run's report: the window that lists every file a run judged, and the files it
// saves.
namespace vestimo::texts {

// The four verdicts, as the table and the filter name them.
inline QString verdictMoved() {
    return QStringLiteral("moved");
}
inline QString verdictLeft() {
    return QStringLiteral("left");
}
inline QString verdictNotMoved() {
    return QStringLiteral("could not be moved");
}
inline QString verdictPassedOver() {
    return QStringLiteral("passed over");
}
inline QString verdictAll() {
    return QStringLiteral("all");
}

// The plain-text report's section headings, one per verdict.
inline QString sectionMoved() {
    return QStringLiteral("Moved:");
}
inline QString sectionLeft() {
    return QStringLiteral("Left:");
}
inline QString sectionNotMoved() {
    return QStringLiteral("Could not be moved:");
}
inline QString sectionPassedOver() {
    return QStringLiteral("Passed over:");
}

// The table's columns.
inline QString columnFile() {
    return QStringLiteral("File");
}
inline QString columnVerdict() {
    return QStringLiteral("Verdict");
}
inline QString columnReason() {
    return QStringLiteral("Reason");
}
inline QString columnWhere() {
    return QStringLiteral("Where");
}

// The counts at the top of a directory-wide run's report.
inline QString factSkinFolder() {
    return QStringLiteral("Skin folder");
}
inline QString factProblemFolder() {
    return QStringLiteral("Problem folder");
}
inline QString factJudged() {
    return QStringLiteral("Files judged");
}
inline QString factMoved() {
    return QStringLiteral("Moved");
}
inline QString factLeft() {
    return QStringLiteral("Left");
}
inline QString factNotMoved() {
    return QStringLiteral("Could not be moved");
}
inline QString factPassedOver() {
    return QStringLiteral("Passed over");
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
    return QStringLiteral("Files left in place because they could not be moved: %1").arg(count);
}
inline QString filesNotMovedSeeReport(int count) {
    return count == 1 ? QStringLiteral("1 file could not be moved; see the report.")
                      : QStringLiteral("%1 files could not be moved; see the report.").arg(count);
}

// The window and its controls.
inline QString reportButton() {
    return QStringLiteral("Report...");
}
inline QString reportWindowTitle() {
    return QStringLiteral("Vestimo - Report");
}
inline QString reportShowLabel() {
    return QStringLiteral("&Show:");
}
inline QString saveReportButton() {
    return QStringLiteral("&Save Report...");
}
inline QString openProblemFolderButton() {
    return QStringLiteral("&Open Problem Folder");
}
inline QString closeReportButton() {
    return QStringLiteral("&Close");
}
inline QString saveReportTitle() {
    return QStringLiteral("Save Report");
}
inline QString saveReportFilters() {
    return QStringLiteral("Plain text (*.txt);;CSV (*.csv);;JSON (*.json);;All files (*)");
}
inline QString suggestedReportName() {
    return QStringLiteral("vestimo-report.txt");
}
inline QString reportNotSaved(const QString& path, const QString& why) {
    return QStringLiteral("The report could not be saved to %1: %2").arg(QDir::toNativeSeparators(path), why);
}
inline QString problemFolderNotOpened(const QString& path) {
    return QStringLiteral("The problem folder %1 could not be opened.").arg(QDir::toNativeSeparators(path));
}

} // namespace vestimo::texts
