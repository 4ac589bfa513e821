#pragma once

#include "platform/FileError.h"

#include <QCoreApplication>
#include <QString>

// Why a file could not be read, written, moved or sent to the trash: the words for the kinds of
// failure the platform reports.
namespace vestimo::texts {

inline QString fileErrorReason(const platform::FileError& error) {
    using Kind = platform::FileError::Kind;
    switch (error.kind) {
    case Kind::None:
    case Kind::System:
    case Kind::Text:
        break;
    case Kind::NameTaken:
        return QCoreApplication::translate("Vestimo", "a file of that name is already there");
    case Kind::NameTakenIn:
        return QCoreApplication::translate("Vestimo", "a file of that name is already in %1")
            .arg(error.subject);
    case Kind::InTheWay:
        return QCoreApplication::translate("Vestimo", "a file named %1 is in the way").arg(error.subject);
    case Kind::NoLongerThere:
        return QCoreApplication::translate("Vestimo", "it is no longer there");
    case Kind::IsFolder:
        return QCoreApplication::translate("Vestimo", "it is a folder, not a file");
    case Kind::NotOrdinary:
        return QCoreApplication::translate("Vestimo", "not an ordinary file");
    case Kind::TooLarge:
        return QCoreApplication::translate("Vestimo", "it is larger than %1 MiB")
            .arg(error.number / (qint64{1024} * 1024));
    case Kind::ShortWrite:
        return QCoreApplication::translate("Vestimo", "only %1 of %2 bytes were written")
            .arg(error.number)
            .arg(error.total);
    case Kind::CopyLength:
        return QCoreApplication::translate("Vestimo", "the copy came out at a different length");
    case Kind::ThroughLink:
        return QCoreApplication::translate("Vestimo", "%1 is a symbolic link to %2; Vestimo never writes "
                                                      "through a link, so it was left as it is")
            .arg(error.subject, error.other);
    case Kind::FolderLocked:
        return QCoreApplication::translate("Vestimo", "%1 (the folder %2 cannot be changed)")
            .arg(error.reason, error.subject);
    case Kind::LinkInTrash:
        return QCoreApplication::translate("Vestimo", "%1 is a symbolic link").arg(error.subject);
    case Kind::NotAFolder:
        return QCoreApplication::translate("Vestimo", "%1 is not a folder").arg(error.subject);
    case Kind::OtherUsers:
        return QCoreApplication::translate("Vestimo", "%1 belongs to another user").arg(error.subject);
    case Kind::NoHome:
        return QCoreApplication::translate("Vestimo", "there is no home folder to keep a trash in");
    case Kind::NoFreeName:
        return QCoreApplication::translate("Vestimo", "no free name is left for the file");
    }
    return error.reason;
}

// The whole reason, with what the failure meant for the file.
inline QString fileError(const platform::FileError& error) {
    using Outcome = platform::FileError::Outcome;
    switch (error.outcome) {
    case Outcome::Plain:
        break;
    case Outcome::Kept:
        return QCoreApplication::translate("Vestimo", "%1, so it was kept").arg(fileErrorReason(error));
    case Outcome::TrashUnusable:
        return fileError(platform::FileError::text(
                             QCoreApplication::translate("Vestimo", "the trash %1 cannot be used: %2")
                                 .arg(error.place, fileErrorReason(error)))
                             .kept());
    }
    return fileErrorReason(error);
}

} // namespace vestimo::texts
