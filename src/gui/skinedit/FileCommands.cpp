#include "gui/skinedit/FileCommands.h"

#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"
#include "core/checks/DirectoryCheck.h"

namespace vestimo::shell {

bool refuseSingleBitmapCommand(SkinEditControls& window, const Services& services) {
    if (window.File1->listIndex() == -1) {
        services.messages.show(selectFileFirst);
        return true;
    }
    if (window.File1->pattern() == QStringLiteral("*.CMX")) {
        services.messages.show(notOnCmxFile);
        return true;
    }
    return false;
}

void moveSelectedFile(SkinEditControls& window, const Services& services) {
    if (refuseSingleBitmapCommand(window, services)) {
        return;
    }
    const QString name = window.File1->fileName();
    const platform::FileResult moved =
        checks::moveToProgramDirectory(window.Dir1->path(), services.programDirectory, name);
    if (!moved.ok) {
        services.messages.show(QStringLiteral("Could not move %1: %2").arg(name, moved.error));
    }
    window.File1->refresh();
}

} // namespace vestimo::shell
