#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the skin makers' tools in the skin editing window: "Make It Fit" and its preview,
// and the skin-set report's window.
namespace vestimo::texts {

inline QString makeItFitButton() {
    return QCoreApplication::translate("Vestimo", "Make It Fit");
}
inline QString skinSetReportButton() {
    return QCoreApplication::translate("Vestimo", "Skin Set Report...");
}

// Why the journal holds the texture's previous bytes.
inline QString madeToFitByThePlayer() {
    return QCoreApplication::translate("Vestimo", "rewritten with \"Make It Fit\"");
}

// The preview: the two pictures, their lengths and the limit, and the question.
inline QString fitPreviewTitle(const QString& name) {
    return QCoreApplication::translate("Vestimo", "Make It Fit: %1").arg(name);
}
inline QString fitOriginalCaption(const QString& bytes) {
    return QCoreApplication::translate("Vestimo", "Now: %1 bytes").arg(bytes);
}
inline QString fitResultCaption(const QString& bytes) {
    return QCoreApplication::translate("Vestimo", "Made to fit (8-bit, 256 colours): %1 bytes").arg(bytes);
}
inline QString fitActualSize() {
    return QCoreApplication::translate("Vestimo", "1:1");
}
inline QString fitDoubleSize() {
    return QCoreApplication::translate("Vestimo", "2:1");
}
inline QString fitLimitLine(int width, int height, const QString& limit) {
    return QCoreApplication::translate("Vestimo", "The limit for a %1 x %2 texture is %3 bytes.")
        .arg(width)
        .arg(height)
        .arg(limit);
}
inline QString fitQuestion(const QString& name) {
    return QCoreApplication::translate("Vestimo",
                                       "Replace %1 with the picture made to fit? History can put the "
                                       "old file back.")
        .arg(name);
}

// Refusals: what the file turned out to be when the button was pressed.
inline QString fitNotDecoded(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 cannot be made to fit: it is not a bitmap this "
                                                  "program can read (%2).")
        .arg(name, why);
}
inline QString fitSizeNotListed(const QString& name, int width, int height) {
    return QCoreApplication::translate("Vestimo", "%1 cannot be made to fit: %2 x %3 is not a texture "
                                                  "size the game accepts.")
        .arg(name)
        .arg(width)
        .arg(height);
}
inline QString fitAlreadyWithinLimit(const QString& name) {
    return QCoreApplication::translate("Vestimo", "%1 is already within its size's limit.").arg(name);
}
inline QString fitChangedMeanwhile(const QString& name) {
    return QCoreApplication::translate("Vestimo", "%1 changed on disk while the preview was open, so it "
                                                  "was left as it is.")
        .arg(name);
}
inline QString fitNotReduced(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 could not be made to fit: %2").arg(name, why);
}

// The skin-set report's window.
inline QString skinReportTitle(const QString& directory) {
    return QCoreApplication::translate("Vestimo", "Skin Set Report: %1").arg(directory);
}
inline QString skinReportColumnKind() {
    return QCoreApplication::translate("Vestimo", "Kind");
}
inline QString skinReportColumnFiles() {
    return QCoreApplication::translate("Vestimo", "Files");
}
inline QString skinReportColumnDescription() {
    return QCoreApplication::translate("Vestimo", "What is wrong or what is there");
}
inline QString skinReportColumnTonesPresent() {
    return QCoreApplication::translate("Vestimo", "Tones present");
}
inline QString skinReportColumnTonesMissing() {
    return QCoreApplication::translate("Vestimo", "Tones missing");
}
inline QString skinReportColumnMesh() {
    return QCoreApplication::translate("Vestimo", "Mesh");
}
inline QString skinReportColumnAdvice() {
    return QCoreApplication::translate("Vestimo", "What a maker can do");
}
inline QString skinReportMeshPresent() {
    return QCoreApplication::translate("Vestimo", "present");
}
inline QString skinReportMeshCaseDiffers() {
    return QCoreApplication::translate("Vestimo", "name differs in case");
}
inline QString skinReportMeshMissing() {
    return QCoreApplication::translate("Vestimo", "missing");
}
inline QString skinReportCount(qsizetype rows, qsizetype bodySkins) {
    return QCoreApplication::translate("Vestimo", "%1 rows, %2 of them body skins.").arg(rows).arg(bodySkins);
}
inline QString copyReportButton() {
    return QCoreApplication::translate("Vestimo", "Copy");
}
inline QString skinReportNotMade(const QString& directory, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not list %1 for the report: %2").arg(directory, why);
}

} // namespace vestimo::texts
