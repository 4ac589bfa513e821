#include "platform/FileSystem.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace vestimo::platform;
using vestimo::test::TempDir;

namespace {

// Points the user's data folder at a temporary one for the test's length.
class DataHome {
public:
    DataHome() : saved_(qgetenv("XDG_DATA_HOME")), had_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    }
    ~DataHome() {
        if (had_) {
            qputenv("XDG_DATA_HOME", saved_);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }
    TempDir dir;

private:
    QByteArray saved_;
    bool had_;
};

} // namespace

TEST(programDirectory, APortableCopyKeepsMovedFilesBesideItself) {
    DataHome home;
    TempDir copy;
    copy.write("vestimo", "");
    copy.write("vestimo.portable", "");
    EXPECT_EQ(programDirectoryFor(copy.path()), copy.path());
    EXPECT_FALSE(QFileInfo::exists(home.dir.filePath(applicationId())));
}

TEST(programDirectory, EveryOtherCopyUsesTheUsersDataFolder) {
    DataHome home;
    const QString expected = home.dir.filePath(applicationId());
    // Wherever it was installed, and even in a folder the user can write to.
    for (const QString& folder : {QStringLiteral("/usr/bin"), QStringLiteral("/opt/vestimo/bin")}) {
        EXPECT_EQ(programDirectoryFor(folder), expected) << folder.toStdString();
    }
    TempDir writable;
    writable.write("vestimo", "");
    EXPECT_EQ(programDirectoryFor(writable.path()), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir()) << "the folder is made when missing";
    EXPECT_EQ(applicationId(), "io.github.vestimo.Vestimo");
}

TEST(programDirectory, AFolderNamedLikeTheMarkerDoesNotMakeACopyPortable) {
    DataHome home;
    TempDir copy;
    copy.mkdir("vestimo.portable");
    EXPECT_EQ(programDirectoryFor(copy.path()), home.dir.filePath(applicationId()));
}

TEST(programDirectory, TheBuildTreeIsAPortableCopy) {
    EXPECT_TRUE(QFileInfo(QStringLiteral(VESTIMO_TEST_BUILD_DIR "/vestimo.portable")).isFile());
    EXPECT_EQ(programDirectoryFor(QStringLiteral(VESTIMO_TEST_BUILD_DIR)),
              QStringLiteral(VESTIMO_TEST_BUILD_DIR));
}
