#include "gui/browser/BrowserControls.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/Windows.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/browser/GameFoldersBox.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestimo::gui {

BrowserControls buildBrowserControls(QWidget* window, const QString& switchCaption,
                                     const std::vector<core::games::GameFolder>& gameFolders) {
    BrowserControls c;
    c.frame = named(new QGroupBox(texts::skinDirectoryFrame(), window), "Frame1");
    c.switchButton = button(c.frame, "cmdSwitch", switchCaption);
    c.gamesCaption = new QLabel(texts::gameFoldersCaption(), c.frame);
    c.gamesBox = new GameFoldersBox(c.frame);
    c.gamesCaption->setBuddy(c.gamesBox);
    c.gamesBox->setFolders(gameFolders);
    c.driveList = named(new DriveList(c.frame), "Drive1");
    c.directoryList = named(new DirList(c.frame), "Dir1");
    c.pathLine = pathLine(c.frame);
    c.browseButton = button(c.frame, "cmdBrowse", texts::browseButton());
    c.fileList = named(new FileList(c.frame), "File1");
    showRows(c.directoryList, true);
    showRows(c.fileList, false);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(c.pathLine, 1);
    pathRow->addWidget(c.browseButton);
    c.layout = new QVBoxLayout(c.frame);
    c.layout->addWidget(c.switchButton);
    c.layout->addWidget(c.gamesCaption);
    c.layout->addWidget(c.gamesBox);
    c.layout->addWidget(c.driveList);
    c.layout->addWidget(c.directoryList, 1);
    c.layout->addLayout(pathRow);
    c.layout->addWidget(c.fileList, 1);
    return c;
}

} // namespace vestimo::gui
