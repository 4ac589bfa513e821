#include "support/AppFixture.h"

#include "gui/app/WindowLooks.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vestimo;
using vestimo::test::AppFixture;

namespace {

struct Caption {
    const char* name;
    const char* text;
    bool enabled;
    bool visible;
};

} // namespace

class Windows : public AppFixture {
protected:
    // Each button of `window` by name, with its caption, enabled state and visibility.
    template <std::size_t N> void expectButtons(QWidget& window, const Caption (&buttons)[N]) {
        for (const Caption& c : buttons) {
            auto* button = control<QPushButton>(&window, c.name);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), c.text) << c.name;
            EXPECT_EQ(button->isEnabled(), c.enabled) << c.name;
            EXPECT_EQ(button->isVisible(), c.visible) << c.name;
        }
    }
};

TEST_F(Windows, SkinEditingWindowShowsEveryControlWithItsCaptionAndState) {
    gui::SkinEditWindow& w = skinEdit();
    EXPECT_EQ(w.objectName(), "frmSkinEdit");
    // The title says where the window is: it starts in the current directory.
    EXPECT_EQ(w.windowTitle(), "Vestimo - " + gui::shownDirectory(QDir::currentPath()));
    EXPECT_TRUE(w.isVisible());
    const Caption buttons[] = {
        {"cmdSwitch", "Switch to Buyable Skin Maker", true, true},
        {"cmdDefault", "Set to Default Game Directory", true, true},
        {"cmdCloseFile", "Close Open File", true, false},
        {"cmdCheckAllBMP", "Check All BMP Files in Directory", true, true},
        {"cmdMoveFile", "Move this file", true, true},
        {"cmdCheckBMP", "Check BMP File", true, true},
        {"cmdDeleteBMP", "Delete Current BMP File", true, true},
        {"cmdAssocFiles", "Check Associated Files For All CMX Files", true, true},
        {"cmdSaveCMX", "Save CMX Changes", true, true},
        {"cmdCMXError", "Check CMX For Errors", true, true},
        {"cmdCheckAllCMX", "Check All CMX Files in Directory", true, true},
        {"cmdClose", "Close This Program", true, true},
    };
    expectButtons(w, buttons);
    EXPECT_EQ(control<QGroupBox>(&w, "Frame1")->title(), "Skin Directory");
    EXPECT_EQ(control<QGroupBox>(&w, "Frame2")->title(), "BMP Image Viewer");
    EXPECT_EQ(control<QGroupBox>(&w, "Frame3")->title(), "CMX Display and Editing");
    EXPECT_EQ(control<QRadioButton>(&w, "Option1")->text(), ".BMP Files Only");
    EXPECT_TRUE(control<QRadioButton>(&w, "Option1")->isChecked());
    EXPECT_EQ(control<QRadioButton>(&w, "Option2")->text(), ".CMX Files Only");
    EXPECT_FALSE(control<QRadioButton>(&w, "Option2")->isChecked());
    EXPECT_EQ(control<QPlainTextEdit>(&w, "Text1")->toPlainText(),
              "A CMX File's contents will be displayed here.");
    EXPECT_EQ(control<QLineEdit>(&w, "Text3")->text(), "CMX File Name");
    EXPECT_FALSE(control<QLineEdit>(&w, "Text3")->isEnabled());
    EXPECT_FALSE(control<QProgressBar>(&w, "ProgressBar1")->isVisible());
    EXPECT_FALSE(control<QWidget>(&w, "Picture2")->isVisible());
    EXPECT_EQ(control<QWidget>(&w, "Picture2")->parent(), control<QWidget>(&w, "Picture1"));
    EXPECT_EQ(control<QWidget>(&w, "File1")->property("pattern").toString(), "*.BMP");
    EXPECT_EQ(control<QWidget>(&w, "File1")->property("listIndex").toInt(), -1);
}

TEST_F(Windows, BuyableWindowShowsEveryControlWithItsCaptionAndState) {
    gui::BuyableMakerWindow& w = buyable();
    EXPECT_EQ(w.objectName(), "frmBuyableSkins");
    EXPECT_EQ(w.windowTitle(), "Vestimo - " + gui::shownDirectory(QDir::currentPath()));
    const Caption buttons[] = {
        {"cmdSwitch", "Switch to Skin Editing Mode", true, true},
        {"cmdDefault", "Set to Default Game Directory", true, true},
        {"cmdLoadFile", "Load BMP File to Change", true, true},
        {"cmdCloseFile", "Close Open File", true, false},
        {"cmdExport", "Export As Buyable", false, true},
        {"cmdLoadCMX", "Load CMX File", false, true},
        {"cmdClose", "Close This Program", true, true},
    };
    expectButtons(w, buttons);
    const Caption categories[] = {{"Option2", "Formal", false, true},
                                  {"Option3", "Swimwear", false, true},
                                  {"Option4", "Sleepwear", false, true},
                                  {"Option5", "Winterwear", false, true},
                                  {"Option6", "High Fashion", false, true}};
    for (const Caption& c : categories) {
        auto* option = control<QRadioButton>(&w, c.name);
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->text(), c.text);
        EXPECT_FALSE(option->isEnabled());
        EXPECT_FALSE(option->isChecked());
    }
    EXPECT_EQ(control<QLineEdit>(&w, "Text1")->text(), "BMPFileName");
    EXPECT_EQ(control<QLineEdit>(&w, "Text2")->text(), "SKNFileName");
    EXPECT_EQ(control<QLineEdit>(&w, "Text3")->text(), "CMXFileName");
    EXPECT_EQ(control<QGroupBox>(&w, "Frame3")->title(), "Export as Buyable");
}
