#include "gui/browser/Browser.h"

#include "core/catalogue/Games.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Windows.h"

#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/browser/GameFoldersBox.h"
#include "platform/FileSystem.h"

namespace vestimo::gui {

void Browser::startAt(const QString& folder) {
    drives->showDriveOf(folder);
    {
        const QSignalBlocker block(dirs);
        dirs->setPath(folder);
    }
    drives->rememberDirectory(dirs->path());
    files->setPath(dirs->path());
    showGameFolder();
}

void Browser::showGameFolder() const {
    if (games != nullptr) {
        games->showFolder(dirs->path());
    }
}

void Browser::onDriveChanged() {
    const QString drive = drives->drive();
    // The folder last shown on that drive, or its root when that folder has gone.
    if (dirs->setPath(drives->currentDirectoryOf(drive)) || dirs->setPath(drives->rootOf(drive))) {
        return;
    }
    // The directory and file lists stay where they were; the drive list shows the new drive.
    messages.show(texts::driveNotAvailable());
}

void Browser::onDirectoryChanged() {
    drives->showDriveOf(dirs->path());
    drives->rememberDirectory(dirs->path());
    files->setPath(dirs->path());
    showGameFolder();
}

void Browser::goTo(const QString& folder) {
    if (!dirs->setPath(folder)) {
        messages.show(texts::folderCannotBeOpened(folder));
    }
}

void Browser::onDefaultClicked() {
    if (!drives->setDrive(DefaultGameDrive)) {
        messages.show(texts::gameNotInstalled(), installsFound());
        return;
    }
    const QString game = platform::resolveDirectory(drives->rootOf(DefaultGameDrive), DefaultGameDirectory);
    if (game.isEmpty() || !dirs->setPath(game)) {
        messages.show(texts::gameNotInstalled(), installsFound());
        return;
    }
    files->setPath(dirs->path());
}

QString Browser::installsFound() const {
    QStringList lines;
    for (const core::games::GameFolder& folder : gameFolders) {
        if (folder.enabled) {
            lines.append(texts::installFoundLine(folder.label, folder.path));
        }
    }
    if (lines.isEmpty()) {
        return {};
    }
    lines.prepend(texts::installsFoundHeading());
    return lines.join(u'\n');
}

} // namespace vestimo::gui
