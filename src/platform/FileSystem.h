#pragma once

#include "platform/FileError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// Everything the program does to files goes through here.
namespace vestimo::platform {

// Success, or why not (texts::fileError has the words for it).
struct FileResult {
    bool ok = true;
    FileError error;
    static FileResult success() { return {}; }
    static FileResult failure(const FileError& why) { return {false, why}; }
};

// directory + "/" + name, without doubling the separator at a root.
QString joinPath(const QString& directory, const QString& name);

// The ordinary files of one folder matching a pattern, from one enumeration.
struct FileNames {
    bool ok = true;
    QString error; // why the folder could not be read
    QStringList names;
    // Names that are not valid text, so cannot be named back: as they can be shown (each stray
    // byte a replacement character), and as stored, in the same order.
    QStringList unnamable;
    QList<QByteArray> unnamableBytes;
};
// Names of the ordinary files of `directory` matching `pattern` (see WildcardMatch), in the order
// the file system gives them. Directories, hidden files and broken links are left out; names that
// are not valid text go to `unnamable` instead. A folder that cannot be opened says why.
FileNames listFiles(const QString& directory, const QString& pattern);

// The stored name of the ordinary file at `path`, or empty when there is none (directories,
// hidden files and broken links are never found).
QString lookUpFile(const QString& path);

// Length in bytes, or nothing with `error` set.
std::optional<qint64> fileLength(const QString& path, QString* error = nullptr);

// Moves a file; never replaces one. Works across file systems (copy, check the length, then
// remove the original). On failure nothing is lost: the file stays where it was.
FileResult moveFile(const QString& source, const QString& target);

// Sends one file to the home trash (Trash.h); never deletes outright. The trash's note is written
// before the file goes in, and a trash that cannot be used leaves the file where it is.
// `pathInTrash`, when given, gets where the file went, as an absolute path.
FileResult moveToTrash(const QString& path, QString* pathInTrash = nullptr);

// Which file a name stood for, and in what state: another program's change shows in one of these.
struct FileIdentity {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 inode = 0;
    qint64 device = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct ReadResult {
    bool ok = false;
    QByteArray bytes;
    FileError error;
    FileIdentity identity; // of the file that was read
};
// Reads a whole ordinary file of at most `limit` bytes (through a link; a FIFO or device is
// refused at once, never waited on).
ReadResult readFile(const QString& path, qint64 limit);
// The same for `name` (as stored) in the folder open as `directoryFd`, into `buffer`: it holds the
// bytes read on success and is empty otherwise, and keeps its room from one call to the next, so
// a pass over thousands of files needs no new array for each.
FileResult readFileAt(int directoryFd, const char* name, qint64 limit, QByteArray& buffer);
// Why a file past `limit` bytes is not read, as readFile gives it.
FileError tooLargeError(qint64 limit);
// Why a file could not be opened for reading, from openForReading's answer.
FileError openError(const std::string& error);

// The identity of what is at `path` now, the link itself for a link; nothing when there is nothing.
std::optional<FileIdentity> identifyFile(const QString& path);
bool isSymbolicLink(const QString& path);

// Writes atomically: the old file stays intact until the new content is complete and checked on
// disk. A symbolic link at `path` is refused, never written through.
FileResult saveFile(const QString& path, const QByteArray& bytes);
// Writes a scratch file that must not exist yet, quickly (no sync to disk); never through a link.
FileResult writeNewFile(const QString& path, const QByteArray& bytes);
// Writes a file that must not exist yet (atomically; a file in the way is never replaced).
FileResult saveNewFile(const QString& path, const QByteArray& bytes);

FileResult removeFile(const QString& path);

// The file whose presence beside the executable makes a copy portable.
inline const QString PortableMarker = QStringLiteral("vestimo.portable");
// The desktop's name for the program (io.github.vestimo.Vestimo).
QString applicationId();
// The program's version (0.1.0).
QString applicationVersion();
// The program's own folder, where problem files and the scratch listing go: the executable's own
// folder for a portable copy (the build tree, or any folder holding PortableMarker next to the
// executable), else ~/.local/share/<applicationId()>/, created when missing.
QString programDirectory();
// The same rule for an executable in `executableFolder`.
QString programDirectoryFor(const QString& executableFolder);
QString currentDirectory();

// `relative` ("Program Files/Maxis/The Sims") under `root`, matching each folder name without
// regard to case as the game's platform does. Empty when some folder is missing.
QString resolveDirectory(const QString& root, const QString& relative);

} // namespace vestimo::platform
