#include "samples/SkinSamples.h"

#include "DirectoryOracle.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <stdexcept>

using namespace vestimo::samples;
namespace fs = std::filesystem;

namespace {

using vestimo::samples::test::DirectoryVerdicts;
using vestimo::samples::test::JudgeDirectory;
using vestimo::samples::test::Lower;
using vestimo::samples::test::readFile;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

SkinSetRecipe MixedSpec() {
    SkinSetRecipe recipe;
    recipe.count = 240;
    recipe.seed = 42;
    recipe.faultyCmxShare = 0.15; // 36: every ruled line once
    recipe.oversizedBitmapShare = 0.05;
    recipe.notPictureShare = 0.05;
    recipe.orphanShare = 0.1;
    recipe.handsAtLine9Share = 0.05;
    recipe.animationFiles = 3;
    return recipe;
}

} // namespace

TEST(SkinDirectory, CountsAndListsMatchWhatTheFilesSay) {
    vestimo::test::TempDir temp;
    const fs::path dir = fs::path(temp.pathStd()) / "skins";
    const SkinSetSummary s = GenerateSkinDirectory(dir, MixedSpec());

    EXPECT_EQ(s.skins, 240u);
    EXPECT_EQ(s.faultyCmx, 36u);
    EXPECT_EQ(s.oversizedBitmaps, 12u);
    EXPECT_EQ(s.notPictureBitmaps, 12u);
    EXPECT_EQ(s.orphanedCmx, 24u);
    EXPECT_EQ(s.handsAtLine9, 12u);
    EXPECT_EQ(s.animationFiles, 3u);
    EXPECT_EQ(s.cmxFiles, 243u);
    EXPECT_EQ(s.meshFiles, 240u);
    EXPECT_EQ(s.bitmapFiles, 240u - 24u + 12u + 12u);
    EXPECT_EQ(s.faultyCmxNames.size(), s.faultyCmx);
    EXPECT_EQ(s.problemBitmapNames.size(), s.oversizedBitmaps + s.notPictureBitmaps);
    EXPECT_EQ(s.orphanedNames.size(), 2 * s.orphanedCmx);

    const DirectoryVerdicts e = JudgeDirectory(dir);
    EXPECT_EQ(e.cmx, s.cmxFiles);
    EXPECT_EQ(e.bmp, s.bitmapFiles);
    EXPECT_EQ(e.skn, s.meshFiles);
    EXPECT_EQ(e.faultyCmx, s.faultyCmxNames);
    EXPECT_EQ(e.problemBitmaps, s.problemBitmapNames);
    EXPECT_EQ(e.orphaned, s.orphanedNames);
}

TEST(SkinDirectory, FaultsCoverEveryRuledLineAndHandsPassTheDirectoryWalk) {
    vestimo::test::TempDir temp;
    const fs::path dir = fs::path(temp.pathStd());
    const SkinSetSummary s = GenerateSkinDirectory(dir, MixedSpec());
    std::set<int> lines;
    for (const std::string& name : s.faultyCmxNames) {
        const vestimo::cmx::WalkVerdict v = vestimo::cmx::walkCmxText(readFile(dir / name), false);
        ASSERT_EQ(v.kind, vestimo::cmx::WalkVerdict::Kind::Fault) << name;
        lines.insert(v.line);
    }
    EXPECT_EQ(std::vector<int>(lines.begin(), lines.end()), RuledCmxLines());

    int handsFaultingAlone = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (EndsWith(name, ".cmx") && vestimo::cmx::isSkinClass(vestimo::cmx::classKey(name)) &&
            vestimo::cmx::walkCmxText(readFile(entry.path()), false) == vestimo::cmx::WalkVerdict::Fault(9) &&
            vestimo::cmx::walkCmxText(readFile(entry.path()), true) == vestimo::cmx::WalkVerdict::Passed()) {
            ++handsFaultingAlone;
        }
    }
    EXPECT_EQ(handsFaultingAlone, 12);
}

TEST(SkinDirectory, DeterministicForOneSeed) {
    vestimo::test::TempDir temp;
    const fs::path a = fs::path(temp.pathStd()) / "a";
    const fs::path b = fs::path(temp.pathStd()) / "b";
    const fs::path c = fs::path(temp.pathStd()) / "c";
    const SkinSetSummary sa = GenerateSkinDirectory(a, MixedSpec());
    const SkinSetSummary sb = GenerateSkinDirectory(b, MixedSpec());
    SkinSetRecipe other = MixedSpec();
    other.seed = 43;
    const SkinSetSummary sc = GenerateSkinDirectory(c, other);
    EXPECT_EQ(sa.faultyCmxNames, sb.faultyCmxNames);
    EXPECT_EQ(sa.problemBitmapNames, sb.problemBitmapNames);
    EXPECT_EQ(sa.orphanedNames, sb.orphanedNames);
    EXPECT_NE(sa.orphanedNames, sc.orphanedNames);
    for (const auto& entry : fs::directory_iterator(a)) {
        EXPECT_EQ(readFile(entry.path()), readFile(b / entry.path().filename())) << entry.path();
    }
}

TEST(SkinDirectory, AllValidByDefaultAndOtherTextureSizes) {
    vestimo::test::TempDir temp;
    SkinSetRecipe recipe;
    recipe.count = 30;
    recipe.textureWidth = 512;
    recipe.textureHeight = 256;
    recipe.oversizedBitmapShare = 0.1;
    const fs::path dir = fs::path(temp.pathStd());
    const SkinSetSummary s = GenerateSkinDirectory(dir, recipe);
    const DirectoryVerdicts e = JudgeDirectory(dir);
    EXPECT_TRUE(e.faultyCmx.empty());
    EXPECT_TRUE(e.orphaned.empty());
    EXPECT_EQ(e.problemBitmaps, s.problemBitmapNames);
    EXPECT_EQ(s.problemBitmapNames.size(), 3u);
    for (const std::string& name : s.problemBitmapNames) {
        EXPECT_GT(fs::file_size(dir / name), 140000u);
    }
}

TEST(SkinDirectory, NamesAreSkinClassesWithUniquePrefixes) {
    std::set<std::string> prefixes;
    for (std::size_t i = 0; i < 20000; ++i) {
        const std::string base = SkinBaseName(i);
        ASSERT_TRUE(vestimo::cmx::isSkinClass(vestimo::cmx::classKey(base + ".cmx"))) << base;
        prefixes.insert(Lower(base.substr(0, 9)));
        ASSERT_EQ(BodyBitmapFile(base).rfind(base.substr(0, 9), 0), 0u);
    }
    EXPECT_EQ(prefixes.size(), 20000u);
    EXPECT_EQ(SkinBaseName(12), "B012FC000_s00012");
    EXPECT_THROW(SkinBaseName(1000000), std::invalid_argument);
}

TEST(SkinDirectory, RejectsImpossibleSpecs) {
    vestimo::test::TempDir temp;
    const fs::path dir = fs::path(temp.pathStd());
    SkinSetRecipe tooMany;
    tooMany.count = 10;
    tooMany.faultyCmxShare = 0.6;
    tooMany.orphanShare = 0.6;
    EXPECT_THROW(GenerateSkinDirectory(dir, tooMany), std::invalid_argument);
    SkinSetRecipe badShare;
    badShare.orphanShare = -0.1;
    EXPECT_THROW(GenerateSkinDirectory(dir, badShare), std::invalid_argument);
    SkinSetRecipe badSize;
    badSize.textureWidth = 100;
    EXPECT_THROW(GenerateSkinDirectory(dir, badSize), std::invalid_argument);
    EXPECT_TRUE(fs::is_empty(dir)); // refused before anything was written
}
