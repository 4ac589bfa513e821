#include "platform/archive/Unpack.h"
#include "core/catalogue/PlatformErrors.h"
#include "install/ArchiveWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestimo::test {
namespace {

using platform::archive::Limits;
using platform::archive::refuseName;
using platform::archive::StagingFolder;
using platform::archive::unpack;
using platform::archive::Unpacked;

using platform::archive::UnpackError;

constexpr std::uint64_t MiB = 1024 * 1024;

QString Text(const std::optional<UnpackError>& error) {
    return error ? texts::unpackError(*error) : QString();
}

bool AnyFile(const QString&) {
    return true;
}

StagingFolder MakeStaging(const TempDir& dir, const QString& name = QStringLiteral("staging")) {
    UnpackError why;
    auto staging = StagingFolder::create(dir.filePath(name), &why);
    EXPECT_TRUE(staging.has_value()) << Text(why).toStdString();
    return std::move(*staging);
}

QStringList StagedNames(const Unpacked& unpacked) {
    QStringList names;
    for (const auto& file : unpacked.files) {
        names.append(file.name);
    }
    names.sort();
    return names;
}

QStringList RefusedNames(const Unpacked& unpacked) {
    QStringList names;
    for (const auto& refused : unpacked.refused) {
        names.append(refused.name + QStringLiteral(": ") + Text(refused.reason));
    }
    names.sort();
    return names;
}

TEST(refuseName, AcceptsPlainPathsAndSplitsThemIntoParts) {
    QStringList parts;
    EXPECT_FALSE(refuseName("Skins/B001FAFit_x.cmx", &parts));
    EXPECT_EQ(parts, QStringList({"Skins", "B001FAFit_x.cmx"}));
    EXPECT_FALSE(refuseName("./a//b\\c.bmp", &parts));
    EXPECT_EQ(parts, QStringList({"a", "b", "c.bmp"}));
    EXPECT_FALSE(refuseName("Ärmel/Über.bmp", &parts));
    EXPECT_EQ(parts.last(), QStringLiteral("Über.bmp"));
}

TEST(refuseName, RefusesEveryWayOutAndEveryUnprintableName) {
    QStringList parts;
    EXPECT_EQ(Text(refuseName("../x.cmx", &parts)), QStringLiteral("a \"..\" in its path"));
    EXPECT_EQ(Text(refuseName("a/../../x.cmx", &parts)), QStringLiteral("a \"..\" in its path"));
    EXPECT_EQ(Text(refuseName("a\\..\\x.cmx", &parts)), QStringLiteral("a \"..\" in its path"));
    EXPECT_EQ(Text(refuseName("/etc/x", &parts)), QStringLiteral("an absolute path"));
    EXPECT_EQ(Text(refuseName("\\etc\\x", &parts)), QStringLiteral("an absolute path"));
    EXPECT_EQ(Text(refuseName("C:\\Windows\\x.bmp", &parts)), QStringLiteral("an absolute path"));
    EXPECT_EQ(Text(refuseName("B001\nFA.cmx", &parts)), QStringLiteral("its name holds a control character"));
    EXPECT_EQ(Text(refuseName("B001\x7f.cmx", &parts)), QStringLiteral("its name holds a control character"));
    EXPECT_EQ(Text(refuseName("\xff\xfe.cmx", &parts)), QStringLiteral("its name is not valid text"));
    EXPECT_EQ(Text(refuseName("\xc0\xaf.cmx", &parts)),
              QStringLiteral("its name is not valid text")); // overlong "/"
    EXPECT_EQ(Text(refuseName("./", &parts)), QStringLiteral("it has no name"));
    EXPECT_EQ(platform::archive::shownName("B001\nFA.cmx"), QStringLiteral("B001\\x0AFA.cmx"));
}

// The kinds that no download in these tests runs into, each with the words it has always had.
TEST(unpackError, EveryKindKeepsItsWords) {
    using K = UnpackError::Kind;
    const auto E = [](K kind, const char* name = "", qint64 number = 0, const char* reason = "") {
        return UnpackError{kind, QString::fromUtf8(name), number, QString::fromUtf8(reason)};
    };
    const struct {
        UnpackError error;
        const char* text;
    } cases[] = {
        {E(K::Damaged), "the archive is damaged"},
        {E(K::Damaged, "", 0, "Truncated input"), "Truncated input"},
        {E(K::EntryDamaged, "a.bmp"), "a.bmp: the archive is damaged"},
        {E(K::NotAnArchive), "not an archive this program can read"},
        {E(K::LibraryNotStarted), "the archive library could not start"},
        {E(K::Password), "it is protected by a password (encrypted)"},
        {E(K::EntryNotWritten, "a.bmp", 0, "No space"), "a.bmp could not be unpacked: No space"},
        {E(K::EntryNotRead, "a.bmp", 0, "I/O error"), "a.bmp could not be read: I/O error"},
        {E(K::FolderNotListed, "", 0, "I/O error"), "the folder could not be read: I/O error"},
        {E(K::DownloadIsLink), "it is a symbolic link"},
        {E(K::DownloadNotOpened, "", 0, "Permission denied"), "Permission denied"},
        {E(K::DownloadEmpty), "it is empty"},
        {E(K::NeitherFileNorFolder), "it is neither a file nor a folder"},
        {E(K::TooDeep, "", 32), "more than 32 folders deep"},
        {E(K::NotCreated, "", 0, "No space"), "could not be unpacked: No space"},
        {E(K::FolderNameTaken, "Skins"),
         "could not be unpacked: a file of the download is already named like its folder Skins"},
        {E(K::NameTwice), "could not be unpacked: the download holds this name twice"},
        {E(K::NotReadable, "", 0, "I/O error"), "could not be read: I/O error"},
        {E(K::NotReadableFile), "could not be read: not a file"},
        {E(K::StagingNotMade, "/p/s", 0, "No space"), "/p/s could not be made: No space"},
        {E(K::StagingNotOpened, "/p/s", 0, "No space"), "/p/s could not be opened: No space"},
        {E(K::TooLargeInAll, "", qint64{1024} * 1024 * 1024),
         "it unpacks to more than 1 GiB in all; unpacking stopped"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.error), QString::fromUtf8(c.text));
    }
}

class EveryFormat : public ::testing::TestWithParam<ArchiveFormat> {};

TEST_P(EveryFormat, ReadsFilesInSubfoldersAndUnpacksOnlyTheWantedOnes) {
    TempDir dir;
    const QString download = dir.filePath(QStringLiteral("download"));
    WriteArchive(download, GetParam(),
                 {{"Skin", "", ArchiveEntry::Type::Folder, {}, 0},
                  File("Skin/B001FAFit_x.cmx", "cmx text"),
                  File("Skin/Deep/B001FAFitlgt_x.bmp", std::string(100000, 'b')),
                  File("readme.txt", "read me"),
                  File("empty.skn", "")});
    const StagingFolder staging = MakeStaging(dir);
    qint64 lastProgress = 0;
    const Unpacked unpacked = unpack(
        download, staging, [](const QString& name) { return !name.endsWith(QStringLiteral(".txt")); }, {},
        [&](qint64 read) {
            EXPECT_EQ(read, lastProgress + 1);
            lastProgress = read;
        });
    ASSERT_TRUE(unpacked.ok) << Text(unpacked.error).toStdString();
    EXPECT_EQ(StagedNames(unpacked),
              QStringList({"Skin/B001FAFit_x.cmx", "Skin/Deep/B001FAFitlgt_x.bmp", "empty.skn"}));
    EXPECT_EQ(unpacked.others, QStringList({"readme.txt"}));
    EXPECT_TRUE(unpacked.refused.isEmpty());
    EXPECT_EQ(lastProgress, unpacked.entries);
    EXPECT_GE(unpacked.entries, 4);
    for (const auto& file : unpacked.files) {
        EXPECT_TRUE(file.path.startsWith(staging.path() + u'/'));
        EXPECT_EQ(readAll(file.path).size(), file.size);
    }
    EXPECT_EQ(readAll(staging.path() + QStringLiteral("/Skin/B001FAFit_x.cmx")), "cmx text");
    EXPECT_EQ(readAll(staging.path() + QStringLiteral("/Skin/Deep/B001FAFitlgt_x.bmp")),
              QByteArray(100000, 'b'));
    EXPECT_FALSE(exists(staging.path() + QStringLiteral("/readme.txt")));
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(ArchiveFormat::ZipDeflate, ArchiveFormat::ZipStored,
                                           ArchiveFormat::SevenZip, ArchiveFormat::TarGz));

TEST(unpack, ReadsAPlainFolderWithoutFollowingLinks) {
    TempDir dir;
    dir.write(QStringLiteral("download/Skin/B001FAFit_x.cmx"), "cmx");
    dir.write(QStringLiteral("download/notes.txt"), "notes");
    dir.write(QStringLiteral("secret/B999FAFit_x.cmx"), "not part of the download");
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("secret")).constData(),
                        QFile::encodeName(dir.filePath("download/linked")).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("secret/B999FAFit_x.cmx")).constData(),
                        QFile::encodeName(dir.filePath("download/B999FAFit_x.cmx")).constData()),
              0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("download/pipe.bmp")).constData(), 0644), 0);
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(dir.filePath("download"), staging, AnyFile);
    ASSERT_TRUE(unpacked.ok) << Text(unpacked.error).toStdString();
    EXPECT_EQ(StagedNames(unpacked), QStringList({"Skin/B001FAFit_x.cmx", "notes.txt"}));
    EXPECT_EQ(RefusedNames(unpacked),
              QStringList({"B999FAFit_x.cmx: a symbolic link", "linked: a symbolic link",
                           "pipe.bmp: a device, FIFO or socket, not a file"}));
}

TEST(unpack, AFolderIsHeldToTheSameLimits) {
    TempDir dir;
    dir.write(QStringLiteral("download/a/B001FAFitlgt_x.bmp"), QByteArray(300 * 1024, 'b'));
    dir.write(QStringLiteral("download/b/B001FAFitmed_x.bmp"), QByteArray(300 * 1024, 'b'));
    dir.write(QStringLiteral("download/c/B001FAFitdrk_x.bmp"), QByteArray(300 * 1024, 'b'));
    const QString download = dir.filePath(QStringLiteral("download"));
    const auto run = [&](const Limits& limits) {
        const StagingFolder staging = MakeStaging(dir);
        return unpack(download, staging, AnyFile, limits);
    };
    Limits entry;
    entry.entryBytes = 200 * 1024;
    EXPECT_EQ(Text(run(entry).error),
              QStringLiteral("a/B001FAFitlgt_x.bmp unpacks to more than 204800 bytes; unpacking stopped"));
    Limits total;
    total.totalBytes = 800 * 1024;
    EXPECT_EQ(Text(run(total).error),
              QStringLiteral("it unpacks to more than 819200 bytes in all; unpacking stopped"));
    Limits count;
    count.entries = 5;
    const Unpacked counted = run(count);
    EXPECT_EQ(Text(counted.error), QStringLiteral("it holds more than 5 entries; unpacking stopped"));
    EXPECT_TRUE(counted.files.isEmpty());
    EXPECT_TRUE(run({}).ok);
}

TEST(unpack, ANameThatIsNotValidTextIsRefusedInAFolderToo) {
    TempDir dir;
    dir.mkdir(QStringLiteral("download"));
    const QByteArray bad = QFile::encodeName(dir.filePath("download")) + "/B001\xff.cmx";
    const int fd = ::open(bad.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(dir.filePath("download"), staging, AnyFile);
    ASSERT_TRUE(unpacked.ok);
    EXPECT_TRUE(unpacked.files.isEmpty());
    ASSERT_EQ(unpacked.refused.size(), 1);
    EXPECT_EQ(Text(unpacked.refused[0].reason), QStringLiteral("its name is not valid text"));
    ::unlink(bad.constData()); // the temporary folder could not name it to remove it
}

TEST(unpack, RefusesHostileEntriesWithoutCreatingThemAndKeepsTheRest) {
    TempDir dir;
    const QString zip = dir.filePath(QStringLiteral("hostile.zip"));
    WriteArchive(zip, ArchiveFormat::ZipDeflate,
                 {File("../x.cmx", "up"),
                  File("/etc/x", "root"),
                  File("B001\nFA.cmx", "break"),
                  {"link.bmp", "", ArchiveEntry::Type::Symlink, "/etc/passwd", 0},
                  File("good.cmx", "good")});
    const QString tar = dir.filePath(QStringLiteral("hostile.tar.gz"));
    WriteArchive(tar, ArchiveFormat::UstarGz,
                 {File("good.cmx", "good"),
                  {"hard.cmx", "", ArchiveEntry::Type::Hardlink, "good.cmx", 0},
                  {"fifo.bmp", "", ArchiveEntry::Type::Fifo, {}, 0},
                  {"up.bmp", "", ArchiveEntry::Type::Symlink, "../../outside.bmp", 0},
                  File("bad\xff.bmp", "bytes")});
    const auto before = Snapshot(dir.path());
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(zip, staging, AnyFile);
        ASSERT_TRUE(unpacked.ok) << Text(unpacked.error).toStdString();
        EXPECT_EQ(StagedNames(unpacked), QStringList({"good.cmx"}));
        EXPECT_EQ(RefusedNames(unpacked),
                  QStringList({"../x.cmx: a \"..\" in its path", "/etc/x: an absolute path",
                               "B001\\x0AFA.cmx: its name holds a control character",
                               "link.bmp: a symbolic link"}));
        EXPECT_EQ(QDir(staging.path())
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList({"good.cmx"}));
    }
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(tar, staging, AnyFile);
        ASSERT_TRUE(unpacked.ok) << Text(unpacked.error).toStdString();
        EXPECT_EQ(StagedNames(unpacked), QStringList({"good.cmx"}));
        EXPECT_EQ(RefusedNames(unpacked), QStringList({"bad\\xFF.bmp: its name is not valid text",
                                                       "fifo.bmp: a device, FIFO or socket, not a file",
                                                       "hard.cmx: a hard link", "up.bmp: a symbolic link"}));
    }
    EXPECT_EQ(Snapshot(dir.path()), before); // staging folders gone, nothing else touched
}

TEST(unpack, AZipBombStopsAtTheEntryLimitWhateverItsHeadersSay) {
    TempDir dir;
    const QString zip = dir.filePath(QStringLiteral("bomb.zip"));
    WriteArchive(zip, ArchiveFormat::ZipDeflate,
                 {File("B001FAFit_x.cmx", "fine"), {"zeros.bmp", "", ArchiveEntry::Type::File, {}, 8 * MiB}});
    // Declare the zeros small everywhere a size is written: local header, data descriptor, central directory.
    QByteArray bytes = readAll(zip);
    int patched = 0;
    const auto patch = [&](const char* signature, int offset) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 4)) {
            quint32 size = 0;
            std::memcpy(&size, bytes.constData() + at + offset, 4);
            if (size == 8 * MiB) {
                const quint32 small = 100;
                std::memcpy(bytes.data() + at + offset, &small, 4);
                ++patched;
            }
        }
    };
    patch("PK\x03\x04", 22);
    patch("PK\x07\x08", 12);
    patch("PK\x01\x02", 24);
    EXPECT_GE(patched, 1);
    QFile out(zip);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(out.write(bytes), bytes.size());
    out.close();

    Limits limits;
    limits.entryBytes = 1 * MiB;
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(zip, staging, AnyFile, limits);
    EXPECT_FALSE(unpacked.ok);
    EXPECT_EQ(Text(unpacked.error),
              QStringLiteral("zeros.bmp unpacks to more than 1 MiB; unpacking stopped"));
    EXPECT_TRUE(unpacked.files.isEmpty());
    EXPECT_LE(unpacked.bytes, qint64{1 * MiB} + 64 * 1024 + 4); // one chunk past the limit at most
}

TEST(unpack, TheRealEntryLimitStopsA64MiBEntryOfZeros) {
    TempDir dir;
    const QString zip = dir.filePath(QStringLiteral("bomb.zip"));
    WriteArchive(zip, ArchiveFormat::ZipDeflate,
                 {{"B001FAFitlgt_x.bmp", "", ArchiveEntry::Type::File, {}, 64 * MiB + 1}});
    EXPECT_LT(QFileInfo(zip).size(), qint64{1 * MiB});
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(zip, staging, AnyFile);
    EXPECT_FALSE(unpacked.ok);
    EXPECT_EQ(Text(unpacked.error),
              QStringLiteral("B001FAFitlgt_x.bmp unpacks to more than 64 MiB; unpacking stopped"));
}

TEST(unpack, TheTotalAndTheNumberOfEntriesAreLimitedToo) {
    TempDir dir;
    const QString tar = dir.filePath(QStringLiteral("many.tar.gz"));
    std::vector<ArchiveEntry> entries;
    for (int i = 0; i < 5; ++i) {
        entries.push_back(
            {"part" + std::to_string(i) + ".bmp", "", ArchiveEntry::Type::File, {}, 300 * 1024});
    }
    WriteArchive(tar, ArchiveFormat::TarGz, entries);
    Limits total;
    total.totalBytes = 1 * MiB;
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(tar, staging, AnyFile, total);
        EXPECT_FALSE(unpacked.ok);
        EXPECT_EQ(Text(unpacked.error),
                  QStringLiteral("it unpacks to more than 1 MiB in all; unpacking stopped"));
    }
    Limits count;
    count.entries = 4;
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(tar, staging, AnyFile, count);
        EXPECT_FALSE(unpacked.ok);
        EXPECT_EQ(Text(unpacked.error), QStringLiteral("it holds more than 4 entries; unpacking stopped"));
        EXPECT_EQ(unpacked.entries, 5);
    }
}

TEST(unpack, TheDataOfRefusedEntriesCountsTowardTheLimits) {
    TempDir dir;
    const QString tar = dir.filePath(QStringLiteral("refused.tar.gz"));
    WriteArchive(tar, ArchiveFormat::TarGz,
                 {{"../zeros.bmp", "", ArchiveEntry::Type::File, {}, 600 * 1024},
                  {"B001\001FA.bmp", "", ArchiveEntry::Type::File, {}, 600 * 1024}});
    const struct {
        Limits limits;
        QString error;
    } cases[] = {
        {{.entryBytes = 512 * 1024}, "../zeros.bmp unpacks to more than 524288 bytes; unpacking stopped"},
        {{.totalBytes = 1024 * 1024}, "it unpacks to more than 1 MiB in all; unpacking stopped"},
    };
    for (const auto& c : cases) {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(tar, staging, AnyFile, c.limits);
        EXPECT_FALSE(unpacked.ok);
        EXPECT_EQ(Text(unpacked.error), c.error);
    }
}

TEST(unpack, TenThousandAndOneEntriesAreTooMany) {
    TempDir dir;
    const QString tar = dir.filePath(QStringLiteral("many.tar.gz"));
    std::vector<ArchiveEntry> entries;
    for (int i = 0; i <= 10000; ++i) {
        entries.push_back({"d" + std::to_string(i), "", ArchiveEntry::Type::Folder, {}, 0});
    }
    WriteArchive(tar, ArchiveFormat::TarGz, entries);
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(tar, staging, AnyFile);
    EXPECT_FALSE(unpacked.ok);
    EXPECT_EQ(Text(unpacked.error), QStringLiteral("it holds more than 10000 entries; unpacking stopped"));
}

TEST(unpack, DamagedProtectedAndForeignFilesGiveTheLibrarysReason) {
    TempDir dir;
    const std::vector<ArchiveEntry> skin = {File("B001FAFit_x.cmx", std::string(200000, 'c')),
                                            File("B001FAFitlgt_x.bmp", std::string(200000, 'b'))};
    for (const ArchiveFormat format :
         {ArchiveFormat::ZipStored, ArchiveFormat::SevenZip, ArchiveFormat::TarGz}) {
        const QString whole = dir.filePath(QStringLiteral("whole"));
        QFile::remove(whole);
        WriteArchive(whole, format, skin);
        const QByteArray bytes = readAll(whole);
        const QString cut = dir.write(QStringLiteral("cut"), bytes.left(bytes.size() * 2 / 3));
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(cut, staging, AnyFile);
        EXPECT_FALSE(unpacked.ok) << static_cast<int>(format);
        EXPECT_FALSE(Text(unpacked.error).isEmpty());
        EXPECT_TRUE(unpacked.files.isEmpty());
    }
    const QString locked = dir.filePath(QStringLiteral("locked.zip"));
    WriteArchive(locked, ArchiveFormat::ZipDeflate, skin, "secret");
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(locked, staging, AnyFile);
        EXPECT_FALSE(unpacked.ok);
        EXPECT_TRUE(Text(unpacked.error).startsWith(QStringLiteral("it is protected by a password (")))
            << Text(unpacked.error).toStdString();
        EXPECT_TRUE(unpacked.files.isEmpty());
    }
    const QString text = dir.write(QStringLiteral("readme.txt"), "just some words, no archive at all\n");
    {
        const StagingFolder staging = MakeStaging(dir);
        const Unpacked unpacked = unpack(text, staging, AnyFile);
        EXPECT_FALSE(unpacked.ok);
        EXPECT_EQ(Text(unpacked.error), QStringLiteral("Unrecognized archive format"));
    }
}

TEST(unpack, AnArchiveOfNoEntriesHoldsNothingAndAFileOfNoBytesIsEmpty) {
    TempDir dir;
    const QString zip = dir.filePath(QStringLiteral("empty.zip"));
    WriteArchive(zip, ArchiveFormat::ZipDeflate, {});
    const QString zero = dir.write(QStringLiteral("zero.zip"), "");
    const StagingFolder staging = MakeStaging(dir);
    const Unpacked unpacked = unpack(zip, staging, AnyFile);
    EXPECT_TRUE(unpacked.ok) << Text(unpacked.error).toStdString();
    EXPECT_FALSE(unpacked.empty);
    EXPECT_EQ(unpacked.entries, 0);
    EXPECT_TRUE(unpacked.files.isEmpty());
    const Unpacked nothing = unpack(zero, staging, AnyFile);
    EXPECT_FALSE(nothing.ok);
    EXPECT_TRUE(nothing.empty);
}

TEST(StagingFolder, IsMadeFreshAndRemovedWithoutFollowingLinks) {
    TempDir dir;
    dir.write(QStringLiteral("outside/keep.bmp"), "keep");
    dir.mkdir(QStringLiteral("taken"));
    UnpackError why;
    EXPECT_FALSE(StagingFolder::create(dir.filePath("taken"), &why).has_value());
    EXPECT_EQ(Text(why), dir.filePath("taken") + QStringLiteral(" is already there"));
    const QString path = dir.filePath(QStringLiteral("staging"));
    {
        const StagingFolder staging = MakeStaging(dir);
        dir.write(QStringLiteral("staging/a/b/c.cmx"), "staged");
        ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("outside")).constData(),
                            QFile::encodeName(dir.filePath("staging/a/out")).constData()),
                  0);
        EXPECT_TRUE(QFileInfo(path).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(readAll(dir.filePath("outside/keep.bmp")), "keep");
}

} // namespace
} // namespace vestimo::test
