#include "gui/browser/BrowserColumn.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Windows.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/browser/GameFoldersBox.h"
#include "platform/FileSystem.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestimo::gui {

QString installsFound(const std::vector<core::games::GameFolder>& gameFolders) {
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

BrowserColumn::BrowserColumn(QWidget* window, const QString& switchCaption, MessageBoxes& messages,
                             std::vector<core::games::GameFolder> gameFolders, FolderChooser chooseFolder)
    : QGroupBox(texts::skinDirectoryFrame(), window), messages_(messages),
      gameFolders_(std::move(gameFolders)), chooseFolder_(std::move(chooseFolder)),
      switchButton_(button(this, "cmdSwitch", switchCaption)) {
    setObjectName(QStringLiteral("Frame1"));
    auto* gamesCaption = new QLabel(texts::gameFoldersCaption(), this);
    games_ = new GameFoldersBox(this);
    gamesCaption->setBuddy(games_);
    games_->setFolders(gameFolders_);
    drives_ = named(new DriveList(this), "Drive1");
    dirs_ = named(new DirList(this), "Dir1");
    pathLine_ = gui::pathLine(this);
    browseButton_ = button(this, "cmdBrowse", texts::browseButton());
    files_ = named(new FileList(this), "File1");
    showRows(dirs_, true);
    showRows(files_, false);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLine_, 1);
    pathRow->addWidget(browseButton_);
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(switchButton_);
    layout_->addWidget(gamesCaption);
    layout_->addWidget(games_);
    layout_->addWidget(drives_);
    layout_->addWidget(dirs_, 1);
    layout_->addLayout(pathRow);
    layout_->addWidget(files_, 1);

    connect(switchButton_, &QPushButton::clicked, this, &BrowserColumn::switchClicked);
    connect(drives_, &DriveList::driveChanged, this, &BrowserColumn::onDriveChanged);
    connect(dirs_, &DirList::pathChanged, this, &BrowserColumn::onDirectoryChanged);
    connect(browseButton_, &QPushButton::clicked, this, &BrowserColumn::onBrowseClicked);
    connect(games_, &GameFoldersBox::folderChosen, this, &BrowserColumn::goTo);
    // Every listing, quiet or not, may have taken the selection away.
    connect(files_->model(), &QAbstractItemModel::modelReset, this, &BrowserColumn::noticeSelection);
    // A selection made while the list's own signals are blocked still moves its current row.
    connect(files_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &BrowserColumn::noticeSelection);
    connect(files_, &FileList::fileClicked, this, [this] {
        noticeSelection();
        emit fileClicked();
    });
    connect(files_, &FileList::patternChanged, this, [this] { emit patternChanged(files_->pattern()); });
}

BrowserColumn::~BrowserColumn() {
    // The file list empties its model as the controls are destroyed, after this column has
    // stopped being one.
    disconnect(files_->model(), nullptr, this, nullptr);
    disconnect(files_->selectionModel(), nullptr, this, nullptr);
    disconnect(files_, nullptr, this, nullptr);
}

void BrowserColumn::addControl(QWidget* control) {
    layout_->addWidget(control);
}

QPushButton* BrowserColumn::addDefaultButton() {
    QPushButton* defaultButton = button(this, "cmdDefault", texts::setToDefaultGameDirectory());
    connect(defaultButton, &QPushButton::clicked, this, &BrowserColumn::onDefaultClicked);
    addControl(defaultButton);
    return defaultButton;
}

void BrowserColumn::takeDropsFor(QWidget* window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool BrowserColumn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (InstallCommand::accepts(enter->mimeData())) {
            enter->acceptProposedAction();
        }
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList dropped = InstallCommand::droppedPaths(drop->mimeData());
        if (!dropped.isEmpty()) {
            drop->acceptProposedAction();
            emit downloadsDropped(dropped);
        }
        return true;
    }
    return QGroupBox::eventFilter(watched, event);
}

void BrowserColumn::startAt(const QString& folder) {
    drives_->showDriveOf(folder);
    {
        const QSignalBlocker block(dirs_);
        dirs_->setPath(folder);
    }
    drives_->rememberDirectory(dirs_->path());
    files_->setPath(dirs_->path());
    games_->showFolder(dirs_->path());
    showDirectory(*window(), *pathLine_, dirs_->path());
}

void BrowserColumn::setUserInteractionLock(bool locked) {
    for (QWidget* browsing : std::initializer_list<QWidget*>{dirs_, drives_, browseButton_}) {
        browsing->setEnabled(!locked);
    }
    games_->setUserInteractionLock(locked);
}

QString BrowserColumn::folder() const {
    return dirs_->path();
}

InstallSite BrowserColumn::installSite(QProgressBar* progressBar) const {
    return {window(), folder(), progressBar, files_, games_->shownPath()};
}

void BrowserColumn::onDriveChanged() {
    const QString drive = drives_->drive();
    // The folder last shown on that drive, or its root when that folder has gone.
    if (dirs_->setPath(drives_->currentDirectoryOf(drive)) || dirs_->setPath(drives_->rootOf(drive))) {
        return;
    }
    // The directory and file lists stay where they were; the drive list shows the new drive.
    messages_.show(texts::driveNotAvailable());
}

void BrowserColumn::onDirectoryChanged() {
    drives_->showDriveOf(dirs_->path());
    drives_->rememberDirectory(dirs_->path());
    files_->setPath(dirs_->path());
    games_->showFolder(dirs_->path());
    showDirectory(*window(), *pathLine_, dirs_->path());
    emit directoryChanged(dirs_->path());
}

void BrowserColumn::goTo(const QString& folder) {
    if (!dirs_->setPath(folder)) {
        messages_.show(texts::folderCannotBeOpened(folder));
    }
}

void BrowserColumn::onBrowseClicked() {
    const QString chosen = chooseFolder_(window(), dirs_->path());
    if (!chosen.isEmpty()) {
        goTo(chosen);
    }
}

void BrowserColumn::onDefaultClicked() {
    if (!drives_->setDrive(DefaultGameDrive)) {
        messages_.show(texts::gameNotInstalled(), installsFound(gameFolders_));
        return;
    }
    const QString game = platform::resolveDirectory(drives_->rootOf(DefaultGameDrive), DefaultGameDirectory);
    if (game.isEmpty() || !dirs_->setPath(game)) {
        messages_.show(texts::gameNotInstalled(), installsFound(gameFolders_));
        return;
    }
    files_->setPath(dirs_->path());
}

void BrowserColumn::noticeSelection() {
    const QString name = files_->fileName();
    if (name != selected_) {
        selected_ = name;
        emit selectionChanged(name);
    }
}

} // namespace vestimo::gui
