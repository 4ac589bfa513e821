#pragma once

#include <cstdint>

// Why a scene was not drawn. Apart from the renderer so that the catalogue, which sees QtCore
// alone, can word it.
namespace vestimo::platform::render {

enum class RenderError {
    None,
    PictureSize,      // a side is not positive or larger than MaxPictureSide
    TooManyTriangles, // more than MaxTriangles in the whole scene
    TooManyVertices,  // more than MaxVertices in the whole scene
    MeshInconsistent, // arrays of mismatched lengths, or a face naming a vertex that is not there
};

inline constexpr int MaxPictureSide = 8192;
inline constexpr std::int64_t MaxTriangles = 1000000;
inline constexpr std::int64_t MaxVertices = 1000000;

} // namespace vestimo::platform::render
