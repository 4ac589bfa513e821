#pragma once

#include <QCoreApplication>
#include <QString>

// What the buyable skin maker window says: its captions and its messages.
namespace vestimo::texts {

inline QString switchToSkinEditing() {
    return QCoreApplication::translate("Vestimo", "Switch to Skin Editing Mode");
}
inline QString loadBmpFileToChange() {
    return QCoreApplication::translate("Vestimo", "Load BMP File to Change");
}
inline QString exportAsBuyableFrame() {
    return QCoreApplication::translate("Vestimo", "Export as Buyable");
}
inline QString formal() {
    return QCoreApplication::translate("Vestimo", "Formal");
}
inline QString swimwear() {
    return QCoreApplication::translate("Vestimo", "Swimwear");
}
inline QString sleepwear() {
    return QCoreApplication::translate("Vestimo", "Sleepwear");
}
inline QString winterwear() {
    return QCoreApplication::translate("Vestimo", "Winterwear");
}
inline QString highFashion() {
    return QCoreApplication::translate("Vestimo", "High Fashion");
}
inline QString exportAsBuyable() {
    return QCoreApplication::translate("Vestimo", "Export As Buyable");
}
inline QString loadCmxFile() {
    return QCoreApplication::translate("Vestimo", "Load CMX File");
}

// What the three name boxes show until the first close or export empties them.
inline QString bmpFileNamePlaceholder() {
    return QCoreApplication::translate("Vestimo", "BMPFileName");
}
inline QString sknFileNamePlaceholder() {
    return QCoreApplication::translate("Vestimo", "SKNFileName");
}
inline QString cmxFileNamePlaceholder() {
    return QCoreApplication::translate("Vestimo", "CMXFileName");
}

inline QString notABitmapImageBug() {
    return QCoreApplication::translate(
        "Vestimo", "You are trying to open a file that isn't a bitmap image! You should never see this "
                   "message though, and if you do it's a bug...");
}
inline QString loadCmxBeforeExport() {
    return QCoreApplication::translate("Vestimo", "You must load a cmx file before you can export the skin!");
}
inline QString selectBuyableTypeFirst() {
    return QCoreApplication::translate("Vestimo", "Please Select a type of buyable skin first!");
}
inline QString successfullyExported() {
    return QCoreApplication::translate("Vestimo", "Successfully Exported!");
}
// A close request while a bitmap is loaded, when "Close This Program" cannot be pressed.
inline QString closeWithSkinNotExported(const QString& bitmapName) {
    return QCoreApplication::translate("Vestimo",
                                       "Close Vestimo? The buyable skin started from %1 is not exported.")
        .arg(bitmapName);
}

// A bitmap the viewer cannot show would be exported as some other picture, so it is not loaded.
inline QString bitmapCannotBeShown(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 cannot be shown (%2), so it cannot be made buyable.")
        .arg(name, why);
}

// A file named only ".cmx" leaves no name to put the category letter into.
inline QString cmxNameEmpty(const QString& name) {
    return QCoreApplication::translate(
               "Vestimo", "The CMX file %1 has no name before its extension, so no buyable skin can be named "
                          "after it. Please pick another CMX file.")
        .arg(name);
}

inline QString cmxNameShorterThanOutfitCode(const QString& cmxName) {
    return QCoreApplication::translate(
               "Vestimo", "Could not export: the CMX name \"%1\" is shorter than the four characters of an "
                          "outfit code.")
        .arg(cmxName);
}

// A name as it can stand inside a one-line message: control characters written out.
inline QString visibleName(const QString& name) {
    QString shown;
    for (const QChar c : name) {
        if (c == u'\r') {
            shown += QStringLiteral("\\r");
        } else if (c == u'\n') {
            shown += QStringLiteral("\\n");
        } else if (c == u'\t') {
            shown += QStringLiteral("\\t");
        } else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) {
            shown +=
                QStringLiteral("\\x") + QString::number(c.unicode(), 16).rightJustified(2, u'0').toUpper();
        } else {
            shown += c;
        }
    }
    return shown;
}

inline QString codePointName(char32_t c) {
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
}

// A control character would break the CMX file's lines.
inline QString nameHasControlCharacter(const QString& name, char32_t c) {
    const QString what = c == U'\n' || c == U'\r'
                             ? QCoreApplication::translate("Vestimo", "a line break")
                             : QCoreApplication::translate("Vestimo", "a control character");
    return QCoreApplication::translate(
               "Vestimo",
               "Could not export: the name \"%1\" holds %2 (%3), which cannot stand in a CMX file. "
               "Please rename the files without it.")
        .arg(visibleName(name), what, codePointName(c));
}

inline QString nameOutsideCodePage(const QString& name, char32_t c) {
    const char32_t one[] = {c};
    return QCoreApplication::translate(
               "Vestimo", "Could not export: the name \"%1\" holds the character \"%2\" (%3), which the "
                          "code page of CMX files (Windows-1252) does not have. Please rename the files "
                          "without it.")
        .arg(visibleName(name), QString::fromUcs4(one, 1), codePointName(c));
}

inline QString nameNotText(const QString& name) {
    return QCoreApplication::translate(
               "Vestimo", "Could not export: the name \"%1\" is not valid text. Please rename the files.")
        .arg(visibleName(name));
}

inline QString fileAlreadyInSkinDirectory(const QString& name) {
    return QCoreApplication::translate("Vestimo", "Could not export: %1 is already in the skin directory.")
        .arg(name);
}

inline QString exportWriteFailed(const QString& name, const QString& why) {
    return QCoreApplication::translate(
               "Vestimo", "Could not export: %1 could not be written (%2). Nothing was exported.")
        .arg(name, why);
}

// The bitmap failed after the CMX file was written, and the CMX file would not go away again.
inline QString exportWriteFailedCmxLeft(const QString& name, const QString& why, const QString& cmxName,
                                        const QString& removeWhy) {
    return QCoreApplication::translate(
               "Vestimo", "Could not export: %1 could not be written (%2). %3 was written but could not be "
                          "removed again (%4).")
        .arg(name, why, cmxName, removeWhy);
}

} // namespace vestimo::texts
