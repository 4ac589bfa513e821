#include "gui/app/Application.h"

#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/Windows.h"
#include "core/checks/ScratchListing.h"
#include "core/games/Discovery.h"
#include "core/games/GameFolders.h"
#include "core/journal/Journal.h"
#include "gui/app/WindowLooks.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/fit/FitPreviewDialog.h"
#include "gui/history/HistoryWindow.h"
#include "gui/install/InstallCommand.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "gui/widgets/FittingSplitter.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <future>

namespace vestimo::gui {

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");
const QString CacheLimitKey = QStringLiteral("skins/cacheLimitMegabytes");

// ~/.config/Vestimo/Vestimo.conf. Only the windows' size and place and the picture cache's limit
// are kept: every run still starts in the current directory.
QSettings settings() {
    return QSettings(QStringLiteral("Vestimo"), QStringLiteral("Vestimo"));
}

// The last run's size and place, or the opening size centred on the screen's free area.
void placeFirstWindow(QWidget& window) {
    const QByteArray saved = settings().value(GeometryKey).toByteArray();
    if (!saved.isEmpty() && window.restoreGeometry(saved)) {
        return;
    }
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QSize size = openingSize(window.sizeHint(), available);
    window.resize(size);
    window.move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

// Where the user left a window's splitters, kept beside the geometry they go with.
QString splitterKey(const QWidget& window, const QWidget& splitter) {
    return QStringLiteral("window/%1/%2").arg(window.objectName(), splitter.objectName());
}
void restoreSplitters(QWidget& window) {
    for (FittingSplitter* splitter : window.findChildren<FittingSplitter*>()) {
        splitter->restorePositions(settings().value(splitterKey(window, *splitter)).toByteArray());
    }
}
void saveSplitters(const QWidget* window) {
    if (window == nullptr) {
        return;
    }
    for (const FittingSplitter* splitter : window->findChildren<FittingSplitter*>()) {
        settings().setValue(splitterKey(*window, *splitter), splitter->saveState());
    }
}

QString askForDirectory(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, texts::chooseSkinDirectory(), start);
}

} // namespace

Application::Application(MessageBoxes& messages, QString programDirectory, std::function<void()> quit)
    : messages_(messages), programDirectory_(std::move(programDirectory)), quit_(std::move(quit)),
      journal_(std::make_unique<journal::Journal>()), chooser_(askForDirectory),
      fitConfirmer_(askFitPreview) {
    // Once at start: looking through every prefix and Steam library is not for every click. It
    // goes on a worker while the journal is opened here; no window is shown before both are done,
    // as each window's game-folders box is made from what it found.
    std::future<std::vector<core::games::GameInstall>> found = std::async(
        std::launch::async, [home = QDir::homePath(), prefix = qEnvironmentVariable("WINEPREFIX")] {
            return core::games::discoverGames({home, prefix});
        });
    // A journal that cannot be opened stops nothing: each command's details say so instead. A
    // damaged one is set aside by the opening and a new one started.
    // Every button is a command of its own: each waits afresh for a journal another program holds.
    journal_->setWaitPerRun(true);
    if (journal_->open(programDirectory_).ok) {
        journal_->settle();
    }
    installs_ = found.get();
    gameFolders_ = core::games::gameFolders(installs_);
    installCommand_ = std::make_unique<InstallCommand>(services());
}

Application::~Application() = default;

Services Application::services() const {
    return {messages_, programDirectory_, journal_.get(), gameFolders_, installs_};
}

void Application::showHistory() {
    if (!history_) {
        history_ = std::make_unique<HistoryWindow>(*journal_, messages_);
    }
    history_->reload();
    // Over whichever main window the player is in.
    const QWidget* over = buyable_ && buyable_->isVisible() ? static_cast<QWidget*>(buyable_.get())
                                                            : static_cast<QWidget*>(skinEdit_.get());
    history_->showOver(over);
}

void Application::start() {
    if (!skinEdit_) {
        skinEdit_ = std::make_unique<SkinEditWindow>(*this);
        restoreSplitters(*skinEdit_);
        placeFirstWindow(*skinEdit_);
    }
    skinEdit_->show();
}

void Application::switchToBuyable() {
    if (!buyable_) {
        buyable_ = std::make_unique<BuyableMakerWindow>(*this);
        restoreSplitters(*buyable_);
    }
    // Both windows stand in the same place at the same size: a switch swaps one for the other.
    if (skinEdit_) {
        buyable_->restoreGeometry(skinEdit_->saveGeometry());
    }
    // The new window appears before the old one goes, so the screen is never empty.
    buyable_->show();
    if (skinEdit_) {
        skinEdit_->hide();
    }
}

void Application::switchToSkinEdit() {
    if (buyable_) {
        if (skinEdit_) {
            skinEdit_->restoreGeometry(buyable_->saveGeometry());
        }
        buyable_->hide();
    }
    start();
}

void Application::closeProgramAsked() {
    if (skinEdit_ && !skinEdit_->settleEdits()) {
        return;
    }
    closeProgram();
}

void Application::showAbout() {
    messages_.show(texts::aboutText(platform::applicationVersion(), texts::maintainerContact(),
                                    programDirectory_,
                                    platform::joinPath(programDirectory_, QStringLiteral("journal.sqlite"))));
}

QString Application::chooseDirectory(QWidget* parent, const QString& start) const {
    return chooser_ ? chooser_(parent, start) : QString();
}

bool Application::confirmFit(QWidget* parent, const FitPreview& preview) const {
    return fitConfirmer_ && fitConfirmer_(parent, preview);
}

TryOnBuilder Application::tryOnBuilder() const {
    return tryOnBuilder_ ? tryOnBuilder_ : defaultTryOnBuilder(installs_);
}

SkinsSetup Application::skinsSetup() const {
    if (skinsSetup_) {
        return *skinsSetup_;
    }
    SkinsSetup setup = SkinsSetup::system(installs_);
    const int limit = settings().value(CacheLimitKey, setup.cacheLimitMegabytes).toInt();
    setup.cacheLimitMegabytes = limit > 0 ? limit : setup.cacheLimitMegabytes;
    setup.rememberCacheLimit = [](int megabytes) { settings().setValue(CacheLimitKey, megabytes); };
    return setup;
}

void Application::showWindow(QWidget* window) const {
    if (windowShower_) {
        windowShower_(window);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void Application::closeProgram() {
    for (const QWidget* window :
         {static_cast<QWidget*>(skinEdit_.get()), static_cast<QWidget*>(buyable_.get())}) {
        if (window != nullptr && window->isVisible()) {
            settings().setValue(GeometryKey, window->saveGeometry());
        }
        saveSplitters(window);
    }
    // Only the listing this copy wrote: a "Temp.txt" of the player's own, or one another program
    // rewrote meanwhile, stays.
    checks::ScratchListing(programDirectory_, &journal_->store()).deleteIfOwn();
    if (skinEdit_) {
        skinEdit_->hide();
    }
    if (buyable_) {
        buyable_->hide();
    }
    if (history_) {
        history_->hide();
    }
    quit_();
}

} // namespace vestimo::gui
