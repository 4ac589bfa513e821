#pragma once

#include "core/catalogue/Common.h"

#include <QString>

// The texts of the skin editing window: its captions, the CMX editor and the single-file commands,
// and the browser both windows share.
namespace vestimo::texts {

inline QString skinEditCaption() {
    return QStringLiteral("Vestimo - Skin Editing - From Quillbrook");
}

// Captions of the skin editing window's controls.
inline QString switchToBuyableButton() {
    return QStringLiteral("Switch to Buyable Skin Maker");
}
inline QString cmxFilesOnlyOption() {
    return QStringLiteral(".CMX Files Only");
}
inline QString bmpFilesOnlyOption() {
    return QStringLiteral(".BMP Files Only");
}
// The same button once a CMX file has been opened.
inline QString closeSelectedCmxFileButton() {
    return QStringLiteral("Close Selected CMX File");
}
inline QString checkAllBmpButton() {
    return QStringLiteral("Check All BMP Files in Directory");
}
inline QString moveFileButton() {
    return QStringLiteral("Move this file");
}
inline QString checkBmpButton() {
    return QStringLiteral("Check BMP File");
}
inline QString deleteBmpButton() {
    return QStringLiteral("Delete Current BMP File");
}
inline QString cmxEditingFrame() {
    return QStringLiteral("CMX Display and Editing");
}
inline QString cmxEditorPlaceholder() {
    return QStringLiteral("A CMX File's contents will be displayed here.");
}
inline QString checkAssociatedFilesButton() {
    return QStringLiteral("Check Associated Files For All CMX Files");
}
inline QString saveCmxButton() {
    return QStringLiteral("Save CMX Changes");
}
inline QString checkCmxButton() {
    return QStringLiteral("Check CMX For Errors");
}
inline QString cmxNameBoxPlaceholder() {
    return QStringLiteral("CMX File Name");
}
inline QString checkAllCmxButton() {
    return QStringLiteral("Check All CMX Files in Directory");
}

// The editor and the file list.
inline QString bmpFileCorrupt() {
    return QStringLiteral("It appears this bmp file is corrupt!");
}
inline QString fileListLocked() {
    return QStringLiteral("The File List box will now be disabled until you close or save the CMX file.");
}
inline QString notASkinFile() {
    return QStringLiteral("You are trying to open a non skin related file. This does not compute. "
                          "Try using one of the other file options.");
}
inline QString closeOrSaveCmxFirst() {
    return QStringLiteral("Please close the open CMX file, or save it first.");
}
inline QString openCmxFileFirst() {
    return QStringLiteral("Please open a CMX file first!");
}
inline QString fileSaved() {
    return QStringLiteral("File Saved!");
}
inline QString couldNotOpen(const QString& name, const QString& why) {
    return QStringLiteral("Could not open %1: %2").arg(name, why);
}
inline QString couldNotSave(const QString& name, const QString& why) {
    return QStringLiteral("Could not save %1: %2").arg(name, why);
}
inline QString changedOnDiskSinceOpened(const QString& name) {
    return QStringLiteral(
               "%1 has changed on disk since it was opened. Replace it with the text in the editor?")
        .arg(name);
}
inline QString couldNotMove(const QString& name, const QString& why) {
    return QStringLiteral("Could not move %1: %2").arg(name, why);
}
inline QString couldNotReadLength(const QString& name, const QString& why) {
    return QStringLiteral("Could not read the length of %1: %2").arg(name, why);
}

// The browser.
inline QString driveNotAvailable() {
    return QStringLiteral("This drive is not available!");
}
inline QString gameNotInstalled() {
    return QStringLiteral(
        "You have not installed the game in the default directory. You will have to manually "
        "open it using the drive and directory boxes here.");
}

} // namespace vestimo::texts
