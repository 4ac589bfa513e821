#include "cli/CliTesting.h"

#include <QImage>
#include <QJsonArray>
#include <QSet>

#include <algorithm>

using namespace vestimo;
using test::Ran;
using test::RunVestimo;
using test::TempDir;

namespace {

// A colour less its brightness, coarsely: the light changes how bright a texel is drawn, not its hue.
int chroma(QRgb c) {
    const int sum = std::max(1, qRed(c) + qGreen(c) + qBlue(c));
    return (qRed(c) * 16 / sum) * 16 + qGreen(c) * 16 / sum;
}

QString body(const char* name) {
    return QDir::cleanPath(
        QDir(test::realWorldDir()).filePath(QStringLiteral("bodies/") + QString::fromLatin1(name)));
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(body("adult-skeleton.cmx"))) {
            GTEST_SKIP() << "no real-world bodies beside the project";
        }
    }
    // No install is found in an empty home.
    Ran render(const QStringList& arguments) {
        return RunVestimo(QStringList{"render"} + arguments, {{"HOME", home.path()}, {"WINEPREFIX", ""}});
    }
    TempDir home;
};

TEST_F(RenderCommand, TheAdultIsDrawnWearingItsTextureAndDescribed) {
    TempDir dir;
    const QString picture = dir.write(QStringLiteral("sim.png"), "an older picture");
    const Ran ran = render({"--json", "--size", "256x256", "--with", body("HMLO.cmx"), "--with",
                            body("HMRO.cmx"), body("B001FAFit_01.cmx"), picture});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    const QJsonObject json = ran.json();
    EXPECT_EQ(json["command"].toString(), "render");
    EXPECT_EQ(json["output"].toString(), picture);
    EXPECT_EQ(json["skeleton"].toString(), body("adult-skeleton.cmx"));
    EXPECT_TRUE(json["missing"].toArray().isEmpty());
    const QJsonArray meshes = json["meshes"].toArray();
    ASSERT_EQ(meshes.size(), 4);
    const QJsonObject first = meshes[0].toObject();
    EXPECT_EQ(first["file"].toString(), body("xskin-b001fafit_01-PELVIS-BODY.skn"));
    EXPECT_EQ(first["vertices"].toInt(), 495);
    EXPECT_NEAR(first["boundingBox"].toObject()["min"].toArray()[1].toDouble(), 0.0, 0.1);

    const QImage image(picture);
    ASSERT_EQ(image.size(), QSize(256, 256));
    const QImage texture = QImage(body("B001FAFitlgt_Shannon01.bmp")).convertToFormat(QImage::Format_RGB32);
    QSet<int> colours;
    for (int y = 0; y < texture.height(); ++y) {
        for (int x = 0; x < texture.width(); ++x) {
            colours.insert(chroma(texture.pixel(x, y)));
        }
    }
    int drawn = 0;
    int fromTexture = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xff000000U;
            drawn += pixel != 0xff808080U ? 1 : 0;
            fromTexture += pixel != 0xff808080U && colours.contains(chroma(pixel)) ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 256 * 256 / 20);
    EXPECT_GT(fromTexture, drawn * 9 / 10) << drawn;
}

TEST_F(RenderCommand, AloneDrawsOneMeshAndAMissingSkeletonStopsTheCommand) {
    TempDir dir;
    const QString skin =
        dir.write(QStringLiteral("B001FAFit_01.cmx"), test::readAll(body("B001FAFit_01.cmx")));
    dir.write(QStringLiteral("xskin-b001fafit_01-PELVIS-BODY.skn"),
              test::readAll(body("xskin-b001fafit_01-PELVIS-BODY.skn")));
    const QString picture = dir.filePath(QStringLiteral("out.png"));

    Ran ran = render({"--json", skin, picture});
    EXPECT_EQ(ran.status, 2);
    EXPECT_TRUE(ran.json()["error"].toString().contains(dir.path())) << ran.out.toStdString();
    EXPECT_FALSE(QFile::exists(picture));

    ran = render({"--json", "--alone", body("C003FA_longhair.cmx"), picture});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_EQ(ran.json()["meshes"].toArray().size(), 1);
    EXPECT_FALSE(QImage(picture).isNull());
}

TEST_F(RenderCommand, BadOptionsAreUsageErrors) {
    TempDir dir;
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const QStringList cases[] = {
        {"--tone", "pale", body("B001FAFit_01.cmx"), out},
        {"--size", "0x512", body("B001FAFit_01.cmx"), out},
        {"--turn", "left", body("B001FAFit_01.cmx"), out},
        {body("B001FAFit_01.cmx")},
        {"--with", dir.filePath("none.cmx"), body("B001FAFit_01.cmx"), out},
    };
    for (const QStringList& arguments : cases) {
        const Ran ran = render(arguments);
        EXPECT_EQ(ran.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(ran.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
