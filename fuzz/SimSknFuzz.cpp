// Feeds arbitrary text to the mesh reader: it must never crash, and a mesh it reads must pose on a
// skeleton that has every bone it names, keeping every vertex and face.
#include "core/sim/Mesh.h"
#include "core/sim/Pose.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto mesh = vestimo::sim::parseSkn(text);
    if (!mesh.ok()) {
        return 0;
    }
    vestimo::sim::PosedSkeleton skeleton;
    for (const std::string& name : mesh.value().boneNames) {
        skeleton.names.push_back(name);
        skeleton.world.push_back({});
    }
    const auto posed = vestimo::sim::poseMesh(mesh.value(), skeleton);
    if (!posed.ok() || posed.value().vertexCount() != mesh.value().ordinaryVertexCount() ||
        posed.value().triangles.size() != mesh.value().faces.size()) {
        std::abort();
    }
    return 0;
}
