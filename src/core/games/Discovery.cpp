#include "core/games/Discovery.h"

#include "core/catalogue/Games.h"

#include "core/games/KeyValues.h"
#include "core/games/WindowsPath.h"
#include "core/games/WineRegistry.h"
#include "platform/Probe.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace vestimo::core::games {

namespace {

namespace probe = vestimo::platform::probe;

constexpr qint64 LibraryListLimit = 1 << 20;
constexpr qint64 GameFileLimit = 1 << 18;
// Registries of prefixes with many programs run to tens of MiB; what lies past this is not read.
constexpr qint64 RegistryLimit = qint64(64) << 20;
constexpr qsizetype LongestRegistryLine = 1 << 16;

const QStringList ProgramFolders = {QStringLiteral("Program Files"), QStringLiteral("Program Files (x86)")};
const QStringList DefaultGameFolders = {QStringLiteral("Maxis/The Sims"),
                                        QStringLiteral("EA Games/The Sims Legacy"),
                                        QStringLiteral("EA GAMES/The Sims")};

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Numbers in numeric order first (Proton prefixes are named after app ids), then other names.
bool prefixNameLess(const QString& a, const QString& b) {
    const bool numberA = allDigits(a);
    const bool numberB = allDigits(b);
    if (numberA != numberB) {
        return numberA;
    }
    if (numberA && a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

QStringList sortedSubdirectories(const QString& path) {
    QStringList names = probe::subdirectories(path);
    std::sort(names.begin(), names.end(), prefixNameLess);
    return names;
}

// The game's name as players know it, from the name of its folder.
QString title(const QString& root) {
    const QString name = root.section(u'/', -1);
    if (name.compare(u"The Sims Legacy Collection", Qt::CaseInsensitive) == 0) {
        return QStringLiteral("The Sims Legacy Collection");
    }
    if (name.compare(u"The Sims Legacy", Qt::CaseInsensitive) == 0) {
        return QStringLiteral("The Sims Legacy");
    }
    return QStringLiteral("The Sims");
}

struct Place {
    QString path;
    PlaceKind kind = PlaceKind::Wine;
    QString name; // how the label names it
};

class Discovery {
public:
    explicit Discovery(const DiscoveryPlaces& places) {
        // Only absolute places: a relative one would depend on the current folder.
        if (places.home.startsWith(u'/')) {
            home_ = QDir::cleanPath(places.home);
            canonicalHome_ = probe::canonicalPath(home_);
        }
        const QString prefix = expand(places.winePrefix);
        if (prefix.startsWith(u'/')) {
            winePrefix_ = QDir::cleanPath(prefix);
        }
    }

    Discovered run() {
        if (!winePrefix_.isEmpty()) {
            searchPrefix(PlaceKind::Wine, winePrefix_);
        }
        if (!home_.isEmpty()) {
            searchPrefix(PlaceKind::Wine, inHome(".wine"));
            for (const QString& name : sortedSubdirectories(inHome("Games"))) {
                searchPrefix(PlaceKind::Lutris, inHome("Games/") + name);
            }
            for (const char* folder : {".config/lutris/games", ".local/share/lutris/games"}) {
                searchLutrisGames(inHome(folder));
            }
            for (const char* folder :
                 {".local/share/bottles/bottles", ".var/app/com.usebottles.bottles/data/bottles/bottles"}) {
                const QString bottles = inHome(folder);
                for (const QString& name : sortedSubdirectories(bottles)) {
                    searchPrefix(PlaceKind::Bottles, bottles + u'/' + name, name);
                }
            }
            searchSteam();
        }
        nameTwinsApart();
        found_.installs = std::move(installs_);
        return std::move(found_);
    }

private:
    QString inHome(const char* relative) const { return home_ + u'/' + QLatin1StringView(relative); }

    // "~" and "$HOME" at the start of a path written by hand.
    QString expand(const QString& path) const {
        if (home_.isEmpty()) {
            return path;
        }
        if (path == u"~" || path.startsWith(u"~/")) {
            return home_ + path.mid(1);
        }
        if (path == u"$HOME" || path.startsWith(u"$HOME/")) {
            return home_ + path.mid(5);
        }
        return path;
    }

    // A path as the player would write it, the home folder shown as "~".
    QString shown(const QString& path) const {
        for (const QString& home : {home_, canonicalHome_}) {
            if (home.isEmpty() || home == u"/") {
                continue;
            }
            if (path == home) {
                return QStringLiteral("~");
            }
            if (path.startsWith(home + u'/')) {
                return u'~' + path.mid(home.size());
            }
        }
        return path;
    }

    // True the first time a folder is met, by whichever route.
    static bool firstVisit(QSet<QString>& seen, const QString& path) {
        const QString canonical = probe::canonicalPath(path);
        const QString key = canonical.isEmpty() ? path : canonical;
        if (seen.contains(key)) {
            return false;
        }
        seen.insert(key);
        return true;
    }

    void searchLutrisGames(const QString& folder) {
        QStringList files = probe::files(folder);
        std::sort(files.begin(), files.end());
        for (const QString& file : files) {
            if (!file.endsWith(u".yml", Qt::CaseInsensitive) &&
                !file.endsWith(u".yaml", Qt::CaseInsensitive)) {
                continue;
            }
            const std::optional<QByteArray> text = probe::readSmallFile(folder + u'/' + file, GameFileLimit);
            if (!text) {
                continue;
            }
            for (const QByteArray& line : text->split('\n')) {
                const QByteArray trimmed = line.trimmed();
                if (!trimmed.startsWith("prefix:")) {
                    continue;
                }
                QString value = QString::fromUtf8(trimmed.mid(7)).trimmed();
                if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                    value.back() == value.front()) {
                    value = value.mid(1, value.size() - 2);
                }
                value = expand(value);
                if (value.startsWith(u'/')) {
                    searchPrefix(PlaceKind::Lutris, QDir::cleanPath(value));
                }
            }
        }
    }

    void searchSteam() {
        QStringList libraries;
        QSet<QString> seen;
        qsizetype ignored = 0;
        auto addLibrary = [&](const QString& path) {
            if (found_.librariesConsidered >= MostLibraryFolders) {
                ++ignored;
                return;
            }
            ++found_.librariesConsidered;
            if (probe::isDirectory(path) && firstVisit(seen, path)) {
                libraries.append(path);
            }
        };
        for (const char* root :
             {".local/share/Steam", ".steam/steam", ".var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
            const QString path = inHome(root);
            if (!probe::isDirectory(path)) {
                continue;
            }
            ignored = 0;
            addLibrary(path);
            const QString steamapps = finder_.find(path, QStringLiteral("steamapps"));
            if (steamapps.isEmpty()) {
                continue;
            }
            const QString list = steamapps + QStringLiteral("/libraryfolders.vdf");
            if (const std::optional<QByteArray> text = probe::readSmallFile(list, LibraryListLimit)) {
                const LibraryFolders listed = libraryFolders(*text);
                ignored += listed.ignored;
                for (const QString& listedPath : listed.paths) {
                    const QString expanded = expand(listedPath);
                    if (expanded.startsWith(u'/')) {
                        addLibrary(QDir::cleanPath(expanded));
                    }
                }
                if (ignored > 0) {
                    found_.ignored.append(texts::libraryFoldersIgnored(list, ignored, MostLibraryFolders));
                }
            }
        }
        for (const QString& library : libraries) {
            const Place place{library, PlaceKind::Steam, shown(library)};
            consider(finder_.find(library, QStringLiteral("steamapps/common/The Sims Legacy Collection")),
                     place, FoundBy::Steam);
            const QString compat = finder_.find(library, QStringLiteral("steamapps/compatdata"));
            if (compat.isEmpty()) {
                continue;
            }
            for (const QString& id : sortedSubdirectories(compat)) {
                searchPrefix(PlaceKind::Proton, compat + u'/' + id + QStringLiteral("/pfx"), id);
            }
        }
    }

    void searchPrefix(PlaceKind kind, const QString& path, const QString& name = {}) {
        if (!probe::isDirectory(path) || !firstVisit(prefixes_, path)) {
            return;
        }
        const Place place{path, kind, name.isEmpty() ? shown(path) : name};
        const QString driveC = finder_.find(path, QStringLiteral("drive_c"));
        if (!driveC.isEmpty()) {
            for (const QString& programs : ProgramFolders) {
                const QString programFolder = finder_.find(driveC, programs);
                if (programFolder.isEmpty()) {
                    continue;
                }
                for (const QString& game : DefaultGameFolders) {
                    consider(finder_.find(programFolder, game), place, FoundBy::DefaultPath);
                }
            }
        }
        for (const char* file : {"system.reg", "user.reg"}) {
            InstallPathScan scan;
            probe::forEachLine(path + u'/' + QLatin1StringView(file), RegistryLimit, LongestRegistryLine,
                               [&scan](QByteArrayView line) {
                                   scan.feed(line);
                                   return true;
                               });
            qsizetype ignored = scan.ignored();
            for (const QString& windowsPath : scan.installPaths()) {
                if (found_.registryCandidatesConsidered >= MostRegistryCandidates) {
                    ++ignored;
                    continue;
                }
                ++found_.registryCandidatesConsidered;
                consider(finder_.linuxPath(path, windowsPath), place, FoundBy::Registry);
            }
            if (ignored > 0) {
                found_.ignored.append(texts::registryPathsIgnored(path + u'/' + QLatin1StringView(file),
                                                                  ignored, MostRegistryCandidates));
            }
        }
    }

    void consider(const QString& root, const Place& place, FoundBy how) {
        if (root.isEmpty()) {
            return;
        }
        const QString skins = finder_.find(root, QStringLiteral("GameData/Skins"));
        if (skins.isEmpty() || !firstVisit(seenInstalls_, root)) {
            return;
        }
        GameInstall install;
        install.root = root;
        install.skins = skins;
        install.skinsBuy = finder_.find(root, QStringLiteral("ExpansionShared/SkinsBuy"));
        install.downloads = finder_.find(root, QStringLiteral("Downloads"));
        install.place = place.path;
        install.placeKind = place.kind;
        install.foundBy = how;
        install.label = label(install, place);
        installs_.push_back(install);
    }

    QString label(const GameInstall& install, const Place& place) const {
        const QString heading = title(install.root);
        QString where;
        switch (place.kind) {
        case PlaceKind::Steam:
            where = QStringLiteral("Steam, ") + place.name;
            break;
        case PlaceKind::Wine:
            where = QStringLiteral("Wine, ") + place.name;
            break;
        case PlaceKind::Lutris:
            where = QStringLiteral("Lutris, ") + place.name;
            break;
        case PlaceKind::Bottles:
            where = QStringLiteral("Bottles, ") + place.name;
            break;
        case PlaceKind::Proton:
            where = QStringLiteral("Proton prefix ") + place.name;
            break;
        }
        // The re-release outside Steam comes from the EA app.
        if (heading == u"The Sims Legacy" && place.kind != PlaceKind::Steam) {
            where = QStringLiteral("EA app, ") + where;
        }
        return heading + QStringLiteral(" (") + where + u')';
    }

    // Two installs in one place with the same name: each label also shows its folder.
    void nameTwinsApart() {
        QHash<QString, int> uses;
        for (const GameInstall& install : installs_) {
            ++uses[install.label];
        }
        for (GameInstall& install : installs_) {
            if (uses.value(install.label) > 1) {
                install.label += QStringLiteral(" - ") + shown(install.root);
            }
        }
    }

    QString home_;
    QString canonicalHome_;
    QString winePrefix_;
    FolderFinder finder_;
    QSet<QString> prefixes_;
    QSet<QString> seenInstalls_;
    std::vector<GameInstall> installs_;
    Discovered found_;
};

} // namespace

std::vector<GameInstall> discoverGames(const DiscoveryPlaces& places) {
    return Discovery(places).run().installs;
}

Discovered discover(const DiscoveryPlaces& places) {
    return Discovery(places).run();
}

} // namespace vestimo::core::games
