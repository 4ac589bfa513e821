#include "platform/Trash.h"
#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <sys/stat.h>

using namespace vestimo::platform;
using vestimo::test::readAll;
using vestimo::test::TempDir;

namespace {

// Environment variables set for one scope (a null value unsets one), given back afterwards.
class Environment {
public:
    explicit Environment(const QMap<QByteArray, QByteArray>& values) {
        for (auto it = values.begin(); it != values.end(); ++it) {
            saved_.insert(it.key(), qEnvironmentVariableIsSet(it.key()) ? std::optional(qgetenv(it.key()))
                                                                        : std::nullopt);
            Set(it.key(), it.value().isNull() ? std::nullopt : std::optional(it.value()));
        }
    }
    ~Environment() {
        for (auto it = saved_.begin(); it != saved_.end(); ++it) {
            Set(it.key(), it.value());
        }
    }

private:
    static void Set(const QByteArray& key, const std::optional<QByteArray>& value) {
        value ? qputenv(key, *value) : qunsetenv(key);
    }
    QMap<QByteArray, std::optional<QByteArray>> saved_;
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
    EXPECT_TRUE(trashed.ok) << trashed.error.toStdString();
    return inTrash;
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
        Environment env{{{"HOME", QFile::encodeName(home.path())}, {"XDG_DATA_HOME", "relative/data"}}};
        EXPECT_EQ(homeTrashDirectory(), home.filePath(".local/share/Trash"));
    }
    const QString file = home.write("a.bmp", "x");
    Environment env{{{"HOME", "nowhere"}, {"XDG_DATA_HOME", QByteArray()}}};
    EXPECT_TRUE(homeTrashDirectory().isEmpty());
    const FileResult trashed = moveToTrash(file);
    EXPECT_FALSE(trashed.ok);
    EXPECT_TRUE(trashed.error.endsWith("so it was kept"));
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
        const Environment own{{{"XDG_DATA_HOME", QFile::encodeName(fresh.path())}}};
        spoil(fresh);
        const QString file = skins.write("a.bmp", "keep me");
        const FileResult trashed = moveToTrash(file);
        EXPECT_FALSE(trashed.ok);
        EXPECT_TRUE(trashed.error.startsWith("the trash " + fresh.filePath("Trash") + " cannot be used: "))
            << trashed.error.toStdString();
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
