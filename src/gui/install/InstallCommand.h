#pragma once

#include "core/install/Install.h"
#include "gui/app/Services.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QMimeData;
class QProgressBar;
class QWidget;

namespace vestimo::gui {

class FileList;

// Where the installation is started from: the window (for its dialogs), the folder its browser
// shows, the bar that shows the entries read (none in a window without one), the list to read
// afresh at the end and the folder its game-folders box shows (empty for "Other folder").
struct InstallSite {
    QWidget* window = nullptr;
    QString currentFolder;
    QProgressBar* progressBar = nullptr;
    FileList* fileList = nullptr;
    QString gameFolder;
};

// The places the skins may go: each install found, then the current skin folder.
struct InstallOffer {
    QStringList labels;
    std::vector<install::Destination> destinations;
    int preselected = 0;
    qsizetype downloads = 0;
};

struct InstallChoice {
    int index = 0; // into the offer
    bool checkOnly = false;
};

// Asks where the skins go and whether to check only: OK/Cancel, the places in a box
// (cboInstallTarget) and "Check only" (chkCheckOnly).
class InstallOptionsDialog : public QDialog {
    Q_OBJECT

public:
    InstallOptionsDialog(const InstallOffer& offer, QWidget* parent = nullptr);
    InstallChoice choice() const;

private:
    QComboBox* targets_ = nullptr;
    QCheckBox* checkOnly_ = nullptr;
};

// "Install Skins from Download...": choose downloads (or take those dropped on a window), confirm
// where they go, install them with the bar showing the entries read, tell the outcome in one
// message whose "Report..." opens every download and file in the report window, and read the file
// list afresh.
class InstallCommand {
public:
    // The desktop's file dialog for one or more downloads; empty when none was chosen.
    using DownloadChooser = std::function<QStringList(QWidget* parent, const QString& start)>;
    // The options dialog; nothing when cancelled.
    using OptionsAsker =
        std::function<std::optional<InstallChoice>(QWidget* parent, const InstallOffer& offer)>;

    explicit InstallCommand(Services services);

    // Tests answer for both dialogs.
    void setDownloadChooser(DownloadChooser chooser) { chooser_ = std::move(chooser); }
    void setOptionsAsker(OptionsAsker asker) { asker_ = std::move(asker); }

    // The button: the file dialog first.
    void chooseAndInstall(const InstallSite& site);
    // Dropped or chosen downloads: the options dialog, then the installation.
    void install(const QStringList& downloads, const InstallSite& site);

    // The places offered for a window whose browser shows `currentFolder` and whose game-folders
    // box shows `gameFolder` (an install's Skins or SkinsBuy folder, or empty). That install comes
    // first to hand, then the one whose Skins folder `currentFolder` is, then the first install.
    InstallOffer offerFor(const QString& currentFolder, qsizetype downloads,
                          const QString& gameFolder = {}) const;

    // Whether a drag may be dropped: local files or folders only, at least one.
    static bool accepts(const QMimeData* dragged);
    static QStringList droppedPaths(const QMimeData* dropped);

private:
    Services services_;
    DownloadChooser chooser_;
    OptionsAsker asker_;
};

} // namespace vestimo::gui
