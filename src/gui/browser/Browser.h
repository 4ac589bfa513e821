#pragma once

#include "core/games/GameFolders.h"

#include "gui/app/MessageBoxes.h"

namespace vestimo::gui {

class DirList;
class DriveList;
class FileList;
class GameFoldersBox;

inline const QString DefaultGameDrive = QStringLiteral("C:");
inline const QString DefaultGameDirectory = QStringLiteral("\\Program Files\\Maxis\\The Sims\\");

// The drive, directory and file lists of one window, chained: a new drive moves the directory
// list, a new directory moves the file list. Both windows browse the same way.
struct Browser {
    DriveList* drives;
    DirList* dirs;
    FileList* files;
    platform::MessageBoxes& messages;
    // The installs found at start; named in the details when the default folder is missing.
    std::vector<core::games::GameFolder> gameFolders = {};
    // Shows which of those folders the lists are in (none in a browser without one).
    GameFoldersBox* games = nullptr;

    // The lists at `folder` (the process's current one at start), without raising change steps.
    void startAt(const QString& folder);
    void onDriveChanged();
    void onDirectoryChanged();
    void onDefaultClicked();
    // The details naming the installs found, empty when there are none.
    QString installsFound() const;
    // A folder chosen in the desktop's folder dialog: the directory list moves there and the
    // drive and file lists follow, as after any directory change.
    void goTo(const QString& folder);
    // The game-folders box shows the folder the lists are in.
    void showGameFolder() const;
};

} // namespace vestimo::gui
