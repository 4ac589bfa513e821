#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the skin-set report: what each row says about a skin folder, and what a maker can
// do about it.
namespace vestimo::texts {

inline QString reportKindBodySkin() {
    return QCoreApplication::translate("Vestimo", "Body skin");
}
inline QString reportKindNameMismatch() {
    return QCoreApplication::translate("Vestimo", "Name on line 5");
}
inline QString reportKindUnclaimedBitmap() {
    return QCoreApplication::translate("Vestimo", "Bitmap without skin");
}
inline QString reportKindCaseTwins() {
    return QCoreApplication::translate("Vestimo", "Names differ only in case");
}
inline QString reportKindIdenticalContent() {
    return QCoreApplication::translate("Vestimo", "Identical files");
}
inline QString reportKindUnreadable() {
    return QCoreApplication::translate("Vestimo", "Not read");
}

inline QString reportNone() {
    return QCoreApplication::translate("Vestimo", "none");
}
inline QString reportNothingToDo() {
    return QCoreApplication::translate("Vestimo", "Nothing to do.");
}

// Body skins: the tones as "lgt, med" lists, or reportNone().
inline QString reportTones(const QString& present, const QString& missing) {
    return QCoreApplication::translate("Vestimo", "Skin tones with a bitmap: %1. Without one: %2.")
        .arg(present, missing);
}
inline QString reportMeshPresent(const QString& mesh) {
    return QCoreApplication::translate("Vestimo", "Mesh %1 is present.").arg(mesh);
}
// A note, not a problem: the game looks meshes up without regard to case.
inline QString reportMeshCaseNote(const QString& mesh, const QString& stored) {
    return QCoreApplication::translate("Vestimo",
                                       "Mesh %1 is present as %2, whose name differs in case: the game "
                                       "finds it; other tools may not.")
        .arg(mesh, stored);
}
inline QString reportMeshMissing(const QString& mesh) {
    return QCoreApplication::translate("Vestimo", "Mesh %1 is missing.").arg(mesh);
}
inline QString reportAddTones(const QString& bitmapNames) {
    return QCoreApplication::translate("Vestimo", "Add a bitmap for each missing tone: %1.").arg(bitmapNames);
}
inline QString reportAddMesh(const QString& mesh) {
    return QCoreApplication::translate(
               "Vestimo", "Add %1 from the skin's download; without its mesh the skin cannot be worn.")
        .arg(mesh);
}

inline QString reportNameMismatch(const QString& line5, const QString& baseName) {
    return QCoreApplication::translate(
               "Vestimo", "Line 5 names the skin \"%1\", but the file is named %2; a skin whose names "
                          "differ often never shows up in the game.")
        .arg(line5, baseName);
}
inline QString reportNoLine5() {
    return QCoreApplication::translate("Vestimo",
                                       "The file ends before line 5, where the skin's own name belongs.");
}
inline QString reportWriteName(const QString& baseName) {
    return QCoreApplication::translate(
               "Vestimo", "Write %1 on line 5 in the CMX editor, or rename the file to match line 5.")
        .arg(baseName);
}

inline QString reportUnclaimedBitmap() {
    return QCoreApplication::translate(
        "Vestimo", "No CMX file's bitmap prefix begins this name, so no skin uses this bitmap.");
}
inline QString reportClaimBitmap() {
    return QCoreApplication::translate(
        "Vestimo", "Rename it to begin with its skin's bitmap prefix, add the CMX file it belongs "
                   "to, or remove it if it is left over.");
}

inline QString reportCaseTwins() {
    return QCoreApplication::translate("Vestimo",
                                       "These names differ only in case; the game treats them as one file.");
}
inline QString reportKeepOneName() {
    return QCoreApplication::translate("Vestimo", "Keep one of them and rename or remove the others.");
}

inline QString reportIdenticalContent(qint64 size) {
    return QCoreApplication::translate("Vestimo", "These files hold the same %1 bytes.").arg(size);
}
inline QString reportRemoveCopies() {
    return QCoreApplication::translate(
        "Vestimo", "Remove the copies that are left over; a bitmap that two skins share may stay.");
}

inline QString reportUnreadable(const QString& why) {
    return QCoreApplication::translate(
               "Vestimo", "The file could not be read (%1), so it is left out of the other rows.")
        .arg(why);
}
inline QString reportMakeReadable() {
    return QCoreApplication::translate("Vestimo",
                                       "Make the file readable, or move it out of the skin folder.");
}
inline QString reportUnnamable() {
    return QCoreApplication::translate("Vestimo",
                                       "Its name is not valid text, so it cannot be opened by name.");
}
inline QString reportRenamePlainly() {
    return QCoreApplication::translate("Vestimo", "Rename it with plain letters and digits.");
}

} // namespace vestimo::texts
