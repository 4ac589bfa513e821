#include "core/collection/CardPictures.h"

#include "core/catalogue/Collection.h"
#include "core/collection/Collection.h"
#include "platform/cache/PictureCache.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace vestimo::collection {
namespace {

using test::TempDir;

const QSize Size(96, 128);

QString bodies() {
    return QDir::cleanPath(QDir(test::realWorldDir()).filePath(QStringLiteral("bodies")));
}

// The demo skins copied where they may be changed.
void copyBodies(const QString& into, bool withSkeleton = true) {
    for (const QString& name : QDir(bodies()).entryList(QDir::Files)) {
        if (withSkeleton || !name.contains(QStringLiteral("skeleton"))) {
            ASSERT_TRUE(QFile::copy(QDir(bodies()).filePath(name), QDir(into).filePath(name)));
        }
    }
}

QByteArray bmpOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

const Card& cardNamed(const Collection& collection, const QString& name) {
    for (const Card& card : collection.cards) {
        if (card.name.compare(name, Qt::CaseInsensitive) == 0) {
            return card;
        }
    }
    ADD_FAILURE() << "no card " << name.toStdString();
    return collection.cards.front();
}

class CardPicturesOfTheDemo : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(QDir(bodies()).filePath(QStringLiteral("adult-skeleton.cmx")))) {
            GTEST_SKIP() << "no real-world bodies beside the project";
        }
        copyBodies(skins.path());
    }
    TempDir skins;
    TempDir cacheDir;
    platform::PictureCache cache{cacheDir.path()};
};

TEST_F(CardPicturesOfTheDemo, EverySkinIsDrawnOnceAndThenComesFromTheCache) {
    const Collection collection = readCollection(skins.path());
    ASSERT_EQ(collection.cards.size(), 4U);
    std::vector<QByteArray> drawn;
    {
        CardPictures pictures(skins.path(), {}, &cache, Size);
        for (const Card& card : collection.cards) {
            const CardPicture picture = pictures.picture(card);
            EXPECT_FALSE(picture.cached) << card.name.toStdString();
            EXPECT_TRUE(picture.failure.isEmpty()) << picture.failure.toStdString();
            const QImage image = QImage::fromData(picture.png, "PNG");
            EXPECT_EQ(image.size(), Size) << card.name.toStdString();
            // Something is drawn on the background.
            EXPECT_NE(image.pixel(Size.width() / 2, Size.height() / 2), image.pixel(0, 0))
                << card.name.toStdString();
            drawn.push_back(picture.png);
        }
    }
    CardPictures again(skins.path(), {}, &cache, Size);
    for (std::size_t i = 0; i < collection.cards.size(); ++i) {
        const CardPicture picture = again.picture(collection.cards[i]);
        EXPECT_TRUE(picture.cached);
        EXPECT_EQ(picture.png, drawn[i]);
    }
    // Another size is another picture.
    EXPECT_FALSE(CardPictures(skins.path(), {}, &cache, Size * 2).picture(collection.cards.front()).cached);
}

TEST_F(CardPicturesOfTheDemo, AChangedTextureOrSkeletonGivesANewPicture) {
    const Collection collection = readCollection(skins.path());
    const Card& body = cardNamed(collection, QStringLiteral("b001fafit_01"));
    const Card& head = cardNamed(collection, QStringLiteral("c003fa_longhair"));
    CardPictures pictures(skins.path(), {}, &cache, Size);
    const QByteArray before = pictures.picture(body).png;
    const QByteArray headBefore = pictures.picture(head).png;

    const QString texture = QDir(skins.path()).filePath(body.textures.front());
    QImage changed(texture);
    changed.invertPixels();
    ASSERT_TRUE(QFile::remove(texture));
    QFile file(texture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_GT(file.write(bmpOf(changed)), 0);
    file.close();
    const CardPicture after = pictures.picture(body);
    EXPECT_FALSE(after.cached);
    EXPECT_NE(after.png, before);
    // The head is drawn alone: the body's texture is none of its files.
    EXPECT_TRUE(pictures.picture(head).cached);
    EXPECT_EQ(pictures.picture(head).png, headBefore);
}

TEST(CardPictures, CardsWithoutASkinOfTheirOwn) {
    TempDir skins;
    QImage stray(8, 4, QImage::Format_RGB32);
    stray.fill(0xff2040c0);
    skins.write(QStringLiteral("stray.bmp"), bmpOf(stray));
    skins.write(QStringLiteral("broken.bmp"), "BM not a picture");
    skins.write(QStringLiteral("xskin-lost-PELVIS-BODY.skn"), "lost mesh");
    const Collection collection = readCollection(skins.path());
    TempDir cacheDir;
    platform::PictureCache cache(cacheDir.path());
    CardPictures pictures(skins.path(), {}, &cache, Size);
    const struct {
        const char* name;
        QString failure;
    } cases[] = {
        {"stray", {}},
        {"broken", texts::cardTextureNotPicture(texts::cardNotAPicture())},
        {"xskin-lost-PELVIS-BODY", texts::cardMeshWithoutCmx()},
    };
    for (const auto& c : cases) {
        const CardPicture picture = pictures.picture(cardNamed(collection, QString::fromLatin1(c.name)));
        EXPECT_EQ(picture.failure, c.failure) << c.name;
        EXPECT_EQ(picture.png.isEmpty(), !c.failure.isEmpty()) << c.name;
    }
    // The texture alone, its shape kept and texels unsmoothed: only its own colour and the background.
    const QImage texture =
        QImage::fromData(pictures.picture(cardNamed(collection, QStringLiteral("stray"))).png, "PNG");
    ASSERT_EQ(texture.size(), Size);
    int blue = 0;
    for (int y = 0; y < Size.height(); ++y) {
        for (int x = 0; x < Size.width(); ++x) {
            blue += texture.pixel(x, y) == 0xff2040c0 ? 1 : 0;
        }
    }
    const int side = Size.width() * 9 / 10;
    EXPECT_NEAR(blue, side * side / 2.0, side * 2.0);
    EXPECT_TRUE(pictures.picture(cardNamed(collection, QStringLiteral("stray"))).cached);
}

TEST(CardPictures, ASkinThatCannotBeDrawnSaysWhy) {
    if (!QFile::exists(QDir(bodies()).filePath(QStringLiteral("adult-skeleton.cmx")))) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    TempDir skins;
    copyBodies(skins.path(), false);
    const Collection collection = readCollection(skins.path());
    CardPictures pictures(skins.path(), {}, nullptr, Size);
    const CardPicture picture = pictures.picture(cardNamed(collection, QStringLiteral("b001fafit_01")));
    EXPECT_TRUE(picture.png.isEmpty());
    EXPECT_TRUE(picture.failure.contains(QStringLiteral("adult-skeleton.cmx")))
        << picture.failure.toStdString();
}

} // namespace
} // namespace vestimo::collection
