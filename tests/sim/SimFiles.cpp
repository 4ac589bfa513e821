#include "SimFiles.h"

#include "support/TempDir.h"

#include <QFile>

#include <bit>
#include <cstdint>

namespace vestimo::test {

namespace {

class Writer {
public:
    void integer(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.append(static_cast<char>((bits >> shift) & 0xFFU));
        }
    }
    void number(float value) { integer(static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value))); }
    void text(const std::string& value) {
        if (value.size() < 255) {
            bytes.append(static_cast<char>(value.size()));
        } else {
            bytes.append(static_cast<char>(255));
            integer(static_cast<std::int32_t>(value.size()));
        }
        bytes.append(value.data(), static_cast<qsizetype>(value.size()));
    }
    void properties(const std::vector<sim::PropertyList>& lists) {
        integer(static_cast<std::int32_t>(lists.size()));
        for (const sim::PropertyList& list : lists) {
            integer(static_cast<std::int32_t>(list.size()));
            for (const auto& [key, value] : list) {
                text(key);
                text(value);
            }
        }
    }

    QByteArray bytes;
};

} // namespace

QString bodiesDir() {
    return realWorldDir() + "/bodies";
}

QByteArray readBody(const QString& name) {
    QFile file(bodiesDir() + "/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray writeBcf(const sim::CharacterFile& file) {
    Writer w;
    w.integer(static_cast<std::int32_t>(file.skeletons.size()));
    for (const sim::Skeleton& skeleton : file.skeletons) {
        w.text(skeleton.name);
        w.integer(static_cast<std::int32_t>(skeleton.bones.size()));
        for (const sim::Bone& b : skeleton.bones) {
            w.text(b.name);
            w.text(b.parent);
            w.properties(b.properties);
            for (const float f : {b.translation.x, b.translation.y, b.translation.z, b.rotation.x,
                                  b.rotation.y, b.rotation.z, b.rotation.w}) {
                w.number(f);
            }
            w.integer(b.canTranslate);
            w.integer(b.canRotate);
            w.integer(b.canBlend);
            w.number(b.wiggleValue);
            w.number(b.wigglePower);
        }
    }
    w.integer(static_cast<std::int32_t>(file.suits.size()));
    for (const sim::Suit& suit : file.suits) {
        w.text(suit.name);
        w.integer(suit.type);
        w.properties(suit.properties);
        w.integer(static_cast<std::int32_t>(suit.skins.size()));
        for (const sim::Skin& skin : suit.skins) {
            w.text(skin.boneName);
            w.text(skin.meshName);
            w.integer(skin.flags);
            w.properties(skin.properties);
        }
    }
    w.integer(0); // no skills
    return w.bytes;
}

QByteArray writeBmf(const sim::Mesh& mesh) {
    Writer w;
    w.text(mesh.name);
    w.text(mesh.texture);
    w.integer(static_cast<std::int32_t>(mesh.boneNames.size()));
    for (const std::string& name : mesh.boneNames) {
        w.text(name);
    }
    w.integer(static_cast<std::int32_t>(mesh.faces.size()));
    for (const auto& face : mesh.faces) {
        for (const std::int32_t v : face) {
            w.integer(v);
        }
    }
    w.integer(static_cast<std::int32_t>(mesh.bindings.size()));
    for (const sim::BoneBinding& b : mesh.bindings) {
        for (const std::int32_t v : {b.bone, b.firstVertex, b.vertexCount, b.firstBlended, b.blendedCount}) {
            w.integer(v);
        }
    }
    w.integer(static_cast<std::int32_t>(mesh.texCoords.size()));
    for (const sim::TexCoord& t : mesh.texCoords) {
        w.number(t.u);
        w.number(t.v);
    }
    w.integer(static_cast<std::int32_t>(mesh.blends.size()));
    for (const sim::Blend& b : mesh.blends) {
        w.integer(b.vertex);
        w.integer(b.weight);
    }
    w.integer(static_cast<std::int32_t>(mesh.vertices.size()));
    for (const sim::MeshVertex& v : mesh.vertices) {
        for (const float f : {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z}) {
            w.number(f);
        }
    }
    return w.bytes;
}

} // namespace vestimo::test
