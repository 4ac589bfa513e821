#pragma once

#include "core/catalogue/Common.h"
#include "platform/render/RenderError.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The texts of putting a skin on the Sim: what completes it, and what could not be found and where
// it was looked for.
namespace vestimo::texts {

// Where pieces were looked for: the folders by name, the archives counted.
inline QString tryOnLookedIn(const QStringList& folders, qsizetype archives) {
    const QString named = folders.join(QStringLiteral(", "));
    if (archives == 0) {
        return named;
    }
    if (archives == 1) {
        return QCoreApplication::translate("Vestimo", "%1 and 1 archive").arg(named);
    }
    return QCoreApplication::translate("Vestimo", "%1 and %2 archives").arg(named).arg(archives);
}

inline QString tryOnNoSkeleton(const QString& skeleton, const QString& where) {
    return QCoreApplication::translate("Vestimo", "No skeleton found (%1): looked in %2")
        .arg(skeleton, where);
}
inline QString tryOnPetSkin(const QString& skin) {
    return QCoreApplication::translate("Vestimo",
                                       "%1 is a pet's skin: no skeleton for pets is in reach, only the "
                                       "Sims' adult and child skeletons")
        .arg(skin);
}
inline QString tryOnNoMesh(const QString& mesh, const QString& where) {
    return QCoreApplication::translate("Vestimo", "No mesh %1 found: looked in %2").arg(mesh, where);
}
inline QString tryOnNoMeshNamed(const QString& skin) {
    return QCoreApplication::translate("Vestimo", "%1 names no mesh to draw").arg(skin);
}
inline QString tryOnNoPiece(const QString& file, const QString& where) {
    return QCoreApplication::translate("Vestimo", "No %1 found: looked in %2").arg(file, where);
}
inline QString tryOnNoHead(const QString& pattern, const QString& where) {
    return QCoreApplication::translate("Vestimo", "No head %1 found to complete the Sim: looked in %2")
        .arg(pattern, where);
}
inline QString tryOnNoBody(const QString& pattern, const QString& where) {
    return QCoreApplication::translate("Vestimo", "No body %1 found to complete the Sim: looked in %2")
        .arg(pattern, where);
}
inline QString tryOnNoTexture(const QString& file, const QString& tone) {
    return QCoreApplication::translate("Vestimo", "No texture of the tone %1 found for %2: drawn untextured")
        .arg(tone, file);
}
inline QString tryOnUnreadable(const QString& file, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 could not be read: %2").arg(file, why);
}

// The rule that completed the Sim, shown under the picture.
inline QString tryOnRuleBody(const QString& headPattern, const QString& hands) {
    return QCoreApplication::translate("Vestimo",
                                       "Completed with the lowest-numbered head %1 and the open hands %2")
        .arg(headPattern, hands);
}
inline QString tryOnRuleHead(const QString& bodyPattern, const QString& hands) {
    return QCoreApplication::translate("Vestimo",
                                       "Completed with the lowest-numbered body %1 and the open hands %2")
        .arg(bodyPattern, hands);
}
inline QString tryOnRuleAlone() {
    return QCoreApplication::translate("Vestimo", "Drawn alone, with nothing to complete the Sim");
}
// A piece shown inside an archive.
inline QString tryOnInArchive(const QString& archive, const QString& name) {
    return QCoreApplication::translate("Vestimo", "%1: %2").arg(archive, name);
}

// The command line's `render`.
inline QString usageRender() {
    return QCoreApplication::translate("Vestimo",
                                       "Usage: vestimo render [--tone lgt|med|drk] [--texture FILE] "
                                       "[--with CMX_FILE]... [--alone] [--size WxH] [--turn DEGREES] "
                                       "[--json] CMX_FILE OUTPUT.png");
}
inline QString helpRender() {
    return QCoreApplication::translate(
        "Vestimo", "Draws the skin CMX_FILE on the Sim, completed by a head or body and hands, into the "
                   "picture OUTPUT.png, without a display.");
}
inline QString optionTone() {
    return QCoreApplication::translate("Vestimo", "The skin tone to wear: lgt, med or drk.");
}
inline QString optionTexture() {
    return QCoreApplication::translate("Vestimo",
                                       "The bitmap to wear instead of the skin's own of the tone.");
}
inline QString optionWith() {
    return QCoreApplication::translate("Vestimo",
                                       "A head, body or hand to add, as a CMX file; may be repeated.");
}
inline QString optionAlone() {
    return QCoreApplication::translate("Vestimo", "Draw only the named skin, nothing to complete the Sim.");
}
inline QString optionSize() {
    return QCoreApplication::translate("Vestimo", "The picture's size in pixels (512x512 unless given).");
}
inline QString optionTurn() {
    return QCoreApplication::translate("Vestimo", "Turn the Sim by this many degrees (0 shows its face).");
}
inline QString badTone(const QString& tone) {
    return QCoreApplication::translate("Vestimo", "--tone takes lgt, med or drk, not \"%1\"").arg(tone);
}
inline QString badSize(const QString& size) {
    return QCoreApplication::translate("Vestimo", "--size takes WIDTHxHEIGHT from 1 to %1 pixels, not \"%2\"")
        .arg(platform::render::MaxPictureSide)
        .arg(size);
}
inline QString badTurn(const QString& turn) {
    return QCoreApplication::translate("Vestimo", "--turn takes a number of degrees, not \"%1\"").arg(turn);
}
inline QString pictureNotEncoded() {
    return QCoreApplication::translate("Vestimo", "the picture could not be made into a PNG file");
}
inline QString cannotWritePicture(const QString& path, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Cannot write %1: %2").arg(path, why);
}
inline QString cannotDraw(const QString& why) {
    return QCoreApplication::translate("Vestimo", "Cannot draw the Sim: %1").arg(why);
}
inline QString renderWroteLine(const QString& path) {
    return QCoreApplication::translate("Vestimo", "Wrote %1").arg(path);
}
inline QString renderSkeletonLine(const QString& path) {
    return QCoreApplication::translate("Vestimo", "Skeleton: %1").arg(path);
}
inline QString renderMeshLine(const QString& mesh, qint64 vertices, const QString& texture) {
    return QCoreApplication::translate("Vestimo", "Mesh: %1, %2 vertices, texture %3")
        .arg(mesh)
        .arg(vertices)
        .arg(texture.isEmpty() ? QCoreApplication::translate("Vestimo", "none") : texture);
}
inline QString renderMissingLine(const QString& what) {
    return QCoreApplication::translate("Vestimo", "Missing: %1").arg(what);
}

} // namespace vestimo::texts
