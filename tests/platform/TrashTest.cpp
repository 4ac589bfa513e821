#include "platform/Trash.h"
#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include <sys/stat.h>

using namespace vestimo::platform;
using vestimo::test::TempDir;

namespace {

// The environment the trash is found by, set for one test and given back afterwards.
class Environment {
public:
    explicit Environment(const QMap<QByteArray, QByteArray>& values) {
        for (auto it = values.begin(); it != values.end(); ++it) {
            saved_.insert(it.key(), qEnvironmentVariableIsSet(it.key()) ? std::optional(qgetenv(it.key()))
                                                                        : std::nullopt);
            if (it.value().isNull()) {
                qunsetenv(it.key());
            } else {
                qputenv(it.key(), it.value());
            }
        }
    }
    ~Environment() {
        for (auto it = saved_.begin(); it != saved_.end(); ++it) {
            if (it.value()) {
                qputenv(it.key(), *it.value());
            } else {
                qunsetenv(it.key());
            }
        }
    }

private:
    QMap<QByteArray, std::optional<QByteArray>> saved_;
};

// The Path= line of a trash note, decoded.
QString NotedPath(const QString& note) {
    for (const QByteArray& line : vestimo::test::readAll(note).split('\n')) {
        if (line.startsWith("Path=")) {
            return QUrl::fromPercentEncoding(line.mid(5));
        }
    }
    return {};
}

int ModeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

class HomeTrash : public ::testing::Test {
protected:
    QString trash() const { return data.filePath("Trash"); }
    TempDir data;
    TempDir skins;
    Environment env{{{"XDG_DATA_HOME", QFile::encodeName(data.path())}}};
};

} // namespace

TEST(TrashPlace, AFreshHomeGetsAnOwnerOnlyTrashAndNothingLandsInTheCurrentFolder) {
    TempDir home;
    TempDir current;
    Environment env{{{"HOME", QFile::encodeName(home.path())}, {"XDG_DATA_HOME", QByteArray()}}};
    current.write("B001FAFitlgt_a.bmp", "bitmap");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    QString inTrash;
    const FileResult trashed = moveToTrash("B001FAFitlgt_a.bmp", &inTrash);
    QDir::setCurrent(before);

    ASSERT_TRUE(trashed.ok) << trashed.error.toStdString();
    const QString trash = home.filePath(".local/share/Trash");
    EXPECT_EQ(homeTrashDirectory(), trash);
    EXPECT_EQ(inTrash, trash + "/files/B001FAFitlgt_a.bmp");
    EXPECT_EQ(vestimo::test::readAll(inTrash), "bitmap");
    EXPECT_EQ(NotedPath(trash + "/info/B001FAFitlgt_a.bmp.trashinfo"),
              current.filePath("B001FAFitlgt_a.bmp"));
    for (const QString& folder : {trash, trash + "/files", trash + "/info"}) {
        EXPECT_EQ(ModeOf(folder), 0700) << folder.toStdString();
    }
    EXPECT_EQ(QDir(current.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
}

TEST(TrashPlace, ARelativeDataHomeIsNoSettingAndNoHomeIsNoTrash) {
    TempDir home;
    {
        Environment env{{{"HOME", QFile::encodeName(home.path())}, {"XDG_DATA_HOME", "relative/data"}}};
        EXPECT_EQ(homeTrashDirectory(), home.filePath(".local/share/Trash"));
    }
    TempDir skins;
    const QString file = skins.write("a.bmp", "x");
    Environment env{{{"HOME", "nowhere"}, {"XDG_DATA_HOME", QByteArray()}}};
    EXPECT_TRUE(homeTrashDirectory().isEmpty());
    const FileResult trashed = moveToTrash(file);
    EXPECT_FALSE(trashed.ok);
    EXPECT_TRUE(trashed.error.endsWith("so it was kept"));
    EXPECT_EQ(vestimo::test::readAll(file), "x");
}

TEST_F(HomeTrash, TheNoteNamesTheAbsolutePathEncodedAndSameNamesGetNumbers) {
    const QString first = skins.write("a/B001 100%é.bmp", "first");
    const QString second = skins.write("b/B001 100%é.bmp", "second");
    // A file someone left without its note keeps its name.
    data.write("Trash/files/B001 100%é.3.bmp", "stray");
    QString one;
    QString two;
    ASSERT_TRUE(moveToTrash(first, &one).ok);
    ASSERT_TRUE(moveToTrash(second, &two).ok);
    EXPECT_EQ(one, trash() + "/files/B001 100%é.bmp");
    EXPECT_EQ(two, trash() + "/files/B001 100%é.2.bmp");
    EXPECT_EQ(vestimo::test::readAll(two), "second");
    const QString note = trash() + "/info/B001 100%é.2.bmp.trashinfo";
    const QByteArray text = vestimo::test::readAll(note);
    EXPECT_TRUE(text.startsWith("[Trash Info]\nPath=")) << text.toStdString();
    EXPECT_TRUE(text.contains("%20100%25%C3%A9.bmp\n"));
    EXPECT_TRUE(text.contains("\nDeletionDate=2"));
    EXPECT_EQ(NotedPath(note), second);

    const QString third = skins.write("c/B001 100%é.bmp", "third");
    QString three;
    ASSERT_TRUE(moveToTrash(third, &three).ok);
    EXPECT_EQ(three, trash() + "/files/B001 100%é.4.bmp");
    EXPECT_EQ(vestimo::test::readAll(trash() + "/files/B001 100%é.3.bmp"), "stray");
    EXPECT_FALSE(QFileInfo::exists(trash() + "/info/B001 100%é.3.bmp.trashinfo"));
}

TEST_F(HomeTrash, ATrashThatCannotBeUsedKeepsTheFileAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> spoil;
    };
    const std::vector<Case> cases = {
        {"a file where the trash should be", [](const TempDir& home) { home.write("Trash", "x"); }},
        {"a link as the files folder",
         [](const TempDir& home) {
             home.mkdir("Trash/info");
             home.mkdir("elsewhere");
             QFile::link(home.filePath("elsewhere"), home.filePath("Trash/files"));
         }},
    };
    for (const Case& c : cases) {
        TempDir fresh;
        const Environment own{{{"XDG_DATA_HOME", QFile::encodeName(fresh.path())}}};
        c.spoil(fresh);
        const QString file = skins.write("a.bmp", "keep me");
        const FileResult trashed = moveToTrash(file);
        EXPECT_FALSE(trashed.ok) << c.what;
        EXPECT_TRUE(trashed.error.startsWith("the trash " + fresh.filePath("Trash") + " cannot be used: "))
            << trashed.error.toStdString();
        EXPECT_EQ(vestimo::test::readAll(file), "keep me") << c.what;
        EXPECT_TRUE(QDir(fresh.filePath("elsewhere")).isEmpty()) << c.what;
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
    const QString file = shm.filePath("B001FAFitlgt_a.bmp");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("across");
    }
    QString inTrash;
    ASSERT_TRUE(moveToTrash(file, &inTrash).ok);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(vestimo::test::readAll(inTrash), "across");
    EXPECT_EQ(NotedPath(trash() + "/info/B001FAFitlgt_a.bmp.trashinfo"), file);
}
