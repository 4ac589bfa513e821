#include "platform/SkinFolder.h"
#include "platform/IdenticalFiles.h"
#include "platform/PlaceFile.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vestimo::platform;
using vestimo::test::exists;
using vestimo::test::readAll;
using vestimo::test::TempDir;

namespace {

class Folder : public ::testing::Test {
protected:
    void SetUp() override {
        skins.write("Skin.cmx", "skin");
        skins.write(".hidden.cmx", "hidden");
        skins.mkdir("sub.cmx");
        QFile::link(skins.filePath("Skin.cmx"), skins.filePath("link.cmx"));
        QFile::link(skins.filePath("gone"), skins.filePath("broken.cmx"));
    }
    TempDir skins;
    TempDir program;
};

TEST_F(Folder, NamesAreLookedUpListedAndIdentifiedRelativeToTheFolder) {
    const SkinFolder folder(skins.path());
    ASSERT_TRUE(folder.isOpen());
    struct Case {
        const char* name;
        const char* stored; // lookUp
        bool listed;
        bool identified;
    };
    for (const Case& c : {Case{"Skin.cmx", "Skin.cmx", true, true}, Case{"link.cmx", "link.cmx", true, true},
                          Case{".hidden.cmx", "", false, true}, Case{"sub.cmx", "", false, true},
                          Case{"broken.cmx", "", false, true}, Case{"none.cmx", "", false, false}}) {
        EXPECT_EQ(folder.lookUp(c.name), QString::fromLatin1(c.stored)) << c.name;
        EXPECT_EQ(folder.list("*.cmx").names.contains(c.name), c.listed) << c.name;
        EXPECT_EQ(folder.identify(c.name).has_value(), c.identified) << c.name;
    }
}

TEST_F(Folder, MovesOutNeverReplacingAndKeepsReadingTheFolderItOpened) {
    const SkinFolder folder(skins.path());
    program.write("taken.cmx", "theirs");
    skins.write("taken.cmx", "ours");
    struct Case {
        const char* name;
        FileError::Kind error;
    };
    for (const Case& c :
         {Case{"Skin.cmx", FileError::Kind::None}, Case{"none.cmx", FileError::Kind::NoLongerThere},
          Case{"sub.cmx", FileError::Kind::IsFolder}, Case{"taken.cmx", FileError::Kind::NameTakenIn}}) {
        EXPECT_EQ(folder.moveOut(c.name, program.path()).error.kind, c.error) << c.name;
    }
    EXPECT_EQ(readAll(program.filePath("taken.cmx")), "theirs");
    EXPECT_EQ(readAll(program.filePath("Skin.cmx")), "skin");
    // The path now names another folder; the open one is still read.
    ASSERT_TRUE(QDir().rename(skins.path(), skins.path() + "-moved"));
    QByteArray bytes;
    EXPECT_TRUE(folder.read("taken.cmx", 100, bytes).ok);
    EXPECT_EQ(bytes, "ours");
    QDir().rename(skins.path() + "-moved", skins.path());
}

TEST(IdenticalFiles, GroupsEqualBytesAndHandsOverTheWantedOnes) {
    const TempDir dir;
    const QByteArray longBytes(qsizetype{100} * 1024, 'x');
    const QList<std::pair<QString, QByteArray>> files = {{"a", "same"},    {"b", "same"},    {"c", "diff"},
                                                         {"d", longBytes}, {"e", longBytes}, {"f", ""},
                                                         {"g", ""}};
    QStringList names;
    for (const auto& [name, bytes] : files) {
        dir.write(name, bytes);
        names.append(name);
    }
    names.append("missing");
    QList<qsizetype> handed;
    const IdenticalFiles found = groupIdenticalFiles(
        SkinFolder(dir.path()), names, qint64{1024} * 1024, [](qsizetype i) { return i == 2; },
        [&](qsizetype i, const QByteArray& bytes) {
            handed.append(i);
            EXPECT_EQ(bytes, "diff");
        });
    ASSERT_EQ(found.groups.size(), 2);
    EXPECT_EQ(found.groups[0].members, (QList<qsizetype>{0, 1}));
    EXPECT_EQ(found.groups[1].members, (QList<qsizetype>{3, 4}));
    EXPECT_EQ(found.groups[1].length, longBytes.size());
    ASSERT_EQ(found.unreadable.size(), 1);
    EXPECT_EQ(found.unreadable[0].index, 7);
    EXPECT_EQ(handed, QList<qsizetype>{2});
}

TEST(PlaceFile, PlacesWithoutReplacingAndTakesOutOnlyWhatItPlaced) {
    const TempDir dir;
    const QString staged = dir.write("staged/new.bmp", "bytes");
    dir.write("skins/taken.bmp", "theirs");
    const QString skins = dir.filePath("skins");
    EXPECT_EQ(placeNewFile(staged, skins, "taken.bmp", false).problem, Placement::Problem::NameTaken);
    EXPECT_TRUE(placeNewFile(staged, skins, "check.bmp", true).ok);
    EXPECT_FALSE(exists(dir.filePath("skins/check.bmp")));
    const Placement placed = placeNewFile(staged, skins, "new.bmp", false);
    ASSERT_TRUE(placed.placed);
    EXPECT_TRUE(sameBytes(staged, dir.filePath("skins/new.bmp")));
    EXPECT_FALSE(sameBytes(staged, dir.filePath("skins/taken.bmp")));
    // Another file took its name meanwhile: it stays.
    dir.write("skins/other.bmp", "other");
    QFile::remove(dir.filePath("skins/new.bmp"));
    QFile::rename(dir.filePath("skins/other.bmp"), dir.filePath("skins/new.bmp"));
    EXPECT_EQ(removePlaced(skins, "new.bmp", placed), QString());
    EXPECT_EQ(readAll(dir.filePath("skins/new.bmp")), "other");
    EXPECT_EQ(QDir(skins).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
