#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// What to draw, described without pictures, so the floor that poses meshes can describe a scene
// without touching images. Coordinates as the renderer takes them (see Renderer.h).
namespace vestimo::platform::render {

struct SceneMesh {
    std::vector<float> positions;         // x, y, z per vertex
    std::vector<float> normals;           // x, y, z per vertex, or empty
    std::vector<float> uvs;               // u, v per vertex, or empty
    std::vector<std::uint32_t> triangles; // three vertex numbers per face
    QByteArray texture;                   // the texture file's bytes (a BMP); empty: drawn flat grey
};

struct RenderView {
    int width = 512;
    int height = 512;
    // Around the vertical axis through the scene's middle; 0 shows the Sim's face, 90 its left side.
    float turnDegrees = 0;
    // 1: the whole scene fits with a margin, at every turn; 2 draws it twice as large.
    float zoom = 1;
    // Moves the picture by this many pixels, right and down.
    float panX = 0;
    float panY = 0;
};

} // namespace vestimo::platform::render
