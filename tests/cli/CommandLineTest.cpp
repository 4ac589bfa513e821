#include "cli/CommandLine.h"
#include "cli/Output.h"

#include "support/TempDir.h"

#include <QDir>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <vector>

using namespace vestimo;

TEST(CommandLineChoice, TheWindowsOpenWithoutArgumentsOnAFolderOrWithTheirOwnOptions) {
    test::TempDir dir;
    const QString file = dir.write("B001FAFit_x.cmx", "x");
    EXPECT_FALSE(cli::wantsCommand({"vestimo"}));
    EXPECT_FALSE(cli::wantsCommand({"vestimo", dir.path()}));
    EXPECT_FALSE(cli::wantsCommand({"vestimo", file}));
    EXPECT_FALSE(cli::wantsCommand({"vestimo", "-platform", "offscreen"}));
    EXPECT_EQ(cli::startFolder({"vestimo", dir.path()}), QDir(dir.path()).absolutePath());
    // A file manager may hand over a file: the windows start in its folder.
    EXPECT_EQ(cli::startFolder({"vestimo", file}), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(cli::startFolder({"vestimo"}).isEmpty());

    for (const char* command : {"check", "check-file", "install", "games", "history", "undo", "render",
                                "skins", "--help", "-h", "--version", "--frobnicate"}) {
        EXPECT_TRUE(cli::wantsCommand({"vestimo", command})) << command;
    }
    // A word that is neither a command nor a path is a mistyped command, told as a usage error.
    EXPECT_TRUE(cli::wantsCommand({"vestimo", "chek"}));
    EXPECT_TRUE(cli::wantsCommand({"vestimo", dir.path(), dir.path()}));

    // A folder named like a command opens in the windows when written as a path.
    dir.mkdir("render");
    dir.mkdir("skins");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const char* command : {"render", "skins"}) {
        EXPECT_FALSE(cli::wantsCommand({"vestimo", QStringLiteral("./") + QLatin1String(command)}))
            << command;
        EXPECT_TRUE(cli::wantsCommand({"vestimo", QLatin1String(command)})) << command;
    }
    // Only the contact sheet draws text, so only it gets a QGuiApplication.
    EXPECT_TRUE(cli::wantsPictureText({"vestimo", "skins", "--sheet", "a.png", "dir"}));
    EXPECT_TRUE(cli::wantsPictureText({"vestimo", "skins", "--sheet=a.png", "dir"}));
    EXPECT_FALSE(cli::wantsPictureText({"vestimo", "skins", "dir"}));
    EXPECT_FALSE(cli::wantsPictureText({"vestimo", "render", "--sheet", "a.cmx", "a.png"}));
    QDir::setCurrent(before);
}

TEST(PrintableNames, ControlsAndReorderingCharactersAreShownAsEscapes) {
    EXPECT_EQ(cli::printable("B001FAFit_x.cmx"), "B001FAFit_x.cmx");
    EXPECT_EQ(cli::printable(QStringLiteral("a\x1b[31mb")), "a\\x1B[31mb");
    EXPECT_EQ(cli::printable(QStringLiteral("a\r\nb\tc\x7f")), "a\\x0D\\x0Ab\\x09c\\x7F");
    EXPECT_EQ(cli::printable(QString(QChar(0x9b)) + "2J"), "\\x9B2J");
    EXPECT_EQ(cli::printable(QString(QChar(0x202e)) + "gpj.exe"), "\\u{202E}gpj.exe");
    // Letters of any script, and characters beyond the first plane, stay as they are.
    EXPECT_EQ(cli::printable(QStringLiteral("Ünïcødé_日本_😀")), QStringLiteral("Ünïcødé_日本_😀"));
    EXPECT_EQ(cli::printable(QString(QChar(0xd800)) + "x"), "\\u{D800}x");
}

TEST(PrintableNames, BytesThatAreNotTextAreShownOneByOne) {
    EXPECT_EQ(cli::escapedBytes("plain.bmp"), "plain.bmp");
    EXPECT_EQ(cli::escapedBytes("caf\xe9.bmp"), "caf\\xE9.bmp");
    EXPECT_EQ(cli::escapedBytes("caf\xc3\xa9.bmp"), QStringLiteral("café.bmp"));
    // Overlong forms, encoded surrogates and cut sequences are not text either.
    EXPECT_EQ(cli::escapedBytes("\xc0\xaf"), "\\xC0\\xAF");
    EXPECT_EQ(cli::escapedBytes("\xed\xa0\x80"), "\\xED\\xA0\\x80");
    EXPECT_EQ(cli::escapedBytes("a\xe6\x97"), "a\\xE6\\x97");
    EXPECT_EQ(cli::escapedBytes("\x1b\xff"), "\\x1B\\xFF");
    // A backslash is doubled, so that an escape always stands apart from a name's own characters.
    EXPECT_EQ(cli::printable("a\\b"), "a\\\\b");
    EXPECT_EQ(cli::printable(cli::withStrayBytes("a\\\xff")), "a\\\\\\xFF");
}

TEST(CommandLineChoice, TheWindowsNeedADisplayFromTheEnvironmentOrTheirOwnOption) {
    struct Case {
        QStringList arguments;
        QStringList environment;
        bool display;
    };
    const std::vector<Case> cases = {
        {{"vestimo"}, {}, false},
        {{"vestimo", "skins"}, {"HOME=/home/player", "DISPLAY="}, false},
        {{"vestimo"}, {"DISPLAY=:0"}, true},
        {{"vestimo"}, {"WAYLAND_DISPLAY=wayland-0"}, true},
        {{"vestimo"}, {"QT_QPA_PLATFORM=offscreen"}, true},
        {{"vestimo", "-platform", "offscreen"}, {}, true},
        {{"vestimo", "--platform=offscreen"}, {}, true},
    };
    for (const Case& c : cases) {
        QProcessEnvironment environment;
        for (const QString& pair : c.environment) {
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        }
        EXPECT_EQ(cli::hasDisplay(c.arguments, environment), c.display)
            << c.arguments.join(' ').toStdString() << " " << c.environment.join(' ').toStdString();
    }
}
