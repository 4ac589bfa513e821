#pragma once

#include <cstdint>
#include <string_view>

namespace vestimo::platform {

// Why a file is not a sound BMP, as facts; the words for them are the catalogue's (texts::bmpFault).
struct BmpFault {
    enum class Kind {
        None,
        NotBmp,                 // no "BM" signature
        CutShort,               // `part` ends at byte `have` of the `need` it takes
        UnknownHeaderSize,      // `value`: the bitmap header's size
        ImpossibleSize,         // `width` x `height`
        PlaneCount,             // `value` planes instead of 1
        UnsupportedCompression, // compression `value` with `bits` bits per pixel
        RleTopDown,             // run-length encoded and stored top-down
        ColourTableTooLong,     // `value` entries for `bits` bits per pixel
        OffsetPastEnd,          // pixel data at `value`, the file `have` bytes long
        OffsetInsideHeaders,    // pixel data at `value`, the headers ending at byte `need`
        RleUnterminated,        // run-length data ends at byte `have` without its marker
    };
    enum class Part { Headers, ColourTable, PixelData };

    Kind kind = Kind::None;
    Part part = Part::Headers;
    std::uint64_t value = 0;
    std::uint64_t have = 0;
    std::uint64_t need = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bits = 0;

    bool operator==(const BmpFault&) const = default;
};

// What a BMP file's headers say, and whether the file holds everything they promise. Plain bytes
// in, no picture decoded: a file passes only when it is a BMP whose pixel data lies wholly inside
// it (or, run-length encoded, reaches its end-of-bitmap marker), so a decoder never has to make
// up the missing part.
struct BmpStructure {
    bool ok = false;
    BmpFault fault; // why the file is not a sound BMP, when it is not
    std::int32_t width = 0;
    std::int32_t height = 0; // as stored: negative for a top-down bitmap
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

// Header kinds known: BITMAPCOREHEADER (12), BITMAPINFOHEADER (40), V2 (52), V3 (56),
// V4 (108) and V5 (124). Work is linear in the file's length.
BmpStructure checkBmpStructure(std::string_view file);

} // namespace vestimo::platform
