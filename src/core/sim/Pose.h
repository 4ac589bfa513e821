#pragma once

#include "core/sim/Character.h"
#include "core/sim/Geometry.h"
#include "core/sim/Mesh.h"
#include "core/sim/SimError.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A skeleton in its rest pose and meshes worn on it, in the game's own left-handed frame: +y up,
// the Sim faces +z and its left side lies at -x. A right-handed renderer flips an axis itself.
namespace vestimo::sim {

struct PosedSkeleton {
    std::vector<std::string> names;
    std::vector<RigidTransform> world; // one per bone, in the skeleton's order

    // The bone of that name, compared without regard to case as the game does.
    std::optional<std::size_t> find(std::string_view name) const;
};

struct PosedVertex {
    Vec3 position;
    Vec3 normal;
    float u = 0; // both clamped to 0..1
    float v = 0;
};

struct PosedMesh {
    std::string name;
    std::vector<PosedVertex> vertices; // the ordinary vertices, blends mixed in
    std::vector<std::array<std::uint32_t, 3>> triangles;

    std::size_t vertexCount() const { return vertices.size(); }
};

struct BoundingBox {
    Vec3 min;
    Vec3 max;
};

// Each bone's frame in the world: its parent's frame, moved by the translation and turned by the
// inverse of the stored rotation.
Result<PosedSkeleton> poseSkeleton(const Skeleton& skeleton);
// Fails with the first of the mesh's bones the skeleton lacks.
Result<PosedMesh> poseMesh(const Mesh& mesh, const PosedSkeleton& skeleton);
// All zero for a mesh without vertices.
BoundingBox boundingBox(const PosedMesh& mesh);

} // namespace vestimo::sim
