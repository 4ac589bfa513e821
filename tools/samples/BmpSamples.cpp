#include "samples/BmpSamples.h"

#include <limits>
#include <stdexcept>
#include <vector>

namespace vestimo::samples {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr int CoreHeaderSize = 12;
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiRle8 = 1;
constexpr std::uint32_t PixelsPerMeter96Dpi = 3780;

void Put16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint32_t To32(std::size_t value) {
    if (value > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("bitmap too large for its header");
    }
    return static_cast<std::uint32_t>(value);
}

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    // splitmix64 finaliser: cheap and the same on every platform.
    std::uint64_t z =
        (static_cast<std::uint64_t>(a) << 32 | b) ^ (static_cast<std::uint64_t>(c) * 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

// Palette entry k as blue, green, red.
struct Colour {
    std::uint8_t b, g, r;
};

Colour PaletteEntry(std::uint32_t k, std::uint32_t seed) {
    return {static_cast<std::uint8_t>((k * 173 + seed * 7) & 0xFF),
            static_cast<std::uint8_t>((k * 91 + seed * 3) & 0xFF),
            static_cast<std::uint8_t>((k * 37 + seed * 11) & 0xFF)};
}

// Blocks of one colour (long runs) with bands of noise (literal stretches), so that RLE8 meets
// both of its modes. y counts from the top of the picture.
std::uint8_t IndexAt(int x, int y, std::uint32_t seed) {
    const auto ux = static_cast<std::uint32_t>(x);
    const auto uy = static_cast<std::uint32_t>(y);
    if ((uy / 8 + seed) % 4 == 0 && (ux / 24) % 2 == 1) {
        return static_cast<std::uint8_t>(Hash(ux, uy, seed) & 0xFF);
    }
    return static_cast<std::uint8_t>((ux / 16 * 7 + uy / 16 * 13 + seed) & 0xFF);
}

void Validate(const BmpOptions& o) {
    if (o.width <= 0 || o.height <= 0) {
        throw std::invalid_argument("bitmap width and height must be positive");
    }
    if (o.bitsPerPixel != 8 && o.bitsPerPixel != 24 && o.bitsPerPixel != 32) {
        throw std::invalid_argument("bitmap must have 8, 24 or 32 bits per pixel");
    }
    if (o.rle8 && o.bitsPerPixel != 8) {
        throw std::invalid_argument("RLE8 needs 8 bits per pixel");
    }
    if (o.rle8 && o.topDown) {
        throw std::invalid_argument("compressed bitmaps are always stored bottom-up");
    }
    const int h = o.headerSize;
    if (h != CoreHeaderSize && h != 40 && h != 52 && h != 56 && h != 108 && h != 124) {
        throw std::invalid_argument("unknown info header size");
    }
    if (h == CoreHeaderSize &&
        (o.rle8 || o.topDown || o.bitsPerPixel == 32 || o.width > 0xFFFF || o.height > 0xFFFF)) {
        throw std::invalid_argument("a core header holds only small uncompressed bottom-up bitmaps");
    }
}

std::vector<std::uint8_t> Row(const BmpOptions& o, int y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(o.width));
    for (int x = 0; x < o.width; ++x) {
        row[static_cast<std::size_t>(x)] = IndexAt(x, y, o.seed);
    }
    return row;
}

// One row in RLE8: runs of two or more equal bytes as (count, value); stretches of three or more
// unequal bytes in absolute mode (0, count, bytes, padded to a 16-bit boundary); one or two
// stray bytes as runs of one.
void EncodeRleRow(const std::vector<std::uint8_t>& row, std::string& out) {
    const std::size_t w = row.size();
    std::size_t i = 0;
    while (i < w) {
        std::size_t run = 1;
        while (i + run < w && run < 255 && row[i + run] == row[i]) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<char>(run));
            out.push_back(static_cast<char>(row[i]));
            i += run;
            continue;
        }
        std::size_t j = i;
        while (j < w && j - i < 255 && !(j + 1 < w && row[j] == row[j + 1])) {
            ++j;
        }
        const std::size_t n = j - i;
        if (n >= 3) {
            out.push_back(0);
            out.push_back(static_cast<char>(n));
            for (std::size_t k = i; k < j; ++k) {
                out.push_back(static_cast<char>(row[k]));
            }
            if (n % 2 == 1) {
                out.push_back(0);
            }
        } else {
            for (std::size_t k = i; k < j; ++k) {
                out.push_back(1);
                out.push_back(static_cast<char>(row[k]));
            }
        }
        i = j;
    }
}

std::string PixelData(const BmpOptions& o) {
    std::string out;
    const auto w = static_cast<std::size_t>(o.width);
    const std::size_t bytesPerPixel = static_cast<std::size_t>(o.bitsPerPixel) / 8;
    const std::size_t stride = (w * bytesPerPixel + 3) / 4 * 4;
    if (!o.rle8) {
        out.reserve(stride * static_cast<std::size_t>(o.height));
    }
    for (int fileRow = 0; fileRow < o.height; ++fileRow) {
        const int y = o.topDown ? fileRow : o.height - 1 - fileRow;
        const std::vector<std::uint8_t> row = Row(o, y);
        if (o.rle8) {
            EncodeRleRow(row, out);
            // End of line after every row but the last, which ends the bitmap instead.
            out.push_back(0);
            out.push_back(static_cast<char>(fileRow + 1 < o.height ? 0 : 1));
            continue;
        }
        const std::size_t start = out.size();
        for (const std::uint8_t index : row) {
            if (bytesPerPixel == 1) {
                out.push_back(static_cast<char>(index));
            } else {
                const Colour c = PaletteEntry(index, o.seed);
                out.push_back(static_cast<char>(c.b));
                out.push_back(static_cast<char>(c.g));
                out.push_back(static_cast<char>(c.r));
                if (bytesPerPixel == 4) {
                    out.push_back('\0'); // unused under BI_RGB
                }
            }
        }
        out.resize(start + stride, '\0');
    }
    return out;
}

std::size_t PaletteSize(const BmpOptions& o) {
    return o.bitsPerPixel == 8 ? 256 * (o.headerSize == CoreHeaderSize ? 3 : 4) : 0;
}

} // namespace

std::size_t NaturalBmpSize(const BmpOptions& options) {
    Validate(options);
    return FileHeaderSize + static_cast<std::size_t>(options.headerSize) + PaletteSize(options) +
           PixelData(options).size();
}

std::string MakeBmp(const BmpOptions& options) {
    Validate(options);
    const std::string pixels = PixelData(options);
    const auto headerSize = static_cast<std::size_t>(options.headerSize);
    const bool core = options.headerSize == CoreHeaderSize;
    const std::size_t headers = FileHeaderSize + headerSize + PaletteSize(options);
    const std::size_t natural = headers + pixels.size();
    const std::size_t total = options.fileSize > natural ? options.fileSize : natural;
    const std::size_t gap = total - natural;

    std::string out;
    out.reserve(total);
    out += "BM";
    put32(out, To32(total));
    Put16(out, 0);
    Put16(out, 0);
    put32(out, To32(headers + gap));

    put32(out, To32(headerSize));
    if (core) {
        Put16(out, static_cast<std::uint16_t>(options.width));
        Put16(out, static_cast<std::uint16_t>(options.height));
        Put16(out, 1);
        Put16(out, static_cast<std::uint16_t>(options.bitsPerPixel));
    } else {
        put32(out, static_cast<std::uint32_t>(options.width));
        const std::int32_t height = options.topDown ? -options.height : options.height;
        put32(out, static_cast<std::uint32_t>(height));
        Put16(out, 1);
        Put16(out, static_cast<std::uint16_t>(options.bitsPerPixel));
        put32(out, options.rle8 ? BiRle8 : BiRgb);
        put32(out, To32(pixels.size()));
        put32(out, PixelsPerMeter96Dpi);
        put32(out, PixelsPerMeter96Dpi);
        put32(out, options.bitsPerPixel == 8 ? 256 : 0);
        put32(out, 0);
        out.append(headerSize - InfoHeaderSize, '\0');
    }

    if (options.bitsPerPixel == 8) {
        for (std::uint32_t k = 0; k < 256; ++k) {
            const Colour c = PaletteEntry(k, options.seed);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
            if (!core) {
                out.push_back(0);
            }
        }
    }
    out.append(gap, '\0');
    out += pixels;
    return out;
}

std::string TruncateBmp(std::string_view bytes, std::size_t keep) {
    return std::string(bytes.substr(0, keep < bytes.size() ? keep : bytes.size()));
}

std::size_t TextureLimitFor(int width, int height) {
    for (const TextureLimit& limit : TextureLimits) {
        if (limit.width == width && limit.height == height) {
            return limit.maxFileSize;
        }
    }
    return 0;
}

} // namespace vestimo::samples
