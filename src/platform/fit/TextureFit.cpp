#include "platform/fit/TextureFit.h"

#include "platform/BmpStructure.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <libimagequant.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace vestimo::platform {

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr qint64 InfoHeaderSize = 40;
constexpr qint64 PaletteEntries = 256;
constexpr qint64 PixelDataOffset = FileHeaderSize + InfoHeaderSize + 4 * PaletteEntries;
// 96 dots per inch, the resolution the program measures pictures at.
constexpr quint32 PixelsPerMetre = 3780;
// Far beyond any texture; keeps one conversion's memory within a few hundred megabytes.
constexpr qint64 PixelLimit = qint64{4096} * 4096;

qint64 rowStride(int width) {
    return (qint64{width} + 3) / 4 * 4;
}

void put16(QByteArray& bytes, qint64 at, quint16 value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void put32(QByteArray& bytes, qint64 at, quint32 value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

struct AttrFree {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct ImageFree {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct ResultFree {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

FitError problem(FitError::Kind kind, QString reason = {}) {
    return {kind, 0, std::move(reason)};
}

FitError liqReason(liq_error error) {
    switch (error) {
    case LIQ_OUT_OF_MEMORY:
        return problem(FitError::Kind::NoMemoryToReduce);
    case LIQ_QUALITY_TOO_LOW:
        return problem(FitError::Kind::QualityTooLow);
    default:
        return {FitError::Kind::NotReduced, static_cast<int>(error), {}};
    }
}

// Decodes as a BMP only, and only once its headers agree with its length: Qt's reader would make
// up whatever part of the pixel data is missing.
bool decode(const QByteArray& bytes, QImage* image, FitError* why, BmpFault* fault) {
    const BmpStructure structure =
        checkBmpStructure(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!structure.ok) {
        *why = problem(FitError::Kind::Structure);
        *fault = structure.fault;
        return false;
    }
    if (qint64{structure.width} * std::abs(qint64{structure.height}) > PixelLimit) {
        *why = problem(FitError::Kind::FarTooLarge);
        return false;
    }
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    if (!reader.read(image)) {
        *why = problem(FitError::Kind::NotDecoded, reader.errorString());
        return false;
    }
    return true;
}

// The file around `indices` (top row first, `width` bytes a row) and its palette.
QByteArray paletteBmp(int width, int height, const unsigned char* indices, const liq_palette& palette) {
    const qint64 stride = rowStride(width);
    const qint64 pixelBytes = stride * height;
    QByteArray file(PixelDataOffset + pixelBytes, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<quint32>(file.size()));
    put32(file, 10, static_cast<quint32>(PixelDataOffset));
    put32(file, 14, static_cast<quint32>(InfoHeaderSize));
    put32(file, 18, static_cast<quint32>(width));
    put32(file, 22, static_cast<quint32>(height)); // positive: bottom-up
    put16(file, 26, 1);                            // planes
    put16(file, 28, 8);                            // bits per pixel
    put32(file, 30, 0);                            // BI_RGB: uncompressed
    put32(file, 34, static_cast<quint32>(pixelBytes));
    put32(file, 38, PixelsPerMetre);
    put32(file, 42, PixelsPerMetre);
    put32(file, 46, static_cast<quint32>(PaletteEntries)); // colours used
    put32(file, 50, 0);                                    // all of them important
    // Entries past the quantiser's count stay black; no pixel refers to them.
    for (unsigned i = 0; i < palette.count && i < PaletteEntries; ++i) {
        const qint64 at = FileHeaderSize + InfoHeaderSize + 4 * qint64{i};
        file[at] = static_cast<char>(palette.entries[i].b);
        file[at + 1] = static_cast<char>(palette.entries[i].g);
        file[at + 2] = static_cast<char>(palette.entries[i].r);
    }
    for (int y = 0; y < height; ++y) {
        const qint64 at = PixelDataOffset + stride * (height - 1 - y);
        std::memcpy(file.data() + at, indices + qint64{width} * y, static_cast<std::size_t>(width));
    }
    return file;
}

} // namespace

qint64 fittedFileSize(int width, int height) {
    return PixelDataOffset + rowStride(width) * height;
}

FitResult fitTexture(const QByteArray& bmpBytes, const QList<QSize>& acceptedSizes) {
    FitResult result;
    QImage decoded;
    if (!decode(bmpBytes, &decoded, &result.error, &result.fault)) {
        result.outcome = FitOutcome::NotDecoded;
        return result;
    }
    result.width = decoded.width();
    result.height = decoded.height();
    if (!acceptedSizes.isEmpty() && !acceptedSizes.contains(decoded.size())) {
        result.outcome = FitOutcome::SizeRefused;
        result.error = problem(FitError::Kind::NotATextureSize);
        return result;
    }

    // Non-premultiplied, so a pixel's colour is what the file stores whatever its alpha says.
    QImage rgba = decoded.convertToFormat(QImage::Format_RGBA8888);
    decoded = QImage();
    if (rgba.isNull()) {
        result.outcome = FitOutcome::NotReduced;
        result.error = problem(FitError::Kind::NoMemoryToConvert);
        return result;
    }
    const int width = rgba.width();
    const int height = rgba.height();
    // Packed rows for the quantiser: QImage rows are 4-byte aligned already at 4 bytes a pixel.
    for (int y = 0; y < height; ++y) {
        uchar* row = rgba.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[4 * x + 3] = 0xFF;
        }
    }

    const std::unique_ptr<liq_attr, AttrFree> attr(liq_attr_create());
    if (!attr) {
        result.outcome = FitOutcome::NotReduced;
        result.error = liqReason(LIQ_OUT_OF_MEMORY);
        return result;
    }
    const std::unique_ptr<liq_image, ImageFree> image(
        liq_image_create_rgba(attr.get(), rgba.constBits(), width, height, 0.0));
    if (!image) {
        result.outcome = FitOutcome::NotReduced;
        result.error = liqReason(LIQ_OUT_OF_MEMORY);
        return result;
    }
    liq_result* quantized = nullptr;
    const liq_error quantizing = liq_image_quantize(image.get(), attr.get(), &quantized);
    const std::unique_ptr<liq_result, ResultFree> owned(quantized);
    if (quantizing != LIQ_OK || !owned) {
        result.outcome = FitOutcome::NotReduced;
        result.error = liqReason(quantizing);
        return result;
    }
    // Full dithering, as the library recommends; it softens the banding of skin gradients.
    liq_set_dithering_level(owned.get(), 1.0f);
    const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::unique_ptr<unsigned char[]> indices(new unsigned char[pixels]);
    const liq_error remapping = liq_write_remapped_image(owned.get(), image.get(), indices.get(), pixels);
    if (remapping != LIQ_OK) {
        result.outcome = FitOutcome::NotReduced;
        result.error = liqReason(remapping);
        return result;
    }
    // The palette is final only after remapping.
    const liq_palette* palette = liq_get_palette(owned.get());
    result.bytes = paletteBmp(width, height, indices.get(), *palette);
    result.outcome = FitOutcome::Fitted;
    return result;
}

} // namespace vestimo::platform
