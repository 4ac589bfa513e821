#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun RunTool(const QString& tool, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

// A tool asked for help shows its usage, and a target that looks like an option is refused
// before anything is written.
TEST(Tools, HelpShowsTheUsageAndATargetLikeAnOptionIsRefused) {
    struct Case {
        QString tool;
        QStringList arguments;
        int status;
    };
    const QString demo = QStringLiteral(VESTIMO_DEMO_TOOL);
    const QString screenshot = QStringLiteral(VESTIMO_SCREENSHOT_TOOL);
    const std::vector<Case> cases = {
        {demo, {"--help"}, 0},
        {demo, {"-h"}, 0},
        {demo, {"--skins"}, 2},
        {demo, {"--fake-home", "-home"}, 2},
        {screenshot, {"--help"}, 0},
        {screenshot, {"-skins", "docs"}, 2},
        {screenshot, {"skins", "--docs"}, 2},
    };
    for (const Case& c : cases) {
        vestimo::test::TempDir folder;
        const ToolRun ran = RunTool(c.tool, c.arguments, folder.path());
        const QString what = QFileInfo(c.tool).fileName() + ' ' + c.arguments.join(' ');
        EXPECT_EQ(ran.status, c.status) << what.toStdString();
        EXPECT_TRUE((c.status == 0 ? ran.out : ran.err).startsWith("usage: ")) << what.toStdString();
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << what.toStdString();
    }
}
