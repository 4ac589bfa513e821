#include "support/AppFixture.h"

#include "gui/browser/DirList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/frmSkinEdit.h"

namespace vestimo::test {

AppFixture::AppFixture() {
    app = std::make_unique<shell::Application>(messages, program.path(), [this] { ++quits; });
    app->start();
}

AppFixture::~AppFixture() = default;

shell::frmSkinEdit& AppFixture::skinEdit() { return *app->skinEdit(); }

shell::BuyableMakerWindow& AppFixture::buyable() {
    if (app->buyable() == nullptr || !app->buyable()->isVisible()) {
        app->switchToBuyable();
    }
    return *app->buyable();
}

void AppFixture::browseSkinEdit(const QString& path) {
    EXPECT_TRUE(skinEdit().Dir1->setPath(path.isEmpty() ? skins.path() : path));
}

void AppFixture::browseBuyable(const QString& path) {
    EXPECT_TRUE(control<shell::DirList>(&buyable(), "Dir1")->setPath(path.isEmpty() ? skins.path() : path));
}

} // namespace vestimo::test
