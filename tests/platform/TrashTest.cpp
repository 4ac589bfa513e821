#include "platform/Trash.h"
#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace vestimo::platform;
using vestimo::test::readAll;
using vestimo::test::TempDir;

namespace {

// An environment variable set (or, given a null value, unset) for one scope and given back afterwards.
class Variable {
public:
    Variable(const char* name, const QByteArray& value)
        : name_(name), old_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
        Set(value, !value.isNull());
    }
    ~Variable() { Set(old_, wasSet_); }

private:
    void Set(const QByteArray& value, bool set) const { set ? qputenv(name_, value) : qunsetenv(name_); }
    const char* name_;
    QByteArray old_;
    bool wasSet_;
};

// The Path= line of a trash note, decoded.
QString NotedPath(const QString& note) {
    for (const QByteArray& line : readAll(note).split('\n')) {
        if (line.startsWith("Path=")) {
            return QUrl::fromPercentEncoding(line.mid(5));
        }
    }
    return {};
}

// Where `file` went in the trash, or nothing when it was not moved.
QString Trashed(const QString& file) {
    QString inTrash;
    const FileResult trashed = moveToTrash(file, &inTrash);
    EXPECT_TRUE(trashed.ok) << trashed.error.reason.toStdString();
    return inTrash;
}

class HomeTrash : public ::testing::Test {
protected:
    QString trash() const { return data.filePath("Trash"); }
    TempDir data;
    TempDir skins;
    Variable env{"XDG_DATA_HOME", QFile::encodeName(data.path())};
};

} // namespace

TEST(TrashPlace, AFreshHomeGetsAnOwnerOnlyTrashAndNothingLandsInTheCurrentFolder) {
    TempDir home;
    TempDir current;
    const Variable homeSet("HOME", QFile::encodeName(home.path())), dataUnset("XDG_DATA_HOME", {});
    current.write("a.bmp", "bitmap");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    const QString inTrash = Trashed("a.bmp");
    QDir::setCurrent(before);

    const QString trash = home.filePath(".local/share/Trash");
    EXPECT_EQ(homeTrashDirectory(), trash);
    EXPECT_EQ(inTrash, trash + "/files/a.bmp");
    EXPECT_EQ(readAll(inTrash), "bitmap");
    EXPECT_EQ(NotedPath(trash + "/info/a.bmp.trashinfo"), current.filePath("a.bmp"));
    for (const QString& folder : {trash, trash + "/files", trash + "/info"}) {
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u) << folder.toStdString();
    }
    EXPECT_TRUE(QDir(current.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST(TrashPlace, ARelativeDataHomeIsNoSettingAndNoHomeIsNoTrash) {
    TempDir home;
    {
        const Variable homeSet("HOME", QFile::encodeName(home.path())),
            data("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(homeTrashDirectory(), home.filePath(".local/share/Trash"));
    }
    const QString file = home.write("a.bmp", "x");
    const Variable noHome("HOME", "nowhere"), dataUnset("XDG_DATA_HOME", {});
    EXPECT_TRUE(homeTrashDirectory().isEmpty());
    const FileResult trashed = moveToTrash(file);
    EXPECT_FALSE(trashed.ok);
    EXPECT_EQ(trashed.error.outcome, FileError::Outcome::Kept);
    EXPECT_EQ(readAll(file), "x");
}

TEST_F(HomeTrash, TheNoteNamesTheAbsolutePathEncodedAndSameNamesGetNumbers) {
    // A file someone left without its note keeps its name.
    data.write("Trash/files/B001 100%é.3.bmp", "stray");
    const QStringList expected = {"B001 100%é.bmp", "B001 100%é.2.bmp", "B001 100%é.4.bmp"};
    for (int i = 0; i < expected.size(); ++i) {
        const QString file = skins.write(QString::number(i) + "/B001 100%é.bmp", QByteArray::number(i));
        EXPECT_EQ(Trashed(file), trash() + "/files/" + expected[i]);
        EXPECT_EQ(readAll(trash() + "/files/" + expected[i]), QByteArray::number(i));
        EXPECT_EQ(NotedPath(trash() + "/info/" + expected[i] + ".trashinfo"), file);
    }
    const QByteArray text = readAll(trash() + "/info/B001 100%é.2.bmp.trashinfo");
    EXPECT_TRUE(text.startsWith("[Trash Info]\nPath=")) << text.toStdString();
    EXPECT_TRUE(text.contains("%20100%25%C3%A9.bmp\n"));
    EXPECT_TRUE(text.contains("\nDeletionDate=2"));
    EXPECT_EQ(readAll(trash() + "/files/B001 100%é.3.bmp"), "stray");
    EXPECT_FALSE(QFileInfo::exists(trash() + "/info/B001 100%é.3.bmp.trashinfo"));
}

TEST_F(HomeTrash, ATrashThatCannotBeUsedKeepsTheFileAndSaysWhy) {
    const std::function<void(const TempDir&)> spoilers[] = {
        [](const TempDir& home) { home.write("Trash", "x"); }, // a file where the trash should be
        [](const TempDir& home) {                              // a link as the files folder
            home.mkdir("Trash/info");
            QFile::link(home.mkdir("elsewhere"), home.filePath("Trash/files"));
        },
    };
    for (const auto& spoil : spoilers) {
        TempDir fresh;
        const Variable own("XDG_DATA_HOME", QFile::encodeName(fresh.path()));
        spoil(fresh);
        const QString file = skins.write("a.bmp", "keep me");
        const FileResult trashed = moveToTrash(file);
        EXPECT_FALSE(trashed.ok);
        EXPECT_EQ(trashed.error.outcome, FileError::Outcome::TrashUnusable);
        EXPECT_EQ(trashed.error.place, fresh.filePath("Trash"));
        EXPECT_EQ(readAll(file), "keep me");
        EXPECT_TRUE(QDir(fresh.filePath("elsewhere")).isEmpty());
    }
}

TEST_F(HomeTrash, AFileOnAnotherFileSystemIsCopiedInAndRemoved) {
    QTemporaryDir shm(QStringLiteral("/dev/shm/vestimo-trash-XXXXXX"));
    struct stat there {};
    struct stat here {};
    if (!shm.isValid() || ::stat("/dev/shm", &there) != 0 ||
        ::stat(QFile::encodeName(data.path()).constData(), &here) != 0 || there.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system to try";
    }
    const QString file = shm.filePath("a.bmp");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write("across") == 6 && out.flush());
    out.close();
    const QString inTrash = Trashed(file);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(readAll(inTrash), "across");
    EXPECT_EQ(NotedPath(trash() + "/info/a.bmp.trashinfo"), file);
}
