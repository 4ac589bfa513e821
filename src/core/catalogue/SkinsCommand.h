#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The texts of `vestimo skins`: a skin folder listed as the Skins view groups it, or drawn on one
// contact sheet.
namespace vestimo::texts {

inline QString usageSkins() {
    return QCoreApplication::translate(
        "Vestimo", "Usage: vestimo skins [--json] [--problems] [--sheet OUTPUT.png] SKIN_DIR");
}
inline QString helpSkins() {
    return QCoreApplication::translate(
        "Vestimo", "Lists the skins of SKIN_DIR as the Skins view groups them: each skin's name, kind, "
                   "files, tones and problems. With --sheet, draws every skin's picture with its name "
                   "on one contact sheet instead, without a display.");
}
inline QString optionProblems() {
    return QCoreApplication::translate("Vestimo", "List only the skins with problems.");
}
inline QString optionSheet() {
    return QCoreApplication::translate("Vestimo",
                                       "Write a contact sheet of every skin's picture to this PNG file.");
}

// The listing: one skin, then its details indented under it.
inline QString skinLine(const QString& name, const QString& kind) {
    return QCoreApplication::translate("Vestimo", "%1 (%2)").arg(name, kind);
}
inline QString skinFilesLine(const QStringList& files) {
    return QCoreApplication::translate("Vestimo", "  files: %1").arg(files.join(QStringLiteral(", ")));
}
inline QString skinTonesLine(const QStringList& present, const QStringList& missing) {
    const QString none = QCoreApplication::translate("Vestimo", "none");
    return QCoreApplication::translate("Vestimo", "  tones: %1; missing: %2")
        .arg(present.isEmpty() ? none : present.join(u' '), missing.isEmpty() ? none : missing.join(u' '));
}
inline QString skinProblemLine(const QString& badge, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "  problem: %1: %2").arg(badge, reason);
}
inline QString skinsCounts(qsizetype shown, qsizetype problems) {
    return QCoreApplication::translate("Vestimo", "%1 skins shown, %2 problems in the folder")
        .arg(shown)
        .arg(problems);
}
// The contact sheet.
inline QString sheetCounts(qsizetype pictures, qsizetype notDrawn) {
    return QCoreApplication::translate("Vestimo", "%1 skins on the sheet, %2 of them without a picture")
        .arg(pictures)
        .arg(notDrawn);
}
inline QString sheetNotDrawnLine(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "No picture of %1: %2").arg(name, why);
}

} // namespace vestimo::texts
