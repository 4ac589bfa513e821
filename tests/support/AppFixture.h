#pragma once

#include "support/RecordingMessages.h"
#include "support/TempDir.h"

#include "core/FileFilter.h"
#include "gui/app/Application.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "gui/widgets/PictureBox.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace vestimo::test {

// The skin editing window's controls, found by the names the program gives them.
struct SkinEditByName {
    explicit SkinEditByName(QWidget& window);

    QGroupBox* Frame1;
    QPushButton* cmdSwitch;
    gui::DriveList* Drive1;
    gui::DirList* Dir1;
    gui::FileList* File1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QPushButton* cmdDefault;
    QPushButton* cmdCloseFile;
    QGroupBox* Frame2;
    gui::PictureBox* Picture1;
    gui::PictureBox* Picture2;
    QProgressBar* ProgressBar1;
    QPushButton* cmdCheckAllBMP;
    QPushButton* cmdMoveFile;
    QPushButton* cmdCheckBMP;
    QPushButton* cmdDeleteBMP;
    QGroupBox* Frame3;
    QPlainTextEdit* Text1;
    QPushButton* cmdAssocFiles;
    QPushButton* cmdSaveCMX;
    QPushButton* cmdCMXError;
    QLineEdit* Text3;
    QPushButton* cmdCheckAllCMX;
    QPushButton* cmdClose;
};

// The whole program on temporary folders: a skin directory, a program folder, and recorded
// messages. Windows are found and driven by their controls' names.
class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    gui::SkinEditWindow& skinEdit();
    // The skin editing window's controls by name.
    SkinEditByName skinEditNamed() { return SkinEditByName(skinEdit()); }
    // Switches to the buyable window (creating it on first use) and returns it.
    gui::BuyableMakerWindow& buyable();

    // Points the skin editing window's directory list at `path` (the skin folder by default).
    void browseSkinEdit(const QString& path = {});
    void browseBuyable(const QString& path = {});

    // Clicks the radio button that makes the skin editing window's list show `filter`'s files.
    void showInSkinEdit(FileFilter filter) {
        QTest::mouseClick(
            control<QRadioButton>(&skinEdit(), filter == FileFilter::Bitmaps ? "Option1" : "Option2"),
            Qt::LeftButton);
    }

    // A control of `window` by name; fails the test when missing.
    template <typename T> T* control(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempDir skins;
    TempDir program;
    RecordingMessages messages;
    int quits = 0;
    std::unique_ptr<gui::Application> app;
};

} // namespace vestimo::test
