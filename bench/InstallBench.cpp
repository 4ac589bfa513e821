// The installation from downloads: a folder of 200 downloads (zip, 7z and tar.gz; good skins with
// buyable outfits, and the bad kinds: a path out of the folder, a faulty CMX line, an oversized
// bitmap, a truncated archive, a password-protected zip, an empty archive and a zip bomb of 3 GiB
// of zeros whose header declares nothing) installed into a fake game with the journal recording
// every file, as a drop on the window installs it. The baseline extracts the same archives with
// libarchive into a temporary folder, flattened, with no checks (and the same 64 MiB cap on one
// entry, without which the bomb alone would take a minute). Last, History's "Put Back" of the
// whole run. VESTIMO_BENCH_ONLY=install runs this alone.

#include "InstallBench.h"

#include "core/install/JournaledInstall.h"
#include "core/journal/Journal.h"
#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"
#include "samples/SkinSamples.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace vestimo::bench {

namespace {

constexpr double TargetSeconds = 10.0;
constexpr int Downloads = 200;
constexpr std::uint64_t BombBytes = std::uint64_t{3} << 30;

struct Entry {
    std::string name;
    std::string data;
    std::uint64_t zeros = 0; // streamed after `data`, the size left undeclared
};

enum class Format { Zip, SevenZip, TarGz };

bool writeArchive(const QString& path, Format format, const std::vector<Entry>& entries,
                  const char* passphrase = nullptr) {
    struct archive* a = archive_write_new();
    bool ok = true;
    switch (format) {
    case Format::Zip:
        ok = archive_write_set_format_zip(a) == ARCHIVE_OK;
        break;
    case Format::SevenZip:
        ok = archive_write_set_format_7zip(a) == ARCHIVE_OK;
        break;
    case Format::TarGz:
        ok = archive_write_set_format_pax_restricted(a) == ARCHIVE_OK &&
             archive_write_add_filter_gzip(a) == ARCHIVE_OK;
        break;
    }
    if (passphrase != nullptr) {
        ok = ok && archive_write_set_options(a, "zip:encryption=zipcrypt") == ARCHIVE_OK &&
             archive_write_set_passphrase(a, passphrase) == ARCHIVE_OK;
    }
    ok = ok && archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK;
    const std::string zeros(1 << 20, '\0');
    for (const Entry& item : entries) {
        if (!ok) {
            break;
        }
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_mtime(entry, 1000000000, 0);
        if (item.zeros == 0) {
            archive_entry_set_size(entry, static_cast<la_int64_t>(item.data.size()));
        } else {
            archive_entry_unset_size(entry); // the local header then declares nothing
        }
        ok = archive_write_header(a, entry) == ARCHIVE_OK;
        if (ok && !item.data.empty()) {
            ok = archive_write_data(a, item.data.data(), item.data.size()) ==
                 static_cast<la_ssize_t>(item.data.size());
        }
        for (std::uint64_t left = item.zeros; ok && left > 0;) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
            ok = archive_write_data(a, zeros.data(), chunk) == static_cast<la_ssize_t>(chunk);
            left -= chunk;
        }
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    if (!ok) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    }
    return ok;
}

std::string bitmap(std::uint32_t seed, std::size_t fileSize = 0) {
    samples::BmpOptions options;
    options.seed = seed;
    options.fileSize = fileSize;
    return samples::MakeBmp(options);
}

// A body skin in three tones with its mesh, and a buyable outfit, in a subfolder with a readme.
// B000FAFit_bench ... B199FAFit_bench: the class key has three digits.
std::string numbered(char first, int n, const char* rest) {
    char name[40];
    std::snprintf(name, sizeof name, "%c%03d%s", first, n, rest);
    return name;
}

std::string bodyName(int n) {
    return numbered('B', n, "FAFit_bench");
}

std::vector<Entry> goodDownload(int n) {
    const std::string body = bodyName(n);
    const std::string outfit = numbered('F', n, "FAFit_bench");
    const std::string folder = "Skin " + std::to_string(n) + "/";
    std::vector<Entry> entries = {
        {folder + body + ".cmx", samples::ValidBodyCmx(body)},
        {folder + samples::BodyMeshFile(body), samples::MeshBytes()},
        {folder + outfit + ".cmx", samples::ValidBodyCmx(outfit)},
        {folder + samples::BodyBitmapFile(outfit, "lgt"), bitmap(static_cast<std::uint32_t>(n) * 7 + 5)},
        {folder + "readme.txt", "Thanks for downloading!"}};
    std::uint32_t seed = static_cast<std::uint32_t>(n) * 7;
    for (const char* tone : {"lgt", "med", "drk"}) {
        entries.push_back({folder + samples::BodyBitmapFile(body, tone), bitmap(seed++)});
    }
    return entries;
}

struct Mix {
    int good = 0;
    int expectedInstalled = 0;
};

// The 200 downloads: 8 in 10 good, the rest one bad kind each in turn.
Mix writeDownloads(const QString& folder) {
    Mix mix;
    const Format formats[] = {Format::Zip, Format::SevenZip, Format::TarGz};
    for (int n = 0; n < Downloads; ++n) {
        // The bad kinds in turn; the bomb once (writing it is the slow part of the setup).
        int bad = n % 10 < 8 ? -1 : ((n / 10) * 2 + n % 10 - 8) % 7;
        bad = bad == 6 && n > 20 ? 3 : bad;
        // The password and the bomb are zip's own kinds of trouble.
        const Format format = bad == 4 || bad == 6 ? Format::Zip : formats[n % 3];
        const QString path =
            QDir(folder).filePath(QStringLiteral("download-%1.%2")
                                      .arg(n, 3, 10, QChar(u'0'))
                                      .arg(format == Format::Zip        ? QStringLiteral("zip")
                                           : format == Format::SevenZip ? QStringLiteral("7z")
                                                                        : QStringLiteral("tar.gz")));
        std::vector<Entry> entries = goodDownload(n);
        switch (bad) {
        case -1:
            ++mix.good;
            mix.expectedInstalled += 7;
            break;
        case 0: // a path out of the folder: refused, the rest goes in
            entries.push_back({"../../x" + std::to_string(n) + ".cmx", samples::ValidBodyCmx("x")});
            mix.expectedInstalled += 7;
            break;
        case 1: // a faulty line: the skin stays out whole (its CMX file, mesh and bitmaps)
            entries[0].data = samples::CmxWithFaultAt(bodyName(n), 8);
            mix.expectedInstalled += 2;
            break;
        case 2: { // an oversized bitmap, the only one of its skin
            const std::string big = numbered('B', n, "MAFit_big");
            entries.push_back({"big/" + big + ".cmx", samples::ValidBodyCmx(big)});
            entries.push_back({"big/" + samples::BodyBitmapFile(big, "lgt"), bitmap(99, 200000)});
            mix.expectedInstalled += 7;
            break;
        }
        case 3: // truncated
            break;
        case 4: // a password
            break;
        case 5: // empty
            entries.clear();
            break;
        case 6: // a bomb: one entry of 3 GiB of zeros
            entries.push_back({"zeros.bmp", "", BombBytes});
            break;
        default:
            break;
        }
        if (!writeArchive(path, format, entries, bad == 4 ? "secret" : nullptr)) {
            return {};
        }
        if (bad == 3) {
            QFile cut(path);
            if (!cut.open(QIODevice::ReadWrite) || !cut.resize(cut.size() / 2)) {
                return {};
            }
        }
    }
    return mix;
}

// Plain extraction: every file entry of every archive written flat into `into`, nothing checked.
void extractPlainly(const QStringList& archives, const QString& into) {
    std::vector<char> buffer(1 << 16);
    for (const QString& path : archives) {
        struct archive* a = archive_read_new();
        archive_read_support_format_all(a);
        archive_read_support_filter_all(a);
        if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 1 << 16) == ARCHIVE_OK) {
            struct archive_entry* entry = nullptr;
            int n = 0;
            while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
                if (archive_entry_filetype(entry) != AE_IFREG) {
                    continue;
                }
                QFile out(
                    QDir(into).filePath(QStringLiteral("%1-%2").arg(QFileInfo(path).fileName()).arg(n++)));
                if (!out.open(QIODevice::WriteOnly)) {
                    break;
                }
                qint64 written = 0;
                la_ssize_t got = 0;
                while ((got = archive_read_data(a, buffer.data(), buffer.size())) > 0 &&
                       written < qint64{64} * 1024 * 1024) {
                    written += out.write(buffer.data(), got);
                }
                if (written >= qint64{64} * 1024 * 1024) {
                    break; // the same cap on one entry as the installation's
                }
            }
        }
        archive_read_free(a);
    }
}

QStringList listed(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(it.next());
    }
    files.sort();
    return files;
}

} // namespace

bool installBench() {
    QTemporaryDir root;
    const QString downloads = root.filePath(QStringLiteral("downloads"));
    QDir().mkpath(downloads);
    std::fprintf(stderr, "writing %d downloads (one a bomb of 3 GiB of zeros)...\n", Downloads);
    const Mix mix = writeDownloads(downloads);
    if (mix.good == 0) {
        return false;
    }
    const QStringList archives = listed(downloads);

    double baseline = 1e9;
    double seconds = 1e9;
    install::RecordedInstall last;
    QString lastGame;
    for (int r = 0; r < 3; ++r) {
        const QString plain = root.filePath(QStringLiteral("plain-%1").arg(r));
        QDir().mkpath(plain);
        QElapsedTimer timer;
        timer.start();
        extractPlainly(archives, plain);
        baseline = std::min(baseline, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        QDir(plain).removeRecursively();

        // A fresh game each time, holding one skin of its own that must stay as it is.
        const QString game = root.filePath(QStringLiteral("game-%1").arg(r));
        const QString program = root.filePath(QStringLiteral("program-%1").arg(r));
        QDir().mkpath(game + QStringLiteral("/GameData/Skins"));
        QDir().mkpath(game + QStringLiteral("/ExpansionShared/SkinsBuy"));
        QDir().mkpath(program);
        QFile own(game + QStringLiteral("/GameData/Skins/B0001FAFit_own.cmx"));
        if (!own.open(QIODevice::WriteOnly) || own.write("the player's own") != 16) {
            return false;
        }
        own.close();
        journal::Journal journal;
        journal.open(program);
        install::Options options;
        options.stagingParent = program;
        timer.restart();
        last = install::installRecorded(&journal, install::expandDownloads({downloads}),
                                        install::Destination::ofGame(game), options);
        seconds = std::min(seconds, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        lastGame = game;
        if (last.report.installedCount() != mix.expectedInstalled || !last.recorded) {
            std::fprintf(stderr, "installed %d files, expected %d; recorded: %s\n",
                         last.report.installedCount(), mix.expectedInstalled, qPrintable(last.notRecorded));
            for (const install::DownloadReport& download : last.report.downloads) {
                std::fprintf(stderr, "%s: %lld installed %s\n",
                             qPrintable(QFileInfo(download.download).fileName()),
                             static_cast<long long>(download.installed.size()), qPrintable(download.stopped));
                for (const install::RefusedFile& file : download.refused) {
                    std::fprintf(stderr, "  %s: %s\n", qPrintable(file.name), qPrintable(file.reason));
                }
            }
            return false;
        }
        if (r == 2) {
            // "Put Back" of the whole run leaves the game as it was.
            const qint64 run = journal.store().listRuns(1).value.value(0).id;
            QDir().mkpath(root.filePath(QStringLiteral("data")));
            qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
            timer.restart();
            const journal::PutBackReport back = journal.putBackRun(run);
            const double putBack = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            const QStringList left = listed(game);
            const bool whole =
                back.count(journal::PutBackOutcome::PutBack) == mix.expectedInstalled &&
                left == QStringList{game + QStringLiteral("/GameData/Skins/B0001FAFit_own.cmx")};
            std::printf("%-18s %7d files put back in %.3f s%s\n", "install put back",
                        back.count(journal::PutBackOutcome::PutBack), putBack, whole ? "" : "  MISSED");
            if (!whole) {
                return false;
            }
        }
    }
    const install::InstallReport::Totals totals = last.report.totals();
    const bool met = seconds < TargetSeconds;
    std::printf("%-18s %7d downloads %9.3f s %11.3f s baseline %6.2fx   target %.0f s%s\n", "install",
                Downloads, seconds, baseline, seconds / baseline, TargetSeconds, met ? "" : "  MISSED");
    std::printf("%-18s %d installed, %d refused, %d downloads not read, %d not skin files\n", "install",
                totals.installed, totals.refused, totals.stoppedDownloads, totals.notSkinFiles);
    std::fflush(stdout);
    return met;
}

} // namespace vestimo::bench
