#pragma once

#include "core/catalogue/Common.h"

#include <QCoreApplication>
#include <QString>

// The texts of reading the game's bodies: skeletons, suits and meshes, in their text and binary
// forms, and of posing a mesh on a skeleton.
namespace vestimo::texts {

// Where in a binary form a fault lies (a text form's line goes through atLine).
inline QString simAtByte(qint64 offset, const QString& fault) {
    return QCoreApplication::translate("Vestimo", "byte %1: %2").arg(offset).arg(fault);
}

inline QString simFileEndsEarly() {
    return QCoreApplication::translate("Vestimo", "the file ends too early");
}
inline QString simNotANumber(const QString& found) {
    return QCoreApplication::translate("Vestimo", "\"%1\" is not a number").arg(found);
}
inline QString simNotFinite(const QString& found) {
    return QCoreApplication::translate("Vestimo", "%1 is not a finite number").arg(found);
}
inline QString simWrongValueCount(qint64 expected, const QString& found) {
    return QCoreApplication::translate("Vestimo", "expected %1 values, found \"%2\"")
        .arg(expected)
        .arg(found);
}
inline QString simNegativeCount(qint64 count) {
    return QCoreApplication::translate("Vestimo", "the count %1 is negative").arg(count);
}
inline QString simCountTooLarge(qint64 count) {
    return QCoreApplication::translate("Vestimo", "the count %1 is more than the rest of the file can hold")
        .arg(count);
}
inline QString simMeshTooLarge(qint64 count, qint64 limit) {
    return QCoreApplication::translate("Vestimo", "%1 faces or vertices are more than the %2 a mesh may have")
        .arg(count)
        .arg(limit);
}
inline QString simFaceOutOfRange(qint64 face, qint64 vertex, qint64 vertices) {
    return QCoreApplication::translate("Vestimo", "face %1 names vertex %2, but the mesh has %3 vertices")
        .arg(face)
        .arg(vertex)
        .arg(vertices);
}
inline QString simBindingOutOfRange(qint64 binding) {
    return QCoreApplication::translate("Vestimo",
                                       "bone binding %1 reaches outside the mesh's bones or vertices")
        .arg(binding);
}
inline QString simBlendOutOfRange(qint64 blend, qint64 vertex, qint64 vertices) {
    return QCoreApplication::translate("Vestimo",
                                       "blended vertex %1 names vertex %2, but the mesh has %3 vertices")
        .arg(blend)
        .arg(vertex)
        .arg(vertices);
}
inline QString simFewerVerticesThanBlends(qint64 vertices, qint64 blends) {
    return QCoreApplication::translate("Vestimo", "the mesh has %1 vertices, fewer than its %2 blended ones")
        .arg(vertices)
        .arg(blends);
}
inline QString simUnknownParent(const QString& bone, const QString& parent) {
    return QCoreApplication::translate("Vestimo",
                                       "bone %1 names the parent %2, which does not come before it")
        .arg(bone, parent);
}
inline QString simMissingBone(const QString& bone, const QString& mesh) {
    return QCoreApplication::translate("Vestimo", "the skeleton has no bone %1, which the mesh %2 needs")
        .arg(bone, mesh);
}
inline QString simNoSkeleton() {
    return QCoreApplication::translate("Vestimo", "the file holds no skeleton");
}
inline QString simNoSuit() {
    return QCoreApplication::translate("Vestimo", "the file holds no suit");
}

} // namespace vestimo::texts
