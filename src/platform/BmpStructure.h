#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vestimo::platform {

// What a BMP file's headers say, and whether the file holds everything they promise. Plain bytes
// in, no picture decoded: a file passes only when it is a BMP whose pixel data lies wholly inside
// it (or, run-length encoded, reaches its end-of-bitmap marker), so a decoder never has to make
// up the missing part.
struct BmpStructure {
    bool ok = false;
    std::string problem; // why the file is not a sound BMP, when it is not
    std::int32_t width = 0;
    std::int32_t height = 0; // as stored: negative for a top-down bitmap
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

// Header kinds known: BITMAPCOREHEADER (12), BITMAPINFOHEADER (40), V2 (52), V3 (56),
// V4 (108) and V5 (124). Work is linear in the file's length.
BmpStructure checkBmpStructure(std::string_view file);

} // namespace vestimo::platform
