#pragma once

#include "platform/archive/Unpack.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Installing skins from downloads: every file is checked by the same rules as the directory-wide
// checks, routed into the game's folders, and written without ever replacing a file.
namespace vestimo::install {

// Where skins go: the install's GameData/Skins, and its ExpansionShared/SkinsBuy when it has one
// (empty otherwise: buyable outfits then go to the skins folder too).
struct Destination {
    QString skins;
    QString skinsBuy;

    // The folders of a game install, found without regard to case; `skins` stays empty when the
    // install has no GameData/Skins.
    static Destination ofGame(const QString& gameFolder);
    // Everything into one folder (the current skin directory).
    static Destination Folder(const QString& folder) { return {folder, {}}; }
};

struct Options {
    bool checkOnly = false; // everything but the final renames
    QString stagingParent;  // where the private staging folders are made (the program folder)
    platform::archive::Limits limits;
    // The bytes a folder has free for new files, or nothing when unknown; unset, the file
    // system's own figure. A skin that would not fit is not begun.
    std::function<std::optional<qint64>(const QString& folder)> freeSpace;
    // Asked before each download is begun; once true, no other one is.
    std::function<bool()> stopRequested;
};

// One installed file, for the journal: called with Intent before the file is written, and with
// Done (ok or not) once its whole skin is in place or, when part of the skin could not be, once the
// file is removed again. Returning false at Intent leaves the file's skin uninstalled.
struct InstallStep {
    enum class Stage { Intent, Done };
    Stage stage = Stage::Intent;
    QString download; // the archive or folder it came from
    QString name;     // its path inside the download
    QString target;   // the file it becomes
    bool ok = true;   // Done only: whether it got there
    QString error;    // Done only: why not
    QString staged;   // the checked bytes that become the file, while they wait to be placed
};
using InstallHook = std::function<bool(const InstallStep&)>;

struct InstalledFile {
    QString name;   // path inside the download
    QString target; // full path of the file in the game's folders
};

struct RefusedFile {
    QString name;
    QString reason;
    QByteArray raw; // the entry's name as stored, when the archive refused it for its name
};

struct ConflictingFile {
    QString name;  // path inside the download
    QString other; // the file already installed (full path) or the other file of the download
};

struct DownloadReport {
    QString download;
    QString stopped; // set when the download could not be read: nothing of it was installed
    QList<InstalledFile> installed;
    QList<InstalledFile> alreadyInstalled; // identical bytes were already there
    QList<RefusedFile> refused;
    QList<ConflictingFile> conflicts;
    QStringList notSkinFiles;
};

struct InstallReport {
    bool checkOnly = false;
    QString stopped;           // set when the run as a whole could not go on
    bool stoppedEarly = false; // asked to stop: the downloads after the last one begun were not read
    QList<DownloadReport> downloads;

    struct Totals {
        int installed = 0;
        int alreadyInstalled = 0;
        int refused = 0;
        int conflicts = 0;
        int notSkinFiles = 0;
        int stoppedDownloads = 0; // downloads of which nothing could be used
    };
    Totals totals() const;
    int installedCount() const { return totals().installed; }
    // "Installed N files from M downloads.", or what stopped it.
    QString closing() const;
};

// The extensions of the files a download is read for: .cmx, .bmp and .skn, in any case.
bool isSkinFileName(const QString& name);

// Why skins may not go to `destination` when `programFolder` is the program's folder, or nothing.
std::optional<QString> intoProgramFolder(const Destination& destination, const QString& programFolder);

// Installs each download in turn. `progress` gets the entries read so far over all downloads.
InstallReport installDownloads(const QStringList& downloads, const Destination& destination,
                               const Options& options, const platform::archive::EntryProgress& progress = {},
                               const InstallHook& hook = {});

} // namespace vestimo::install
