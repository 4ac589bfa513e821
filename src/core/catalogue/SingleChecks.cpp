#include "core/catalogue/SingleChecks.h"

#include <QCoreApplication>

#ifndef VESTIMO_MAINTAINER_CONTACT
#error "VESTIMO_MAINTAINER_CONTACT must be defined by the build"
#endif

namespace vestimo::texts {

QString maintainerContact() {
    return QStringLiteral(VESTIMO_MAINTAINER_CONTACT);
}

namespace {

const char* const BoneList =
    "PELVIS, HEAD, SPINE, R_LEG, R_LEG1, L_LEG, L_LEG1, L_ARM, SPINE1, SPINE2, R_ARM, NECK, R_ARM1, R_ARM2, "
    "L_ARM1, L_ARM2, R_FOOT, L_FOOT, R_TOE0, Or L_TOE0";

} // namespace

// The wording differs from line to line ("With"/"with", "Line"/"line", "equal"/"Equal", a closing
// double quote from line 17 on); players have long known these texts, so they stay as they are.
QString cmxFaultAtLine(int line) {
    const QString bones = QString::fromLatin1(BoneList);
    switch (line) {
    case 2:
        return QCoreApplication::translate("Vestimo", "Error With Line 2! Must Read version 300!");
    case 3:
    case 7:
        return QCoreApplication::translate("Vestimo", "Error With Line %1! Must equal 0!").arg(line);
    case 4:
        return QCoreApplication::translate("Vestimo", "Error With Line 4! Must equal 1!");
    case 6:
        return QCoreApplication::translate("Vestimo", "Error With Line 6! Must Equal 0!");
    case 8:
        return QCoreApplication::translate("Vestimo", "Error with Line 8! Must equal at least 1! If ");
    case 9:
        return QCoreApplication::translate("Vestimo", "Error with line 9! Must say One of the following: ") +
               bones;
    case 13:
        return QCoreApplication::translate("Vestimo",
                                           "Error with line 13! Must Equal 0 Or say One of the following: ") +
               bones;
    default:
        break;
    }
    if (line >= 17 && line <= 45 && line % 4 == 1) {
        return QCoreApplication::translate("Vestimo",
                                           "Error with line %1! Must Equal 0 Or say One of the following: ")
                   .arg(line) +
               bones + u'"';
    }
    // Every other line with a rule must hold "0"; lines without a rule never fault.
    return QCoreApplication::translate("Vestimo", "Error with Line %1! Must equal 0!").arg(line);
}

} // namespace vestimo::texts
