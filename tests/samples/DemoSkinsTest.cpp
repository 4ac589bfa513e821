#include "samples/DemoSkins.h"
#include "samples/SkinSamples.h"

#include "DirectoryOracle.h"
#include "core/cmx/CmxWalk.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

using namespace vestimo::samples;
using vestimo::cmx::walkCmxText;
using vestimo::cmx::WalkVerdict;
using vestimo::samples::test::readFile;
namespace fs = std::filesystem;

namespace {

struct Demo {
    vestimo::test::TempDir temp;
    fs::path dir = fs::path(temp.pathStd()) / "demo-skins";
    std::size_t written = WriteDemoSkinDirectory(dir);

    WalkVerdict walk(const std::string& name, bool hands) const {
        return walkCmxText(readFile(dir / name), hands);
    }
    QImage Image(const std::string& name) const {
        const std::string bytes = readFile(dir / name);
        QImage image;
        image.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP");
        return image;
    }
};

} // namespace

TEST(DemoSkins, EachDirectoryWideCheckHasExactlyItsExamples) {
    const Demo demo;
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(demo.dir)) {
        ++files;
    }
    EXPECT_EQ(files, demo.written);

    const auto v = vestimo::samples::test::JudgeDirectory(demo.dir);
    EXPECT_EQ(v.faultyCmx,
              (std::vector<std::string>{"B701FAErr_line2.cmx", "B702FAErr_line4.cmx", "B703FAErr_line8.cmx",
                                        "B705MAHnd_line13.cmx", "B706FCErr_line17.cmx"}));
    EXPECT_EQ(v.problemBitmaps, (std::vector<std::string>{"B209FASunlgt_heavy.bmp", "B211MAWidlgt_huge.bmp",
                                                          "notapicture.bmp"}));
    EXPECT_EQ(v.orphaned,
              (std::vector<std::string>{"B601FAOrf_lonely.cmx", "xskin-B601FAOrf_lonely-PELVIS-BODY.skn"}));
}

TEST(DemoSkins, SingleFileCheckFindsEachMistakeOnItsLine) {
    const Demo demo;
    EXPECT_EQ(demo.walk("B701FAErr_line2.cmx", false), WalkVerdict::Fault(2));
    EXPECT_EQ(demo.walk("B702FAErr_line4.cmx", false), WalkVerdict::Fault(4));
    EXPECT_EQ(demo.walk("B703FAErr_line8.cmx", false), WalkVerdict::Fault(8));
    EXPECT_EQ(demo.walk("B704MAHnd_line9.cmx", false), WalkVerdict::Fault(9));
    EXPECT_EQ(demo.walk("B704MAHnd_line9.cmx", true), WalkVerdict::Passed());
    EXPECT_EQ(demo.walk("B705MAHnd_line13.cmx", false), WalkVerdict::Fault(13));
    EXPECT_EQ(demo.walk("B706FCErr_line17.cmx", false), WalkVerdict::Fault(17));
    EXPECT_EQ(demo.walk("adult-wave.cmx", false), WalkVerdict::Animation());
    EXPECT_EQ(demo.walk("B501MAAni_dance.cmx", false), WalkVerdict::Animation());
    EXPECT_EQ(demo.walk("C301MA_beard.cmx", false), WalkVerdict::Passed());
}

TEST(DemoSkins, BitmapsCoverEverySizeAndLimit) {
    const Demo demo;
    std::set<std::pair<int, int>> validSizes;
    for (const auto& entry : fs::directory_iterator(demo.dir)) {
        const std::string name = entry.path().filename().string();
        const QImage image = demo.Image(name);
        const std::size_t limit = TextureLimitFor(image.width(), image.height());
        if (!image.isNull() && limit != 0 && fs::file_size(entry.path()) <= limit) {
            validSizes.insert({image.width(), image.height()});
        }
    }
    EXPECT_EQ(validSizes.size(), std::size(TextureLimits));
    EXPECT_EQ(fs::file_size(demo.dir / "B208FASunlgt_exact.bmp"), 75000u);
    EXPECT_EQ(demo.Image("B208FASunlgt_exact.bmp").size(), QSize(256, 256));
    EXPECT_EQ(fs::file_size(demo.dir / "B209FASunlgt_heavy.bmp"), 75001u);
    EXPECT_EQ(demo.Image("B210MAOddlgt_square.bmp").size(), QSize(100, 100));
    EXPECT_EQ(demo.Image("B211MAWidlgt_huge.bmp").size(), QSize(512, 256));
    EXPECT_EQ(demo.Image("B212MATallgt_upright.bmp").size(), QSize(256, 512));
    EXPECT_TRUE(demo.Image("notapicture.bmp").isNull());
}

TEST(DemoSkins, ABodySkinReadyToBeMadeBuyable) {
    const Demo demo;
    EXPECT_EQ(readFile(demo.dir / "B100FAFit_xyz.cmx"), ValidBodyCmx("B100FAFit_xyz"));
    EXPECT_EQ(demo.Image("B100FAFitlgt_xyz.bmp").size(), QSize(256, 256));
    EXPECT_TRUE(fs::exists(demo.dir / "xskin-B100FAFit_xyz-PELVIS-BODY.skn"));
}

TEST(DemoSkins, SameFilesEveryTime) {
    const Demo first;
    const Demo second;
    ASSERT_EQ(first.written, second.written);
    for (const auto& entry : fs::directory_iterator(first.dir)) {
        EXPECT_EQ(readFile(entry.path()), readFile(second.dir / entry.path().filename())) << entry.path();
    }
}
