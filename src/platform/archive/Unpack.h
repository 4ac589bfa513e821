#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Reading downloads (zip, rar, 7z, tar.gz and the like through libarchive, or a plain folder) into a
// private staging folder, so that nothing a download holds can reach anywhere else.
namespace vestimo::platform::archive {

// Counted from the bytes actually unpacked, never from what a header claims.
struct Limits {
    qint64 entries = 10000;
    qint64 entryBytes = qint64{64} * 1024 * 1024;
    qint64 totalBytes = qint64{1024} * 1024 * 1024;
};

// Why a download, or one entry of it, was not unpacked: the kind, what it names, and the system's
// or libarchive's own words where it gave any. The catalogue makes the text.
struct UnpackError {
    enum class Kind {
        None,
        // The whole download stops.
        TooManyEntries, // number: the limit
        EntryTooLarge,  // name; number: the limit in bytes
        TooLargeInAll,  // number: the limit in bytes
        Damaged,        // reason, when libarchive gave one
        EntryDamaged,   // name; reason, when libarchive gave one
        NotAnArchive,   // reason, when libarchive gave one
        LibraryNotStarted,
        Password,        // reason, when libarchive gave one
        EntryNotWritten, // name, reason
        EntryNotRead,    // name, reason
        FolderNotListed, // reason
        DownloadIsLink,
        DownloadNotOpened, // reason
        DownloadEmpty,
        NeitherFileNorFolder,
        // One entry is refused.
        NameNotText,
        NameHasControl,
        AbsolutePath,
        DotDotInPath,
        NoName,
        TooDeep, // number: the deepest allowed
        HardLink,
        SymbolicLink,
        NotAFile,        // a device, FIFO or socket
        NotCreated,      // reason
        FolderNameTaken, // name: the folder a file of the download is named like
        NameTwice,
        NotReadable,     // reason
        NotReadableFile, // it opened, but is not a file
        // The staging folder.
        StagingTaken,     // name: its path
        StagingNotMade,   // name, reason
        StagingNotOpened, // name, reason
    };
    Kind kind = Kind::None;
    QString name;
    qint64 number = 0;
    QString reason;
    bool operator==(const UnpackError&) const = default;
};

// A folder of our own that exists only while this object does. It is made fresh (an existing
// folder of that name is never taken over) and removed with everything in it afterwards, without
// following links.
class StagingFolder {
public:
    // Makes `path` (its parent must exist); nothing on failure, with `error` set.
    static std::optional<StagingFolder> create(const QString& path, UnpackError* error);
    ~StagingFolder();
    StagingFolder(StagingFolder&& other) noexcept;
    StagingFolder& operator=(StagingFolder&&) = delete;
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const QString& path() const { return path_; }
    // The open folder; everything inside is made relative to it.
    int fd() const { return fd_; }

private:
    StagingFolder(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
    QString path_;
    int fd_ = -1;
};

struct StagedFile {
    QString name; // its path inside the download, "/" between folders
    QString path; // where it now is, inside the staging folder
    qint64 size = 0;
};

struct RefusedEntry {
    QString name; // as given, with control characters shown as \xNN
    UnpackError reason;
    QByteArray raw; // the name's own bytes, for a report that shows stray bytes its own way
};

struct Unpacked {
    // False: the download is damaged, protected by a password, past a limit or could not be read;
    // nothing of it may be used, and `error` says why (libarchive's own words where it has them).
    bool ok = true;
    UnpackError error;
    QList<StagedFile> files; // the files the caller wanted, unpacked
    QStringList others;      // ordinary files read but not wanted, so not unpacked
    QList<RefusedEntry> refused;
    // Paths more than one entry has: only the first is unpacked, and which one was meant cannot
    // be told (extracting tools disagree), so none of them is to be used.
    QStringList duplicates;
    bool empty = false; // the download is a file of no bytes at all (then not `ok`)
    qint64 entries = 0; // entries read, folders included
    qint64 bytes = 0;   // bytes unpacked (archives: every entry's data, refused ones too, read to count it)
};

// Whether an ordinary file of this path inside the download is to be unpacked.
using Wanted = std::function<bool(const QString& name)>;
// Called after each entry with the number read so far in this download.
using EntryProgress = std::function<void(qint64 entriesRead)>;

// Reads `download` (an archive file or a folder) into `staging`. Entries with absolute paths, ".."
// components, links, devices or FIFOs, and names that are not valid UTF-8 text or hold control
// characters are refused and never created.
Unpacked unpack(const QString& download, const StagingFolder& staging, const Wanted& wanted,
                const Limits& limits = {}, const EntryProgress& progress = {});

// Why a path inside a download may not be unpacked, or nothing when it may; `parts` receives its
// folders and file name. Exposed for tests.
std::optional<UnpackError> refuseName(const QByteArray& rawName, QStringList* parts);

// The name as shown in reports: bytes that are not valid UTF-8 and control characters written as \xNN.
QString shownName(const QByteArray& rawName);

} // namespace vestimo::platform::archive
