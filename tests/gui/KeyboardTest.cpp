#include "support/AppFixture.h"

using namespace vestimo;

class Keyboard : public test::AppFixture {};

namespace {

// The focusable controls of `window` in the order Tab visits them, from `first`.
QStringList TabOrder(QWidget* first) {
    QStringList names;
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty() &&
            !w->objectName().startsWith("qt_")) {
            names.append(w->objectName());
        }
        w = w->nextInFocusChain();
    } while (w != first);
    return names;
}

} // namespace

TEST_F(Keyboard, TabFollowsTheOnScreenOrderOfTheSkinEditingWindow) {
    const QStringList order = TabOrder(skinEditNamed().cmdSwitch);
    const QStringList expected = {
        "cmdSwitch",    "cboGames",      "Drive1",       "Dir1",         "cmdBrowse",      "File1",
        "Option2",      "Option1",       "cmdDefault",   "cmdCloseFile", "cmdCheckAllBMP", "cmdMoveFile",
        "cmdCheckBMP",  "cmdFitBMP",     "cmdDeleteBMP", "cmdTryOn",     "cmdCancel",      "Text1",
        "cmdGotoFault", "cmdAssocFiles", "cmdSaveCMX",   "cmdCMXError",  "Text3",          "cmdCheckAllCMX",
        "cmdClose",     "cmdHistory",    "cmdAbout",     "cmdInstall",   "cmdSkinReport",  "cmdSkins"};
    EXPECT_EQ(order, expected);
}

TEST_F(Keyboard, TabFollowsTheOnScreenOrderOfTheBuyableWindow) {
    const QStringList order = TabOrder(control<QPushButton>(&buyable(), "cmdSwitch"));
    const QStringList expected = {"cmdSwitch", "cboGames",   "Drive1",      "Dir1",         "cmdBrowse",
                                  "File1",     "cmdDefault", "cmdLoadFile", "cmdCloseFile", "Option2",
                                  "Option3",   "Option4",    "Option5",     "Option6",      "Text1",
                                  "Text2",     "Text3",      "cmdExport",   "cmdLoadCMX",   "cmdTryOn",
                                  "cmdClose",  "cmdAbout"};
    EXPECT_EQ(order, expected);
}

TEST_F(Keyboard, SpaceOnAFocusedButtonRunsItsCommand) {
    skinEdit().activateWindow();
    skinEditNamed().cmdCMXError->setFocus();
    QTest::keyClick(skinEditNamed().cmdCMXError, Qt::Key_Space);
    EXPECT_EQ(messages.messages, QStringList({"Please select a file first!"}));
}

TEST_F(Keyboard, ArrowKeysInTheFileListSelectAndOpenFiles) {
    skins.write("a.bmp", "not a picture");
    browseSkinEdit();
    skinEditNamed().File1->setFocus();
    QTest::keyClick(skinEditNamed().File1, Qt::Key_Down);
    EXPECT_EQ(skinEditNamed().File1->fileName(), "a.bmp");
    EXPECT_EQ(messages.messages, QStringList({"It appears this bmp file is corrupt!"}));
}
