#include "core/tryon/TryOn.h"

namespace vestimo::tryon {

std::vector<platform::render::SceneMesh> TryOnScene::sceneMeshes() const {
    std::vector<platform::render::SceneMesh> meshes;
    meshes.reserve(pieces.size());
    for (const TryOnPiece& piece : pieces) {
        platform::render::SceneMesh mesh;
        const auto& vertices = piece.mesh.vertices;
        mesh.positions.reserve(vertices.size() * 3);
        mesh.normals.reserve(vertices.size() * 3);
        mesh.uvs.reserve(vertices.size() * 2);
        for (const sim::PosedVertex& v : vertices) {
            mesh.positions.insert(mesh.positions.end(), {v.position.x, v.position.y, v.position.z});
            mesh.normals.insert(mesh.normals.end(), {v.normal.x, v.normal.y, v.normal.z});
            mesh.uvs.insert(mesh.uvs.end(), {v.u, v.v});
        }
        mesh.triangles.reserve(piece.mesh.triangles.size() * 3);
        for (const auto& t : piece.mesh.triangles) {
            mesh.triangles.insert(mesh.triangles.end(), t.begin(), t.end());
        }
        mesh.texture = piece.texture;
        meshes.push_back(std::move(mesh));
    }
    return meshes;
}

TryOnPlaces placesFor(const QString& skinFolder, const std::vector<core::games::GameInstall>& installs) {
    Q_UNUSED(skinFolder);
    Q_UNUSED(installs);
    return {};
}

TryOnScene buildTryOnScene(const TryOnRequest& request, const TryOnPlaces& places) {
    Q_UNUSED(request);
    Q_UNUSED(places);
    return {};
}

} // namespace vestimo::tryon
