#include "gui/checks/FileOperations.h"

#include "platform/FileSystem.h"

#include <QDir>

namespace vestimo::gui {

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

} // namespace vestimo::gui
