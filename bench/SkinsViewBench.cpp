// The Skins window on a big folder: a timer ticks every 5 ms on the window's thread while the
// window reads 10,000 skins (VESTIMO_BENCH_SKINS overrides) and every card's picture is drawn, the
// list scrolled a page at a time as each page's pictures arrive; the widest gap between ticks is
// the longest stall. The picture cache is a fresh one in the temporary folder, so the pictures
// are drawn cold. Printed, not held to a target. VESTIMO_BENCH_ONLY=skins runs this alone.
#include "SkinsViewBench.h"

#include "core/collection/CollectionReader.h"
#include "gui/app/MessageBoxes.h"
#include "gui/skins/SkinsList.h"
#include "gui/skins/SkinsWindow.h"
#include "samples/SkinSamples.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace vestimo::bench {

namespace {

struct SilentMessages : gui::MessageBoxes {
    void show(const QString&, const QString&) override {}
    void showReport(const QString&, const QString&, const report::RunReport&) override {}
    bool ask(const QString&) override { return false; }
};

// Turns the event loop until `done` or `seconds` have passed; false on the timeout.
bool waitFor(const std::function<bool()>& done, double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > static_cast<qint64>(seconds * 1000)) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

void skinsViewStall() {
    const int wanted = qEnvironmentVariableIntValue("VESTIMO_BENCH_SKINS");
    const std::size_t count = wanted > 0 ? static_cast<std::size_t>(wanted) : 10000;
    std::fprintf(stderr, "writing %zu skins for the Skins window...\n", count);
    QTemporaryDir root;
    const QString skins = root.filePath(QStringLiteral("skins"));
    const QString program = root.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    samples::SkinSetRecipe recipe = samples::mixedSkinSet(count);
    recipe.textureWidth = 64;
    recipe.textureHeight = 64;
    samples::GenerateSkinDirectory(skins.toStdString(), recipe);

    // The reader alone, for comparison: what the window adds to the time to the names.
    QElapsedTimer alone;
    alone.start();
    const std::size_t read = collection::CollectionReader(skins).cards().cards.size();
    const double readerAlone = static_cast<double>(alone.elapsed()) / 1000;

    SilentMessages messages;
    gui::SkinsSetup setup = gui::SkinsSetup::system({});
    setup.cacheFolder = root.filePath(QStringLiteral("cache"));
    setup.openUrl = [](const QUrl&) { return false; };

    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, &ticks,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticks.start();
    auto* window = new gui::SkinsWindow(skins, gui::Services{messages, program}, setup, {}, nullptr);
    window->resize(1024, 768);
    window->show();
    auto* list = window->findChild<gui::SkinsList*>(QStringLiteral("lstSkins"));
    const bool named = waitFor([&] { return list->count() > 0; }, 60);
    const double names = static_cast<double>(clock.elapsed()) / 1000;
    const bool judged = named && waitFor([&] { return window->collection().complete; }, 120);
    const double badges = static_cast<double>(clock.elapsed()) / 1000;
    bool drawn = judged;
    QScrollBar* bar = list->verticalScrollBar();
    for (;;) {
        drawn = drawn && waitFor([&] { return window->picturesInViewReady(); }, 120);
        if (!drawn || bar->value() >= bar->maximum()) {
            break;
        }
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->pageStep()));
    }
    const double pictures = static_cast<double>(clock.elapsed()) / 1000;
    longest = std::max(longest, sinceTick.elapsed());
    ticks.stop();
    delete window;
    std::printf("%-18s %7zu  names %.3f s (the reader alone: %.3f s for %zu cards), badges %.3f s, every "
                "picture %.3f s%s; longest stall of the window's thread: %lld ms (timer every 5 ms)\n",
                "skins window", count, names, readerAlone, read, badges, pictures,
                drawn ? "" : " (TIMED OUT)", static_cast<long long>(longest));
    std::fflush(stdout);
}

} // namespace vestimo::bench
