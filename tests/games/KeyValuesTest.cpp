#include "core/games/KeyValues.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vestimo::core::games {
namespace {

TEST(libraryFolderPaths, CurrentFormGivesEachEntrysPath) {
    const QByteArray text = R"("libraryfolders"
{
	"contentstatsid"		"-1234567890"
	"0"
	{
		"path"		"/home/player/.local/share/Steam"
		"label"		""
		"totalsize"		"0"
		"apps"
		{
			"228980"		"123"
			"path"		"/not/a/library"
		}
	}
	"1"
	{
		"label"		"games disk"
		"PATH"		"/mnt/games/SteamLibrary"
	}
}
)";
    EXPECT_EQ(libraryFolderPaths(text),
              QStringList({"/home/player/.local/share/Steam", "/mnt/games/SteamLibrary"}));
}

TEST(libraryFolderPaths, OldFormGivesTheNumberedValues) {
    const QByteArray text =
        "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1700000000\"\n"
        "\t\"ContentStatsID\"\t\t\"-42\"\n\t\"1\"\t\t\"/mnt/one\"\n\t\"2\"\t\t\"/mnt/two\"\n}\n";
    EXPECT_EQ(libraryFolderPaths(text), QStringList({"/mnt/one", "/mnt/two"}));
}

TEST(libraryFolderPaths, CommentsEscapesConditionsAndBareWords) {
    const QByteArray text = "// written by Steam\n"
                            "libraryfolders // the list\n"
                            "{\n"
                            "  0 { path \"/mnt/with \\\"quotes\\\" and \\\\ backslash\" }\n"
                            "  \"1\" [$LINUX] { \"path\" \"/mnt/x\" [$LINUX] }\n"
                            "  \"2\" { \"path\" \"/mnt/x\" }\n" // listed twice: once
                            "}\n";
    EXPECT_EQ(libraryFolderPaths(text), QStringList({"/mnt/with \"quotes\" and \\ backslash", "/mnt/x"}));
}

TEST(libraryFolderPaths, OtherFilesAndPathsOutsideTheListGiveNothing) {
    EXPECT_TRUE(libraryFolderPaths("\"AppState\" { \"appid\" \"1\" \"path\" \"/x\" }").isEmpty());
    EXPECT_TRUE(libraryFolderPaths("\"x\" { \"libraryfolders\" { \"0\" { \"path\" \"/x\" } } }").isEmpty());
    EXPECT_TRUE(libraryFolderPaths("").isEmpty());
}

TEST(libraryFolderPaths, GarbageNeverCrashesAndKeepsWhatCameBefore) {
    const QByteArray good = "\"libraryfolders\" { \"0\" { \"path\" \"/mnt/good\" } ";
    for (const QByteArray& tail :
         {QByteArray("\"1\" { \"path\" \"/mnt/unclosed"), QByteArray("}}}}}}} \"2\" "),
          QByteArray(100000, '{'), QByteArray("\"3\" { \"path\" "),
          QByteArray("\\\\\\\"\"\"\0\xff\xfe//", 12)}) {
        const QStringList paths = libraryFolderPaths(good + tail);
        ASSERT_FALSE(paths.isEmpty()) << tail.left(40).toStdString();
        EXPECT_EQ(paths.front(), "/mnt/good");
    }
    QByteArray noise;
    quint32 seed = 7;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.append(static_cast<char>("{}\"\\/ \nab0"[(seed >> 16) % 10]));
    }
    libraryFolderPaths(noise);
    libraryFolderPaths(QByteArray(100000, '}'));
    libraryFolderPaths(QByteArray(100000, '"'));
}

TEST(libraryFolderPaths, OnlyTheFirstFoldersAreKeptAndTheRestCountedOnce) {
    QByteArray text = "\"libraryfolders\" {\n";
    for (const char* path : {"/a", "/b", "/a", "/c", "/d", "/c"}) {
        text += QByteArray("\"") + char('0' + text.count('{')) + "\" { \"path\" \"" + path + "\" }\n";
    }
    text += "}\n";
    const LibraryFolders found = libraryFolders(text, 2);
    EXPECT_EQ(found.paths, QStringList({"/a", "/b"}));
    EXPECT_EQ(found.ignored, 2);
    EXPECT_EQ(libraryFolderPaths(text), QStringList({"/a", "/b", "/c", "/d"}));
}

} // namespace
} // namespace vestimo::core::games
