#include "cli/CliTesting.h"
#include "platform/render/ContactSheet.h"

#include <QImage>
#include <QJsonArray>

#include <cmath>

using namespace vestimo;
using test::Ran;
using test::RunVestimo;
using test::TempDir;

namespace {

QString bodies() {
    return QDir::cleanPath(QDir(test::realWorldDir()).filePath(QStringLiteral("bodies")));
}

class SkinsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(QDir(bodies()).filePath(QStringLiteral("adult-skeleton.cmx")))) {
            GTEST_SKIP() << "no real-world bodies beside the project";
        }
        for (const QString& name : QDir(bodies()).entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(QDir(bodies()).filePath(name), skins.filePath(name)));
        }
        // A texture no skin claims, and a CMX line the checks find faulty.
        skins.write(QStringLiteral("stray.bmp"),
                    test::readAll(skins.filePath(QStringLiteral("HMLOlgt.bmp"))));
    }
    // No install is found in an empty home; the pictures are kept in the test's own cache.
    Ran skinsCommand(const QStringList& arguments) {
        return RunVestimo(
            QStringList{"skins"} + arguments,
            {{"HOME", home.path()}, {"WINEPREFIX", ""}, {"XDG_CACHE_HOME", home.filePath("cache")}});
    }
    TempDir skins;
    TempDir home;
};

TEST_F(SkinsCommand, ListsEverySkinWithItsKindFilesTonesAndProblems) {
    const Ran ran = skinsCommand({skins.path()});
    // The demo's hands are identical copies of each other's textures: problems, so status 1.
    EXPECT_EQ(ran.status, 1) << ran.err.toStdString();
    const QStringList lines = ran.lines();
    EXPECT_TRUE(lines.contains("b001fafit_01 (Body, adult, female)")) << ran.out.toStdString();
    EXPECT_TRUE(lines.contains("  tones: lgt med drk; missing: none"));
    EXPECT_TRUE(lines.contains("stray (Orphan texture)"));
    EXPECT_TRUE(lines.contains("  files: stray.bmp"));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return line.startsWith(QStringLiteral("  problem: Identical files: "));
    }));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("5 skins shown, ")));
}

TEST_F(SkinsCommand, JsonAndProblemsOnly) {
    const struct {
        QStringList options;
        int skins;
    } cases[] = {{{"--json"}, 5}, {{"--json", "--problems"}, 3}};
    for (const auto& c : cases) {
        const Ran ran = skinsCommand(c.options + QStringList{skins.path()});
        EXPECT_EQ(ran.status, 1) << ran.err.toStdString();
        const QJsonObject json = ran.json();
        EXPECT_EQ(json["command"].toString(), "skins");
        EXPECT_EQ(json["exitStatus"].toInt(), 1);
        EXPECT_EQ(json["folder"].toString(), QDir::cleanPath(skins.path()));
        const QJsonArray list = json["skins"].toArray();
        ASSERT_EQ(list.size(), c.skins) << c.options.join(u' ').toStdString();
        for (const QJsonValue& skin : list) {
            EXPECT_TRUE(!c.options.contains("--problems") || !skin["problems"].toArray().isEmpty());
        }
    }
    const QJsonObject body = skinsCommand({"--json", skins.path()}).json()["skins"].toArray()[0].toObject();
    EXPECT_EQ(body["name"].toString(), "b001fafit_01");
    EXPECT_EQ(body["cmx"].toString(), "B001FAFit_01.cmx");
    EXPECT_EQ(body["tonesPresent"].toArray().size(), 3);
    EXPECT_EQ(body["meshes"].toArray(), QJsonArray({"xskin-b001fafit_01-PELVIS-BODY.skn"}));
}

TEST_F(SkinsCommand, TheSheetHoldsEverySkinsPictureInAGrid) {
    TempDir out;
    const QString sheet = out.write(QStringLiteral("sheet.png"), "an older picture");
    const Ran ran = skinsCommand({"--json", "--sheet", sheet, skins.path()});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    const QJsonObject json = ran.json();
    EXPECT_EQ(json["output"].toString(), sheet);
    EXPECT_EQ(json["pictures"].toInt(), 5);
    EXPECT_TRUE(json["notDrawn"].toArray().isEmpty());
    // Five cards: three columns of two rows, each a picture over its name.
    const platform::render::SheetLayout layout = platform::render::sheetLayout(5, 128);
    EXPECT_EQ(layout.columns, 3);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(QImage(sheet).size(), QSize(layout.width(), layout.height()));
    // A second sheet comes from the cache and is the same.
    const QByteArray first = test::readAll(sheet);
    ASSERT_EQ(skinsCommand({"--sheet", sheet, skins.path()}).status, 0);
    EXPECT_EQ(test::readAll(sheet), first);
    EXPECT_FALSE(QDir(home.filePath("cache")).isEmpty());
    // An empty folder gets a sheet of one blank cell.
    const TempDir empty;
    ASSERT_EQ(skinsCommand({"--sheet", sheet, empty.path()}).status, 0);
    EXPECT_EQ(QImage(sheet).size(), QSize(128, 128 + layout.nameHeight));
}

TEST_F(SkinsCommand, UsageAndInputErrorsStopTheCommand) {
    TempDir out;
    const QString link = out.filePath(QStringLiteral("link.png"));
    ASSERT_TRUE(QFile::link(out.write(QStringLiteral("target.txt"), "kept"), link));
    const QList<QStringList> cases = {
        {},
        {skins.path(), skins.path()},
        {skins.filePath("no such folder")},
        {"--sheet", link, skins.path()},
    };
    for (const QStringList& arguments : cases) {
        const Ran ran = skinsCommand(arguments);
        EXPECT_EQ(ran.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(ran.err.isEmpty());
    }
    EXPECT_EQ(test::readAll(out.filePath(QStringLiteral("target.txt"))), "kept");
}

} // namespace
