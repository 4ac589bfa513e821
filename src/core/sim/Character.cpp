#include "core/sim/Character.h"

#include "core/sim/Readers.h"

#include <QByteArrayView>

namespace vestimo::sim {

using detail::ItemSize;
using detail::readCount;
using detail::readInteger;
using detail::readNumber;

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return QByteArrayView(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QByteArrayView(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

template <typename Reader> std::vector<PropertyList> readPropertyLists(Reader& r) {
    std::vector<PropertyList> lists;
    const std::size_t count = readCount(r, {.lines = 1, .bytes = 4});
    for (std::size_t i = 0; i < count && !r.failed(); ++i) {
        PropertyList list;
        const std::size_t pairs = readCount(r, {.lines = 2, .bytes = 2});
        for (std::size_t j = 0; j < pairs && !r.failed(); ++j) {
            std::string key = r.text();
            list.emplace_back(std::move(key), r.text());
        }
        lists.push_back(std::move(list));
    }
    return lists;
}

template <typename Reader> Vec3 readVector(Reader& r) {
    r.record(3, true);
    return {r.number(), r.number(), r.number()};
}

template <typename Reader> Quat readQuaternion(Reader& r) {
    r.record(4, true);
    return {r.number(), r.number(), r.number(), r.number()};
}

template <typename Reader> Bone readBone(Reader& r, const std::vector<Bone>& earlier) {
    Bone bone;
    bone.name = r.text();
    const std::int64_t parentAt = r.mark();
    bone.parent = r.text();
    if (!r.failed() && bone.parent != NoParent) {
        bool known = false;
        for (const Bone& b : earlier) {
            known = known || sameName(b.name, bone.parent);
        }
        if (!known) {
            SimError e = r.errorAt(SimErrorKind::UnknownParent, parentAt);
            e.found = bone.name;
            e.other = bone.parent;
            r.fail(std::move(e));
        }
    }
    bone.properties = readPropertyLists(r);
    bone.translation = readVector(r);
    bone.rotation = readQuaternion(r);
    bone.canTranslate = readInteger(r);
    bone.canRotate = readInteger(r);
    bone.canBlend = readInteger(r);
    bone.wiggleValue = readNumber(r);
    bone.wigglePower = readNumber(r);
    return bone;
}

template <typename Reader> Skeleton readSkeleton(Reader& r) {
    Skeleton skeleton;
    skeleton.name = r.text();
    // Name, parent, property count, translation, rotation and five values.
    const std::size_t count = readCount(r, {.lines = 10, .bytes = 2 + 4 + 12 + 16 + 20});
    for (std::size_t i = 0; i < count && !r.failed(); ++i) {
        Bone bone = readBone(r, skeleton.bones);
        skeleton.bones.push_back(std::move(bone));
    }
    return skeleton;
}

template <typename Reader> Skin readSkin(Reader& r) {
    Skin skin;
    skin.boneName = r.text();
    skin.meshName = r.text();
    skin.flags = readInteger(r);
    skin.properties = readPropertyLists(r);
    return skin;
}

template <typename Reader> Suit readSuit(Reader& r) {
    Suit suit;
    suit.name = r.text();
    suit.type = readInteger(r);
    suit.properties = readPropertyLists(r);
    const std::size_t count = readCount(r, {.lines = 4, .bytes = 2 + 4 + 4});
    for (std::size_t i = 0; i < count && !r.failed(); ++i) {
        suit.skins.push_back(readSkin(r));
    }
    return suit;
}

template <typename Reader> Result<CharacterFile> readCharacter(Reader& r) {
    CharacterFile file;
    const std::size_t skeletons = readCount(r, {.lines = 2, .bytes = 1 + 4});
    for (std::size_t i = 0; i < skeletons && !r.failed(); ++i) {
        file.skeletons.push_back(readSkeleton(r));
    }
    const std::size_t suits = readCount(r, {.lines = 4, .bytes = 1 + 4 + 4 + 4});
    for (std::size_t i = 0; i < suits && !r.failed(); ++i) {
        file.suits.push_back(readSuit(r));
    }
    if (r.failed()) {
        return r.error();
    }
    return file;
}

} // namespace

Result<CharacterFile> parseCmx(std::string_view text) {
    detail::TextReader r(text);
    // "// Character File. ..." and "version 300".
    r.text();
    r.text();
    return readCharacter(r);
}

Result<Skeleton> parseSkeleton(std::string_view text) {
    Result<CharacterFile> file = parseCmx(text);
    if (!file.ok()) {
        return file.error();
    }
    if (file.value().skeletons.empty()) {
        return simError(SimErrorKind::NoSkeleton);
    }
    return std::move(file).value().skeletons.front();
}

Result<Suit> parseSuit(std::string_view text) {
    Result<CharacterFile> file = parseCmx(text);
    if (!file.ok()) {
        return file.error();
    }
    if (file.value().suits.empty()) {
        return simError(SimErrorKind::NoSuit);
    }
    return std::move(file).value().suits.front();
}

Result<CharacterFile> parseBcf(const QByteArray& bytes) {
    detail::BinaryReader r(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return readCharacter(r);
}

} // namespace vestimo::sim
