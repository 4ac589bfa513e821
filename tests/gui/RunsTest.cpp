#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/Windows.h"
#include "core/journal/Journal.h"
#include "platform/ProgramLock.h"

#include <QAbstractButton>
#include <QPushButton>

#include <functional>
#include <memory>

using namespace vestimo;

// A directory-wide check held at its start (the test holds the program folder), stopped while it
// waits, then let go: the walk stops before its first file.
class Runs : public test::AppFixture {};

TEST_F(Runs, ACancelledOrClosedRunStopsEarlyAndSaysSo) {
    struct Case {
        const char* name;
        std::function<void(QWidget& window)> stop;
        int quits; // a close request closes the program once the run has told its end
    };
    const std::vector<Case> cases = {
        {"Cancel", [](QWidget& window) { window.findChild<QPushButton*>("cmdCancel")->click(); }, 0},
        {"close request", [](QWidget& window) { window.close(); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        quits = 0;
        skins.write("B001FAFit_bad.cmx", "not a skin description");
        browseSkinEdit();
        QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
        messages.clear();
        auto held = std::make_unique<platform::ProgramLock>(program.path());
        ASSERT_TRUE(held->acquire(0).held());
        QTest::mouseClick(skinEditNamed().cmdCheckAllCMX, Qt::LeftButton);

        // While it waits only Cancel may be pressed.
        auto* cancel = skinEdit().findChild<QPushButton*>("cmdCancel");
        ASSERT_NE(cancel, nullptr);
        EXPECT_TRUE(cancel->isVisible() && cancel->isEnabled());
        EXPECT_EQ(cancel->text(), texts::cancelButton());
        for (QAbstractButton* other : skinEdit().findChildren<QAbstractButton*>()) {
            EXPECT_TRUE(other == cancel || !other->isEnabled()) << other->objectName().toStdString();
        }

        c.stop(skinEdit());
        held.reset();
        ASSERT_TRUE(test::finishRuns());
        EXPECT_EQ(messages.messages, QStringList{texts::cmxFilesChecked()});
        EXPECT_EQ(messages.informative.value(0), texts::checkCancelled());
        EXPECT_TRUE(test::exists(skins.filePath("B001FAFit_bad.cmx")));
        EXPECT_EQ(quits, c.quits);
        EXPECT_FALSE(cancel->isVisible());
        EXPECT_TRUE(skinEditNamed().cmdCheckAllCMX->isEnabled());
        // The journal holds the run, ended, with nothing left open.
        journal::JournalStore& store = app->journal().store();
        EXPECT_TRUE(store.openIntents().value.isEmpty());
        EXPECT_TRUE(store.unendedRuns().value.isEmpty());
        skinEdit().show();
    }
}
