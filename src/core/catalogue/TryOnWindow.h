#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of "Try It On": the button in both windows and the window that shows the skin on the Sim.
namespace vestimo::texts {

inline QString tryOnButton() {
    return QCoreApplication::translate("Vestimo", "Try It On");
}
inline QString tryOnTitle(const QString& cmxName) {
    return QCoreApplication::translate("Vestimo", "Try It On: %1").arg(cmxName);
}

// The tone buttons, for the textures named ...lgt, ...med and ...drk.
inline QString tryOnToneLight() {
    return QCoreApplication::translate("Vestimo", "Light Skin");
}
inline QString tryOnToneMedium() {
    return QCoreApplication::translate("Vestimo", "Medium Skin");
}
inline QString tryOnToneDark() {
    return QCoreApplication::translate("Vestimo", "Dark Skin");
}
inline QString tryOnTexturesLabel() {
    return QCoreApplication::translate("Vestimo", "Textures of this skin:");
}
inline QString tryOnHeadLabel() {
    return QCoreApplication::translate("Vestimo", "Head:");
}
// The head box's first entry: the head the rule under the picture chooses.
inline QString tryOnRulesHead() {
    return QCoreApplication::translate("Vestimo", "As the rule chooses");
}
inline QString tryOnSavePicture() {
    return QCoreApplication::translate("Vestimo", "Save Picture...");
}
inline QString tryOnHowToTurn() {
    return QCoreApplication::translate(
        "Vestimo", "Drag to turn the Sim, use the wheel to zoom, double-click to start again.");
}
// Shown over the picture while the scene is being put together.
inline QString tryOnBuilding() {
    return QCoreApplication::translate("Vestimo", "Putting the skin on the Sim...");
}

// The lines under the picture: what is drawn, from which files, and what could not be found.
inline QString tryOnSkeletonLine(const QString& file) {
    return QCoreApplication::translate("Vestimo", "Skeleton: %1").arg(file);
}
inline QString tryOnPieceLine(const QString& cmxFile, const QString& meshFile, const QString& textureFile) {
    return QCoreApplication::translate("Vestimo", "%1: %2, wearing %3").arg(cmxFile, meshFile, textureFile);
}
inline QString tryOnUntexturedPieceLine(const QString& cmxFile, const QString& meshFile) {
    return QCoreApplication::translate("Vestimo", "%1: %2, untextured").arg(cmxFile, meshFile);
}
inline QString tryOnMissingLine(const QString& what) {
    return QCoreApplication::translate("Vestimo", "Missing: %1").arg(what);
}
inline QString tryOnNotDrawn(const QString& why) {
    return QCoreApplication::translate("Vestimo", "The skin cannot be drawn: %1").arg(why);
}

// "Save Picture...": the dialog and what can go wrong.
inline QString tryOnSaveDialogTitle() {
    return QCoreApplication::translate("Vestimo", "Save Picture");
}
inline QString tryOnSaveDialogFilter() {
    return QCoreApplication::translate("Vestimo", "PNG pictures (*.png)");
}
inline QString tryOnPictureName(const QString& cmxBaseName) {
    return QCoreApplication::translate("Vestimo", "%1 on the Sim.png").arg(cmxBaseName);
}
inline QString tryOnPictureNotSaved(const QString& path, const QString& why) {
    return QCoreApplication::translate("Vestimo", "The picture could not be saved as %1: %2").arg(path, why);
}
inline QString tryOnNothingToSave() {
    return QCoreApplication::translate("Vestimo", "There is no picture to save yet.");
}
inline QString tryOnPictureNotEncoded() {
    return QCoreApplication::translate("Vestimo", "the picture could not be made into a PNG file");
}

} // namespace vestimo::texts
