#pragma once

#include "core/sim/Geometry.h"
#include "core/sim/SimError.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Deformable meshes, read from the text form (.skn) or the binary one (.bmf). The vertices of each
// binding lie in its bone's own frame; after the ordinary vertices come the blended ones, which
// the same bindings place and the blends mix into the ordinary vertex they name.
namespace vestimo::sim {

struct BoneBinding {
    std::int32_t bone = 0; // index into the mesh's own bone names
    std::int32_t firstVertex = 0;
    std::int32_t vertexCount = 0;
    std::int32_t firstBlended = -1; // index into the blends; -1 with none
    std::int32_t blendedCount = 0;
};

struct TexCoord {
    float u = 0;
    float v = 0;
};

struct Blend {
    std::int32_t vertex = 0; // the ordinary vertex the blended one is mixed into
    std::int32_t weight = 0; // of the blended vertex, fixed point: 32768 is one
};

struct MeshVertex {
    Vec3 position;
    Vec3 normal;
};

inline constexpr float BlendWeightOne = 32768.0F;

struct Mesh {
    std::string name;
    std::string texture; // a placeholder ("x") in the game's own meshes
    std::vector<std::string> boneNames;
    std::vector<std::array<std::int32_t, 3>> faces;
    std::vector<BoneBinding> bindings;
    std::vector<TexCoord> texCoords;
    std::vector<Blend> blends;
    std::vector<MeshVertex> vertices; // ordinary, then blended

    std::size_t ordinaryVertexCount() const { return vertices.size() - blends.size(); }
};

// Both refuse meshes of more than a million faces or vertices, and any index that points outside.
Result<Mesh> parseSkn(std::string_view text);
Result<Mesh> parseBmf(const QByteArray& bytes);

} // namespace vestimo::sim
