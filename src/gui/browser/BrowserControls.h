#pragma once

#include "core/games/GameFolders.h"

#include <QString>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vestimo::gui {

class DirList;
class DriveList;
class FileList;
class GameFoldersBox;

// The browsing column both windows share, in its on-screen (and tab) order: the switch to the
// other window, the game folders, the drive, directory and file lists, the path line and
// Browse.... Each window adds its own commands at the end of `layout`.
struct BrowserControls {
    QGroupBox* frame = nullptr;
    QPushButton* switchButton = nullptr;
    QLabel* gamesCaption = nullptr;
    GameFoldersBox* gamesBox = nullptr;
    DriveList* driveList = nullptr;
    DirList* directoryList = nullptr;
    QLineEdit* pathLine = nullptr;
    QPushButton* browseButton = nullptr;
    FileList* fileList = nullptr;
    QVBoxLayout* layout = nullptr;
};

BrowserControls buildBrowserControls(QWidget* window, const QString& switchCaption,
                                     const std::vector<core::games::GameFolder>& gameFolders);

} // namespace vestimo::gui
