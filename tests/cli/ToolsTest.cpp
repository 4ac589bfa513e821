#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

// A tool asked for help shows its usage, and a target that looks like an option is refused
// before anything is written.
TEST(Tools, HelpShowsTheUsageAndATargetLikeAnOptionIsRefused) {
    const struct {
        const char* tool;
        QStringList arguments;
        int status;
    } cases[] = {
        {VESTIMO_DEMO_TOOL, {"--help"}, 0},
        {VESTIMO_DEMO_TOOL, {"-h"}, 0},
        {VESTIMO_DEMO_TOOL, {"--skins"}, 2},
        {VESTIMO_DEMO_TOOL, {"--fake-home", "-home"}, 2},
        {VESTIMO_SCREENSHOT_TOOL, {"--help"}, 0},
        {VESTIMO_SCREENSHOT_TOOL, {"-skins", "docs"}, 2},
        {VESTIMO_SCREENSHOT_TOOL, {"skins", "--docs"}, 2},
    };
    for (const auto& c : cases) {
        const vestimo::test::TempDir folder;
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(c.tool, c.arguments);
        ASSERT_TRUE(process.waitForFinished(60000));
        const std::string what = (QFileInfo(c.tool).fileName() + ' ' + c.arguments.join(' ')).toStdString();
        EXPECT_EQ(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, c.status) << what;
        const QByteArray usage =
            c.status == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
        EXPECT_TRUE(usage.startsWith("usage: ")) << what;
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << what;
    }
}
