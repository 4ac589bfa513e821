#pragma once

#include "platform/render/RenderError.h"
#include "platform/render/RenderPng.h"
#include "platform/render/Scene.h"

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

// Draws posed meshes into a picture on the processor: orthographic, a depth buffer, textures sampled
// without smoothing (so one texel enlarged is one flat square), one directional light and some
// ambient light. The same path serves the window, the command line and every test.
//
// Coordinates are the game's own, left-handed: +y up, the Sim facing +z, its left side at -x. The
// picture is what a viewer in front of the Sim sees: at turn 0 the Sim's left side (-x) is drawn in
// the right half, and +y is up.
namespace vestimo::platform::render {

struct RenderMesh {
    std::vector<float> positions;         // x, y, z per vertex
    std::vector<float> normals;           // x, y, z per vertex, or empty (then lit fully)
    std::vector<float> uvs;               // u, v per vertex (v = 0 is the picture's top row), or empty
    std::vector<std::uint32_t> triangles; // three vertex numbers per face
    QImage texture;                       // null: drawn flat grey
};

inline constexpr QRgb BackgroundColour = 0xff808080;
inline constexpr QRgb UntexturedColour = 0xffc8c8c8;

// Keeps its picture, depth buffer and converted textures between frames, so a window redrawing
// at every mouse move allocates nothing while the size stays the same.
class Renderer {
public:
    // Draws the scene into picture(). A scene past the limits is refused, and the picture is left
    // as it was. Vertices with a coordinate that is not a finite number are skipped with their faces.
    RenderError draw(const std::vector<RenderMesh>& meshes, const RenderView& view);
    // The same for meshes described without pictures: each texture is decoded from its file's
    // bytes once and kept while it is drawn.
    RenderError draw(const std::vector<SceneMesh>& meshes, const RenderView& view);
    const QImage& picture() const { return picture_; }

private:
    struct Projected {
        float x, y, depth, u, v;
        float light; // 0..256, and half a step
        bool ok;
    };
    struct Texture {
        qint64 key = 0;
        QImage image; // Format_RGB32
    };
    struct Frame; // from the scene to the picture
    const QImage* textureFor(const QImage& texture, std::vector<Texture>& next);
    void project(const RenderMesh& mesh, const Frame& frame);
    void fill(const Projected& a, const Projected& b, const Projected& c, const QImage* texture);

    QImage picture_;
    std::vector<float> depth_;
    std::vector<Projected> projected_;
    std::vector<Texture> textures_;
    std::vector<std::pair<QByteArray, QImage>> decoded_;
};

struct Rendered {
    QImage picture; // null when refused
    RenderError error = RenderError::None;
};

// One picture, for callers that draw once.
Rendered renderScene(const std::vector<RenderMesh>& meshes, const RenderView& view);
Rendered renderScene(const std::vector<SceneMesh>& meshes, const RenderView& view);

} // namespace vestimo::platform::render
