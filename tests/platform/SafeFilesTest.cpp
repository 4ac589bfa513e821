// Writes that fail, links, FIFOs and look-alike names: the file system layer keeps every file and
// says what really went wrong.
#include "platform/FileSystem.h"
#include "platform/FileSystemInternal.h"
#include "platform/LineReader.h"
#include "platform/ProgramLock.h"

#include "support/HostileFiles.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace vestimo::platform;
using vestimo::test::FileSizeLimit;
using vestimo::test::TempDir;

namespace {

const FileError tooLarge = FileError::system(QString::fromLocal8Bit(std::strerror(EFBIG)));

QStringList Names(const TempDir& dir) {
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
    names.sort();
    return names;
}

} // namespace

TEST(FullDisk, SaveKeepsTheOldFileAndSaysWhy) {
    TempDir dir;
    const QString path = dir.write("a.cmx", "old text");
    FileResult saved;
    {
        const FileSizeLimit limit(16);
        saved = saveFile(path, QByteArray(1000, 'n'));
    }
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error, tooLarge);
    EXPECT_EQ(vestimo::test::readAll(path), "old text");
    EXPECT_EQ(Names(dir), QStringList{"a.cmx"}) << "no scratch file is left behind";
}

TEST(FullDisk, SaveNewLeavesNothingAndWriteNewSaysTheSystemsReason) {
    TempDir dir;
    FileResult saved;
    FileResult written;
    {
        const FileSizeLimit limit(16);
        saved = saveNewFile(dir.filePath("b.cmx"), QByteArray(1000, 'n'));
        written = writeNewFile(dir.filePath("Temp.txt"), QByteArray(1000, 'n'));
    }
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error, tooLarge);
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.error, tooLarge) << "not \"Unknown error\"";
    EXPECT_TRUE(Names(dir).isEmpty());
}

TEST(Links, SaveRefusesALinkAndNamesWhereItPoints) {
    TempDir dir;
    const QString target = dir.write("elsewhere/real.cmx", "target");
    const QString link = dir.filePath("a.cmx");
    ASSERT_TRUE(QFile::link(target, link));
    const FileResult saved = saveFile(link, "new text");
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error.kind, FileError::Kind::ThroughLink);
    EXPECT_EQ(saved.error.subject, link);
    EXPECT_EQ(saved.error.other, target);
    EXPECT_EQ(vestimo::test::readAll(target), "target");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // A dangling link is refused just the same: saving would create its target.
    const QString dangling = dir.filePath("b.cmx");
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere.cmx"), dangling));
    EXPECT_FALSE(saveFile(dangling, "x").ok);
    EXPECT_FALSE(vestimo::test::exists(dir.filePath("nowhere.cmx")));
}

TEST(Links, SaveKeepsTheModeOfTheFileItReplaces) {
    TempDir dir;
    const QString path = dir.write("a.cmx", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(saveFile(path, "new").ok);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(Fifos, ReadingRefusesAFifoAtOnce) {
    TempDir dir;
    const QString fifo = dir.filePath("a.cmx");
    ASSERT_TRUE(vestimo::test::MakeFifo(fifo));
    const ReadResult read = readFile(fifo, 100);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error.kind, FileError::Kind::NotOrdinary);

    const LineReader reader(fifo);
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(reader.error(), "not an ordinary file");
    // The program's own listing is never read through a link.
    const QString real = dir.write("real.txt", "a\r\n");
    ASSERT_TRUE(QFile::link(real, dir.filePath("Temp.txt")));
    const LineReader linked(dir.filePath("Temp.txt"));
    EXPECT_FALSE(linked.isOpen());
    EXPECT_EQ(linked.error(), "not an ordinary file");
    // A folder keeps its own reason.
    EXPECT_EQ(readFile(dir.path(), 100).error.reason, QString::fromLocal8Bit(std::strerror(EISDIR)));
}

TEST(Identity, ChangesWhenAnotherProgramRewritesTheFile) {
    TempDir dir;
    const QString path = dir.write("a.cmx", "first");
    const ReadResult read = readFile(path, 100);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(identifyFile(path), read.identity);
    dir.write("a.cmx", "second, longer");
    EXPECT_NE(identifyFile(path), read.identity);
    EXPECT_EQ(identifyFile(dir.filePath("missing")), std::nullopt);
}

TEST(copyAcross, KeepsModeAndModificationTimeAsMvDoes) {
    TempDir from;
    TempDir to;
    const QString source = from.write("skin.bmp", QByteArray(70000, 'q'));
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0600), 0);
    const QDateTime old(QDate(2001, 5, 4), QTime(3, 2, 1), Qt::UTC);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QString target = to.filePath("skin.bmp");
    ASSERT_TRUE(copyAcross(source, target).ok);
    EXPECT_EQ(vestimo::test::readAll(target), QByteArray(70000, 'q'));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(QFileInfo(target).lastModified().toUTC(), old);
    EXPECT_FALSE(copyAcross(source, target).ok) << "never replaces";
}

TEST(lookUpFile, AnswersWithTheNameAsStored) {
    // A case-insensitive mount cannot be made here; what it would list is.
    EXPECT_EQ(matchStoredName({"a.bmp", "TEMP.TXT"}, "Temp.txt"), QString("TEMP.TXT"));
    EXPECT_EQ(matchStoredName({"temp.txt", "Temp.txt"}, "Temp.txt"), QString("Temp.txt")) << "exact wins";
    EXPECT_EQ(matchStoredName({"other.txt"}, "Temp.txt"), std::nullopt);
    // Two spellings reaching one file, as a case-insensitive mount has it: the exact one is kept.
    TempDir dir;
    const QString stored = dir.write("Mesh.skn", "x");
    ASSERT_TRUE(QFile::link(stored, dir.filePath("mESH.SKN")));
    EXPECT_EQ(lookUpFile(dir.filePath("Mesh.skn")), "Mesh.skn");
    EXPECT_EQ(lookUpFile(dir.filePath("mesh.skn")), "");
}

TEST(ProgramLock, OnlyALockHeldElsewhereIsBusy) {
    TempDir dir;
    ProgramLock first(dir.path());
    ASSERT_TRUE(first.acquire(0));
    ProgramLock second(dir.path());
    const ProgramLock::Result busy = second.acquire(0);
    EXPECT_EQ(busy.kind, ProgramLock::Result::Kind::Busy);

    TempDir linked;
    ASSERT_TRUE(QFile::link(linked.filePath("nowhere"), linked.filePath(".vestimo.lock")));
    ProgramLock dangling(linked.path());
    const ProgramLock::Result failed = dangling.acquire(0);
    EXPECT_EQ(failed.kind, ProgramLock::Result::Kind::Failed);
    EXPECT_EQ(failed.problem, ProgramLock::Result::Problem::Link);
    EXPECT_EQ(dangling.path(), linked.filePath(".vestimo.lock"));

    TempDir folder;
    folder.mkdir(".vestimo.lock");
    ProgramLock blocked(folder.path());
    const ProgramLock::Result notFile = blocked.acquire(0);
    EXPECT_EQ(notFile.kind, ProgramLock::Result::Kind::Failed);
    EXPECT_FALSE(notFile.reason.isEmpty());
}

TEST(copyAcross, AMoveToAnotherFileSystemKeepsModeAndTime) {
    if (!QDir("/dev/shm").exists()) {
        GTEST_SKIP() << "no second file system to move across";
    }
    TempDir from;
    QTemporaryDir to(QStringLiteral("/dev/shm/vestimo-test-XXXXXX"));
    if (!to.isValid()) {
        GTEST_SKIP() << "cannot write to /dev/shm";
    }
    const QString source = from.write("skin.bmp", "bitmap");
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0600), 0);
    const QDateTime old(QDate(2001, 5, 4), QTime(3, 2, 1), Qt::UTC);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(moveFile(source, to.filePath("skin.bmp")).ok);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(to.filePath("skin.bmp")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(QFileInfo(to.filePath("skin.bmp")).lastModified().toUTC(), old);
}
