#include "samples/BmpSamples.h"

#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace vestimo::samples;

namespace {

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + i))) << (8 * i);
    }
    return value;
}

std::uint16_t U16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) |
                                      static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

std::int32_t S32(const std::string& bytes, std::size_t at) {
    return static_cast<std::int32_t>(U32(bytes, at));
}

BmpOptions Options(int width, int height, int bits = 8) {
    BmpOptions o;
    o.width = width;
    o.height = height;
    o.bitsPerPixel = bits;
    o.seed = 7;
    return o;
}

QImage Decode(const std::string& bytes) {
    QImage image;
    image.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP");
    return image;
}

QImage DecodeRgb(const std::string& bytes) {
    return Decode(bytes).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(BmpSamples, HeaderFieldsOfAPalettedBitmap) {
    const std::string bmp = MakeBmp(Options(256, 256));
    ASSERT_EQ(bmp.size(), 66614u); // 14 + 40 + 1024 + 256 * 256
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 14u + 40u + 1024u);
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(S32(bmp, 18), 256);
    EXPECT_EQ(S32(bmp, 22), 256);
    EXPECT_EQ(U16(bmp, 26), 1);
    EXPECT_EQ(U16(bmp, 28), 8);
    EXPECT_EQ(U32(bmp, 30), 0u);
    EXPECT_EQ(U32(bmp, 34), 65536u);
    EXPECT_EQ(U32(bmp, 46), 256u);
    EXPECT_EQ(NaturalBmpSize(Options(256, 256)), bmp.size());
}

TEST(BmpSamples, HeaderFieldsOfTrueColourTopDownAndRle) {
    BmpOptions o = Options(10, 3, 24);
    o.topDown = true;
    const std::string bmp = MakeBmp(o);
    EXPECT_EQ(bmp.size(), 54u + 3u * 32u); // rows of 30 bytes padded to 32
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(S32(bmp, 18), 10);
    EXPECT_EQ(S32(bmp, 22), -3);
    EXPECT_EQ(U16(bmp, 28), 24);

    BmpOptions r = Options(256, 256);
    r.rle8 = true;
    const std::string rle = MakeBmp(r);
    EXPECT_EQ(U32(rle, 30), 1u);
    EXPECT_EQ(U32(rle, 34), rle.size() - U32(rle, 10));
    EXPECT_EQ(U32(rle, 2), rle.size());
    EXPECT_LT(rle.size(), NaturalBmpSize(Options(256, 256)));
    EXPECT_EQ(rle.substr(rle.size() - 2), std::string("\0\1", 2)); // end of bitmap
}

TEST(BmpSamples, ExactFileSizeIsHonouredWithAGapBeforeThePixels) {
    for (const std::size_t size : {std::size_t{75000}, std::size_t{75001}}) {
        BmpOptions o = Options(256, 256);
        o.fileSize = size;
        const std::string bmp = MakeBmp(o);
        EXPECT_EQ(bmp.size(), size);
        EXPECT_EQ(U32(bmp, 2), size);
        EXPECT_EQ(U32(bmp, 10), size - 65536);
        const QImage image = Decode(bmp);
        ASSERT_FALSE(image.isNull()) << size;
        EXPECT_EQ(image.size(), QSize(256, 256));
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), DecodeRgb(MakeBmp(Options(256, 256))));
    }
}

TEST(BmpSamples, FileSizeBelowTheNaturalSizeKeepsTheNaturalSize) {
    BmpOptions o = Options(256, 256);
    o.fileSize = 1000;
    EXPECT_EQ(MakeBmp(o).size(), NaturalBmpSize(o));
    EXPECT_EQ(NaturalBmpSize(o), 66614u);
}

TEST(BmpSamples, QtDecodesEveryKindToTheSamePicture) {
    for (const auto& [w, h] :
         {std::pair{256, 256}, std::pair{512, 256}, std::pair{37, 5}, std::pair{1, 1}, std::pair{300, 2}}) {
        const QImage reference = DecodeRgb(MakeBmp(Options(w, h)));
        ASSERT_EQ(reference.size(), QSize(w, h));
        EXPECT_EQ(Decode(MakeBmp(Options(w, h))).format(), QImage::Format_Indexed8);

        BmpOptions topDown = Options(w, h);
        topDown.topDown = true;
        EXPECT_EQ(DecodeRgb(MakeBmp(topDown)), reference) << w << "x" << h << " top-down";

        BmpOptions rle = Options(w, h);
        rle.rle8 = true;
        EXPECT_EQ(DecodeRgb(MakeBmp(rle)), reference) << w << "x" << h << " RLE8";

        EXPECT_EQ(DecodeRgb(MakeBmp(Options(w, h, 24))), reference) << w << "x" << h << " 24-bit";
    }
}

TEST(BmpSamples, PicturesHaveBothRunsAndNoiseAndDependOnTheSeed) {
    const QImage image = Decode(MakeBmp(Options(256, 256)));
    EXPECT_GT(image.colorCount(), 0);
    int changes = 0;
    for (int x = 1; x < 256; ++x) {
        changes += image.pixelIndex(x, 0) != image.pixelIndex(x - 1, 0) ? 1 : 0;
    }
    EXPECT_GT(changes, 10);  // not one flat colour
    EXPECT_LT(changes, 250); // not all noise either
    BmpOptions other = Options(256, 256);
    other.seed = 8;
    EXPECT_NE(MakeBmp(other), MakeBmp(Options(256, 256)));
    EXPECT_EQ(MakeBmp(Options(256, 256)), MakeBmp(Options(256, 256)));
}

TEST(BmpSamples, TruncatedInItsHeaderDoesNotDecode) {
    const std::string bmp = MakeBmp(Options(64, 64));
    for (const std::size_t keep : {std::size_t{0}, std::size_t{10}, std::size_t{14}, std::size_t{30}}) {
        const std::string cut = TruncateBmp(bmp, keep);
        EXPECT_EQ(cut.size(), keep);
        EXPECT_TRUE(Decode(cut).isNull()) << keep;
    }
    EXPECT_EQ(TruncateBmp(bmp, bmp.size() + 5), bmp);
    EXPECT_EQ(U32(TruncateBmp(bmp, 20), 2), bmp.size()); // the header still claims the whole file
}

TEST(BmpSamples, ThirtyTwoBitPixelsShowTheSameColoursAsTwentyFour) {
    const std::string bmp = MakeBmp(Options(5, 3, 32));
    EXPECT_EQ(bmp.size(), 54u + 3u * 20u);
    EXPECT_EQ(U16(bmp, 28), 32);
    EXPECT_EQ(U32(bmp, 30), 0u); // BI_RGB: the fourth byte is unused
    EXPECT_EQ(NaturalBmpSize(Options(5, 3, 32)), bmp.size());
    const QImage wide = DecodeRgb(bmp);
    ASSERT_FALSE(wide.isNull());
    EXPECT_EQ(wide, DecodeRgb(MakeBmp(Options(5, 3, 24))));
    BmpOptions core = Options(5, 3, 32);
    core.headerSize = 12;
    EXPECT_THROW(MakeBmp(core), std::invalid_argument);
}

TEST(BmpSamples, RejectsOptionsThatMakeNoFile) {
    EXPECT_THROW(MakeBmp(Options(0, 5)), std::invalid_argument);
    EXPECT_THROW(MakeBmp(Options(5, -1)), std::invalid_argument);
    EXPECT_THROW(MakeBmp(Options(5, 5, 16)), std::invalid_argument);
    BmpOptions rle24 = Options(5, 5, 24);
    rle24.rle8 = true;
    EXPECT_THROW(MakeBmp(rle24), std::invalid_argument);
    BmpOptions rleTopDown = Options(5, 5);
    rleTopDown.rle8 = true;
    rleTopDown.topDown = true;
    EXPECT_THROW(MakeBmp(rleTopDown), std::invalid_argument);
}

TEST(BmpSamples, TextureLimits) {
    EXPECT_EQ(TextureLimitFor(256, 256), 75000u);
    EXPECT_EQ(TextureLimitFor(512, 256), 140000u);
    EXPECT_EQ(TextureLimitFor(256, 512), 0u);
    EXPECT_EQ(TextureLimitFor(32, 32), 3000u);
    for (const TextureLimit& limit : TextureLimits) {
        // Every accepted size fits under its limit as an 8-bit bitmap.
        EXPECT_LE(NaturalBmpSize(Options(limit.width, limit.height)), limit.maxFileSize);
    }
}
