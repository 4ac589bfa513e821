#include "platform/BmpStructure.h"

#include <limits>

namespace vestimo::platform {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiRle8 = 1;
constexpr std::uint32_t BiRle4 = 2;
constexpr std::uint32_t BiBitfields = 3;

std::uint32_t Byte(std::string_view file, std::uint64_t at) {
    return static_cast<unsigned char>(file[static_cast<std::size_t>(at)]);
}

std::uint32_t read16(std::string_view file, std::uint64_t at) {
    return Byte(file, at) | Byte(file, at + 1) << 8;
}

std::uint32_t read32(std::string_view file, std::uint64_t at) {
    return read16(file, at) | read16(file, at + 2) << 16;
}

std::string Num(std::uint64_t value) {
    return std::to_string(value);
}

std::string cutShort(const char* what, std::uint64_t have, std::uint64_t need) {
    return std::string(what) + " cut short at byte " + Num(have) + " of " + Num(need);
}

bool knownHeaderSize(std::uint32_t size) {
    return size == CoreHeaderSize || size == InfoHeaderSize || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

bool supportedDepthAndCompression(std::uint32_t headerSize, int bits, std::uint32_t compression) {
    if (headerSize == CoreHeaderSize) {
        return bits == 1 || bits == 4 || bits == 8 || bits == 24;
    }
    switch (compression) {
    case BiRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BiBitfields:
        return bits == 16 || bits == 32;
    case BiRle8:
        return bits == 8;
    case BiRle4:
        return bits == 4;
    default:
        return false;
    }
}

// Walks the run-length opcodes from `start` to the end-of-bitmap marker (00 01). Every step
// consumes at least two bytes, so the walk ends within the file's length.
std::string walkRle(std::string_view file, std::uint64_t start, bool fourBit) {
    const std::uint64_t size = file.size();
    std::uint64_t at = start;
    while (at + 2 <= size) {
        const std::uint32_t count = Byte(file, at);
        const std::uint32_t code = Byte(file, at + 1);
        if (count != 0 || code == 0) { // a run, or the end of a line
            at += 2;
            continue;
        }
        if (code == 1) {
            return {};
        }
        if (code == 2) { // delta: two more bytes, the right and down offsets
            at += 4;
            continue;
        }
        // Absolute mode: `code` pixels, padded to a 16-bit boundary.
        std::uint64_t literal = fourBit ? (code + 1) / 2 : code;
        literal += literal % 2;
        at += 2 + literal;
    }
    return "run-length data ends at byte " + Num(size) + " without its end-of-bitmap marker";
}

} // namespace

BmpStructure checkBmpStructure(std::string_view file) {
    BmpStructure result;
    const std::uint64_t size = file.size();
    if (size < 2 || file[0] != 'B' || file[1] != 'M') {
        result.problem = "not a BMP file";
        return result;
    }
    if (size < FileHeaderSize + 4) {
        result.problem = cutShort("headers", size, FileHeaderSize + 4);
        return result;
    }
    const std::uint64_t offset = read32(file, 10);
    const std::uint32_t headerSize = read32(file, FileHeaderSize);
    if (!knownHeaderSize(headerSize)) {
        result.problem = "unknown bitmap header size " + Num(headerSize);
        return result;
    }
    const bool core = headerSize == CoreHeaderSize;
    std::uint64_t headersEnd = FileHeaderSize + headerSize;
    if (size < headersEnd) {
        result.problem = cutShort("headers", size, headersEnd);
        return result;
    }

    const std::uint64_t h = FileHeaderSize;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = BiRgb;
    std::uint64_t coloursUsed = 0;
    if (core) {
        width = read16(file, h + 4);
        height = read16(file, h + 6);
        planes = read16(file, h + 8);
    } else {
        width = static_cast<std::int32_t>(read32(file, h + 4));
        height = static_cast<std::int32_t>(read32(file, h + 8));
        planes = read16(file, h + 12);
        compression = read32(file, h + 16);
        coloursUsed = read32(file, h + 32);
    }
    const int bits = static_cast<int>(core ? read16(file, h + 10) : read16(file, h + 14));
    result.width = static_cast<std::int32_t>(width);
    result.height = static_cast<std::int32_t>(height);
    result.bitsPerPixel = bits;
    result.compression = compression;

    if (width <= 0 || height == 0) {
        result.problem = "impossible picture size " + std::to_string(width) + " x " + std::to_string(height);
        return result;
    }
    if (planes != 1) {
        result.problem = "plane count " + Num(planes) + " instead of 1";
        return result;
    }
    if (!supportedDepthAndCompression(headerSize, bits, compression)) {
        result.problem = "unsupported compression " + Num(compression) + " with " + std::to_string(bits) +
                         " bits per pixel";
        return result;
    }
    const bool rle = compression == BiRle8 || compression == BiRle4;
    if (rle && height < 0) {
        result.problem = "a run-length encoded bitmap stored top-down";
        return result;
    }
    // A BITMAPINFOHEADER with bit fields is followed by its three colour masks.
    if (headerSize == InfoHeaderSize && compression == BiBitfields) {
        headersEnd += 12;
        if (size < headersEnd) {
            result.problem = cutShort("headers", size, headersEnd);
            return result;
        }
    }
    if (bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << bits;
        const std::uint64_t entries = coloursUsed == 0 ? most : coloursUsed;
        if (entries > most) {
            result.problem = "colour table of " + Num(entries) + " entries for " + std::to_string(bits) +
                             " bits per pixel";
            return result;
        }
        headersEnd += entries * (core ? 3 : 4);
        if (size < headersEnd) {
            result.problem = cutShort("colour table", size, headersEnd);
            return result;
        }
    }
    if (offset > size) {
        result.problem =
            "pixel-data offset " + Num(offset) + " lies past the end of the file (" + Num(size) + " bytes)";
        return result;
    }
    if (offset < headersEnd) {
        result.problem = "pixel-data offset " + Num(offset) + " lies inside the headers, which end at byte " +
                         Num(headersEnd);
        return result;
    }

    if (rle) {
        result.problem = walkRle(file, offset, compression == BiRle4);
        result.ok = result.problem.empty();
        return result;
    }
    const auto rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
    if (rows > (std::numeric_limits<std::uint64_t>::max() - offset) / stride) {
        result.problem = "impossible picture size " + std::to_string(width) + " x " + std::to_string(height);
        return result;
    }
    const std::uint64_t needed = offset + stride * rows;
    if (size < needed) {
        result.problem = cutShort("pixel data", size, needed);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace vestimo::platform
