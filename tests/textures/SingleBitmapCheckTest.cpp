#include "support/AppFixture.h"

#include "core/catalogue/SingleChecks.h"
#include "samples/BmpSamples.h"

#include <QBuffer>
#include <QImage>

using namespace vestimo;

namespace {

// A bitmap of the given size padded with trailing bytes to exactly `length` bytes.
QByteArray Bitmap(int width, int height, qint64 length) {
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorCount(256);
    for (int i = 0; i < 256; ++i) {
        image.setColor(i, qRgb(i, i, i));
    }
    image.fill(7);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    EXPECT_LE(bytes.size(), length);
    bytes.append(QByteArray(length - bytes.size(), '\0'));
    return bytes;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

} // namespace

class CheckingOneBitmap : public test::AppFixture {
protected:
    // Writes the bitmap, selects it (which shows it in the viewer) and presses "Check BMP File".
    QString check(const QString& name, int width, int height, qint64 length) {
        skins.write(name, Bitmap(width, height, length));
        browseSkinEdit();
        skinEditNamed().File1->refresh();
        skinEditNamed().File1->setListIndex(static_cast<int>(skinEditNamed().File1->entries().indexOf(name)));
        messages.clear();
        QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
        return messages.messages.value(0);
    }
    const QString notRecognized = texts::dimensionsNotRecognized();
    const QString corrupt = QStringLiteral("It appears this bmp file is corrupt!");
};

TEST_F(CheckingOneBitmap, JudgesTheSizeAndTheLengthAtTheLimit) {
    EXPECT_EQ(check("a.bmp", 256, 256, 75000), "This is a valid Skin File.");
    EXPECT_EQ(check("b.bmp", 256, 256, 75001), "This is a not a valid Skin File.");
    EXPECT_EQ(check("c.bmp", 512, 256, 140000), "This is a valid Skin File.");
    EXPECT_EQ(check("d.bmp", 256, 128, 38000), "This is a valid Skin File.");
    EXPECT_EQ(check("e.bmp", 32, 32, 3001), "This is a not a valid Skin File.");
    EXPECT_EQ(check("f.bmp", 64, 64, 9000), "This is a valid Skin File.");
}

TEST_F(CheckingOneBitmap, TheDetailsGiveTheSizeTheLengthAndTheLimit) {
    EXPECT_EQ(check("a.bmp", 256, 256, 75001), "This is a not a valid Skin File.");
    EXPECT_EQ(messages.details, QStringList{"256 x 256, 75,001 bytes (limit 75,000)"});
    EXPECT_EQ(check("b.bmp", 512, 256, 140000), "This is a valid Skin File.");
    EXPECT_EQ(messages.details, QStringList{"512 x 256, 140,000 bytes (limit 140,000)"});
    EXPECT_EQ(check("c.bmp", 32, 32, 2500), "This is a valid Skin File.");
    EXPECT_EQ(messages.details, QStringList{"32 x 32, 2,500 bytes (limit 3,000)"});
    // An unlisted size keeps its message alone: the player is asked to note the dimensions.
    EXPECT_EQ(check("d.bmp", 256, 512, 200000), notRecognized);
    EXPECT_EQ(messages.details, QStringList{QString()});
}

TEST_F(CheckingOneBitmap, UnlistedSizesAreNotRecognised) {
    EXPECT_EQ(check("a.bmp", 256, 512, 200000), notRecognized);
    EXPECT_EQ(check("b.bmp", 128, 256, 200000), notRecognized);
    EXPECT_EQ(
        notRecognized,
        "This is a file dimension pair not recognized by this program. Please make a note of the dimensions "
        "and email them to " +
            texts::maintainerContact() + " so we can update the program to recognize it.");
}

TEST_F(CheckingOneBitmap, AFileThatDoesNotLoadIsCorruptNotUnrecognised) {
    skins.write("text.bmp", "not a picture at all");
    browseSkinEdit();
    skinEditNamed().File1->setListIndex(0);
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({corrupt}));
}

TEST_F(CheckingOneBitmap, ThePreviousPictureIsNeverJudgedAsTheSelectedFile) {
    // The viewer showed a sound 256 x 256 picture; the next selection is a short file that does
    // not load, whose length alone would pass as a valid skin.
    ASSERT_EQ(check("a.bmp", 256, 256, 70000), "This is a valid Skin File.");
    skins.write("z.bmp", QByteArray(100, 'x'));
    skinEditNamed().File1->refresh();
    messages.clear();
    skinEditNamed().File1->setListIndex(static_cast<int>(skinEditNamed().File1->entries().indexOf("z.bmp")));
    EXPECT_FALSE(skinEditNamed().Picture1->hasPicture());
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({corrupt, corrupt}));
}

TEST_F(CheckingOneBitmap, DamagedAndForeignPicturesAreCorrupt) {
    // 8 bits deep, so that the cut file's length is within the 256 x 256 limit.
    const std::string full = samples::MakeBmp({});
    std::string pastEnd = samples::MakeBmp({});
    pastEnd[10] = '\xFF'; // the pixel-data offset now points far beyond the file
    pastEnd[11] = '\xFF';
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QList<QPair<QString, QByteArray>> files = {
        {"a_cut.bmp", QByteArray::fromStdString(samples::TruncateBmp(full, 14 + 40 + 1024 + 128 * 256))},
        {"b_past.bmp", QByteArray::fromStdString(pastEnd)},
        {"c_png.bmp", encoded(image, "PNG")},
        {"d_jpeg.bmp", encoded(image, "JPEG")},
    };
    for (const auto& [name, bytes] : files) {
        ASSERT_LE(bytes.size(), 75000) << name.toStdString() << ": its length alone would pass";
        skins.write(name, bytes);
    }
    browseSkinEdit();
    for (const auto& file : files) {
        ASSERT_EQ(check("ok.bmp", 256, 256, 70000), "This is a valid Skin File.");
        messages.clear();
        skinEditNamed().File1->setListIndex(
            static_cast<int>(skinEditNamed().File1->entries().indexOf(file.first)));
        QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
        EXPECT_EQ(messages.messages, QStringList({corrupt, corrupt})) << file.first.toStdString();
    }
    // Sound ones in other shapes load: top-down, run-length encoded, 8-bit with a palette.
    samples::BmpOptions top;
    top.topDown = true;
    samples::BmpOptions rle;
    rle.rle8 = true;
    for (const auto& options : {top, rle, samples::BmpOptions{}}) {
        skins.write("sound.bmp", QByteArray::fromStdString(samples::MakeBmp(options)));
        skinEditNamed().File1->refresh();
        messages.clear();
        skinEditNamed().File1->setListIndex(
            static_cast<int>(skinEditNamed().File1->entries().indexOf("sound.bmp")));
        QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
        EXPECT_EQ(messages.messages, QStringList({"This is a valid Skin File."}));
        skinEditNamed().File1->setListIndex(-1);
    }
}

TEST_F(CheckingOneBitmap, RefusesWithoutASelectionThenOnTheCmxList) {
    browseSkinEdit();
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    skinEditNamed().File1->setPattern("*.CMX");
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    skins.write("a.cmx", "");
    skinEditNamed().File1->refresh();
    {
        const QSignalBlocker quiet(skinEditNamed().File1);
        skinEditNamed().File1->setListIndex(0);
    }
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList({"Please select a file first!", "Please select a file first!",
                                              "You cannot perform this action on a CMX file!"}));
}

TEST_F(CheckingOneBitmap, AFileThatVanishedIsNamedInTheMessage) {
    check("a.bmp", 64, 64, 6000);
    QFile::remove(skins.filePath("a.bmp"));
    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
    EXPECT_EQ(messages.messages,
              QStringList({"Could not read the length of a.bmp: No such file or directory"}));
}
