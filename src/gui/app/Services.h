#pragma once

#include "core/games/GameFolders.h"
#include "gui/app/MessageBoxes.h"

#include <QString>

#include <vector>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::gui {

// What a window's commands need beyond its own controls: where to tell the user things, the
// program's own folder (where problem files and the scratch listing go) and the journal every
// change goes into (none in a window made without one), and where the game was found.
struct Services {
    MessageBoxes& messages;
    QString programDirectory;
    journal::Journal* journal = nullptr;
    // The game folders found at start, offered in each window's "Game folders" box.
    std::vector<core::games::GameFolder> gameFolders = {};
    // The installs themselves, to tell an install's Skins folder from any other.
    std::vector<core::games::GameInstall> installs = {};
};

} // namespace vestimo::gui
