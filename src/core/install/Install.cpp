#include "core/install/Install.h"

#include "core/FileFilter.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/Verdicts.h"

#include "core/cmx/CheckCmxFile.h"
#include "core/cmx/CmxLayout.h"
#include "core/textures/AssociatedFiles.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/FileSystem.h"
#include "platform/Pictures.h"
#include "platform/PlaceFile.h"
#include "platform/Wildcard.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace vestimo::install {

namespace {

using platform::archive::StagingFolder;
using platform::archive::Unpacked;

// The game compares names without regard to case.
QString fold(const QString& name) {
    return name.toCaseFolded();
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The names in one destination folder, kept up to date with what this run adds.
class FolderNames {
public:
    explicit FolderNames(const QString& folder) {
        const QStringList names =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            byFolded_.insert(fold(name), name);
        }
    }
    // The name present under any case of `name`, or empty.
    QString find(const QString& name) const { return byFolded_.value(fold(name)); }
    void add(const QString& name) { byFolded_.insert(fold(name), name); }
    QStringList bitmaps() const {
        QStringList names;
        for (const QString& name : byFolded_) {
            if (platform::wildcardMatch(patternOf(FileFilter::Bitmaps), name)) {
                names.append(name);
            }
        }
        return names;
    }

private:
    QHash<QString, QString> byFolded_;
};

enum class Kind { Cmx, Bitmap, Mesh };
enum class State { Pending, Refused, Conflict, Already, Installed };

struct Candidate {
    QString name;   // inside the download
    QString flat;   // the file name it is installed under
    QString staged; // where it is while being checked
    qint64 size = 0;
    Kind kind = Kind::Cmx;
    QString folder; // where it goes
    State state = State::Pending;
    QString reason;                  // Refused
    QString other;                   // Conflict: the other file; Already: the installed file
    QString prefix;                  // Cmx: its bitmap prefix
    int owner = -1;                  // Mesh: the CMX file that names it
    std::vector<std::size_t> owners; // Bitmap: the CMX files of the download whose prefix names it
};

QString checkCmx(const Candidate& file) {
    return texts::cmxInstallRefusal(cmx::judgeCmxFile(file.staged, file.flat, true));
}

QString checkBitmap(const Candidate& file) {
    // The same rule the directory-wide check measures by; sizes the table does not list are left
    // alone there too.
    return texts::bitmapInstallRefusal(textures::judgeBitmapFile(file.staged));
}

// Why a file could not be put in place, as the report says it.
QString placementError(const platform::Placement& placement) {
    switch (placement.problem) {
    case platform::Placement::Problem::NameTaken:
        return texts::installNameAppeared();
    case platform::Placement::Problem::NoTemporaryName:
        return texts::installNoTemporaryName();
    case platform::Placement::Problem::None:
    case platform::Placement::Problem::NoSpace:
    case platform::Placement::Problem::Other:
        break;
    }
    return placement.error;
}

// Bytes a file of `size` takes up in blocks of `block` bytes.
qint64 roundedUp(qint64 size, qint64 block) {
    return block > 0 ? (size + block - 1) / block * block : size;
}

class Installer {
public:
    Installer(const Destination& destination, const Options& options, const InstallHook& hook)
        : destination_(destination), options_(options), hook_(hook) {}

    DownloadReport run(const QString& download, const StagingFolder& staging,
                       const platform::archive::EntryProgress& progress) {
        DownloadReport report;
        report.download = download;
        const Unpacked unpacked =
            platform::archive::unpack(download, staging, isSkinFileName, options_.limits, progress);
        entries_ += unpacked.entries;
        if (!unpacked.ok) {
            const QString fileName = QFileInfo(download).fileName();
            report.stopped =
                unpacked.empty ? texts::installDownloadEmpty(fileName)
                               : texts::installDownloadStopped(fileName, texts::unpackError(unpacked.error));
            return report;
        }
        for (const auto& refused : unpacked.refused) {
            report.refused.append({refused.name, texts::unpackError(refused.reason), refused.raw});
        }
        report.notSkinFiles = unpacked.others;

        std::vector<Candidate> files;
        for (const auto& staged : unpacked.files) {
            Candidate file;
            file.name = staged.name;
            file.flat = fileNameOf(staged.name);
            file.staged = staged.path;
            file.size = staged.size;
            const QString lower = file.flat.toLower();
            file.kind = lower.endsWith(QStringLiteral(".cmx"))   ? Kind::Cmx
                        : lower.endsWith(QStringLiteral(".bmp")) ? Kind::Bitmap
                                                                 : Kind::Mesh;
            if (file.kind != Kind::Mesh) {
                const QChar first = file.flat.isEmpty() ? QChar() : file.flat[0].toUpper();
                if (first == u'B' || first == u'C') {
                    file.folder = destination_.skins;
                } else if (QStringLiteral("FLSWH").contains(first)) {
                    file.folder =
                        destination_.skinsBuy.isEmpty() ? destination_.skins : destination_.skinsBuy;
                } else {
                    report.notSkinFiles.append(file.name);
                    continue;
                }
            }
            files.push_back(std::move(file));
        }
        report.notSkinFiles.sort();
        makePlan(files, unpacked.duplicates);
        execute(files, report);
        return report;
    }

    qint64 entries() const { return entries_; }

private:
    FolderNames& namesIn(const QString& folder) {
        auto it = names_.find(folder);
        if (it == names_.end()) {
            it = names_.emplace(folder, FolderNames(folder)).first;
        }
        return it->second;
    }

    static void refuse(Candidate& file, const QString& reason) {
        file.state = State::Refused;
        file.reason = reason;
    }

    void makePlan(std::vector<Candidate>& files, const QStringList& duplicates) {
        assignMeshes(files);
        assignBitmaps(files);
        markDuplicates(files, duplicates);
        refuseFaulty(files);
        markFlattenedClashes(files);
        markTakenNames(files);
        keepConflictingSkinsOut(files);
        refuseCmxWithoutBitmaps(files);
        refuseMeshesLeftBehind(files);
        refuseBitmapsLeftBehind(files);
    }

    // Each bitmap's skins in the download.
    static void assignBitmaps(std::vector<Candidate>& files) {
        for (std::size_t c = 0; c < files.size(); ++c) {
            if (files[c].kind != Kind::Cmx || files[c].prefix.isEmpty()) {
                continue;
            }
            for (Candidate& file : files) {
                if (file.kind == Kind::Bitmap && belongsTo(file.flat, files[c].prefix)) {
                    file.owners.push_back(c);
                }
            }
        }
    }

    // A name the download holds twice: which of its entries was meant cannot be told.
    static void markDuplicates(std::vector<Candidate>& files, const QStringList& duplicates) {
        const QSet<QString> twice(duplicates.begin(), duplicates.end());
        for (Candidate& file : files) {
            if (twice.contains(file.name)) {
                file.state = State::Conflict;
                file.other = file.name;
            }
        }
    }

    // Meshes go with the CMX file that names them.
    void assignMeshes(std::vector<Candidate>& files) const {
        QHash<QString, int> meshOwners;
        for (std::size_t i = 0; i < files.size(); ++i) {
            Candidate& file = files[i];
            if (file.kind != Kind::Cmx) {
                continue;
            }
            if (!cmx::isSkinClass(cmx::classKey(file.flat.toStdString()))) {
                refuse(file, texts::installNotASkinDescription());
                continue;
            }
            file.prefix = textures::bitmapPrefix(file.flat);
            meshOwners.insert(fold(textures::meshFileName(file.flat)), static_cast<int>(i));
        }
        for (Candidate& file : files) {
            if (file.kind == Kind::Mesh) {
                file.owner = meshOwners.value(fold(file.flat), -1);
                file.folder =
                    file.owner >= 0 ? files[static_cast<std::size_t>(file.owner)].folder : destination_.skins;
            }
        }
    }

    // The same checks as the directory-wide ones.
    static void refuseFaulty(std::vector<Candidate>& files) {
        for (Candidate& file : files) {
            if (file.state != State::Pending) {
                continue;
            }
            const QString fault = file.kind == Kind::Cmx      ? checkCmx(file)
                                  : file.kind == Kind::Bitmap ? checkBitmap(file)
                                                              : QString();
            if (!fault.isEmpty()) {
                refuse(file, fault);
            }
        }
    }

    // Two files of the download flattened onto one name: neither is the one to install.
    static void markFlattenedClashes(std::vector<Candidate>& files) {
        QHash<QString, std::size_t> firstByName;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const QString key = fold(files[i].folder) + u'/' + fold(files[i].flat);
            const auto it = firstByName.constFind(key);
            if (it == firstByName.constEnd()) {
                firstByName.insert(key, i);
                continue;
            }
            Candidate& first = files[*it];
            if (first.state != State::Conflict) {
                first.state = State::Conflict;
                first.other = files[i].name;
            }
            files[i].state = State::Conflict;
            files[i].other = first.name;
        }
    }

    // Never over a file that is already there.
    void markTakenNames(std::vector<Candidate>& files) {
        for (Candidate& file : files) {
            if (file.state != State::Pending) {
                continue;
            }
            const QString present = namesIn(file.folder).find(file.flat);
            if (present.isEmpty()) {
                continue;
            }
            const QString path = platform::joinPath(file.folder, present);
            file.other = path;
            file.state = platform::sameBytes(file.staged, path) ? State::Already : State::Conflict;
        }
    }

    // The CMX file at `cmxIndex` with its mesh and its bitmaps.
    static std::vector<std::size_t> skinOf(const std::vector<Candidate>& files, std::size_t cmxIndex) {
        std::vector<std::size_t> skin{cmxIndex};
        for (std::size_t i = 0; i < files.size(); ++i) {
            const bool mesh = files[i].kind == Kind::Mesh && files[i].owner == static_cast<int>(cmxIndex);
            const bool bitmap =
                files[i].kind == Kind::Bitmap &&
                std::find(files[i].owners.begin(), files[i].owners.end(), cmxIndex) != files[i].owners.end();
            if (mesh || bitmap) {
                skin.push_back(i);
            }
        }
        return skin;
    }

    // A conflict keeps the rest of its skin out too: its CMX file, mesh and bitmaps.
    static void keepConflictingSkinsOut(std::vector<Candidate>& files) {
        for (std::size_t c = 0; c < files.size(); ++c) {
            if (files[c].kind != Kind::Cmx || files[c].prefix.isEmpty()) {
                continue;
            }
            const std::vector<std::size_t> skin = skinOf(files, c);
            const auto conflicting = std::find_if(
                skin.begin(), skin.end(), [&](std::size_t i) { return files[i].state == State::Conflict; });
            if (conflicting == skin.end()) {
                continue;
            }
            const Candidate& cause = files[*conflicting];
            for (std::size_t i : skin) {
                if (files[i].state == State::Pending) {
                    refuse(files[i], texts::installSameSkinConflicts(cause.name, cause.other));
                }
            }
        }
    }

    // The bitmaps `folder` will hold: those already there and those of the download still going in.
    QStringList bitmapsAfterwards(const std::vector<Candidate>& files, const QString& folder) {
        QStringList bitmaps = namesIn(folder).bitmaps();
        for (const Candidate& file : files) {
            if (file.kind == Kind::Bitmap && file.state == State::Pending && file.folder == folder) {
                bitmaps.append(file.flat);
            }
        }
        return bitmaps;
    }

    // The associated-files rule, over the download and what the folder already holds.
    void refuseCmxWithoutBitmaps(std::vector<Candidate>& files) {
        std::map<QString, textures::BitmapIndex> indexes;
        for (Candidate& cmxFile : files) {
            if (cmxFile.kind != Kind::Cmx || cmxFile.state != State::Pending) {
                continue;
            }
            auto it = indexes.find(cmxFile.folder);
            if (it == indexes.end()) {
                it = indexes
                         .emplace(cmxFile.folder,
                                  textures::BitmapIndex(bitmapsAfterwards(files, cmxFile.folder)))
                         .first;
            }
            if (!it->second.hasBitmapFor(cmxFile.prefix)) {
                refuse(cmxFile, texts::installNoBitmapFor(cmxFile.prefix));
            }
        }
    }

    // A mesh whose CMX file stays out stays out with it.
    static void refuseMeshesLeftBehind(std::vector<Candidate>& files) {
        for (Candidate& file : files) {
            if (file.kind != Kind::Mesh || file.owner < 0 || file.state != State::Pending) {
                continue;
            }
            const Candidate& owner = files[static_cast<std::size_t>(file.owner)];
            if (owner.state == State::Refused || owner.state == State::Conflict) {
                refuse(file, texts::installMeshLeftBehind(owner.name));
            }
        }
    }

    // A bitmap whose skins in the download all stay out stays out with them, so that no texture
    // is left that no skin claims.
    static void refuseBitmapsLeftBehind(std::vector<Candidate>& files) {
        for (Candidate& file : files) {
            if (file.kind != Kind::Bitmap || file.state != State::Pending || file.owners.empty()) {
                continue;
            }
            const auto goingIn = [&](std::size_t c) {
                return files[c].state == State::Pending || files[c].state == State::Already;
            };
            if (std::any_of(file.owners.begin(), file.owners.end(), goingIn)) {
                continue;
            }
            const auto refused = std::find_if(file.owners.begin(), file.owners.end(), [&](std::size_t c) {
                return files[c].state == State::Refused;
            });
            if (refused != file.owners.end()) {
                refuse(file, texts::installBelongsToRefused(files[*refused].name));
            }
        }
    }

    // Whether `bitmap` is one of the bitmaps the prefix names (as the file list matches the prefix and its
    // bitmap pattern).
    static bool belongsTo(const QString& bitmap, const QString& prefix) {
        return platform::wildcardMatch(prefix + patternOf(FileFilter::Bitmaps), bitmap);
    }

    // The files still to install in the groups that go in together, in name order: a CMX file
    // with its mesh and bitmaps (joined with any other skin sharing one of them), and each file no
    // skin of the download claims on its own. Within a group the CMX file comes last, so that the
    // game never sees a skin before its textures.
    static std::vector<std::vector<std::size_t>> skinsToInstall(const std::vector<Candidate>& files,
                                                                const std::vector<std::size_t>& order) {
        std::vector<std::size_t> root(files.size());
        std::iota(root.begin(), root.end(), std::size_t{0});
        const auto find = [&](std::size_t i) {
            while (root[i] != i) {
                i = root[i] = root[root[i]];
            }
            return i;
        };
        const auto pending = [&](std::size_t i) { return files[i].state == State::Pending; };
        for (std::size_t i = 0; i < files.size(); ++i) {
            const Candidate& file = files[i];
            std::vector<std::size_t> skins = file.owners;
            if (file.kind == Kind::Mesh && file.owner >= 0) {
                skins.push_back(static_cast<std::size_t>(file.owner));
            }
            for (std::size_t c : skins) {
                if (pending(i) && pending(c)) {
                    root[find(i)] = find(c);
                }
            }
        }
        std::vector<std::vector<std::size_t>> groups;
        std::map<std::size_t, std::size_t> groupOfRoot;
        for (std::size_t i : order) {
            if (!pending(i)) {
                continue;
            }
            const auto [it, added] = groupOfRoot.emplace(find(i), groups.size());
            if (added) {
                groups.emplace_back();
            }
            groups[it->second].push_back(i);
        }
        for (std::vector<std::size_t>& group : groups) {
            std::stable_partition(group.begin(), group.end(),
                                  [&](std::size_t i) { return files[i].kind != Kind::Cmx; });
        }
        return groups;
    }

    // Why the group would not fit into its folders, or nothing.
    QString spaceShortage(const std::vector<Candidate>& files, const std::vector<std::size_t>& group) const {
        std::set<QString> folders;
        for (std::size_t i : group) {
            folders.insert(files[i].folder);
        }
        for (const QString& folder : folders) {
            std::optional<qint64> free;
            qint64 block = 0;
            if (options_.freeSpace) {
                free = options_.freeSpace(folder);
            } else if (const std::optional<platform::FreeSpace> space = platform::freeSpace(folder)) {
                free = space->bytes;
                block = space->block;
            }
            qint64 needed = 0;
            for (std::size_t i : group) {
                needed += files[i].folder == folder ? roundedUp(files[i].size, block) : 0;
            }
            if (free && *free < needed) {
                return texts::installNoSpace();
            }
        }
        return {};
    }

    // Tells the journal how a file whose intent it heard ended.
    void done(const QString& download, const Candidate& file, bool ok, const QString& error) const {
        if (options_.checkOnly || !hook_) {
            return;
        }
        hook_({InstallStep::Stage::Done, download, file.name, platform::joinPath(file.folder, file.flat), ok,
               error, file.staged});
    }

    // Places the files of one group in turn; when one cannot be placed, those already placed are
    // taken out again and none of the group counts as installed.
    void installGroup(std::vector<Candidate>& files, const std::vector<std::size_t>& group,
                      const QString& download) {
        QString failure = spaceShortage(files, group);
        std::vector<std::pair<std::size_t, platform::Placement>> placed;
        for (std::size_t i : group) {
            if (!failure.isEmpty()) {
                break;
            }
            const Candidate& file = files[i];
            const InstallStep intent{InstallStep::Stage::Intent,
                                     download,
                                     file.name,
                                     platform::joinPath(file.folder, file.flat),
                                     true,
                                     {},
                                     file.staged};
            if (!options_.checkOnly && hook_ && !hook_(intent)) {
                failure = texts::installNotRecorded();
                break;
            }
            const platform::Placement put =
                platform::placeNewFile(file.staged, file.folder, file.flat, options_.checkOnly);
            if (!put.ok) {
                const QString why = placementError(put);
                failure =
                    put.problem == platform::Placement::Problem::NoSpace ? texts::installNoSpace() : why;
                done(download, file, false, why);
                break;
            }
            placed.emplace_back(i, put);
        }
        for (const auto& [i, put] : placed) {
            Candidate& file = files[i];
            const QString stays = failure.isEmpty() || !put.placed
                                      ? QString()
                                      : platform::removePlaced(file.folder, file.flat, put);
            if (failure.isEmpty() || !stays.isEmpty()) {
                // In place (a file that could not be taken out again is still installed).
                done(download, file, true, {});
                file.state = State::Installed;
                namesIn(file.folder).add(file.flat);
            } else {
                done(download, file, false, texts::installRemovedAgain(failure));
            }
        }
        for (std::size_t i : group) {
            if (files[i].state == State::Pending) {
                refuse(files[i], texts::installNotInstalled(failure));
            }
        }
    }

    void execute(std::vector<Candidate>& files, DownloadReport& report) {
        std::vector<std::size_t> order(files.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return files[a].name < files[b].name; });
        for (const std::vector<std::size_t>& group : skinsToInstall(files, order)) {
            installGroup(files, group, report.download);
        }
        for (std::size_t i : order) {
            const Candidate& file = files[i];
            switch (file.state) {
            case State::Refused:
                report.refused.append({file.name, file.reason, {}});
                break;
            case State::Conflict:
                report.conflicts.append({file.name, file.other});
                break;
            case State::Already:
                report.alreadyInstalled.append({file.name, file.other});
                break;
            case State::Installed:
                report.installed.append({file.name, platform::joinPath(file.folder, file.flat)});
                break;
            case State::Pending:
                break;
            }
        }
    }

    const Destination& destination_;
    const Options& options_;
    const InstallHook& hook_;
    std::map<QString, FolderNames> names_;
    qint64 entries_ = 0;
};

} // namespace

Destination Destination::ofGame(const QString& gameFolder) {
    return {platform::resolveDirectory(gameFolder, QStringLiteral("GameData/Skins")),
            platform::resolveDirectory(gameFolder, QStringLiteral("ExpansionShared/SkinsBuy"))};
}

bool isSkinFileName(const QString& name) {
    return name.endsWith(QStringLiteral(".cmx"), Qt::CaseInsensitive) ||
           name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive) ||
           name.endsWith(QStringLiteral(".skn"), Qt::CaseInsensitive);
}

std::optional<QString> intoProgramFolder(const Destination& destination, const QString& programFolder) {
    // The program's own folder holds the problem files and the journal, never skins.
    const QString program = QFileInfo(programFolder).canonicalFilePath();
    for (const QString& folder : {destination.skins, destination.skinsBuy}) {
        if (!folder.isEmpty() && !program.isEmpty() && QFileInfo(folder).canonicalFilePath() == program) {
            return texts::skinFolderIsProgramFolder(folder);
        }
    }
    return std::nullopt;
}

InstallReport::Totals InstallReport::totals() const {
    Totals totals;
    for (const DownloadReport& download : downloads) {
        totals.installed += static_cast<int>(download.installed.size());
        totals.alreadyInstalled += static_cast<int>(download.alreadyInstalled.size());
        totals.refused += static_cast<int>(download.refused.size());
        totals.conflicts += static_cast<int>(download.conflicts.size());
        totals.notSkinFiles += static_cast<int>(download.notSkinFiles.size());
        totals.stoppedDownloads += download.stopped.isEmpty() ? 0 : 1;
    }
    return totals;
}

QString InstallReport::closing() const {
    if (!stopped.isEmpty()) {
        return stopped;
    }
    if (stoppedEarly) {
        return texts::installCancelled(installedCount(), downloads.size());
    }
    if (checkOnly) {
        return texts::installClosingCheckOnly(installedCount(), downloads.size());
    }
    return texts::installClosing(installedCount(), downloads.size());
}

InstallReport installDownloads(const QStringList& downloads, const Destination& destination,
                               const Options& options, const platform::archive::EntryProgress& progress,
                               const InstallHook& hook) {
    InstallReport report;
    report.checkOnly = options.checkOnly;
    if (destination.skins.isEmpty() || !QFileInfo(destination.skins).isDir()) {
        report.stopped = texts::installNoSkinFolder(destination.skins);
        return report;
    }
    if (options.stagingParent.isEmpty() || !QFileInfo(options.stagingParent).isDir()) {
        report.stopped = texts::installNoStagingParent(options.stagingParent);
        return report;
    }
    Destination effective = destination;
    if (!effective.skinsBuy.isEmpty() && !QFileInfo(effective.skinsBuy).isDir()) {
        effective.skinsBuy.clear();
    }
    if (const auto problem = intoProgramFolder(effective, options.stagingParent)) {
        report.stopped = *problem;
        return report;
    }
    Installer installer(effective, options, hook);
    static int staged = 0;
    for (const QString& download : downloads) {
        if (options.stopRequested && options.stopRequested()) {
            report.stoppedEarly = true;
            break;
        }
        platform::archive::UnpackError why;
        std::optional<StagingFolder> staging;
        for (int attempt = 0; attempt < 100 && !staging; ++attempt) {
            const QString path = platform::joinPath(
                options.stagingParent,
                QStringLiteral("install-staging-%1-%2").arg(platform::processId()).arg(++staged));
            if (!QFileInfo::exists(path)) {
                if (auto made = StagingFolder::create(path, &why)) {
                    staging.emplace(std::move(*made));
                }
            }
        }
        if (!staging) {
            report.stopped = texts::installNoStagingFolder(
                why.kind == platform::archive::UnpackError::Kind::None ? texts::installNoFreeName()
                                                                       : texts::unpackError(why));
            break;
        }
        const qint64 before = installer.entries();
        const platform::archive::EntryProgress forward = [&](qint64 read) {
            if (progress) {
                progress(before + read);
            }
        };
        report.downloads.append(installer.run(download, *staging, forward));
    }
    if (!report.stopped.isEmpty()) {
        report.stopped =
            texts::installStoppedAfter(report.installedCount(), report.downloads.size(), report.stopped);
    }
    return report;
}

} // namespace vestimo::install
