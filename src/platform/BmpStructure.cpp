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

std::uint32_t byte(std::string_view file, std::uint64_t at) {
    return static_cast<unsigned char>(file[static_cast<std::size_t>(at)]);
}

std::uint32_t read16(std::string_view file, std::uint64_t at) {
    return byte(file, at) | byte(file, at + 1) << 8;
}

std::uint32_t read32(std::string_view file, std::uint64_t at) {
    return read16(file, at) | read16(file, at + 2) << 16;
}

std::string num(std::uint64_t value) {
    return std::to_string(value);
}

std::string cutShort(const char* what, std::uint64_t have, std::uint64_t need) {
    return std::string(what) + " cut short at byte " + num(have) + " of " + num(need);
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
        const std::uint32_t count = byte(file, at);
        const std::uint32_t code = byte(file, at + 1);
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
    return "run-length data ends at byte " + num(size) + " without its end-of-bitmap marker";
}

// Whether the file starts with both headers of a kind known; empty when it does.
std::string headersProblem(std::string_view file) {
    const std::uint64_t size = file.size();
    if (size < 2 || file[0] != 'B' || file[1] != 'M') {
        return "not a BMP file";
    }
    if (size < FileHeaderSize + 4) {
        return cutShort("headers", size, FileHeaderSize + 4);
    }
    const std::uint32_t headerSize = read32(file, FileHeaderSize);
    if (!knownHeaderSize(headerSize)) {
        return "unknown bitmap header size " + num(headerSize);
    }
    if (size < FileHeaderSize + headerSize) {
        return cutShort("headers", size, FileHeaderSize + headerSize);
    }
    return {};
}

// What the two headers say, read where the kind of header has it.
struct Headers {
    std::uint64_t offset = 0; // of the pixel data
    std::uint32_t size = 0;   // of the bitmap header
    bool core = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = BiRgb;
    std::uint64_t coloursUsed = 0;
    int bits = 0;

    bool rle() const { return compression == BiRle8 || compression == BiRle4; }
};

Headers readHeaders(std::string_view file) {
    Headers headers;
    headers.offset = read32(file, 10);
    headers.size = read32(file, FileHeaderSize);
    headers.core = headers.size == CoreHeaderSize;
    const std::uint64_t h = FileHeaderSize;
    if (headers.core) {
        headers.width = read16(file, h + 4);
        headers.height = read16(file, h + 6);
        headers.planes = read16(file, h + 8);
    } else {
        headers.width = static_cast<std::int32_t>(read32(file, h + 4));
        headers.height = static_cast<std::int32_t>(read32(file, h + 8));
        headers.planes = read16(file, h + 12);
        headers.compression = read32(file, h + 16);
        headers.coloursUsed = read32(file, h + 32);
    }
    headers.bits = static_cast<int>(headers.core ? read16(file, h + 10) : read16(file, h + 14));
    return headers;
}

std::string impossibleSize(const Headers& headers) {
    return "impossible picture size " + std::to_string(headers.width) + " x " +
           std::to_string(headers.height);
}

// Whether the headers describe a picture a decoder can make; empty when they do.
std::string valuesProblem(const Headers& headers) {
    if (headers.width <= 0 || headers.height == 0) {
        return impossibleSize(headers);
    }
    if (headers.planes != 1) {
        return "plane count " + num(headers.planes) + " instead of 1";
    }
    if (!supportedDepthAndCompression(headers.size, headers.bits, headers.compression)) {
        return "unsupported compression " + num(headers.compression) + " with " +
               std::to_string(headers.bits) + " bits per pixel";
    }
    if (headers.rle() && headers.height < 0) {
        return "a run-length encoded bitmap stored top-down";
    }
    return {};
}

// Finds where the colour masks and colour table after the headers end; empty when the file holds them.
std::string tablesProblem(const Headers& headers, std::uint64_t size, std::uint64_t* end) {
    *end = FileHeaderSize + headers.size;
    // A BITMAPINFOHEADER with bit fields is followed by its three colour masks.
    if (headers.size == InfoHeaderSize && headers.compression == BiBitfields) {
        *end += 12;
        if (size < *end) {
            return cutShort("headers", size, *end);
        }
    }
    if (headers.bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << headers.bits;
        const std::uint64_t entries = headers.coloursUsed == 0 ? most : headers.coloursUsed;
        if (entries > most) {
            return "colour table of " + num(entries) + " entries for " + std::to_string(headers.bits) +
                   " bits per pixel";
        }
        *end += entries * (headers.core ? 3 : 4);
        if (size < *end) {
            return cutShort("colour table", size, *end);
        }
    }
    return {};
}

// Whether the pixel data starts after the tables and lies wholly inside the file; empty when so.
std::string pixelDataProblem(std::string_view file, const Headers& headers, std::uint64_t headersEnd) {
    const std::uint64_t size = file.size();
    const std::uint64_t offset = headers.offset;
    if (offset > size) {
        return "pixel-data offset " + num(offset) + " lies past the end of the file (" + num(size) +
               " bytes)";
    }
    if (offset < headersEnd) {
        return "pixel-data offset " + num(offset) + " lies inside the headers, which end at byte " +
               num(headersEnd);
    }
    if (headers.rle()) {
        return walkRle(file, offset, headers.compression == BiRle4);
    }
    const auto rows = static_cast<std::uint64_t>(headers.height < 0 ? -headers.height : headers.height);
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(headers.width) * static_cast<std::uint64_t>(headers.bits) + 31) / 32 * 4;
    if (rows > (std::numeric_limits<std::uint64_t>::max() - offset) / stride) {
        return impossibleSize(headers);
    }
    const std::uint64_t needed = offset + stride * rows;
    if (size < needed) {
        return cutShort("pixel data", size, needed);
    }
    return {};
}

} // namespace

BmpStructure checkBmpStructure(std::string_view file) {
    BmpStructure result;
    result.problem = headersProblem(file);
    if (!result.problem.empty()) {
        return result;
    }
    const Headers headers = readHeaders(file);
    result.width = static_cast<std::int32_t>(headers.width);
    result.height = static_cast<std::int32_t>(headers.height);
    result.bitsPerPixel = headers.bits;
    result.compression = headers.compression;
    std::uint64_t headersEnd = 0;
    result.problem = valuesProblem(headers);
    if (result.problem.empty()) {
        result.problem = tablesProblem(headers, file.size(), &headersEnd);
    }
    if (result.problem.empty()) {
        result.problem = pixelDataProblem(file, headers, headersEnd);
    }
    result.ok = result.problem.empty();
    return result;
}

} // namespace vestimo::platform
