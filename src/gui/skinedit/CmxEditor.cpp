#include "gui/skinedit/CmxEditor.h"

#include "core/editor/CmxText.h"
#include "platform/FileSystem.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/skinedit/FileCommands.h"
#include "gui/browser/FileList.h"
#include "gui/widgets/PictureBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace vestimo::editor {

namespace {

const QString BmpCorrupt = QStringLiteral("It appears this bmp file is corrupt!");
const QString ListLocked =
    QStringLiteral("The File List box will now be disabled until you close or save the CMX file.");
const QString NotSkinFile =
    QStringLiteral("You are trying to open a non skin related file. This does not compute. "
                   "Try using one of the other file options.");
const QString CloseFirst = QStringLiteral("Please close the open CMX file, or save it first.");
const QString NotOnBmpFile = QStringLiteral("You cannot perform this action on a bmp file!");
const QString OpenFirst = QStringLiteral("Please open a CMX file first!");
const QString FileSaved = QStringLiteral("File Saved!");

void showBitmap(shell::SkinEditControls& window, const shell::Services& services) {
    const QString path = platform::joinPath(window.Dir1->path(), window.File1->fileName());
    if (!window.Picture1->loadFile(path)) {
        // The previous picture must not be judged as this file's by "Check BMP File".
        window.Picture1->clear();
        services.messages.show(BmpCorrupt);
    }
}

void openForEditing(shell::SkinEditControls& window, const shell::Services& services) {
    const QString name = window.File1->fileName();
    // Read before the notice, so a file that cannot be opened costs the user one message, not two.
    const platform::ReadResult read =
        platform::readFile(platform::joinPath(window.Dir1->path(), name), CmxFileLimit);
    if (!read.ok) {
        services.messages.show(QStringLiteral("Could not open %1: %2").arg(name, read.error));
        return;
    }
    services.messages.show(ListLocked);
    window.openedFile = read.identity;
    window.Text1->setPlainText(decodeCmxText(read.bytes));
    window.File1->setEnabled(false);
    window.Dir1->setEnabled(false);
    window.Drive1->setEnabled(false);
    window.Option1->setEnabled(false);
    window.Option2->setEnabled(false);
    window.cmdCloseFile->setVisible(true);
    window.cmdCloseFile->setText(QStringLiteral("Close Selected CMX File"));
    window.Text3->setText(name);
}

// The editor box's text as the file's bytes. The raw text, because toPlainText() turns
// no-break spaces (byte 0xA0) into spaces; blocks come back separated by U+2029.
QByteArray editorBytes(const QPlainTextEdit& box) {
    return encodeCmxText(box.document()->toRawText());
}

} // namespace

void openSelectedFile(shell::SkinEditControls& window, const shell::Services& services) {
    const bool selected = window.File1->listIndex() != -1;
    if (window.File1->isEnabled() && selected) {
        const QString pattern = window.File1->pattern();
        if (pattern == QStringLiteral("*.BMP")) {
            showBitmap(window, services);
        } else if (pattern == QStringLiteral("*.CMX")) {
            openForEditing(window, services);
        } else {
            services.messages.show(NotSkinFile);
        }
    } else if (!selected) {
        window.File1->refresh();
    } else {
        services.messages.show(CloseFirst);
    }
}

void saveCmx(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->listIndex() == -1) {
        services.messages.show(shell::selectFileFirst);
        return;
    }
    if (window.File1->pattern() == QStringLiteral("*.BMP")) {
        services.messages.show(NotOnBmpFile);
        return;
    }
    // After a close the selection stays but no file is open: there is no name to write under.
    const QString name = window.Text3->text();
    if (window.File1->isEnabled() || name.isEmpty()) {
        services.messages.show(OpenFirst);
        return;
    }
    QByteArray bytes = editorBytes(*window.Text1);
    // The text already carries the file's own line ends; only a missing last one is added (an
    // empty file has no last line, so it stays empty).
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) {
        bytes += "\r\n";
    }
    const QString path = platform::joinPath(window.Dir1->path(), name);
    // Another program's change is only overwritten when the user says so. A link is refused by
    // the save itself, and a file that went away is simply written again.
    const std::optional<platform::FileIdentity> now = platform::identifyFile(path);
    if (now && !platform::isSymbolicLink(path) && *now != window.openedFile &&
        !services.messages.ask(
            QStringLiteral(
                "%1 has changed on disk since it was opened. Replace it with the text in the editor?")
                .arg(name))) {
        return; // both the file and the editor's text stay as they are
    }
    const platform::FileResult saved = platform::saveFile(path, bytes);
    if (!saved.ok) {
        services.messages.show(QStringLiteral("Could not save %1: %2").arg(name, saved.error));
        return;
    }
    services.messages.show(FileSaved);

    window.File1->setEnabled(true);
    window.Text1->clear();
    window.Text3->clear();
    window.File1->setListIndex(-1);
    window.Option1->setEnabled(true);
    window.Option2->setEnabled(true);
    window.Dir1->setEnabled(true);
    window.Drive1->setEnabled(true);
    window.cmdCloseFile->setVisible(false);
}

void closeOpenFile(shell::SkinEditControls& window) {
    window.Text1->clear();
    window.Text3->clear();
    window.Option1->setEnabled(true);
    window.Option2->setEnabled(true);
    window.Dir1->setEnabled(true);
    window.Drive1->setEnabled(true);
    window.File1->setEnabled(true);
    window.cmdCloseFile->setVisible(false);
}

} // namespace vestimo::editor
