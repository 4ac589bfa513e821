#pragma once

#include "core/catalogue/Common.h"

#include <QCoreApplication>
#include <QString>

// What both windows say about themselves: where they are, the About box, the bitmap line under
// the viewer and the question before typed work is thrown away.
namespace vestimo::texts {

// The window title: the skin directory, the home folder shown as "~".
inline QString windowTitleFor(const QString& shownDirectory) {
    return QCoreApplication::translate("Vestimo", "Vestimo - %1").arg(shownDirectory);
}
inline QString browseButton() {
    return QCoreApplication::translate("Vestimo", "Browse...");
}
inline QString chooseSkinDirectory() {
    return QCoreApplication::translate("Vestimo", "Choose the skin directory");
}
inline QString folderCannotBeOpened(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "The folder %1 cannot be opened.").arg(folder);
}
inline QString aboutButton() {
    return QCoreApplication::translate("Vestimo", "About");
}

// Asked before closing the open file, or the program, would throw away edits in the editor; the
// box's buttons are Save, Discard and Cancel.
inline QString saveChangesTo(const QString& name) {
    return QCoreApplication::translate("Vestimo", "Save the changes to %1 before closing?").arg(name);
}
inline QString saveButton() {
    return QCoreApplication::translate("Vestimo", "Save");
}
inline QString discardButton() {
    return QCoreApplication::translate("Vestimo", "Discard");
}
inline QString cancelButton() {
    return QCoreApplication::translate("Vestimo", "Cancel");
}
// The window title while the editor holds unsaved edits.
inline QString windowTitleEdited(const QString& title) {
    return QStringLiteral("*%1").arg(title);
}

// A count with commas between thousands, whatever the locale: "66,614".
inline QString withThousands(qint64 number) {
    QString digits = QString::number(number < 0 ? -number : number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) {
        digits.insert(at, u',');
    }
    return number < 0 ? QStringLiteral("-") + digits : digits;
}

// The line under the viewer: "256 x 256, 8-bit, 66,614 bytes (limit 75,000), 200%", the last the
// zoom. `bits` is empty when the header does not say; `limit` is empty for a size the texture
// table does not have.
inline QString bitmapInfo(const QString& width, const QString& height, const QString& bits,
                          const QString& bytes, const QString& limit, const QString& zoom) {
    QString line = QStringLiteral("%1 x %2").arg(width, height);
    if (!bits.isEmpty()) {
        line += QCoreApplication::translate("Vestimo", ", %1-bit").arg(bits);
    }
    line += QCoreApplication::translate("Vestimo", ", %1 bytes").arg(bytes);
    if (!limit.isEmpty()) {
        line += QCoreApplication::translate("Vestimo", " (limit %1)").arg(limit);
    }
    line += QCoreApplication::translate("Vestimo", ", %1%").arg(zoom);
    return line;
}
// The line when the viewer shows nothing: the selection is not a bitmap, or there is none.
inline QString noBitmapSelected() {
    return QCoreApplication::translate("Vestimo", "No bitmap selected");
}
inline QString bitmapNotShown(const QString& name, const QString& why) {
    return QCoreApplication::translate("Vestimo", "%1 cannot be shown: %2").arg(name, why);
}

// The About box.
inline QString aboutText(const QString& version, const QString& contact, const QString& problemFolder,
                         const QString& journal) {
    return QCoreApplication::translate("Vestimo",
                                       "Vestimo %1\n"
                                       "Checks, tidies and makes buyable the custom skins of The Sims.\n\n"
                                       "License: GPL-3.0-or-later\n"
                                       "Contact: %2\n\n"
                                       "Problem folder (moved files): %3\n"
                                       "Journal: %4")
        .arg(version, contact, problemFolder, journal);
}

} // namespace vestimo::texts
