#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The texts of the Skins view: what a card's kind and its problem badges are called. The reasons
// behind the badges are the checks' and the skin-set report's own (Verdicts.h, Checks.h, Report.h).
namespace vestimo::texts {

inline QString collectionBody() {
    return QCoreApplication::translate("Vestimo", "Body");
}
inline QString collectionHead() {
    return QCoreApplication::translate("Vestimo", "Head");
}
inline QString collectionHand() {
    return QCoreApplication::translate("Vestimo", "Hand");
}
inline QString collectionPet() {
    return QCoreApplication::translate("Vestimo", "Pet");
}
// A buyable skin, with its category's name.
inline QString collectionBuyable(const QString& category) {
    return QCoreApplication::translate("Vestimo", "Buyable: %1").arg(category);
}
inline QString collectionOtherPiece() {
    return QCoreApplication::translate("Vestimo", "Other piece");
}
inline QString collectionOrphanTexture() {
    return QCoreApplication::translate("Vestimo", "Orphan texture");
}
inline QString collectionOrphanMesh() {
    return QCoreApplication::translate("Vestimo", "Orphan mesh");
}
inline QString collectionAdult() {
    return QCoreApplication::translate("Vestimo", "adult");
}
inline QString collectionChild() {
    return QCoreApplication::translate("Vestimo", "child");
}
inline QString collectionFemale() {
    return QCoreApplication::translate("Vestimo", "female");
}
inline QString collectionMale() {
    return QCoreApplication::translate("Vestimo", "male");
}
inline QString collectionUnisex() {
    return QCoreApplication::translate("Vestimo", "either sex");
}
// A kind and its age and sex, as one text: "Head, adult, female".
inline QString collectionKindParts(const QStringList& parts) {
    return parts.join(QCoreApplication::translate("Vestimo", ", "));
}

// The badges.
inline QString badgeFaultyCmx() {
    return QCoreApplication::translate("Vestimo", "Faulty CMX line");
}
inline QString badgeUnreadCmx() {
    return QCoreApplication::translate("Vestimo", "CMX not read");
}
inline QString badgeNoTexture() {
    return QCoreApplication::translate("Vestimo", "No texture");
}
inline QString badgeTextureOverLimit() {
    return QCoreApplication::translate("Vestimo", "Texture over the limit");
}
inline QString badgeTextureDamaged() {
    return QCoreApplication::translate("Vestimo", "Damaged texture");
}
inline QString badgeNoMesh() {
    return QCoreApplication::translate("Vestimo", "No mesh");
}

// Why a card has no picture.
inline QString cardMeshWithoutCmx() {
    return QCoreApplication::translate("Vestimo",
                                       "No picture: a mesh is drawn only with a CMX file that names it");
}
inline QString cardTextureNotPicture(const QString& why) {
    return QCoreApplication::translate("Vestimo", "No picture: the texture cannot be shown (%1)").arg(why);
}
inline QString cardNotAPicture() {
    return QCoreApplication::translate("Vestimo", "not a picture");
}

} // namespace vestimo::texts
