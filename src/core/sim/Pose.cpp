#include "core/sim/Pose.h"

#include <QByteArrayView>

#include <algorithm>

namespace vestimo::sim {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return QByteArrayView(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QByteArrayView(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

// A range of a binding, cut to what the lists hold: hand-built meshes reach here unchecked.
struct Span {
    std::size_t first = 0;
    std::size_t end = 0;
};

Span clampSpan(std::int64_t first, std::int64_t count, std::size_t size) {
    const auto limit = static_cast<std::int64_t>(size);
    const std::int64_t from = std::clamp<std::int64_t>(first, 0, limit);
    const std::int64_t to = std::clamp<std::int64_t>(first + std::max<std::int64_t>(count, 0), from, limit);
    return {static_cast<std::size_t>(from), static_cast<std::size_t>(to)};
}

PosedVertex place(const RigidTransform& frame, const MeshVertex& vertex) {
    return {frame.apply(vertex.position), normalized(frame.turn(vertex.normal))};
}

} // namespace

std::optional<std::size_t> PosedSkeleton::find(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameName(names[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

Result<PosedSkeleton> poseSkeleton(const Skeleton& skeleton) {
    PosedSkeleton posed;
    posed.names.reserve(skeleton.bones.size());
    posed.world.reserve(skeleton.bones.size());
    for (const Bone& bone : skeleton.bones) {
        const RigidTransform local{bone.translation, normalized(conjugate(bone.rotation))};
        RigidTransform world = local;
        if (bone.parent != NoParent) {
            const std::optional<std::size_t> parent = posed.find(bone.parent);
            if (!parent) {
                SimError e = simError(SimErrorKind::UnknownParent);
                e.found = bone.name;
                e.other = bone.parent;
                return e;
            }
            world = posed.world[*parent].compose(local);
        }
        posed.names.push_back(bone.name);
        posed.world.push_back(world);
    }
    return posed;
}

Result<PosedMesh> poseMesh(const Mesh& mesh, const PosedSkeleton& skeleton) {
    std::vector<RigidTransform> frames;
    frames.reserve(mesh.boneNames.size());
    for (const std::string& name : mesh.boneNames) {
        const std::optional<std::size_t> bone = skeleton.find(name);
        if (!bone) {
            SimError e = simError(SimErrorKind::MissingBone);
            e.found = name;
            e.other = mesh.name;
            return e;
        }
        frames.push_back(skeleton.world[*bone]);
    }
    const std::size_t ordinary = mesh.vertices.size() >= mesh.blends.size() ? mesh.ordinaryVertexCount() : 0;
    std::vector<PosedVertex> placed(mesh.vertices.size());
    for (const BoneBinding& binding : mesh.bindings) {
        if (binding.bone < 0 || static_cast<std::size_t>(binding.bone) >= frames.size()) {
            continue;
        }
        const RigidTransform& frame = frames[static_cast<std::size_t>(binding.bone)];
        const Span own = clampSpan(binding.firstVertex, binding.vertexCount, ordinary);
        for (std::size_t i = own.first; i < own.end; ++i) {
            placed[i] = place(frame, mesh.vertices[i]);
        }
        const Span blended = clampSpan(binding.firstBlended, binding.blendedCount, mesh.blends.size());
        for (std::size_t i = blended.first; i < blended.end && ordinary + i < placed.size(); ++i) {
            placed[ordinary + i] = place(frame, mesh.vertices[ordinary + i]);
        }
    }
    PosedMesh posed;
    posed.name = mesh.name;
    posed.vertices.assign(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(ordinary));
    // A blended vertex is its own bone's idea of where a joint's vertex lies: mixing the two
    // closes the crack the joint would otherwise open.
    for (std::size_t i = 0; i < mesh.blends.size() && ordinary + i < placed.size(); ++i) {
        const Blend& blend = mesh.blends[i];
        if (blend.vertex < 0 || static_cast<std::size_t>(blend.vertex) >= ordinary) {
            continue;
        }
        const float w = std::clamp(static_cast<float>(blend.weight) / BlendWeightOne, 0.0F, 1.0F);
        PosedVertex& own = posed.vertices[static_cast<std::size_t>(blend.vertex)];
        const PosedVertex& other = placed[ordinary + i];
        own.position = w * other.position + (1.0F - w) * own.position;
        own.normal = normalized(w * other.normal + (1.0F - w) * own.normal);
    }
    for (std::size_t i = 0; i < posed.vertices.size() && i < mesh.texCoords.size(); ++i) {
        posed.vertices[i].u = std::clamp(mesh.texCoords[i].u, 0.0F, 1.0F);
        posed.vertices[i].v = std::clamp(mesh.texCoords[i].v, 0.0F, 1.0F);
    }
    for (const auto& face : mesh.faces) {
        if (std::all_of(face.begin(), face.end(),
                        [&](std::int32_t v) { return v >= 0 && static_cast<std::size_t>(v) < ordinary; })) {
            posed.triangles.push_back({static_cast<std::uint32_t>(face[0]),
                                       static_cast<std::uint32_t>(face[1]),
                                       static_cast<std::uint32_t>(face[2])});
        }
    }
    return posed;
}

BoundingBox boundingBox(const PosedMesh& mesh) {
    if (mesh.vertices.empty()) {
        return {};
    }
    BoundingBox box{mesh.vertices.front().position, mesh.vertices.front().position};
    for (const PosedVertex& v : mesh.vertices) {
        box.min = {std::min(box.min.x, v.position.x), std::min(box.min.y, v.position.y),
                   std::min(box.min.z, v.position.z)};
        box.max = {std::max(box.max.x, v.position.x), std::max(box.max.y, v.position.y),
                   std::max(box.max.z, v.position.z)};
    }
    return box;
}

} // namespace vestimo::sim
