#include "platform/fit/TextureFit.h"
#include "core/catalogue/PlatformErrors.h"
#include "platform/BmpStructure.h"
#include "samples/BmpSamples.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vestimo::platform {
namespace {

// A smooth, skin-coloured picture with a little shading, the kind of surface that shows banding
// when its colours are cut down badly.
QRgb skinColour(int x, int y, int width, int height) {
    const int r = 150 + 90 * x / width;
    const int g = 95 + 70 * y / height;
    const int b = 60 + 50 * (x + y) / (width + height);
    return qRgb(r, g, b);
}

void put16(std::string& bytes, std::size_t at, unsigned value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
void put32(std::string& bytes, std::size_t at, unsigned value) {
    for (unsigned i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A true-colour BMP of skinColour: 24-bit, or 32-bit BI_RGB, or 32-bit with a V4 header whose
// alpha mask makes every other column fully transparent.
enum class Depth { Bits24, Bits32, Bits32Alpha };
QByteArray gradientBmp(int width, int height, Depth depth) {
    const unsigned bytesPerPixel = depth == Depth::Bits24 ? 3 : 4;
    const unsigned headerSize = depth == Depth::Bits32Alpha ? 108 : 40;
    const unsigned stride = (static_cast<unsigned>(width) * bytesPerPixel + 3) / 4 * 4;
    const unsigned offset = 14 + headerSize;
    std::string file(offset + stride * static_cast<unsigned>(height), '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<unsigned>(file.size()));
    put32(file, 10, offset);
    put32(file, 14, headerSize);
    put32(file, 18, static_cast<unsigned>(width));
    put32(file, 22, static_cast<unsigned>(height));
    put16(file, 26, 1);
    put16(file, 28, bytesPerPixel * 8);
    put32(file, 30, depth == Depth::Bits32Alpha ? 3 : 0);
    put32(file, 34, stride * static_cast<unsigned>(height));
    if (depth == Depth::Bits32Alpha) {
        put32(file, 54, 0x00FF0000);
        put32(file, 58, 0x0000FF00);
        put32(file, 62, 0x000000FF);
        put32(file, 66, 0xFF000000);
        put32(file, 70, 0x73524742); // sRGB
    }
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * static_cast<unsigned>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const QRgb c = skinColour(x, y, width, height);
            const std::size_t at = row + bytesPerPixel * static_cast<unsigned>(x);
            file[at] = static_cast<char>(qBlue(c));
            file[at + 1] = static_cast<char>(qGreen(c));
            file[at + 2] = static_cast<char>(qRed(c));
            if (bytesPerPixel == 4) {
                file[at + 3] = static_cast<char>(depth == Depth::Bits32Alpha && x % 2 == 1 ? 0 : 0xFF);
            }
        }
    }
    return QByteArray(file.data(), static_cast<qsizetype>(file.size()));
}

QImage decodeBmp(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    return reader.read();
}

quint32 get32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}
quint16 get16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<unsigned char>(bytes[at]) |
                                static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Mean absolute difference per channel between the fitted picture and the generated colours.
double meanChannelError(const QImage& fitted, int width, int height) {
    const QImage rgb = fitted.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb want = skinColour(x, y, width, height);
            const QRgb got = rgb.pixel(x, y);
            sum += std::abs(qRed(want) - qRed(got)) + std::abs(qGreen(want) - qGreen(got)) +
                   std::abs(qBlue(want) - qBlue(got));
        }
    }
    return sum / (3.0 * width * height);
}

// The bound the fitted skins are held to: on average within 3 of 255 per channel.
constexpr double MaxMeanChannelError = 3.0;

class EveryTextureSize : public ::testing::TestWithParam<std::tuple<samples::TextureLimit, Depth>> {};

TEST_P(EveryTextureSize, OversizedTextureBecomesAnExact8BitPaletteBmpUnderItsLimit) {
    const auto [limit, depth] = GetParam();
    const QByteArray input = gradientBmp(limit.width, limit.height, depth);
    ASSERT_GT(static_cast<std::size_t>(input.size()), limit.maxFileSize)
        << "the input must be over its limit";

    const FitResult fit = fitTexture(input, {QSize(limit.width, limit.height)});
    ASSERT_EQ(fit.outcome, FitOutcome::Fitted) << texts::fitError(fit).toStdString();
    EXPECT_EQ(fit.width, limit.width);
    EXPECT_EQ(fit.height, limit.height);

    const QByteArray& out = fit.bytes;
    const qsizetype stride = (limit.width + 3) / 4 * 4;
    ASSERT_EQ(out.size(), 14 + 40 + 1024 + stride * limit.height);
    EXPECT_EQ(out.size(), fittedFileSize(limit.width, limit.height));
    EXPECT_LE(static_cast<std::size_t>(out.size()), limit.maxFileSize);
    EXPECT_EQ(out.left(2), QByteArray("BM"));
    EXPECT_EQ(get32(out, 2), static_cast<quint32>(out.size()));
    EXPECT_EQ(get32(out, 10), 1078u);
    EXPECT_EQ(get32(out, 14), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(static_cast<qint32>(get32(out, 18)), limit.width);
    EXPECT_EQ(static_cast<qint32>(get32(out, 22)), limit.height); // positive: bottom-up
    EXPECT_EQ(get16(out, 26), 1);
    EXPECT_EQ(get16(out, 28), 8);
    EXPECT_EQ(get32(out, 30), 0u); // uncompressed
    EXPECT_EQ(get32(out, 34), static_cast<quint32>(stride * limit.height));
    EXPECT_EQ(get32(out, 46), 256u);

    const BmpStructure structure =
        checkBmpStructure(std::string_view(out.constData(), static_cast<std::size_t>(out.size())));
    EXPECT_TRUE(structure.ok);
    EXPECT_EQ(structure.bitsPerPixel, 8);

    const QImage decoded = decodeBmp(out);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), QSize(limit.width, limit.height));
    EXPECT_EQ(decoded.format(), QImage::Format_Indexed8);
    EXPECT_LT(meanChannelError(decoded, limit.width, limit.height), MaxMeanChannelError);
}

std::string sizeName(const ::testing::TestParamInfo<EveryTextureSize::ParamType>& info) {
    const auto [limit, depth] = info.param;
    const char* bits = depth == Depth::Bits24 ? "24bit" : depth == Depth::Bits32 ? "32bit" : "32bitAlpha";
    return std::to_string(limit.width) + "x" + std::to_string(limit.height) + "_" + bits;
}

INSTANTIATE_TEST_SUITE_P(Fit, EveryTextureSize,
                         ::testing::Combine(::testing::ValuesIn(samples::TextureLimits),
                                            ::testing::Values(Depth::Bits24, Depth::Bits32)),
                         sizeName);

TEST(TextureFit, AlphaIsIgnoredSoTransparentPixelsKeepTheirStoredColour) {
    const QByteArray input = gradientBmp(64, 64, Depth::Bits32Alpha);
    ASSERT_TRUE(decodeBmp(input).hasAlphaChannel()) << "the input must really carry alpha";
    const FitResult fit = fitTexture(input);
    ASSERT_EQ(fit.outcome, FitOutcome::Fitted) << texts::fitError(fit).toStdString();
    // Flattened onto black, the transparent half would be far off the stored colours.
    EXPECT_LT(meanChannelError(decodeBmp(fit.bytes), 64, 64), MaxMeanChannelError);
}

TEST(TextureFit, PaletteInputIsRewrittenToo) {
    const std::string sample = samples::MakeBmp({.width = 128, .height = 128, .bitsPerPixel = 8, .seed = 7});
    const QByteArray input(sample.data(), static_cast<qsizetype>(sample.size()));
    const FitResult fit = fitTexture(input);
    ASSERT_EQ(fit.outcome, FitOutcome::Fitted) << texts::fitError(fit).toStdString();
    EXPECT_EQ(fit.bytes.size(), fittedFileSize(128, 128));
    // At most 256 colours in, so every pixel can keep its exact colour.
    const QImage before = decodeBmp(input).convertToFormat(QImage::Format_RGB32);
    const QImage after = decodeBmp(fit.bytes).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(before, after);
}

TEST(TextureFit, OddWidthRowsArePaddedToFourBytes) {
    const FitResult fit = fitTexture(gradientBmp(33, 5, Depth::Bits24));
    ASSERT_EQ(fit.outcome, FitOutcome::Fitted) << texts::fitError(fit).toStdString();
    EXPECT_EQ(fit.bytes.size(), 1078 + 36 * 5);
    EXPECT_EQ(decodeBmp(fit.bytes).size(), QSize(33, 5));
}

TEST(TextureFit, RefusesWhatDoesNotDecodeAndSizesNotAccepted) {
    const FitResult text = fitTexture(QByteArray("not a picture at all"));
    EXPECT_EQ(text.outcome, FitOutcome::NotDecoded);
    EXPECT_EQ(text.fault.kind, vestimo::platform::BmpFault::Kind::NotBmp);
    EXPECT_TRUE(text.bytes.isEmpty());

    EXPECT_EQ(fitTexture(QByteArray()).outcome, FitOutcome::NotDecoded);

    // Headers that promise more pixels than the file holds are not made up by the decoder.
    const std::string whole = samples::MakeBmp({.width = 64, .height = 64, .bitsPerPixel = 24});
    const std::string cut = samples::TruncateBmp(whole, whole.size() / 2);
    const FitResult truncated = fitTexture(QByteArray(cut.data(), static_cast<qsizetype>(cut.size())));
    EXPECT_EQ(truncated.outcome, FitOutcome::NotDecoded);
    EXPECT_EQ(truncated.fault.kind, vestimo::platform::BmpFault::Kind::CutShort);

    const FitResult refused =
        fitTexture(gradientBmp(100, 60, Depth::Bits24), {QSize(256, 256), QSize(64, 64)});
    EXPECT_EQ(refused.outcome, FitOutcome::SizeRefused);
    EXPECT_EQ(refused.width, 100);
    EXPECT_EQ(refused.height, 60);
    EXPECT_TRUE(refused.bytes.isEmpty());
    EXPECT_EQ(texts::fitError(refused), QStringLiteral("100 x 60 is not a texture size"));
}

} // namespace
} // namespace vestimo::platform
