#pragma once

#include "core/catalogue/Verdicts.h"

#include "platform/ProgramLock.h"
#include "platform/archive/FarArchive.h"
#include "platform/archive/Unpack.h"
#include "platform/fit/TextureFit.h"
#include "platform/journal/FileDigest.h"
#include "platform/journal/JournalStore.h"
#include "platform/render/RenderError.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/History.h"

#include <QCoreApplication>
#include <QString>

// The texts of what the platform floor reports as kinds: why a download or one of its entries was
// not unpacked, and so on. The system's own words (strerror, libarchive, the database) come along
// in the values and are put in as they are.
namespace vestimo::texts {

namespace detail {
inline QString mebibytes(qint64 bytes) {
    constexpr qint64 MiB = qint64{1024} * 1024;
    return bytes % MiB == 0 ? QStringLiteral("%1 MiB").arg(bytes / MiB)
                            : QStringLiteral("%1 bytes").arg(bytes);
}
inline QString gibibytes(qint64 bytes) {
    constexpr qint64 GiB = qint64{1024} * 1024 * 1024;
    return bytes % GiB == 0 ? QStringLiteral("%1 GiB").arg(bytes / GiB) : mebibytes(bytes);
}
inline QString orElse(const QString& reason, const QString& fallback) {
    return reason.isEmpty() ? fallback : reason;
}
inline QString damaged() {
    return QCoreApplication::translate("Vestimo", "the archive is damaged");
}
inline QString notUnpacked(const QString& why) {
    return QCoreApplication::translate("Vestimo", "could not be unpacked: %1").arg(why);
}
} // namespace detail

// Said of a download or a lock file that is a link, where a file was expected.
inline QString itIsASymbolicLink() {
    return QCoreApplication::translate("Vestimo", "it is a symbolic link");
}

// Why a download stopped, why one of its entries was refused, or why no staging folder was made.
inline QString unpackError(const platform::archive::UnpackError& e) {
    using Kind = platform::archive::UnpackError::Kind;
    switch (e.kind) {
    case Kind::None:
        return {};
    case Kind::TooManyEntries:
        return QCoreApplication::translate("Vestimo", "it holds more than %1 entries; unpacking stopped")
            .arg(e.number);
    case Kind::EntryTooLarge:
        return QCoreApplication::translate("Vestimo", "%1 unpacks to more than %2; unpacking stopped")
            .arg(e.name, detail::mebibytes(e.number));
    case Kind::TooLargeInAll:
        return QCoreApplication::translate("Vestimo", "it unpacks to more than %1 in all; unpacking stopped")
            .arg(detail::gibibytes(e.number));
    case Kind::Damaged:
        return detail::orElse(e.reason, detail::damaged());
    case Kind::EntryDamaged:
        return QStringLiteral("%1: %2").arg(e.name, detail::orElse(e.reason, detail::damaged()));
    case Kind::NotAnArchive:
        return detail::orElse(e.reason,
                              QCoreApplication::translate("Vestimo", "not an archive this program can read"));
    case Kind::LibraryNotStarted:
        return QCoreApplication::translate("Vestimo", "the archive library could not start");
    case Kind::Password:
        return QCoreApplication::translate("Vestimo", "it is protected by a password (%1)")
            .arg(detail::orElse(e.reason, QCoreApplication::translate("Vestimo", "encrypted")));
    case Kind::EntryNotWritten:
        return QCoreApplication::translate("Vestimo", "%1 could not be unpacked: %2").arg(e.name, e.reason);
    case Kind::EntryNotRead:
        return QCoreApplication::translate("Vestimo", "%1 could not be read: %2").arg(e.name, e.reason);
    case Kind::FolderNotListed:
        return QCoreApplication::translate("Vestimo", "the folder could not be read: %1").arg(e.reason);
    case Kind::DownloadIsLink:
        return itIsASymbolicLink();
    case Kind::DownloadNotOpened:
        return e.reason;
    case Kind::DownloadEmpty:
        return QCoreApplication::translate("Vestimo", "it is empty");
    case Kind::NeitherFileNorFolder:
        return QCoreApplication::translate("Vestimo", "it is neither a file nor a folder");
    case Kind::NameNotText:
        return QCoreApplication::translate("Vestimo", "its name is not valid text");
    case Kind::NameHasControl:
        return QCoreApplication::translate("Vestimo", "its name holds a control character");
    case Kind::AbsolutePath:
        return QCoreApplication::translate("Vestimo", "an absolute path");
    case Kind::DotDotInPath:
        return QCoreApplication::translate("Vestimo", "a \"..\" in its path");
    case Kind::NoName:
        return QCoreApplication::translate("Vestimo", "it has no name");
    case Kind::TooDeep:
        return QCoreApplication::translate("Vestimo", "more than %1 folders deep").arg(e.number);
    case Kind::HardLink:
        return QCoreApplication::translate("Vestimo", "a hard link");
    case Kind::SymbolicLink:
        return QCoreApplication::translate("Vestimo", "a symbolic link");
    case Kind::NotAFile:
        return QCoreApplication::translate("Vestimo", "a device, FIFO or socket, not a file");
    case Kind::NotCreated:
        return detail::notUnpacked(e.reason);
    case Kind::FolderNameTaken:
        return detail::notUnpacked(
            QCoreApplication::translate("Vestimo",
                                        "a file of the download is already named like its folder %1")
                .arg(e.name));
    case Kind::NameTwice:
        return detail::notUnpacked(
            QCoreApplication::translate("Vestimo", "the download holds this name twice"));
    case Kind::NotReadable:
        return couldNotBeRead(e.reason);
    case Kind::NotReadableFile:
        return couldNotBeRead(QCoreApplication::translate("Vestimo", "not a file"));
    case Kind::StagingTaken:
        return QCoreApplication::translate("Vestimo", "%1 is already there").arg(e.name);
    case Kind::StagingNotMade:
        return QCoreApplication::translate("Vestimo", "%1 could not be made: %2").arg(e.name, e.reason);
    case Kind::StagingNotOpened:
        return QCoreApplication::translate("Vestimo", "%1 could not be opened: %2").arg(e.name, e.reason);
    }
    return {};
}

// Why one of the game's own archives, or an entry of it, could not be read.
inline QString farError(const platform::archive::FarError& e) {
    using Kind = platform::archive::FarError::Kind;
    const auto cutShort = [] { return QCoreApplication::translate("Vestimo", "the archive is cut short"); };
    switch (e.kind) {
    case Kind::None:
    case Kind::NotOpened:
        return e.reason;
    case Kind::NotAFar:
        return QCoreApplication::translate("Vestimo", "it is not one of the game's FAR archives");
    case Kind::UnknownVersion:
        return QCoreApplication::translate("Vestimo",
                                           "it is a FAR archive of version %1, not one of the game's")
            .arg(e.number);
    case Kind::Truncated:
        return cutShort();
    case Kind::ManifestOutside:
        return QCoreApplication::translate("Vestimo", "the archive's list of files lies past its end");
    case Kind::ManifestTooLarge:
        return QCoreApplication::translate("Vestimo", "the archive's list of files is larger than %1")
            .arg(detail::mebibytes(e.number));
    case Kind::TooManyEntries:
        return QCoreApplication::translate("Vestimo",
                                           "the archive claims %1 files, more than its list can hold")
            .arg(e.number);
    case Kind::EntryOutside:
        return QCoreApplication::translate("Vestimo", "%1 lies past the end of the archive").arg(e.name);
    case Kind::NameOutside:
        return QCoreApplication::translate("Vestimo", "the name of file %1 runs past the end of the archive")
            .arg(e.number + 1);
    case Kind::NoSuchEntry:
        return QCoreApplication::translate("Vestimo", "the archive holds no %1").arg(e.name);
    case Kind::Compressed:
        return QCoreApplication::translate("Vestimo", "%1 is compressed, which the game never does")
            .arg(e.name);
    case Kind::EntryTooLarge:
        return QCoreApplication::translate("Vestimo", "%1 is larger than %2")
            .arg(e.name, detail::mebibytes(e.number));
    case Kind::NotRead:
        return QCoreApplication::translate("Vestimo", "%1 could not be read: %2")
            .arg(e.name, detail::orElse(e.reason, cutShort()));
    }
    return {};
}

// Why the software renderer refused a scene.
inline QString renderError(platform::render::RenderError e) {
    using platform::render::RenderError;
    switch (e) {
    case RenderError::None:
        return {};
    case RenderError::PictureSize:
        return QCoreApplication::translate("Vestimo", "a picture's sides must be from 1 to %1 pixels")
            .arg(platform::render::MaxPictureSide);
    case RenderError::TooManyTriangles:
        return QCoreApplication::translate("Vestimo", "the meshes have more than %1 faces in all")
            .arg(platform::render::MaxTriangles);
    case RenderError::TooManyVertices:
        return QCoreApplication::translate("Vestimo", "the meshes have more than %1 vertices in all")
            .arg(platform::render::MaxVertices);
    case RenderError::MeshInconsistent:
        return QCoreApplication::translate("Vestimo", "a mesh names a vertex it does not have");
    }
    return {};
}

// Why the journal could not do what was asked. Some kinds name the journal file and say why in
// the words of the kind inside (`cause`).
inline QString journalError(const platform::JournalError& e) {
    using Kind = platform::JournalError::Kind;
    const auto inner = [&e] { return journalError({e.cause, Kind::None, {}, e.number, e.reason}); };
    switch (e.kind) {
    case Kind::None:
        return e.reason;
    case Kind::NotOpen:
        return journalNotOpen();
    case Kind::Database:
        return detail::orElse(e.reason,
                              QCoreApplication::translate("Vestimo", "the database gave no reason"));
    case Kind::Check:
        return e.reason;
    case Kind::NoSuchRun:
        return QCoreApplication::translate("Vestimo", "the journal has no run %1").arg(e.number);
    case Kind::NoSuchChange:
        return QCoreApplication::translate("Vestimo", "the journal has no change %1").arg(e.number);
    case Kind::NoDriver:
        return QCoreApplication::translate("Vestimo", "the SQLite driver for Qt is not installed");
    case Kind::NotADatabase:
        return QCoreApplication::translate("Vestimo", "it is not a database");
    case Kind::NoWriteAheadLog:
        return QCoreApplication::translate("Vestimo", "the database refused its write-ahead log");
    case Kind::Newer:
        return QCoreApplication::translate("Vestimo",
                                           "it was written by a newer Vestimo (journal version %1)")
            .arg(e.number);
    case Kind::FolderMissing:
        return QCoreApplication::translate("Vestimo", "the folder %1 does not exist").arg(e.name);
    case Kind::FolderNotWritable:
        return QCoreApplication::translate("Vestimo", "the folder %1 cannot be written to").arg(e.name);
    case Kind::FileIsLink:
        return QCoreApplication::translate("Vestimo",
                                           "%1 is a link; the journal is never written through one")
            .arg(e.name);
    case Kind::FileNotAFile:
        return QCoreApplication::translate("Vestimo", "%1 is not a file").arg(e.name);
    case Kind::NotOpened:
        return QCoreApplication::translate("Vestimo", "%1 cannot be opened: %2").arg(e.name, inner());
    case Kind::NotUsable:
        return QCoreApplication::translate("Vestimo", "%1 cannot be used: %2").arg(e.name, inner());
    case Kind::Unreadable:
        return QCoreApplication::translate("Vestimo", "%1 cannot be read: %2").arg(e.name, inner());
    case Kind::NotSetAside:
        return QCoreApplication::translate("Vestimo", "%1 is damaged (%2) and could not be set aside")
            .arg(e.name, inner());
    case Kind::LogNotSetAside:
        return QCoreApplication::translate("Vestimo", "%1 is damaged (%2) and its log could not be set aside")
            .arg(e.name, inner());
    case Kind::NotStartedAfresh:
        return QCoreApplication::translate("Vestimo", "%1 could not be started afresh").arg(e.name);
    }
    return {};
}

// Why a file's content could not be read for the journal.
inline QString digestError(const platform::DigestError& e) {
    using Kind = platform::DigestError::Kind;
    switch (e.kind) {
    case Kind::None:
    case Kind::System:
        return e.reason;
    case Kind::Link:
        return QCoreApplication::translate("Vestimo", "it is a link, not a file");
    case Kind::NotRegularFile:
        return QCoreApplication::translate("Vestimo", "it is not an ordinary file");
    case Kind::TooLarge:
        return QCoreApplication::translate("Vestimo", "it is larger than %1 MiB")
            .arg(e.number / (qint64{1024} * 1024));
    }
    return {};
}

// Why a picture was not fitted to a texture.
inline QString fitError(const platform::FitResult& fit) {
    using Kind = platform::FitError::Kind;
    const platform::FitError& e = fit.error;
    switch (e.kind) {
    case Kind::None:
        return e.reason;
    case Kind::Structure:
        return bmpFault(fit.fault);
    case Kind::FarTooLarge:
        return QCoreApplication::translate("Vestimo", "the picture is far larger than any texture");
    case Kind::NotDecoded:
        return detail::orElse(e.reason, notAReadablePicture());
    case Kind::NotATextureSize:
        return QCoreApplication::translate("Vestimo", "%1 x %2 is not a texture size")
            .arg(fit.width)
            .arg(fit.height);
    case Kind::NoMemoryToConvert:
        return QCoreApplication::translate("Vestimo", "there was not enough memory to convert the picture");
    case Kind::NoMemoryToReduce:
        return QCoreApplication::translate("Vestimo", "there was not enough memory to reduce the colours");
    case Kind::QualityTooLow:
        return QCoreApplication::translate("Vestimo", "256 colours cannot show this picture well enough");
    case Kind::NotReduced:
        return QCoreApplication::translate("Vestimo", "the colours could not be reduced (error %1)")
            .arg(e.number);
    }
    return {};
}

// Why the program folder's lock file could not be used.
inline QString lockError(const platform::ProgramLock::Result& lock) {
    using Problem = platform::ProgramLock::Result::Problem;
    switch (lock.problem) {
    case Problem::None:
    case Problem::System:
        return lock.reason;
    case Problem::Link:
        return itIsASymbolicLink();
    case Problem::NotRegularFile:
        return QCoreApplication::translate("Vestimo", "not an ordinary file");
    case Problem::Unusable:
        return QCoreApplication::translate("Vestimo", "it cannot be used");
    }
    return {};
}

} // namespace vestimo::texts
