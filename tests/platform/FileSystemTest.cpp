#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

using namespace vestimo::platform;
using vestimo::test::TempDir;

TEST(listFiles, ListsOrdinaryMatchingFilesOnly) {
    TempDir dir;
    dir.write("SKIN.bmp", "x");
    dir.write("other.BMP", "x");
    dir.write("skin.cmx", "x");
    dir.write(".hidden.bmp", "x");
    dir.mkdir("folder.bmp");
    QFile::link(dir.filePath("missing.bmp"), dir.filePath("broken.bmp"));
    QFile::link(dir.filePath("SKIN.bmp"), dir.filePath("linked.bmp"));
    const FileNames listed = listFiles(dir.path(), "*.BMP");
    EXPECT_TRUE(listed.ok);
    QStringList names = listed.names;
    names.sort();
    EXPECT_EQ(names, QStringList({"SKIN.bmp", "linked.bmp", "other.BMP"}));
    EXPECT_EQ(listFiles(dir.path(), "*.CMX").names, QStringList({"skin.cmx"}));
    EXPECT_TRUE(listFiles(dir.filePath("nowhere"), "*.BMP").names.isEmpty());
}

TEST(listFiles, SaysWhyAFolderCannotBeReadInsteadOfListingNothing) {
    TempDir dir;
    const FileNames missing = listFiles(dir.filePath("nowhere"), "*");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, "No such file or directory");
    const FileNames file = listFiles(dir.write("plain.txt", "x"), "*");
    EXPECT_FALSE(file.ok);
    EXPECT_EQ(file.error, "Not a directory");
    EXPECT_TRUE(listFiles(dir.path(), "*").ok);
}

TEST(listFiles, KeepsTheStoredBytesOfNamesThatAreNotValidText) {
    TempDir dir;
    const QByteArray stored = "B123FAFit\xFFlgt.bmp";
    // Qt cannot name the file; the C library can.
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + stored;
    FILE* raw = std::fopen(path.constData(), "w");
    ASSERT_NE(raw, nullptr);
    std::fclose(raw);
    dir.write("B123FAFit_ok.bmp", "x");
    const FileNames listed = listFiles(dir.path(), "*.BMP");
    EXPECT_EQ(listed.names, QStringList({"B123FAFit_ok.bmp"}));
    ASSERT_EQ(listed.unnamable.size(), 1);
    EXPECT_EQ(listed.unnamableBytes, QList<QByteArray>({stored}));
    EXPECT_EQ(listed.unnamable[0], QString::fromUtf8(stored));
    ::unlink(path.constData()); // Qt could not remove it with its folder
}

TEST(lookUpFile, FindsOrdinaryFilesByTheirStoredName) {
    TempDir dir;
    dir.write("Temp.txt", "");
    dir.write(".hidden", "");
    dir.mkdir("folder");
    EXPECT_EQ(lookUpFile(dir.filePath("Temp.txt")), "Temp.txt");
    EXPECT_EQ(lookUpFile(dir.filePath(".hidden")), "");
    EXPECT_EQ(lookUpFile(dir.filePath("folder")), "");
    EXPECT_EQ(lookUpFile(dir.filePath("missing")), "");
}

TEST(moveFile, MovesAndNeverReplaces) {
    TempDir from;
    TempDir to;
    from.write("a.bmp", "new");
    to.write("a.bmp", "old");
    const FileResult refused = moveFile(from.filePath("a.bmp"), to.filePath("a.bmp"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error.kind, FileError::Kind::NameTakenIn);
    EXPECT_EQ(vestimo::test::readAll(from.filePath("a.bmp")), "new");
    EXPECT_EQ(vestimo::test::readAll(to.filePath("a.bmp")), "old");

    from.write("b.bmp", "content");
    EXPECT_TRUE(moveFile(from.filePath("b.bmp"), to.filePath("b.bmp")).ok);
    EXPECT_FALSE(vestimo::test::exists(from.filePath("b.bmp")));
    EXPECT_EQ(vestimo::test::readAll(to.filePath("b.bmp")), "content");

    EXPECT_EQ(moveFile(from.filePath("gone.bmp"), to.filePath("gone.bmp")).error.kind,
              FileError::Kind::NoLongerThere);
    from.mkdir("dir.cmx");
    EXPECT_FALSE(moveFile(from.filePath("dir.cmx"), to.filePath("dir.cmx")).ok);
    EXPECT_TRUE(vestimo::test::exists(from.filePath("dir.cmx")));
}

TEST(moveFile, CrossesFileSystemsWhenThereIsAnotherOne) {
    // /dev/shm is a separate file system on most Linux machines.
    if (!QDir("/dev/shm").exists()) {
        GTEST_SKIP() << "no second file system to move across";
    }
    TempDir from;
    QTemporaryDir to(QStringLiteral("/dev/shm/vestimo-test-XXXXXX"));
    if (!to.isValid()) {
        GTEST_SKIP() << "cannot write to /dev/shm";
    }
    const QByteArray content(100000, 'z');
    from.write("skin.bmp", content);
    ASSERT_TRUE(moveFile(from.filePath("skin.bmp"), to.filePath("skin.bmp")).ok);
    EXPECT_FALSE(vestimo::test::exists(from.filePath("skin.bmp")));
    EXPECT_EQ(vestimo::test::readAll(to.filePath("skin.bmp")), content);
}

TEST(SaveFiles, SaveReplacesAtomicallyAndSaveNewNeverReplaces) {
    TempDir dir;
    EXPECT_TRUE(saveFile(dir.filePath("a.cmx"), "one").ok);
    EXPECT_TRUE(saveFile(dir.filePath("a.cmx"), "two").ok);
    EXPECT_EQ(vestimo::test::readAll(dir.filePath("a.cmx")), "two");
    EXPECT_FALSE(saveNewFile(dir.filePath("a.cmx"), "three").ok);
    EXPECT_EQ(vestimo::test::readAll(dir.filePath("a.cmx")), "two");
    EXPECT_TRUE(saveNewFile(dir.filePath("b.cmx"), "new").ok);
    EXPECT_EQ(vestimo::test::readAll(dir.filePath("b.cmx")), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_FALSE(saveFile(dir.filePath("missing/c.cmx"), "x").ok);
}

TEST(readFile, RefusesFilesOverTheLimitAndFolders) {
    TempDir dir;
    dir.write("small", "12345");
    EXPECT_TRUE(readFile(dir.filePath("small"), 5).ok);
    const ReadResult big = readFile(dir.filePath("small"), 4);
    EXPECT_FALSE(big.ok);
    EXPECT_TRUE(big.bytes.isEmpty());
    EXPECT_FALSE(readFile(dir.path(), 100).ok);
    EXPECT_FALSE(readFile(dir.filePath("missing"), 100).ok);
}

TEST(resolveDirectory, MatchesFolderNamesWithoutRegardToCase) {
    TempDir dir;
    dir.mkdir("drive_c/Program Files/Maxis/The Sims");
    const QString expected = QDir::cleanPath(dir.filePath("drive_c/Program Files/Maxis/The Sims"));
    EXPECT_EQ(resolveDirectory(dir.filePath("drive_c"), "\\Program Files\\Maxis\\The Sims\\"), expected);
    EXPECT_EQ(resolveDirectory(dir.filePath("drive_c"), "program files/MAXIS/the sims"), expected);
    EXPECT_EQ(resolveDirectory(dir.filePath("drive_c"), "Program Files/Maxis/The Sims 2"), "");
}

TEST(joinPath, NeverDoublesTheSeparator) {
    EXPECT_EQ(joinPath("/skins", "a"), "/skins/a");
    EXPECT_EQ(joinPath("/", "a"), "/a");
    EXPECT_EQ(joinPath("/skins/", "a"), "/skins/a");
}
