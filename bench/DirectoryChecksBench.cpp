// Times the three directory-wide checks on synthetic skin directories of 1,000 and 10,000 skins,
// each against a plain baseline measured in the same run on the same files:
//   CMX check        - listing the CMX files, then reading each one's first 49 lines with fgets;
//   bitmap check     - listing the bitmaps, then decoding each once with QImageReader;
//   associated files - one enumeration of the directory;
// and each baseline then enumerates the directory once more, as any program must to show the
// folder as the work left it. Each check runs as the whole command its button runs: the listing,
// the walk, the moves, the closing message (recorded, not shown) and the file list's re-read, with
// a real progress bar and file list. Problem files go to a scratch program folder and are put back after each
// run. Usage: vestimo_bench [skins...] (default 1000 10000). Prints one line per check and size.
// VESTIMO_BENCH_REPEATS sets the runs per measurement; VESTIMO_BENCH_ONLY picks one check.
// Last, the journal's share: the CMX check over 10,000 files that moves 1,000 of them, with the
// journal recording every move against the same command without it (VESTIMO_BENCH_ONLY=journal
// times that alone). Then, for each size, the skin-set report against the associated-files command
// on the same folder (VESTIMO_BENCH_ONLY=report times that alone). Last, the installation from a
// folder of 200 downloads (see InstallBench.cpp; VESTIMO_BENCH_ONLY=install). Then the longest stall
// of the window's thread while the CMX check walks 100,000 files on its worker
// (VESTIMO_BENCH_ONLY=stall). Last, a frame of the software renderer (see RenderBench.cpp;
// VESTIMO_BENCH_ONLY=render), and the demo adult drawn to a written picture as `vestimo render` does.
// Then the Skins view on 1,000 and 10,000 skins (see SkinsBench.cpp), and the longest stall of the
// window's thread while the Skins window opens 10,000 skins and draws their pictures (see
// SkinsViewBench.cpp); VESTIMO_BENCH_ONLY=skins runs both.

#include "InstallBench.h"
#include "RenderBench.h"
#include "SkinsBench.h"
#include "SkinsViewBench.h"
#include "core/catalogue/History.h"
#include "core/catalogue/RunReport.h"
#include "core/checks/SkinChecks.h"
#include "core/journal/Journal.h"
#include "core/report/SkinSetReport.h"
#include "gui/app/BackgroundRun.h"
#include "gui/browser/FileList.h"
#include "gui/checks/DirectoryCheckCommand.h"
#include "samples/SkinSamples.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace vestimo;

namespace {

// Runs per measurement (VESTIMO_BENCH_REPEATS overrides); the fastest counts, as the one least
// disturbed by the rest of the machine. Small directories get more, being over sooner.
int Repeats(std::size_t count) {
    const int wanted = qEnvironmentVariableIntValue("VESTIMO_BENCH_REPEATS");
    return wanted > 0 ? wanted : count <= 2000 ? 9 : 3;
}

struct Check {
    const char* name;
    double target; // largest accepted ratio to the baseline
    std::function<void(const QString& dir)> baseline;
    checks::DirectoryCheck check;
    std::size_t expectedMoves = 0;
};

// Keeps the closing message and its report instead of showing them.
struct RecordedMessages : gui::MessageBoxes {
    QString message;
    report::RunReport report;
    void show(const QString& shown, const QString&) override { message = shown; }
    void showReport(const QString& shown, const QString&, const report::RunReport& run) override {
        message = shown;
        report = run;
    }
    bool ask(const QString&) override { return false; }
};

// The number the report gives for `label` among its counts, or -1.
long long Count(const report::RunReport& report, const QString& label) {
    for (const report::RunFact& fact : report.facts) {
        if (fact.label == label) {
            return fact.value.toLongLong();
        }
    }
    return -1;
}

struct Figures {
    int files = 0;
    double seconds = 0;
    double baseline = 0;
};

double Seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Puts back everything a check moved, so the next run finds the same files; the journal stays.
void Restore(const QString& skins, const QString& program) {
    QFile::remove(QDir(program).filePath(QStringLiteral("Temp.txt")));
    const QStringList moved = QDir(program).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : moved) {
        if (name.startsWith(journal::JournalStore::fileName())) {
            continue;
        }
        if (!QFile::rename(QDir(program).filePath(name), QDir(skins).filePath(name))) {
            std::fprintf(stderr, "cannot put back %s\n", qPrintable(name));
            std::exit(1);
        }
    }
}

QStringList Names(const QString& dir, const QString& filter) {
    return QDir(dir).entryList({filter}, QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
}

void ReadFirstLines(const QString& dir) {
    std::vector<char> line(4096);
    long lines = 0;
    for (const QString& name : Names(dir, QStringLiteral("*.cmx"))) {
        std::FILE* file = std::fopen(QFile::encodeName(QDir(dir).filePath(name)).constData(), "rb");
        if (file == nullptr) {
            continue;
        }
        for (int n = 0; n < 49 && std::fgets(line.data(), static_cast<int>(line.size()), file) != nullptr;
             ++n) {
            ++lines;
        }
        std::fclose(file);
    }
    if (lines == 0) {
        std::fprintf(stderr, "baseline read nothing\n");
    }
}

void DecodeEach(const QString& dir) {
    long pixels = 0;
    for (const QString& name : Names(dir, QStringLiteral("*.bmp"))) {
        QImageReader reader(QDir(dir).filePath(name));
        QImage image;
        if (reader.read(&image)) {
            pixels += image.width();
        }
    }
    if (pixels == 0) {
        std::fprintf(stderr, "baseline decoded nothing\n");
    }
}

void EnumerateOnce(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    if (names.isEmpty()) {
        std::fprintf(stderr, "baseline listed nothing\n");
    }
}

// The plain work, then the enumeration that shows the folder afterwards.
std::function<void(const QString&)> ThenShown(void (*work)(const QString&)) {
    return [work](const QString& dir) {
        work(dir);
        EnumerateOnce(dir);
    };
}

// Runs the command as its button does and turns the window's thread until the run has ended.
void RunToEnd(const checks::DirectoryCheck& check, const gui::CheckSite& site,
              const gui::Services& services) {
    gui::BackgroundRun* run = gui::runDirectoryCheckCommand(check, site, services);
    if (run == nullptr) {
        return;
    }
    QEventLoop loop;
    QObject::connect(run, &gui::BackgroundRun::ended, &loop, &QEventLoop::quit);
    loop.exec();
}

// The longest the window's thread went without turning while the CMX check walked a folder of
// 100,000 CMX files (VESTIMO_BENCH_STALL_FILES overrides): a timer ticks every few milliseconds
// there, and the widest gap between ticks is the stall. Printed, not held to a target.
void WindowStall(QProgressBar& bar, gui::FileList& fileList, RecordedMessages& messages) {
    const int wanted = qEnvironmentVariableIntValue("VESTIMO_BENCH_STALL_FILES");
    const std::size_t files = wanted > 0 ? static_cast<std::size_t>(wanted) : 100000;
    std::fprintf(stderr, "writing %zu skins for the window's stall...\n", files);
    QTemporaryDir root;
    const QString skins = root.filePath(QStringLiteral("skins"));
    const QString program = root.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    samples::SkinSetRecipe recipe = samples::mixedSkinSet(files);
    // Small pictures: the CMX check does not read them, and the folder stays small on the disk.
    recipe.textureWidth = 32;
    recipe.textureHeight = 32;
    samples::GenerateSkinDirectory(skins.toStdString(), recipe);
    const checks::DirectoryCheck check = checks::cmxCheck();
    fileList.setPath(skins);
    fileList.setPattern(patternOf(check.filter));
    messages = {};
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, &ticks,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    const gui::Services services{messages, program};
    const gui::CheckSite site{check.filter, skins, bar, fileList};
    const double seconds = Seconds([&] {
        sinceTick.start();
        ticks.start();
        RunToEnd(check, site, services);
        // The last gap, up to the run's end as the window's thread saw it.
        longest = std::max(longest, sinceTick.elapsed());
        ticks.stop();
    });
    std::printf("%-18s %7lld %9.3f  longest stall of the window's thread: %lld ms (timer every 5 ms)\n",
                "window stall", Count(messages.report, texts::factJudged()), seconds,
                static_cast<long long>(longest));
    std::fflush(stdout);
}

// The CMX check over 10,000 files that moves 1,000, as its button runs it, with the journal and
// without, turn about; true when the journal's run stays within its target.
bool JournalShare(QProgressBar& bar, gui::FileList& fileList, RecordedMessages& messages) {
    constexpr std::size_t Files = 10000;
    constexpr double Target = 1.3;
    std::fprintf(stderr, "writing %zu skins for the journal...\n", Files);
    QTemporaryDir root;
    const QString skins = root.filePath(QStringLiteral("skins"));
    const QString program = root.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    samples::SkinSetRecipe recipe;
    recipe.count = Files;
    recipe.seed = 2025;
    recipe.faultyCmxShare = 0.10;
    const samples::SkinSetSummary summary = samples::GenerateSkinDirectory(skins.toStdString(), recipe);
    // Opened once, as the program does at its start; it grows by a run each time.
    journal::Journal journal;
    if (!journal.open(program).ok) {
        std::fprintf(stderr, "the journal cannot be opened in %s\n", qPrintable(program));
        return false;
    }
    const checks::DirectoryCheck check = checks::cmxCheck();
    double plain = 1e9;
    double recorded = 1e9;
    int judged = 0;
    for (int r = 0; r < Repeats(Files); ++r) {
        for (journal::Journal* with : {static_cast<journal::Journal*>(nullptr), &journal}) {
            fileList.setPath(skins);
            fileList.setPattern(patternOf(check.filter));
            messages = {};
            const gui::Services services{messages, program, with};
            const gui::CheckSite site{check.filter, skins, bar, fileList};
            const double seconds = Seconds([&] { RunToEnd(check, site, services); });
            (with == nullptr ? plain : recorded) = std::min(with == nullptr ? plain : recorded, seconds);
            judged = static_cast<int>(Count(messages.report, texts::factJudged()));
            const long long moved = Count(messages.report, texts::factMoved());
            const bool undoable = !messages.report.facts.isEmpty() &&
                                  messages.report.facts.last().value == texts::runCanBeUndone();
            if (moved != static_cast<long long>(summary.faultyCmxNames.size()) ||
                (with != nullptr && !undoable)) {
                std::fprintf(stderr, "the journal run moved %lld files, expected %zu%s\n", moved,
                             summary.faultyCmxNames.size(),
                             undoable || with == nullptr ? "" : "; not recorded");
                return false;
            }
            Restore(skins, program);
        }
    }
    const double ratio = recorded / plain;
    std::printf("%-18s %7d %9.3f %11.0f %11.3f %6.2fx %7.1fx%s  (%zu moves; baseline: no journal)\n",
                "CMX with journal", judged, recorded, judged / recorded, plain, ratio, Target,
                ratio > Target ? "  MISSED" : "", summary.faultyCmxNames.size());
    std::fflush(stdout);
    return ratio <= Target;
}

// The skin-set report of `skins` against "Check Associated Files For All CMX Files" run as its
// button runs it on the same folder, turn about; true when the report stays within its target.
bool ReportShare(const QString& skins, const QString& program, std::size_t expectedMoves, QProgressBar& bar,
                 gui::FileList& fileList, RecordedMessages& messages) {
    constexpr double Target = 2.0;
    const checks::DirectoryCheck check = checks::associatedFilesCheck();
    const gui::Services services{messages, program};
    double reported = 1e9;
    double command = 1e9;
    qsizetype rows = 0;
    int files = 0;
    const int repeats = Repeats(static_cast<std::size_t>(Names(skins, QStringLiteral("*.cmx")).size()));
    for (int r = 0; r < repeats; ++r) {
        fileList.setPath(skins);
        fileList.setPattern(patternOf(check.filter));
        messages = {};
        const gui::CheckSite site{check.filter, skins, bar, fileList};
        command = std::min(command, Seconds([&] { RunToEnd(check, site, services); }));
        files = static_cast<int>(Count(messages.report, texts::factJudged()));
        if (Count(messages.report, texts::factMoved()) != static_cast<long long>(expectedMoves)) {
            std::fprintf(stderr, "associated files moved other files than expected\n");
            return false;
        }
        Restore(skins, program);
        reported = std::min(reported, Seconds([&] {
                                const report::SkinSetReport made = report::makeSkinSetReport(skins);
                                rows = made.ok ? made.rows.size() : -1;
                            }));
    }
    if (rows <= 0) {
        std::fprintf(stderr, "the report of %s has no rows\n", qPrintable(skins));
        return false;
    }
    const double ratio = reported / command;
    std::printf("%-18s %7d %9.3f %11.0f %11.3f %6.2fx %7.1fx%s  (%lld rows; baseline: associated files)\n",
                "skin-set report", files, reported, files / reported, command, ratio, Target,
                ratio > Target ? "  MISSED" : "", static_cast<long long>(rows));
    std::fflush(stdout);
    return ratio <= Target;
}

} // namespace

// The parts after the checks, each alone when VESTIMO_BENCH_ONLY names it; false when a target
// was missed.
bool OtherParts(const QString& only, QProgressBar& bar, gui::FileList& fileList, RecordedMessages& messages) {
    bool missed = false;
    if (only.isEmpty() || only == QLatin1String("journal")) {
        missed = !JournalShare(bar, fileList, messages) || missed;
    }
    if (only.isEmpty() || only == QLatin1String("install")) {
        missed = !bench::installBench() || missed;
    }
    if (only.isEmpty() || only == QLatin1String("stall")) {
        WindowStall(bar, fileList, messages);
    }
    if (only.isEmpty() || only == QLatin1String("render")) {
        missed = !bench::renderBench() || missed;
        missed = !bench::tryOnBench() || missed;
    }
    if (only.isEmpty() || only == QLatin1String("skins")) {
        bench::skinsBench();
        bench::skinsViewStall();
    }
    return !missed;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::vector<std::size_t> sizes = {1000, 10000};
    const QString only = qEnvironmentVariable("VESTIMO_BENCH_ONLY");
    // The parts that measure folders of their own.
    const QStringList ownFolders = {"journal", "install", "stall", "render", "skins"};
    if (ownFolders.contains(only)) {
        sizes.clear();
    }
    if (argc > 1 && !sizes.empty()) {
        sizes.clear();
        for (int i = 1; i < argc; ++i) {
            sizes.push_back(static_cast<std::size_t>(std::strtoul(argv[i], nullptr, 10)));
        }
    }

    // The window's own controls, as the buttons hand them to the command.
    QProgressBar bar;
    gui::FileList fileList;
    RecordedMessages messages;

    std::printf("%-18s %7s %9s %11s %11s %7s %8s\n", "check", "files", "seconds", "files/s", "baseline s",
                "ratio", "target");
    std::vector<std::vector<Figures>> all;
    bool missed = false;
    std::vector<const char*> names;
    for (std::size_t count : sizes) {
        std::fprintf(stderr, "writing %zu skins...\n", count);
        QTemporaryDir root;
        const QString skins = root.filePath(QStringLiteral("skins"));
        const QString program = root.filePath(QStringLiteral("program"));
        QDir().mkpath(program);
        const samples::SkinSetSummary summary =
            samples::GenerateSkinDirectory(skins.toStdString(), samples::mixedSkinSet(count));

        const std::vector<Check> checks = {
            {"CMX check", 1.5, ThenShown(ReadFirstLines), checks::cmxCheck(), summary.faultyCmxNames.size()},
            {"bitmap check", 1.3, ThenShown(DecodeEach), checks::bitmapCheck(),
             summary.problemBitmapNames.size()},
            {"associated files", 3.0, ThenShown(EnumerateOnce), checks::associatedFilesCheck(),
             summary.orphanedCmx},
        };
        const gui::Services services{messages, program};
        std::vector<Figures> row;
        if (only.isEmpty() || only == QLatin1String("report")) {
            missed = !ReportShare(skins, program, summary.orphanedCmx, bar, fileList, messages) || missed;
        }
        // VESTIMO_BENCH_ONLY=<start of a check's name> times that check alone, for profiling.
        for (const Check& check : checks) {
            if (!only.isEmpty() && !QString::fromLatin1(check.name).startsWith(only)) {
                continue;
            }
            Figures figures;
            figures.seconds = 1e9;
            figures.baseline = 1e9;
            for (int r = 0; r < Repeats(count); ++r) {
                figures.baseline = std::min(figures.baseline, Seconds([&] { check.baseline(skins); }));
                // The list shows the check's kind in the skin folder, as the window's would.
                fileList.setPath(skins);
                fileList.setPattern(patternOf(check.check.filter));
                messages = {};
                const gui::CheckSite site{check.check.filter, skins, bar, fileList};
                figures.seconds =
                    std::min(figures.seconds, Seconds([&] { RunToEnd(check.check, site, services); }));
                figures.files = static_cast<int>(Count(messages.report, texts::factJudged()));
                const long long moved = Count(messages.report, texts::factMoved());
                const bool trouble = messages.report.count(report::RunVerdict::NotMoved) > 0;
                if (moved != static_cast<long long>(check.expectedMoves) || trouble) {
                    std::fprintf(stderr, "%s moved %lld files, expected %zu%s\n", check.name, moved,
                                 check.expectedMoves, trouble ? "; some in trouble" : "");
                    return 1;
                }
                Restore(skins, program);
            }
            const double ratio = figures.seconds / figures.baseline;
            missed = missed || ratio > check.target;
            std::printf("%-18s %7d %9.3f %11.0f %11.3f %6.2fx %7.1fx%s\n", check.name, figures.files,
                        figures.seconds, figures.files / figures.seconds, figures.baseline, ratio,
                        check.target, ratio > check.target ? "  MISSED" : "");
            std::fflush(stdout);
            row.push_back(figures);
            if (all.empty()) {
                names.push_back(check.name);
            }
        }
        all.push_back(row);
    }
    if (all.size() >= 2) {
        // Linear growth: 10 times the files may take at most 12 times as long.
        for (std::size_t c = 0; c < names.size(); ++c) {
            const double growth = all.back()[c].seconds / all.front()[c].seconds;
            const double files = static_cast<double>(all.back()[c].files) / all.front()[c].files;
            const double allowed = 1.2 * files;
            missed = missed || growth > allowed;
            std::printf("%-18s %7d -> %d files: %.2fx the time, at most %.1fx%s\n", names[c],
                        all.front()[c].files, all.back()[c].files, growth, allowed,
                        growth > allowed ? "  MISSED" : "");
        }
    }
    missed = !OtherParts(only, bar, fileList, messages) || missed;
    std::printf("%s\n", missed ? "Some targets were missed (marked MISSED)." : "All targets met.");
    return 0;
}
