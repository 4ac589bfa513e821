// Times game discovery on a home whose lists are as long as they may be read: a
// libraryfolders.vdf of 1 MiB (the most that is read of it) naming some 30,000 libraries, and a
// system.reg of 64 MiB (the most that is read of it) whose game key holds an InstallPath line after
// line. Each must be answered in under a second. Usage: vestimo_games_bench

#include "core/games/Discovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace vestimo;

namespace {

constexpr double TargetSeconds = 1.0;
constexpr qint64 LibraryListBytes = qint64{1} << 20;
constexpr qint64 RegistryBytes = qint64{64} << 20;

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The fastest of three discoveries of `home`, in seconds.
double TimeDiscovery(const QString& home, core::games::Discovered& found) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        found = core::games::discover({home, {}});
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir steamHome;
    QTemporaryDir wineHome;

    QByteArray list = "\"libraryfolders\"\n{\n";
    for (int i = 0; list.size() < LibraryListBytes - 64; ++i) {
        list += "\"" + QByteArray::number(i) + "\" { \"path\" \"/mnt/l" + QByteArray::number(i) + "\" }\n";
    }
    list += "}\n";
    list.truncate(LibraryListBytes);
    QByteArray registry = "WINE REGISTRY Version 2\n\n[Software\\\\Maxis\\\\The Sims] 1\n";
    for (int i = 0; registry.size() < RegistryBytes - 64; ++i) {
        registry += "\"InstallPath\"=\"C:\\\\Games\\\\Sims" + QByteArray::number(i) + "\"\n";
    }
    registry.truncate(RegistryBytes);
    if (!WriteFile(steamHome.filePath(".local/share/Steam/steamapps/libraryfolders.vdf"), list) ||
        !WriteFile(wineHome.filePath(".wine/system.reg"), registry) ||
        !QDir().mkpath(wineHome.filePath(".wine/drive_c"))) {
        std::fprintf(stderr, "cannot write the test homes\n");
        return 1;
    }

    struct Row {
        const char* file;
        qint64 bytes;
        double seconds;
        qsizetype considered;
    };
    core::games::Discovered found;
    const double steam = TimeDiscovery(steamHome.path(), found);
    const Row steamRow{"libraryfolders.vdf", list.size(), steam, found.librariesConsidered};
    const double wine = TimeDiscovery(wineHome.path(), found);
    const Row wineRow{"system.reg", registry.size(), wine, found.registryCandidatesConsidered};

    std::printf("%-20s %12s %10s %12s %8s\n", "file", "bytes", "seconds", "considered", "target");
    bool met = true;
    for (const Row& row : {steamRow, wineRow}) {
        std::printf("%-20s %12lld %10.3f %12lld %7.1fs\n", row.file, static_cast<long long>(row.bytes),
                    row.seconds, static_cast<long long>(row.considered), TargetSeconds);
        met = met && row.seconds < TargetSeconds;
    }
    std::printf(met ? "All targets met.\n" : "A target was missed.\n");
    return met ? 0 : 1;
}
