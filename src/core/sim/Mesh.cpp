#include "core/sim/Mesh.h"

#include "core/sim/Readers.h"

namespace vestimo::sim {

using detail::ItemSize;
using detail::MaxMeshElements;
using detail::readCount;

namespace {

constexpr ItemSize FaceSize{.lines = 1, .bytes = 12};
constexpr ItemSize BindingSize{.lines = 1, .bytes = 20};
constexpr ItemSize TexCoordSize{.lines = 1, .bytes = 8};
constexpr ItemSize BlendSize{.lines = 1, .bytes = 8};
constexpr ItemSize VertexSize{.lines = 1, .bytes = 24};

// Where each list starts, so faults found once the vertices are known still name their line.
struct Marks {
    std::int64_t faces = 0;
    std::int64_t bindings = 0;
    std::int64_t blends = 0;
    std::int64_t vertexCount = 0;
};

template <typename Reader> void readFaces(Reader& r, Mesh& mesh, Marks& marks) {
    const std::size_t count = readCount(r, FaceSize, MaxMeshElements);
    marks.faces = r.mark();
    mesh.faces.reserve(count);
    for (std::size_t i = 0; i < count && !r.failed(); ++i) {
        r.record(3);
        mesh.faces.push_back({r.integer(), r.integer(), r.integer()});
    }
}

template <typename Reader> void readBindings(Reader& r, Mesh& mesh, Marks& marks) {
    const std::size_t count = readCount(r, BindingSize, MaxMeshElements);
    marks.bindings = r.mark();
    for (std::size_t i = 0; i < count && !r.failed(); ++i) {
        r.record(5);
        mesh.bindings.push_back({r.integer(), r.integer(), r.integer(), r.integer(), r.integer()});
    }
}

template <typename Reader> void readPoints(Reader& r, Mesh& mesh, Marks& marks) {
    const std::size_t texCoords = readCount(r, TexCoordSize, MaxMeshElements);
    mesh.texCoords.reserve(texCoords);
    for (std::size_t i = 0; i < texCoords && !r.failed(); ++i) {
        r.record(2);
        mesh.texCoords.push_back({r.number(), r.number()});
    }
    const std::size_t blends = readCount(r, BlendSize, MaxMeshElements);
    marks.blends = r.mark();
    mesh.blends.reserve(blends);
    for (std::size_t i = 0; i < blends && !r.failed(); ++i) {
        r.record(2);
        mesh.blends.push_back({r.integer(), r.integer()});
    }
    marks.vertexCount = r.mark();
    const std::size_t vertices = readCount(r, VertexSize, MaxMeshElements);
    mesh.vertices.reserve(vertices);
    for (std::size_t i = 0; i < vertices && !r.failed(); ++i) {
        r.record(6);
        const Vec3 position{r.number(), r.number(), r.number()};
        mesh.vertices.push_back({position, {r.number(), r.number(), r.number()}});
    }
}

bool inRange(std::int64_t first, std::int64_t count, std::int64_t size) {
    return first >= 0 && count >= 0 && first <= size && count <= size - first;
}

// An index that points past what it indexes: item `item` holds `value`, where below `limit` was due.
template <typename Reader, typename Place>
void failOutOfRange(Reader& r, SimErrorKind kind, const Place& place, std::size_t item, std::int64_t value,
                    std::int64_t limit) {
    SimError e = r.errorAt(kind, place);
    e.item = static_cast<std::int64_t>(item);
    e.value = value;
    e.limit = limit;
    r.fail(std::move(e));
}

template <typename Reader> void checkFaces(Reader& r, const Mesh& mesh, const Marks& marks) {
    const auto ordinary = static_cast<std::int64_t>(mesh.ordinaryVertexCount());
    for (std::size_t i = 0; i < mesh.faces.size() && !r.failed(); ++i) {
        for (const std::int32_t vertex : mesh.faces[i]) {
            if (vertex < 0 || vertex >= ordinary) {
                failOutOfRange(r, SimErrorKind::FaceOutOfRange,
                               r.placeOf(marks.faces, static_cast<std::int64_t>(i), FaceSize), i, vertex,
                               ordinary);
            }
        }
    }
}

template <typename Reader> void checkBindings(Reader& r, const Mesh& mesh, const Marks& marks) {
    const auto ordinary = static_cast<std::int64_t>(mesh.ordinaryVertexCount());
    const auto blends = static_cast<std::int64_t>(mesh.blends.size());
    const auto bones = static_cast<std::int64_t>(mesh.boneNames.size());
    for (std::size_t i = 0; i < mesh.bindings.size() && !r.failed(); ++i) {
        const BoneBinding& b = mesh.bindings[i];
        const bool blendedFit = b.blendedCount == 0 || inRange(b.firstBlended, b.blendedCount, blends);
        if (b.bone < 0 || b.bone >= bones || !inRange(b.firstVertex, b.vertexCount, ordinary) ||
            !blendedFit) {
            SimError e = r.errorAt(SimErrorKind::BindingOutOfRange,
                                   r.placeOf(marks.bindings, static_cast<std::int64_t>(i), BindingSize));
            e.item = static_cast<std::int64_t>(i);
            r.fail(std::move(e));
        }
    }
}

template <typename Reader> void checkBlends(Reader& r, const Mesh& mesh, const Marks& marks) {
    const auto ordinary = static_cast<std::int64_t>(mesh.ordinaryVertexCount());
    for (std::size_t i = 0; i < mesh.blends.size() && !r.failed(); ++i) {
        const std::int32_t vertex = mesh.blends[i].vertex;
        if (vertex < 0 || vertex >= ordinary) {
            failOutOfRange(r, SimErrorKind::BlendOutOfRange,
                           r.placeOf(marks.blends, static_cast<std::int64_t>(i), BlendSize), i, vertex,
                           ordinary);
        }
    }
}

template <typename Reader> Result<Mesh> readMesh(Reader& r) {
    Mesh mesh;
    Marks marks;
    mesh.name = r.text();
    mesh.texture = r.text();
    const std::size_t bones = readCount(r, {.lines = 1, .bytes = 1});
    for (std::size_t i = 0; i < bones && !r.failed(); ++i) {
        mesh.boneNames.push_back(r.text());
    }
    readFaces(r, mesh, marks);
    readBindings(r, mesh, marks);
    readPoints(r, mesh, marks);
    if (!r.failed() && mesh.vertices.size() < mesh.blends.size()) {
        SimError e = r.errorAt(SimErrorKind::FewerVerticesThanBlends, marks.vertexCount);
        e.value = static_cast<std::int64_t>(mesh.vertices.size());
        e.limit = static_cast<std::int64_t>(mesh.blends.size());
        r.fail(std::move(e));
    }
    if (!r.failed()) {
        checkFaces(r, mesh, marks);
        checkBindings(r, mesh, marks);
        checkBlends(r, mesh, marks);
    }
    if (r.failed()) {
        return r.error();
    }
    return mesh;
}

} // namespace

Result<Mesh> parseSkn(std::string_view text) {
    detail::TextReader r(text);
    return readMesh(r);
}

Result<Mesh> parseBmf(const QByteArray& bytes) {
    detail::BinaryReader r(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return readMesh(r);
}

} // namespace vestimo::sim
