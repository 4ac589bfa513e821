#include "gui/checks/FileOperations.h"

#include <QDir>
#include <QFileInfo>

namespace vestimo::shell {

platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name) {
    const platform::FileResult moved =
        platform::moveFile(platform::joinPath(skinDirectory, name), platform::joinPath(programDirectory, name));
    // A file "already there" may be the file itself; only then is it worth resolving both folders.
    if (!moved.ok) {
        const QString from = QFileInfo(skinDirectory).canonicalFilePath();
        if (!from.isEmpty() && from == QFileInfo(programDirectory).canonicalFilePath()) {
            return platform::FileResult::failure(QStringLiteral("the skin directory is the program's own folder"));
        }
    }
    return moved;
}

void recycle(platform::MessageBoxes& messages, const QString& FileName) {
    const QString shown = QDir::toNativeSeparators(FileName);
    if (!messages.ask(QStringLiteral("Are you sure you want to send '%1' to the Trash?").arg(shown))) {
        return;
    }
    const platform::FileResult trashed = platform::moveToTrash(FileName);
    if (!trashed.ok) {
        messages.show(QStringLiteral("Could not send %1 to the Trash: %2").arg(shown, trashed.error));
    }
}

} // namespace vestimo::shell
