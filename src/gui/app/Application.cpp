#include "gui/app/Application.h"

#include "gui/checks/ScratchListing.h"
#include "gui/buyable/frmBuyableSkins.h"
#include "gui/skinedit/frmSkinEdit.h"

namespace vestimo::shell {

Application::Application(platform::MessageBoxes& messages, QString programDirectory,
                         std::function<void()> quit)
    : messages_(messages), programDirectory_(std::move(programDirectory)), quit_(std::move(quit)) {}

Application::~Application() = default;

void Application::Start() {
    if (!skinEdit_) {
        skinEdit_ = std::make_unique<frmSkinEdit>(*this);
    }
    skinEdit_->show();
}

void Application::SwitchToBuyable() {
    if (!buyable_) {
        buyable_ = std::make_unique<frmBuyableSkins>(*this);
    }
    // The new window appears before the old one goes, so the screen is never empty.
    buyable_->show();
    if (skinEdit_) {
        skinEdit_->hide();
    }
}

void Application::SwitchToSkinEdit() {
    if (buyable_) {
        buyable_->hide();
    }
    Start();
}

void Application::CloseProgram() {
    // Only the listing this copy wrote: a "Temp.txt" of the player's own, or one another program
    // rewrote meanwhile, stays.
    ScratchListing(programDirectory_).DeleteIfOwn();
    if (skinEdit_) {
        skinEdit_->hide();
    }
    if (buyable_) {
        buyable_->hide();
    }
    quit_();
}

} // namespace vestimo::shell
