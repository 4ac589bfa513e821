#pragma once

#include "core/sim/Geometry.h"
#include "core/sim/SimError.h"

#include <QByteArray>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Character descriptions: skeletons (bones and their rest pose) and suits (which mesh sits on which
// bone), read from the text form (.cmx) or the binary one (.cmx.bcf). Animations (skills) that may
// follow are not read.
namespace vestimo::sim {

using PropertyList = std::vector<std::pair<std::string, std::string>>;

struct Bone {
    std::string name;
    std::string parent; // "NULL" for a root
    std::vector<PropertyList> properties;
    Vec3 translation;
    // As stored: the inverse of the turn from the parent's frame to the bone's.
    Quat rotation;
    std::int32_t canTranslate = 0;
    std::int32_t canRotate = 0;
    std::int32_t canBlend = 0;
    float wiggleValue = 0;
    float wigglePower = 0;
};

struct Skeleton {
    std::string name;
    std::vector<Bone> bones;
};

struct Skin {
    std::string boneName;
    std::string meshName;
    std::int32_t flags = 0;
    std::vector<PropertyList> properties;
};

struct Suit {
    std::string name;
    std::int32_t type = 0;
    std::vector<PropertyList> properties;
    // In file order: a head with glasses holds the glasses first.
    std::vector<Skin> skins;
};

struct CharacterFile {
    std::vector<Skeleton> skeletons;
    std::vector<Suit> suits;
};

inline constexpr std::string_view NoParent = "NULL";

// The text form: two header lines, then skeletons and suits.
Result<CharacterFile> parseCmx(std::string_view text);
// The first skeleton (or suit) of a text form.
Result<Skeleton> parseSkeleton(std::string_view text);
Result<Suit> parseSuit(std::string_view text);
// The binary form: no header, the same fields packed.
Result<CharacterFile> parseBcf(const QByteArray& bytes);

} // namespace vestimo::sim
