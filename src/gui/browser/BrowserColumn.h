#pragma once

#include "core/games/GameFolders.h"
#include "gui/app/MessageBoxes.h"
#include "gui/install/InstallCommand.h"

#include <QGroupBox>
#include <QString>

#include <functional>
#include <vector>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace vestimo::gui {

class DirList;
class DriveList;
class FileList;
class GameFoldersBox;

inline const QString DefaultGameDrive = QStringLiteral("C:");
inline const QString DefaultGameDirectory = QStringLiteral("\\Program Files\\Maxis\\The Sims\\");

// The details naming the installs found, empty when there are none.
QString installsFound(const std::vector<core::games::GameFolder>& gameFolders);

// The browsing column both windows share ("Skin Directory", Frame1), in its on-screen (and tab)
// order: the switch to the other window, the game folders, the drive, directory and file lists,
// the path line and Browse.... The lists are chained: a new drive moves the directory list, a
// new directory moves the file list, the game folders box and the path line. The window adds its
// own commands under them and hears what the column did through its signals.
class BrowserColumn : public QGroupBox {
    Q_OBJECT

public:
    // Asks the user for a folder, starting at `start`; empty when none was chosen.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;

    BrowserColumn(QWidget* window, const QString& switchCaption, MessageBoxes& messages,
                  std::vector<core::games::GameFolder> gameFolders, FolderChooser chooseFolder);
    ~BrowserColumn() override;

    // Puts `control` under the column's own, in on-screen order.
    void addControl(QWidget* control);
    // "Set to Default Game Directory", made (and so reached by Tab) where the window calls this.
    QPushButton* addDefaultButton();
    // Downloads dropped anywhere on `window` are handed on through `downloadsDropped`.
    void takeDropsFor(QWidget* window);

    // The lists at `folder` (the process's current one at start), without raising change steps.
    void startAt(const QString& folder);
    // Locks or frees the drive and directory lists, Browse... and the game folders.
    void setUserInteractionLock(bool locked);

    QString folder() const;
    FileList& files() const { return *files_; }
    QLineEdit& pathLine() const { return *pathLine_; }
    // Where an installation from this window starts: its folder, its file list and game folder.
    InstallSite installSite(QProgressBar* progressBar) const;

signals:
    void switchClicked();
    // The lists moved to `folder`; the column has followed with everything of its own.
    void directoryChanged(const QString& folder);
    // The file list's selected entry (empty for none), however it changed: a click, a move or a
    // listing read afresh. Raised before the click it comes with.
    void selectionChanged(const QString& fileName);
    // The file list was clicked, or its selection changed from code.
    void fileClicked();
    void patternChanged(const QString& pattern);
    void downloadsDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onDriveChanged();
    void onDirectoryChanged();
    void onDefaultClicked();
    void onBrowseClicked();
    // A folder chosen in the desktop's folder dialog or the game folders: the directory list moves
    // there and the drive and file lists follow, as after any directory change.
    void goTo(const QString& folder);
    // Raises selectionChanged when the file list's selection is no longer the one last told.
    void noticeSelection();

    MessageBoxes& messages_;
    // The installs found at start; named in the details when the default folder is missing.
    std::vector<core::games::GameFolder> gameFolders_;
    FolderChooser chooseFolder_;
    QPushButton* switchButton_;
    GameFoldersBox* games_;
    DriveList* drives_;
    DirList* dirs_;
    QLineEdit* pathLine_;
    QPushButton* browseButton_;
    FileList* files_;
    QVBoxLayout* layout_;
    QString selected_;
};

} // namespace vestimo::gui
