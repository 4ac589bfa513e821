#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Windows BMP files made in memory, for tests, benchmarks and the demo directory.
namespace vestimo::samples {

struct BmpOptions {
    int width = 256;
    int height = 256;
    int bitsPerPixel = 8;   // 8 (with a 256-entry palette), 24, or 32 (BI_RGB, the fourth byte 0)
    bool topDown = false;   // negative height in the header; not allowed together with rle8
    bool rle8 = false;      // BI_RLE8 compression; 8-bit only
    std::uint32_t seed = 0; // picks the palette and the pixel pattern
    // The info header's size: 40 (BITMAPINFOHEADER); 12 (BITMAPCOREHEADER: 16-bit width and
    // height, 3-byte palette entries, bottom-up and uncompressed only); 52, 56, 108 or 124 (the
    // V2 to V5 headers, their extra fields zero).
    int headerSize = 40;
    // 0: the natural size. Larger: the file is padded to exactly this many bytes with a gap before
    // the pixel data. Smaller than the natural size: the natural size is kept (see NaturalBmpSize).
    std::size_t fileSize = 0;
};

// The file: BITMAPFILEHEADER, the info header (see headerSize), palette, gap, pixel data.
// Throws std::invalid_argument for options that make no valid file.
std::string MakeBmp(const BmpOptions& options);

// The length MakeBmp gives when fileSize is 0.
std::size_t NaturalBmpSize(const BmpOptions& options);

// The first `keep` bytes of `bytes` (all of them when shorter); the header still claims the full size.
std::string TruncateBmp(std::string_view bytes, std::size_t keep);

// The accepted skin texture sizes and their largest valid file lengths, width first. Kept here on
// their own so that samples do not take their expectations from the code under test.
struct TextureLimit {
    int width;
    int height;
    std::size_t maxFileSize;
};
inline constexpr TextureLimit TextureLimits[] = {
    {256, 256, 75000}, {512, 256, 140000}, {256, 128, 38000},
    {128, 128, 22000}, {64, 64, 9000},     {32, 32, 3000},
};

// The limit of an accepted size; 0 for a size the game does not accept.
std::size_t TextureLimitFor(int width, int height);

} // namespace vestimo::samples
