#include "support/AppFixture.h"

#include "gui/browser/DirList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

namespace vestimo::test {

namespace {

template <typename T> T* find(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

SkinEditByName::SkinEditByName(QWidget& window)
    : Frame1(find<QGroupBox>(window, "Frame1")), cmdSwitch(find<QPushButton>(window, "cmdSwitch")),
      Drive1(find<gui::DriveList>(window, "Drive1")), Dir1(find<gui::DirList>(window, "Dir1")),
      File1(find<gui::FileList>(window, "File1")), Option1(find<QRadioButton>(window, "Option1")),
      Option2(find<QRadioButton>(window, "Option2")), cmdDefault(find<QPushButton>(window, "cmdDefault")),
      cmdCloseFile(find<QPushButton>(window, "cmdCloseFile")), Frame2(find<QGroupBox>(window, "Frame2")),
      Picture1(find<gui::PictureBox>(window, "Picture1")),
      Picture2(find<gui::PictureBox>(window, "Picture2")),
      ProgressBar1(find<QProgressBar>(window, "ProgressBar1")),
      cmdCheckAllBMP(find<QPushButton>(window, "cmdCheckAllBMP")),
      cmdMoveFile(find<QPushButton>(window, "cmdMoveFile")),
      cmdCheckBMP(find<QPushButton>(window, "cmdCheckBMP")),
      cmdDeleteBMP(find<QPushButton>(window, "cmdDeleteBMP")), Frame3(find<QGroupBox>(window, "Frame3")),
      Text1(find<QPlainTextEdit>(window, "Text1")), cmdAssocFiles(find<QPushButton>(window, "cmdAssocFiles")),
      cmdSaveCMX(find<QPushButton>(window, "cmdSaveCMX")),
      cmdCMXError(find<QPushButton>(window, "cmdCMXError")), Text3(find<QLineEdit>(window, "Text3")),
      cmdCheckAllCMX(find<QPushButton>(window, "cmdCheckAllCMX")),
      cmdClose(find<QPushButton>(window, "cmdClose")) {}

AppFixture::AppFixture() {
    app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
    app->start();
}

AppFixture::~AppFixture() = default;

gui::SkinEditWindow& AppFixture::skinEdit() {
    return *app->skinEdit();
}

gui::BuyableMakerWindow& AppFixture::buyable() {
    if (app->buyable() == nullptr || !app->buyable()->isVisible()) {
        app->switchToBuyable();
    }
    return *app->buyable();
}

void AppFixture::browseSkinEdit(const QString& path) {
    EXPECT_TRUE(skinEditNamed().Dir1->setPath(path.isEmpty() ? skins.path() : path));
}

void AppFixture::browseBuyable(const QString& path) {
    EXPECT_TRUE(control<gui::DirList>(&buyable(), "Dir1")->setPath(path.isEmpty() ? skins.path() : path));
}

} // namespace vestimo::test
