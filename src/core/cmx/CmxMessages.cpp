#include "core/cmx/CmxMessages.h"

namespace vestimo::cmx {

namespace {

constexpr std::string_view BoneList =
    "PELVIS, HEAD, SPINE, R_LEG, R_LEG1, L_LEG, L_LEG1, L_ARM, SPINE1, SPINE2, R_ARM, NECK, R_ARM1, R_ARM2, "
    "L_ARM1, L_ARM2, R_FOOT, L_FOOT, R_TOE0, Or L_TOE0";

} // namespace

// The wording differs from line to line ("With"/"with", "Line"/"line", "equal"/"Equal", a closing
// double quote from line 17 on); players have long known these texts, so they stay as they are.
std::string faultMessage(int line) {
    const std::string n = std::to_string(line);
    switch (line) {
    case 2:
        return "Error With Line 2! Must Read version 300!";
    case 3:
    case 7:
        return "Error With Line " + n + "! Must equal 0!";
    case 4:
        return "Error With Line 4! Must equal 1!";
    case 6:
        return "Error With Line 6! Must Equal 0!";
    case 8:
        return "Error with Line 8! Must equal at least 1! If ";
    case 9:
        return "Error with line 9! Must say One of the following: " + std::string(BoneList);
    case 13:
        return "Error with line 13! Must Equal 0 Or say One of the following: " + std::string(BoneList);
    default:
        break;
    }
    if (line >= 17 && line <= 45 && line % 4 == 1) {
        return "Error with line " + n +
               "! Must Equal 0 Or say One of the following: " + std::string(BoneList) + "\"";
    }
    // Every other line with a rule must hold "0"; lines without a rule never fault.
    return "Error with Line " + n + "! Must equal 0!";
}

} // namespace vestimo::cmx
