#include "core/sim/SimError.h"

#include "core/catalogue/Sim.h"

namespace vestimo::sim {

namespace {

QString fault(const SimError& e) {
    const QString found = QString::fromStdString(e.found);
    switch (e.kind) {
    case SimErrorKind::FileEndsEarly:
        return texts::simFileEndsEarly();
    case SimErrorKind::NotANumber:
        return texts::simNotANumber(found);
    case SimErrorKind::NotFinite:
        return texts::simNotFinite(found);
    case SimErrorKind::WrongValueCount:
        return texts::simWrongValueCount(e.limit, found);
    case SimErrorKind::NegativeCount:
        return texts::simNegativeCount(e.value);
    case SimErrorKind::CountTooLarge:
        return texts::simCountTooLarge(e.value);
    case SimErrorKind::MeshTooLarge:
        return texts::simMeshTooLarge(e.value, e.limit);
    case SimErrorKind::FaceOutOfRange:
        return texts::simFaceOutOfRange(e.item, e.value, e.limit);
    case SimErrorKind::BindingOutOfRange:
        return texts::simBindingOutOfRange(e.item);
    case SimErrorKind::BlendOutOfRange:
        return texts::simBlendOutOfRange(e.item, e.value, e.limit);
    case SimErrorKind::FewerVerticesThanBlends:
        return texts::simFewerVerticesThanBlends(e.value, e.limit);
    case SimErrorKind::UnknownParent:
        return texts::simUnknownParent(found, QString::fromStdString(e.other));
    case SimErrorKind::MissingBone:
        return texts::simMissingBone(found, QString::fromStdString(e.other));
    case SimErrorKind::NoSkeleton:
        return texts::simNoSkeleton();
    case SimErrorKind::NoSuit:
        return texts::simNoSuit();
    }
    return texts::simFileEndsEarly();
}

} // namespace

QString describe(const SimError& error) {
    switch (error.place) {
    case Place::Line:
        return texts::atLine(error.at, fault(error));
    case Place::Byte:
        return texts::simAtByte(error.at, fault(error));
    case Place::Nowhere:
        break;
    }
    return fault(error);
}

} // namespace vestimo::sim
