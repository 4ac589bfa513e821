#include "gui/app/Application.h"

#include "core/checks/ScratchListing.h"
#include "core/journal/Journal.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/history/HistoryWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

namespace vestimo::gui {

Application::Application(platform::MessageBoxes& messages, QString programDirectory,
                         std::function<void()> quit)
    : messages_(messages), programDirectory_(std::move(programDirectory)), quit_(std::move(quit)),
      journal_(std::make_unique<journal::Journal>()) {
    // A journal that cannot be opened stops nothing: each command's details say so instead. A
    // damaged one is set aside by the opening and a new one started.
    if (journal_->open(programDirectory_).ok) {
        journal_->recover();
    }
}

Application::~Application() = default;

Services Application::services() const {
    return {messages_, programDirectory_, journal_.get()};
}

void Application::showHistory() {
    if (!history_) {
        history_ = std::make_unique<HistoryWindow>(*journal_, messages_);
    }
    history_->reload();
    history_->show();
    history_->raise();
}

void Application::start() {
    if (!skinEdit_) {
        skinEdit_ = std::make_unique<SkinEditWindow>(*this);
    }
    skinEdit_->show();
}

void Application::switchToBuyable() {
    if (!buyable_) {
        buyable_ = std::make_unique<BuyableMakerWindow>(*this);
    }
    // The new window appears before the old one goes, so the screen is never empty.
    buyable_->show();
    if (skinEdit_) {
        skinEdit_->hide();
    }
}

void Application::switchToSkinEdit() {
    if (buyable_) {
        buyable_->hide();
    }
    start();
}

void Application::closeProgram() {
    // Only the listing this copy wrote: a "Temp.txt" of the player's own, or one another program
    // rewrote meanwhile, stays.
    checks::ScratchListing(programDirectory_).deleteIfOwn();
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
