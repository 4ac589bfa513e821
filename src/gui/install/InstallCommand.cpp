#include "gui/install/InstallCommand.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/install/InstallRunReport.h"
#include "core/install/JournaledInstall.h"
#include "core/journal/Journal.h"
#include "gui/app/BackgroundRun.h"
#include "gui/browser/FileList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace vestimo::gui {

namespace {

QStringList askForDownloads(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileNames(parent, texts::chooseDownloads(), start, texts::downloadsFilter());
}

std::optional<InstallChoice> askForOptions(QWidget* parent, const InstallOffer& offer) {
    InstallOptionsDialog dialog(offer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choice();
}

bool sameFolder(const QString& a, const QString& b) {
    const QString left = QFileInfo(a).canonicalFilePath();
    return !left.isEmpty() && left == QFileInfo(b).canonicalFilePath();
}

} // namespace

InstallOptionsDialog::InstallOptionsDialog(const InstallOffer& offer, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInstall"));
    setWindowTitle(texts::installOptionsCaption());
    auto* where = new QLabel(texts::installWhereLabel(offer.downloads), this);
    targets_ = new QComboBox(this);
    targets_->setObjectName(QStringLiteral("cboInstallTarget"));
    targets_->addItems(offer.labels);
    targets_->setCurrentIndex(offer.preselected);
    targets_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    where->setBuddy(targets_);
    checkOnly_ = new QCheckBox(texts::checkOnlyOption(), this);
    checkOnly_->setObjectName(QStringLiteral("chkCheckOnly"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("btnInstallOptions"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(targets_);
    layout->addWidget(checkOnly_);
    layout->addWidget(buttons);
}

InstallChoice InstallOptionsDialog::choice() const {
    return {targets_->currentIndex(), checkOnly_->isChecked()};
}

InstallCommand::InstallCommand(Services services)
    : services_(std::move(services)), chooser_(askForDownloads), asker_(askForOptions) {}

InstallOffer InstallCommand::offerFor(const QString& currentFolder, qsizetype downloads,
                                      const QString& gameFolder) const {
    InstallOffer offer;
    offer.downloads = downloads;
    offer.preselected = -1;
    int chosenInBox = -1;
    for (const core::games::GameInstall& found : services_.installs) {
        if (found.skins.isEmpty()) {
            continue;
        }
        const int index = static_cast<int>(offer.labels.size());
        if (chosenInBox < 0 && !gameFolder.isEmpty() &&
            (sameFolder(found.skins, gameFolder) || sameFolder(found.skinsBuy, gameFolder))) {
            chosenInBox = index;
        }
        if (offer.preselected < 0 && sameFolder(found.skins, currentFolder)) {
            offer.preselected = index;
        }
        offer.labels.append(texts::installGameChoice(found.label, found.skins));
        offer.destinations.push_back({found.skins, found.skinsBuy});
    }
    offer.labels.append(texts::installCurrentFolder(currentFolder));
    offer.destinations.push_back(install::Destination::Folder(currentFolder));
    offer.preselected = chosenInBox >= 0 ? chosenInBox : std::max(offer.preselected, 0);
    return offer;
}

void InstallCommand::chooseAndInstall(const InstallSite& site) {
    const QStringList chosen = chooser_ ? chooser_(site.window, site.currentFolder) : QStringList();
    if (!chosen.isEmpty()) {
        install(chosen, site);
    }
}

void InstallCommand::install(const QStringList& given, const InstallSite& site) {
    const QStringList downloads = install::expandDownloads(given);
    if (downloads.isEmpty()) {
        return;
    }
    const InstallOffer offer = offerFor(site.currentFolder, downloads.size(), site.gameFolder);
    const std::optional<InstallChoice> choice = asker_ ? asker_(site.window, offer) : std::nullopt;
    if (!choice || choice->index < 0 || choice->index >= static_cast<int>(offer.destinations.size())) {
        return;
    }
    install::Options options;
    options.checkOnly = choice->checkOnly;
    options.stagingParent = services_.programDirectory;
    const install::Destination& destination = offer.destinations[static_cast<std::size_t>(choice->index)];
    // Read here, on the window's thread; the run opens its own journal on its thread.
    const QString journalFolder = journalFolderOf(services_.journal, services_.programDirectory);
    auto done = std::make_shared<install::RecordedInstall>();
    MessageBoxes* messages = &services_.messages;
    const QPointer<QProgressBar> bar = site.progressBar;
    const QPointer<FileList> fileList = site.fileList;
    QWidget* from = site.window != nullptr ? site.window : (bar ? bar->window() : nullptr);
    BackgroundRun::start(
        from, site.progressBar,
        [downloads, destination, options, journalFolder, done](BackgroundRun& run) {
            const std::unique_ptr<journal::Journal> journal = openRunJournal(journalFolder);
            install::Options stoppable = options;
            stoppable.stopRequested = [&run] { return run.stopRequested(); };
            // How many entries the downloads hold is known only once they are read.
            run.startProgress(0);
            *done = install::installRecorded(journal.get(), downloads, destination, stoppable,
                                             [&run](qint64 entries) { run.progress(entries); });
        },
        [done, destination, messages, bar, fileList](bool) {
            if (bar) {
                bar->setVisible(false);
            }
            // A run History cannot put back says so at once; everything else is in the report.
            const bool unrecorded = !done->report.checkOnly && !done->recorded;
            messages->showReport(done->report.closing(),
                                 unrecorded ? texts::runNotRecorded(done->notRecorded) : QString(),
                                 install::installRunReport(*done, destination));
            if (fileList) {
                fileList->refresh();
            }
        });
}

bool InstallCommand::accepts(const QMimeData* dragged) {
    if (dragged == nullptr || !dragged->hasUrls() || dragged->urls().isEmpty()) {
        return false;
    }
    const QList<QUrl> urls = dragged->urls();
    return std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

QStringList InstallCommand::droppedPaths(const QMimeData* dropped) {
    QStringList paths;
    if (!accepts(dropped)) {
        return paths;
    }
    for (const QUrl& url : dropped->urls()) {
        paths.append(QFileInfo(url.toLocalFile()).absoluteFilePath());
    }
    return paths;
}

} // namespace vestimo::gui
