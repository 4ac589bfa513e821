#pragma once

#include "platform/Descriptor.h"
#include "platform/FileSystem.h"
#include "platform/ReadOpen.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vestimo::platform {

// A folder opened once, whose files are then listed, identified, read, moved and trashed by their
// names relative to it: a run over thousands of files spares each the walk of the whole path, and
// every file is looked for in the folder that was opened, whatever the path names meanwhile. The
// folder's own path may be a link (a skin folder kept on another drive); names in it are looked
// at without following links unless said otherwise. Should it not open, its path serves, and
// listing says why.
class SkinFolder {
public:
    explicit SkinFolder(const QString& path);

    const QString& path() const { return path_; }
    bool isOpen() const { return fd_.isOpen(); }
    // The descriptor to hand the system with entry(): the folder, or the working folder when it
    // did not open.
    int descriptor() const;
    // What to hand the system, with descriptor(), for the file `name`.
    QByteArray entry(const QString& name) const;
    // The file as a path, for what only takes paths (the journal, pictures).
    QString pathOf(const QString& name) const;

    // As listFiles.
    FileNames list(const QString& pattern) const;
    // As lookUpFile: the stored name of the ordinary file `name` (through a link), or empty.
    QString lookUp(const QString& name) const;
    // As identifyFile: the link itself for a link; nothing when there is nothing.
    std::optional<FileIdentity> identify(const QString& name) const;
    // Opens the file for reading, through a link, as skin files are read.
    ReadOpen open(const QString& name) const;
    // As readFileAt.
    FileResult read(const QString& name, qint64 limit, QByteArray& buffer) const;
    // As moveFile, to `targetDirectory`/`name`: never replaces a file, and across file systems
    // copies, checks and only then removes the original.
    FileResult moveOut(const QString& name, const QString& targetDirectory) const;
    // As moveToTrash.
    FileResult trash(const QString& name, QString* pathInTrash = nullptr) const;

private:
    QString path_;
    Descriptor fd_;
    QString error_; // why it did not open
};

} // namespace vestimo::platform
