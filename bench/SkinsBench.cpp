// The Skins view on big folders: copies of the demo body under distinct skin names, each with its
// own lgt, med and drk textures (the demo's, each made distinct in its last bytes so no two files
// are identical) and the one shared mesh, beside the demo's skeleton, head and hands. For 1,000 and
// 10,000 skins: the time to the cards (CollectionReader::cards), to every badge (judged), to every
// card's picture on every core with a cold cache and then with a warm one (a fresh CardPictures per
// thread, as a second opening has), and the peak memory of each size's run. Printed with the
// 10,000 / 1,000 ratios; no targets. VESTIMO_BENCH_ONLY=skins runs this alone.

#include "SkinsBench.h"

#include "core/collection/CardPictures.h"
#include "core/collection/CollectionReader.h"
#include "platform/cache/PictureCache.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace vestimo::bench {

namespace {

const QSize PictureSize(128, 128);

QByteArray readBody(const QString& bodies, const char* name) {
    QFile file(QDir(bodies).filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The folder: the demo's skeleton, head and hands (the male hands also under the female names, so
// the female bodies are complete), and `count` bodies.
bool makeFolder(const QString& bodies, const QString& folder, std::size_t count) {
    QDir().mkpath(folder);
    const QDir in(bodies);
    for (const QString& name : in.entryList(QDir::Files)) {
        if (!name.startsWith(QStringLiteral("B001")) &&
            !writeFile(QDir(folder).filePath(name), readBody(bodies, name.toLatin1().constData()))) {
            return false;
        }
    }
    for (const char* side : {"L", "R"}) {
        const QString male = QStringLiteral("HM%1O").arg(QLatin1String(side));
        const QString female = QStringLiteral("HF%1O").arg(QLatin1String(side));
        if (!writeFile(QDir(folder).filePath(female + QStringLiteral(".cmx")),
                       readBody(bodies, (male + QStringLiteral(".cmx")).toLatin1().constData()))) {
            return false;
        }
        for (const char* tone : {"lgt", "med", "drk"}) {
            writeFile(QDir(folder).filePath(female + QLatin1String(tone) + QStringLiteral(".bmp")),
                      readBody(bodies,
                               (male + QLatin1String(tone) + QStringLiteral(".bmp")).toLatin1().constData()));
        }
    }
    const QByteArray mesh = readBody(bodies, "xskin-b001fafit_01-PELVIS-BODY.skn");
    const QByteArray cmx = readBody(bodies, "B001FAFit_01.cmx");
    const std::vector<std::pair<const char*, QByteArray>> textures = {
        {"lgt", readBody(bodies, "B001FAFitlgt_Shannon01.bmp")},
        {"med", readBody(bodies, "B001FAFitmed_Shannon01.bmp")},
        {"drk", readBody(bodies, "B001FAFitdrk_Shannon01.bmp")}};
    if (mesh.isEmpty() || cmx.isEmpty() ||
        !writeFile(QDir(folder).filePath(QStringLiteral("xskin-b001fafit_01-PELVIS-BODY.skn")), mesh)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        // Nine characters name a body's textures: "B042FAK07".
        const QString prefix = QStringLiteral("B%1FAK%2")
                                   .arg(static_cast<int>(i % 1000), 3, 10, QLatin1Char('0'))
                                   .arg(static_cast<int>(i / 1000), 2, 10, QLatin1Char('0'));
        QByteArray own = cmx;
        own.replace("b001fafit_01\r\n0", prefix.toLower().toLatin1() + "_outfit\r\n0");
        if (!writeFile(QDir(folder).filePath(prefix + QStringLiteral("_01.cmx")), own)) {
            return false;
        }
        for (const auto& [tone, bytes] : textures) {
            QByteArray distinct = bytes;
            const QByteArray mark = QByteArray::number(static_cast<qulonglong>(i));
            distinct.replace(distinct.size() - mark.size(), mark.size(), mark);
            if (!writeFile(QDir(folder).filePath(prefix + QLatin1String(tone) + QStringLiteral("_x.bmp")),
                           distinct)) {
                return false;
            }
        }
    }
    return true;
}

double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Starts the peak over: the kernel's high-water mark of resident memory is reset to the present.
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return 0;
}

// Draws the pictures of `cards` on every core, one CardPictures per thread; returns how many came
// from the cache, or -1 when one could not be drawn.
long long drawAll(const QString& folder, const std::vector<collection::Card>& cards,
                  platform::PictureCache& cache) {
    std::atomic<std::size_t> next{0};
    std::atomic<long long> cached{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        collection::CardPictures pictures(folder, {}, &cache, PictureSize);
        for (std::size_t i = next++; i < cards.size(); i = next++) {
            const collection::CardPicture picture = pictures.picture(cards[i]);
            if (picture.png.isEmpty()) {
                failed = true;
            }
            cached += picture.cached ? 1 : 0;
        }
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < std::max(1, QThread::idealThreadCount()); ++i) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
    return failed ? -1 : cached.load();
}

struct Row {
    std::size_t skins = 0;
    double cards = 0, badges = 0, cold = 0, warm = 0, peak = 0;
};

} // namespace

void skinsBench() {
    const QString bodies = QDir::cleanPath(QStringLiteral(VESTIMO_BODIES_DIR));
    if (!QFile::exists(QDir(bodies).filePath(QStringLiteral("adult-skeleton.cmx")))) {
        std::printf("%-18s skipped: no real-world bodies at %s\n", "skins view", qPrintable(bodies));
        return;
    }
    std::printf("%-18s %7s %9s %9s %11s %11s %9s\n", "skins view", "skins", "cards s", "badges s",
                "pictures s", "warm s", "peak MB");
    std::vector<Row> rows;
    for (const std::size_t count : {std::size_t{1000}, std::size_t{10000}}) {
        std::fprintf(stderr, "writing %zu skins from the demo bodies...\n", count);
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("skins"));
        if (!makeFolder(bodies, folder, count)) {
            std::printf("%-18s could not write the folder\n", "skins view");
            return;
        }
        resetPeak();
        Row row;
        row.skins = count;
        collection::CollectionReader reader(folder);
        collection::Collection collection;
        row.cards = seconds([&] { collection = reader.cards(); });
        row.badges = seconds([&] { collection = reader.judged(); });
        const std::vector<collection::Card>& cards = collection.cards;
        platform::PictureCache cache(root.filePath(QStringLiteral("cache")));
        long long fromCache = 0;
        row.cold = seconds([&] { fromCache = drawAll(folder, cards, cache); });
        if (fromCache != 0) {
            std::printf("%-18s %7zu  a cold picture came from the cache, or one was not drawn\n",
                        "skins view", count);
        }
        row.warm = seconds([&] { fromCache = drawAll(folder, cards, cache); });
        if (fromCache != static_cast<long long>(cards.size())) {
            std::printf("%-18s %7zu  only %lld of %zu warm pictures came from the cache\n", "skins view",
                        count, fromCache, cards.size());
        }
        row.peak = peakMegabytes();
        std::printf("%-18s %7zu %9.3f %9.3f %11.2f %11.2f %9.0f  (%zu cards, %d threads)\n", "skins view",
                    count, row.cards, row.badges, row.cold, row.warm, row.peak, cards.size(),
                    QThread::idealThreadCount());
        std::fflush(stdout);
        rows.push_back(row);
    }
    if (rows.size() == 2) {
        const Row& a = rows.front();
        const Row& b = rows.back();
        std::printf("%-18s %7s %8.1fx %8.1fx %10.1fx  %9.1fx  %8.1fx  (10,000 / 1,000)\n", "skins view",
                    "ratio", b.cards / a.cards, b.badges / a.badges, b.cold / a.cold, b.warm / a.warm,
                    b.peak / a.peak);
    }
}

} // namespace vestimo::bench
