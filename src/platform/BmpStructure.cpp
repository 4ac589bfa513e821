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

using Kind = BmpFault::Kind;
using Part = BmpFault::Part;

BmpFault fault(Kind kind) {
    BmpFault found;
    found.kind = kind;
    return found;
}

BmpFault cutShort(Part part, std::uint64_t have, std::uint64_t need) {
    BmpFault found = fault(Kind::CutShort);
    found.part = part;
    found.have = have;
    found.need = need;
    return found;
}

BmpFault withValue(Kind kind, std::uint64_t value, int bits = 0) {
    BmpFault found = fault(kind);
    found.value = value;
    found.bits = bits;
    return found;
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
BmpFault walkRle(std::string_view file, std::uint64_t start, bool fourBit) {
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
    BmpFault found = fault(Kind::RleUnterminated);
    found.have = size;
    return found;
}

// Whether the file starts with both headers of a kind known; none when it does.
BmpFault headersProblem(std::string_view file) {
    const std::uint64_t size = file.size();
    if (size < 2 || file[0] != 'B' || file[1] != 'M') {
        return fault(Kind::NotBmp);
    }
    if (size < FileHeaderSize + 4) {
        return cutShort(Part::Headers, size, FileHeaderSize + 4);
    }
    const std::uint32_t headerSize = read32(file, FileHeaderSize);
    if (!knownHeaderSize(headerSize)) {
        return withValue(Kind::UnknownHeaderSize, headerSize);
    }
    if (size < FileHeaderSize + headerSize) {
        return cutShort(Part::Headers, size, FileHeaderSize + headerSize);
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

BmpFault impossibleSize(const Headers& headers) {
    BmpFault found = fault(Kind::ImpossibleSize);
    found.width = headers.width;
    found.height = headers.height;
    return found;
}

// Whether the headers describe a picture a decoder can make; none when they do.
BmpFault valuesProblem(const Headers& headers) {
    if (headers.width <= 0 || headers.height == 0) {
        return impossibleSize(headers);
    }
    if (headers.planes != 1) {
        return withValue(Kind::PlaneCount, headers.planes);
    }
    if (!supportedDepthAndCompression(headers.size, headers.bits, headers.compression)) {
        return withValue(Kind::UnsupportedCompression, headers.compression, headers.bits);
    }
    if (headers.rle() && headers.height < 0) {
        return fault(Kind::RleTopDown);
    }
    return {};
}

// Finds where the colour masks and colour table after the headers end; none when the file holds them.
BmpFault tablesProblem(const Headers& headers, std::uint64_t size, std::uint64_t* end) {
    *end = FileHeaderSize + headers.size;
    // A BITMAPINFOHEADER with bit fields is followed by its three colour masks.
    if (headers.size == InfoHeaderSize && headers.compression == BiBitfields) {
        *end += 12;
        if (size < *end) {
            return cutShort(Part::Headers, size, *end);
        }
    }
    if (headers.bits <= 8) {
        const std::uint64_t most = std::uint64_t{1} << headers.bits;
        const std::uint64_t entries = headers.coloursUsed == 0 ? most : headers.coloursUsed;
        if (entries > most) {
            return withValue(Kind::ColourTableTooLong, entries, headers.bits);
        }
        *end += entries * (headers.core ? 3 : 4);
        if (size < *end) {
            return cutShort(Part::ColourTable, size, *end);
        }
    }
    return {};
}

// Whether the pixel data starts after the tables and lies wholly inside the file; none when so.
BmpFault pixelDataProblem(std::string_view file, const Headers& headers, std::uint64_t headersEnd) {
    const std::uint64_t size = file.size();
    const std::uint64_t offset = headers.offset;
    if (offset > size) {
        BmpFault found = withValue(Kind::OffsetPastEnd, offset);
        found.have = size;
        return found;
    }
    if (offset < headersEnd) {
        BmpFault found = withValue(Kind::OffsetInsideHeaders, offset);
        found.need = headersEnd;
        return found;
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
        return cutShort(Part::PixelData, size, needed);
    }
    return {};
}

} // namespace

BmpStructure checkBmpStructure(std::string_view file) {
    BmpStructure result;
    result.fault = headersProblem(file);
    if (result.fault.kind != Kind::None) {
        return result;
    }
    const Headers headers = readHeaders(file);
    result.width = static_cast<std::int32_t>(headers.width);
    result.height = static_cast<std::int32_t>(headers.height);
    result.bitsPerPixel = headers.bits;
    result.compression = headers.compression;
    std::uint64_t headersEnd = 0;
    result.fault = valuesProblem(headers);
    if (result.fault.kind == Kind::None) {
        result.fault = tablesProblem(headers, file.size(), &headersEnd);
    }
    if (result.fault.kind == Kind::None) {
        result.fault = pixelDataProblem(file, headers, headersEnd);
    }
    result.ok = result.fault.kind == Kind::None;
    return result;
}

} // namespace vestimo::platform
