#include "gui/app/Application.h"

#include "core/checks/ScratchListing.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

namespace vestimo::gui {

Application::Application(platform::MessageBoxes& messages, QString programDirectory,
                         std::function<void()> quit)
    : messages_(messages), programDirectory_(std::move(programDirectory)), quit_(std::move(quit)) {}

Application::~Application() = default;

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
    quit_();
}

} // namespace vestimo::gui
