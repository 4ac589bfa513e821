// Times `vestimo check --json` run as its own process on a synthetic skin directory of 10,000 skins
// against the three "Check All ..." buttons' command (runDirectoryCheckCommand, with a real
// progress bar and file list) on a copy of the same directory, and checks that both moved exactly
// the same files. Problem files are put back after each run. Usage: vestimo_cli_bench [skins]
// (default 10000); VESTIMO_BENCH_REPEATS sets the runs per measurement (default 3).

#include "core/checks/SkinChecks.h"
#include "core/journal/Journal.h"
#include "gui/app/BackgroundRun.h"
#include "gui/browser/FileList.h"
#include "gui/checks/DirectoryCheckCommand.h"
#include "samples/SkinSamples.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace vestimo;

namespace {

constexpr double Target = 1.2;

struct RecordedMessages : gui::MessageBoxes {
    void show(const QString&, const QString&) override {}
    void showReport(const QString&, const QString&, const report::RunReport&) override {}
    bool ask(const QString&) override { return false; }
};

// The problem files in `program`: everything but the listing and the journal.
QStringList Moved(const QString& program) {
    QStringList names = QDir(program).entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("Temp.txt"));
    names.removeIf([](const QString& name) { return name.startsWith(QStringLiteral("journal.sqlite")); });
    return names;
}

void Restore(const QString& skins, const QString& program) {
    QFile::remove(QDir(program).filePath(QStringLiteral("Temp.txt")));
    for (const QString& name : Moved(program)) {
        if (!QFile::rename(QDir(program).filePath(name), QDir(skins).filePath(name))) {
            std::fprintf(stderr, "cannot put back %s\n", qPrintable(name));
            std::exit(1);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
    const int wanted = qEnvironmentVariableIntValue("VESTIMO_BENCH_REPEATS");
    const int repeats = wanted > 0 ? wanted : 3;
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vestimo"));

    std::fprintf(stderr, "writing %zu skins twice...\n", count);
    QTemporaryDir root;
    const QString cliSkins = root.filePath(QStringLiteral("cli/skins"));
    const QString cliProgram = root.filePath(QStringLiteral("cli/program"));
    const QString buttonSkins = root.filePath(QStringLiteral("buttons/skins"));
    const QString buttonProgram = root.filePath(QStringLiteral("buttons/program"));
    QDir().mkpath(cliProgram);
    QDir().mkpath(buttonProgram);
    samples::GenerateSkinDirectory(cliSkins.toStdString(), samples::mixedSkinSet(count));
    samples::GenerateSkinDirectory(buttonSkins.toStdString(), samples::mixedSkinSet(count));

    QProgressBar bar;
    gui::FileList fileList;
    RecordedMessages messages;
    // Both record their runs, as the program and the command line do.
    journal::Journal journal;
    if (!journal.open(buttonProgram).ok) {
        std::fprintf(stderr, "cannot open a journal in %s\n", qPrintable(buttonProgram));
        return 1;
    }
    const gui::Services services{messages, buttonProgram, &journal};
    const std::vector<checks::DirectoryCheck> all = {checks::cmxCheck(), checks::bitmapCheck(),
                                                     checks::associatedFilesCheck()};
    double cliSeconds = 1e9;
    double buttonSeconds = 1e9;
    for (int r = 0; r < repeats; ++r) {
        QElapsedTimer timer;
        timer.start();
        for (const checks::DirectoryCheck& check : all) {
            fileList.setPath(buttonSkins);
            fileList.setPattern(patternOf(check.filter));
            // The run goes on its worker; the window's thread turns until it has ended.
            if (gui::BackgroundRun* run = gui::runDirectoryCheckCommand(
                    check, {check.filter, buttonSkins, bar, fileList}, services)) {
                QEventLoop loop;
                QObject::connect(run, &gui::BackgroundRun::ended, &loop, &QEventLoop::quit);
                loop.exec();
            }
        }
        buttonSeconds = std::min(buttonSeconds, static_cast<double>(timer.nsecsElapsed()) / 1e9);

        QProcess process;
        timer.restart();
        process.start(program, {QStringLiteral("check"), QStringLiteral("--json"),
                                QStringLiteral("--program-dir"), cliProgram, cliSkins});
        if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit) {
            std::fprintf(stderr, "%s did not finish\n", qPrintable(program));
            return 1;
        }
        const QByteArray report = process.readAllStandardOutput();
        cliSeconds = std::min(cliSeconds, static_cast<double>(timer.nsecsElapsed()) / 1e9);

        // Both moved the same files, and the report names each of them.
        QStringList reported;
        for (const QJsonValue& check : QJsonDocument::fromJson(report)["checks"].toArray()) {
            for (const QJsonValue& file : check["files"].toArray()) {
                if (file["verdict"].toString() == QStringLiteral("moved")) {
                    reported.append(file["name"].toString());
                }
            }
        }
        reported.sort();
        const QStringList byCli = Moved(cliProgram);
        if (process.exitCode() != 1 || byCli != Moved(buttonProgram) || byCli != reported ||
            byCli.isEmpty()) {
            std::fprintf(
                stderr,
                "the command line moved %lld files (exit %d), the buttons %lld, the report names %lld\n",
                static_cast<long long>(byCli.size()), process.exitCode(),
                static_cast<long long>(Moved(buttonProgram).size()), static_cast<long long>(reported.size()));
            return 1;
        }
        if (r == 0) {
            std::printf("both moved the same %lld files\n", static_cast<long long>(byCli.size()));
        }
        Restore(cliSkins, cliProgram);
        Restore(buttonSkins, buttonProgram);
    }
    const double ratio = cliSeconds / buttonSeconds;
    std::printf("%-30s %9s %7s\n", "three checks, skins", "seconds", "target");
    std::printf("buttons (%zu)%*s %9.3f\n", count, 18 - static_cast<int>(std::to_string(count).size()), "",
                buttonSeconds);
    std::printf("vestimo check --json (%zu)%*s %9.3f %6.2fx %5.1fx%s\n", count,
                5 - static_cast<int>(std::to_string(count).size()), "", cliSeconds, ratio, Target,
                ratio > Target ? "  MISSED" : "");
    std::printf("%s\n", ratio > Target ? "The target was missed (marked MISSED)." : "Target met.");
    return 0;
}
