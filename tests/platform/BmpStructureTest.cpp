#include "platform/BmpStructure.h"
#include "core/catalogue/Verdicts.h"
#include "platform/PictureImages.h"
#include "samples/BmpSamples.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vestimo::platform::checkBmpStructure;
using vestimo::samples::BmpOptions;
using vestimo::samples::MakeBmp;

namespace {

BmpOptions Options(int width, int height, int bits = 8) {
    BmpOptions o;
    o.width = width;
    o.height = height;
    o.bitsPerPixel = bits;
    o.seed = 5;
    return o;
}

void Patch32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The fault as the program words it.
std::string Problem(const std::string& bytes) {
    return vestimo::texts::bmpFault(checkBmpStructure(bytes).fault).toStdString();
}

// A 4-bit RLE4 bitmap of 4 x 2 pixels with a 16-colour palette, ending on `data`.
std::string Rle4(const std::string& data) {
    std::string out = "BM";
    const auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    put32(offset + static_cast<std::uint32_t>(data.size()));
    put32(0);
    put32(offset);
    for (const std::uint32_t v : {40u, 4u, 2u}) {
        put32(v);
    }
    out += std::string("\x01\x00\x04\x00", 4);
    for (const std::uint32_t v : {2u, static_cast<std::uint32_t>(data.size()), 0u, 0u, 16u, 0u}) {
        put32(v);
    }
    for (int k = 0; k < 16; ++k) {
        put32(static_cast<std::uint32_t>(k * 0x101010));
    }
    return out + data;
}

class PictureFiles : public ::testing::Test {
protected:
    QString write(const QString& name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
                  static_cast<qint64>(bytes.size()));
        return path;
    }
    QTemporaryDir dir;
};

std::string encoded(const char* format) {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes.toStdString();
}

} // namespace

TEST(BmpStructure, SoundBitmapsOfEveryHeaderKindPass) {
    for (const int header : {12, 40, 52, 56, 108, 124}) {
        for (const int bits : {8, 24}) {
            BmpOptions o = Options(64, 32, bits);
            o.headerSize = header;
            const auto verdict = checkBmpStructure(MakeBmp(o));
            EXPECT_TRUE(verdict.ok) << header << "/" << bits << ": " << Problem(MakeBmp(o));
            EXPECT_EQ(verdict.width, 64);
            EXPECT_EQ(verdict.height, 32);
            EXPECT_EQ(verdict.bitsPerPixel, bits);
            if (header == 12) {
                continue;
            }
            o.topDown = true;
            EXPECT_TRUE(checkBmpStructure(MakeBmp(o)).ok) << header << "/" << bits << " top-down";
            EXPECT_EQ(checkBmpStructure(MakeBmp(o)).height, -32);
        }
    }
    BmpOptions padded = Options(256, 256);
    padded.fileSize = 75000; // a gap before the pixel data
    EXPECT_TRUE(checkBmpStructure(MakeBmp(padded)).ok);
}

TEST(BmpStructure, PixelDataMustLieWhollyInsideTheFile) {
    const std::string full = MakeBmp(Options(256, 256, 24));
    ASSERT_EQ(full.size(), 14u + 40 + 256 * 768);
    const std::string half = vestimo::samples::TruncateBmp(full, 14 + 40 + 128 * 768);
    EXPECT_EQ(Problem(half), "pixel data cut short at byte 98358 of 196662");
    EXPECT_EQ(Problem(full.substr(0, full.size() - 1)), "pixel data cut short at byte 196661 of 196662");
    // Rows are padded to four bytes: 3 x 3 at 24 bits needs 12 bytes a row.
    const std::string odd = MakeBmp(Options(3, 3, 24));
    EXPECT_EQ(odd.size(), 14u + 40 + 36);
    EXPECT_EQ(Problem(odd.substr(0, odd.size() - 2)), "pixel data cut short at byte 88 of 90");
}

TEST(BmpStructure, OffsetsAndHeadersThatDisagreeWithTheFile) {
    std::string bmp = MakeBmp(Options(64, 64));
    const std::size_t size = bmp.size();
    Patch32(bmp, 10, static_cast<std::uint32_t>(size + 1));
    EXPECT_EQ(Problem(bmp), "pixel-data offset " + std::to_string(size + 1) +
                                " lies past the end of the file (" + std::to_string(size) + " bytes)");
    Patch32(bmp, 10, static_cast<std::uint32_t>(size)); // at the very end: no pixel data at all
    EXPECT_EQ(Problem(bmp), "pixel data cut short at byte " + std::to_string(size) + " of " +
                                std::to_string(size + 64 * 64));
    Patch32(bmp, 10, 54); // inside the colour table
    EXPECT_EQ(Problem(bmp), "pixel-data offset 54 lies inside the headers, which end at byte 1078");

    const std::string good = MakeBmp(Options(64, 64));
    EXPECT_EQ(Problem(good.substr(0, 12)), "headers cut short at byte 12 of 18");
    EXPECT_EQ(Problem(good.substr(0, 30)), "headers cut short at byte 30 of 54");
    EXPECT_EQ(Problem(good.substr(0, 154)), "colour table cut short at byte 154 of 1078");
    std::string odd = good;
    Patch32(odd, 14, 64); // the OS/2 2.x header, which the game does not read
    EXPECT_EQ(Problem(odd), "unknown bitmap header size 64");
    odd = good;
    Patch32(odd, 30, 4); // BI_JPEG
    EXPECT_EQ(Problem(odd), "unsupported compression 4 with 8 bits per pixel");
    odd = good;
    Patch32(odd, 18, 0);
    EXPECT_EQ(Problem(odd), "impossible picture size 0 x 64");
    odd = good;
    Patch32(odd, 46, 300); // colours used
    EXPECT_EQ(Problem(odd), "colour table of 300 entries for 8 bits per pixel");
    odd = good;
    odd[26] = 2; // planes
    EXPECT_EQ(Problem(odd), "plane count 2 instead of 1");
}

TEST(BmpStructure, OnlyTheBmpSignatureCounts) {
    EXPECT_EQ(Problem(""), "not a BMP file");
    EXPECT_EQ(Problem("B"), "not a BMP file");
    EXPECT_EQ(Problem("just some text"), "not a BMP file");
    EXPECT_EQ(Problem(std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, '\0')), "not a BMP file");
    EXPECT_EQ(Problem(std::string("\xFF\xD8\xFF\xE0", 4) + std::string(100, '\0')), "not a BMP file");
    std::string array = MakeBmp(Options(32, 32));
    array[1] = 'A'; // an OS/2 bitmap array
    EXPECT_EQ(Problem(array), "not a BMP file");
}

TEST(BmpStructure, RunLengthDataMustReachItsEndMarker) {
    BmpOptions o = Options(256, 256);
    o.rle8 = true;
    const std::string rle = MakeBmp(o);
    ASSERT_TRUE(checkBmpStructure(rle).ok) << Problem(rle);
    ASSERT_EQ(rle.substr(rle.size() - 2), std::string("\0\x01", 2));
    const std::string cut = rle.substr(0, rle.size() - 2);
    EXPECT_EQ(Problem(cut), "run-length data ends at byte " + std::to_string(cut.size()) +
                                " without its end-of-bitmap marker");
    const std::string half = rle.substr(0, rle.size() / 2);
    EXPECT_EQ(Problem(half), "run-length data ends at byte " + std::to_string(half.size()) +
                                 " without its end-of-bitmap marker");
    // An absolute stretch of 200 pixels whose bytes are not there: the marker inside it is data.
    std::string stretch = rle.substr(0, 14 + 40 + 1024) + std::string("\0\xC8", 2) + std::string(10, '\1') +
                          std::string("\0\x01", 2);
    Patch32(stretch, 2, static_cast<std::uint32_t>(stretch.size()));
    EXPECT_EQ(Problem(stretch), "run-length data ends at byte " + std::to_string(stretch.size()) +
                                    " without its end-of-bitmap marker");
    std::string topDown = rle;
    Patch32(topDown, 22, static_cast<std::uint32_t>(-256));
    EXPECT_EQ(Problem(topDown), "a run-length encoded bitmap stored top-down");

    // RLE4: a run of four, end of line, a delta, an absolute stretch of three (two bytes, padded), end.
    const std::string rle4 = std::string("\x04\x12\0\0\0\x02\x01\x00\0\x03\x12\x30\0\x01", 14);
    EXPECT_TRUE(checkBmpStructure(Rle4(rle4)).ok) << Problem(Rle4(rle4));
    EXPECT_EQ(Problem(Rle4(rle4.substr(0, 10))),
              "run-length data ends at byte 128 without its end-of-bitmap marker");
}

TEST_F(PictureFiles, OnlySoundBmpFilesLoadAndEveryHeaderKindDecodesAlike) {
    const QImage reference = QImage::fromData(QByteArray::fromStdString(MakeBmp(Options(64, 32))), "BMP")
                                 .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull());
    for (const int header : {12, 40, 52, 56, 108, 124}) {
        BmpOptions o = Options(64, 32);
        o.headerSize = header;
        const std::string bytes = MakeBmp(o);
        const auto load = vestimo::platform::loadPicture(write(QStringLiteral("h%1.bmp").arg(header), bytes));
        ASSERT_TRUE(load.ok) << header;
        EXPECT_EQ(load.image.convertToFormat(QImage::Format_RGB32), reference) << header;
        EXPECT_EQ(load.bytes, QByteArray::fromStdString(bytes)) << "the file's own bytes are kept";
    }
    const struct {
        const char* name;
        std::string bytes;
        QString error;
    } bad[] = {
        {"png.bmp", encoded("PNG"), "not a BMP file"},
        {"jpeg.bmp", encoded("JPEG"), "not a BMP file"},
        {"cut.bmp", vestimo::samples::TruncateBmp(MakeBmp(Options(256, 256, 24)), 98358),
         "pixel data cut short at byte 98358 of 196662"},
    };
    for (const auto& file : bad) {
        const QString path = write(QString::fromLatin1(file.name), file.bytes);
        const auto load = vestimo::platform::loadPicture(path);
        EXPECT_FALSE(load.ok) << file.name;
        EXPECT_EQ(vestimo::texts::pictureProblem(load.problem), file.error) << file.name;
        EXPECT_TRUE(load.image.isNull());
        EXPECT_TRUE(load.bytes.isEmpty());
        const auto size = vestimo::platform::measurePicture(path);
        EXPECT_FALSE(size.ok) << file.name;
        EXPECT_EQ(size.problem, load.problem) << file.name;
    }
    BmpOptions top = Options(256, 256);
    top.topDown = true;
    const auto size = vestimo::platform::measurePicture(write("top.bmp", MakeBmp(top)));
    EXPECT_TRUE(size.ok);
    EXPECT_EQ(size.height, 256);
}
