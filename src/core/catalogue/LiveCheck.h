#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the checking the CMX editor does while the player types.
namespace vestimo::texts {

// The status under the editor while its text differs from the file: the check's message, marked.
inline QString cmxStatusNotSaved(const QString& status) {
    return QCoreApplication::translate("Vestimo", "%1 (not saved)").arg(status);
}
// The editor's text would make a file too large for the editor to take; it is not walked.
inline QString cmxTextTooLargeToCheck(qint64 limitMiB) {
    return QCoreApplication::translate("Vestimo", "The text is too large to check (over %1 MiB).")
        .arg(limitMiB);
}
inline QString gotoFaultyLineButton() {
    return QCoreApplication::translate("Vestimo", "Go to Faulty Line");
}

} // namespace vestimo::texts
