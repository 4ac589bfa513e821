#pragma once

#include <QString>
#include <QtGlobal>

namespace vestimo::platform {

// Why a file operation failed, as a kind with its facts; the words for it are the catalogue's
// (texts::fileError). Only the system's own reason comes as words, in `reason`.
struct FileError {
    enum class Kind {
        None,
        System,        // `reason`: the system's words (or Qt's, for what Qt did)
        Text,          // `reason`: a finished text of the floor above, carried through
        NameTaken,     // a file of that name is already there
        NameTakenIn,   // the same, in the folder `subject`
        InTheWay,      // the scratch file `subject` is in the way
        NoLongerThere, // the file has gone
        IsFolder,      // a folder, not a file
        NotOrdinary,   // a FIFO, device or socket where a file was
        TooLarge,      // larger than `number` bytes
        ShortWrite,    // only `number` of `total` bytes were written
        CopyLength,    // the copy came out at another length than the original
        ThroughLink,   // `subject` is a link to `other`, never written through
        FolderLocked,  // the folder `subject` cannot be changed (`reason`: the system's words)
        LinkInTrash,   // the trash's folder `subject` is a symbolic link
        NotAFolder,    // the trash's `subject` is not a folder
        OtherUsers,    // the trash's folder `subject` belongs to another user
        NoHome,        // there is no home folder to keep a trash in
        NoFreeName,    // the trash has no free name left for the file
    };
    // What the failure meant for the file: nothing more, or that it was kept where it was,
    // because the trash `place` could not be used.
    enum class Outcome { Plain, Kept, TrashUnusable };

    Kind kind = Kind::None;
    QString reason;
    QString subject;
    QString other;
    qint64 number = 0;
    qint64 total = 0;
    Outcome outcome = Outcome::Plain;
    QString place;

    static FileError system(const QString& reason) { return of(Kind::System, reason); }
    static FileError text(const QString& text) { return of(Kind::Text, text); }
    static FileError of(Kind kind, const QString& reason = {}, const QString& subject = {}) {
        FileError error;
        error.kind = kind;
        error.reason = reason;
        error.subject = subject;
        return error;
    }
    FileError kept() const {
        FileError error = *this;
        error.outcome = Outcome::Kept;
        return error;
    }
    FileError trashUnusable(const QString& trash) const {
        FileError error = *this;
        error.outcome = Outcome::TrashUnusable;
        error.place = trash;
        return error;
    }
    bool isNone() const { return kind == Kind::None; }
    bool operator==(const FileError&) const = default;
};

} // namespace vestimo::platform
