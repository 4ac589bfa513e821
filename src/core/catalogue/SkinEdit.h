#pragma once

#include "core/catalogue/Common.h"

#include <QCoreApplication>
#include <QString>

// The texts of the skin editing window: its captions, the CMX editor and the single-file commands,
// and the browser both windows share.
namespace vestimo::texts {

// Captions of the skin editing window's controls.
inline QString switchToBuyableButton() {
    return QCoreApplication::translate("Vestimo", "Switch to Buyable Skin Maker");
}
inline QString cmxFilesOnlyOption() {
    return QCoreApplication::translate("Vestimo", ".CMX Files Only");
}
inline QString bmpFilesOnlyOption() {
    return QCoreApplication::translate("Vestimo", ".BMP Files Only");
}
// The same button once a CMX file has been opened.
inline QString closeSelectedCmxFileButton() {
    return QCoreApplication::translate("Vestimo", "Close Selected CMX File");
}
inline QString checkAllBmpButton() {
    return QCoreApplication::translate("Vestimo", "Check All BMP Files in Directory");
}
inline QString moveFileButton() {
    return QCoreApplication::translate("Vestimo", "Move this file");
}
inline QString checkBmpButton() {
    return QCoreApplication::translate("Vestimo", "Check BMP File");
}
inline QString deleteBmpButton() {
    return QCoreApplication::translate("Vestimo", "Delete Current BMP File");
}
inline QString cmxEditingFrame() {
    return QCoreApplication::translate("Vestimo", "CMX Display and Editing");
}
inline QString cmxEditorPlaceholder() {
    return QCoreApplication::translate("Vestimo", "A CMX File's contents will be displayed here.");
}
inline QString checkAssociatedFilesButton() {
    return QCoreApplication::translate("Vestimo", "Check Associated Files For All CMX Files");
}
inline QString saveCmxButton() {
    return QCoreApplication::translate("Vestimo", "Save CMX Changes");
}
inline QString checkCmxButton() {
    return QCoreApplication::translate("Vestimo", "Check CMX For Errors");
}
inline QString cmxNameBoxPlaceholder() {
    return QCoreApplication::translate("Vestimo", "CMX File Name");
}
inline QString checkAllCmxButton() {
    return QCoreApplication::translate("Vestimo", "Check All CMX Files in Directory");
}

// The editor and the file list.
inline QString bmpFileCorrupt() {
    return QCoreApplication::translate("Vestimo", "It appears this bmp file is corrupt!");
}
inline QString fileListLocked() {
    return QCoreApplication::translate(
        "Vestimo", "The File List box will now be disabled until you close or save the CMX file.");
}
inline QString notASkinFile() {
    return QCoreApplication::translate(
        "Vestimo", "You are trying to open a non skin related file. This does not compute. "
                   "Try using one of the other file options.");
}
inline QString closeOrSaveCmxFirst() {
    return QCoreApplication::translate("Vestimo", "Please close the open CMX file, or save it first.");
}
inline QString openCmxFileFirst() {
    return QCoreApplication::translate("Vestimo", "Please open a CMX file first!");
}
inline QString fileSaved() {
    return QCoreApplication::translate("Vestimo", "File Saved!");
}
inline QString couldNotOpen(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not open %1: %2").arg(name, why);
}
inline QString couldNotSave(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not save %1: %2").arg(name, why);
}
inline QString changedOnDiskSinceOpened(const QString& name) {
    return QCoreApplication::translate(
               "Vestimo",
               "%1 has changed on disk since it was opened. Replace it with the text in the editor?")
        .arg(name);
}
inline QString couldNotMove(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not move %1: %2").arg(name, why);
}
inline QString couldNotReadLength(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not read the length of %1: %2").arg(name, why);
}

// The browser.
inline QString driveNotAvailable() {
    return QCoreApplication::translate("Vestimo", "This drive is not available!");
}
inline QString gameNotInstalled() {
    return QCoreApplication::translate(
        "Vestimo", "You have not installed the game in the default directory. You will have to manually "
                   "open it using the drive and directory boxes here.");
}

} // namespace vestimo::texts
