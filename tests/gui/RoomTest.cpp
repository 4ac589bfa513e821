// How the windows share their room: the splitters' sharing, their positions kept between runs,
// and names too long for a list shown whole as tool tips.
#include "support/AppFixture.h"

#include "gui/app/WindowLooks.h"
#include "gui/widgets/FittingSplitter.h"

#include <QHelpEvent>
#include <QSettings>
#include <QSplitterHandle>
#include <QToolTip>

using namespace vestimo;
using gui::PaneRoom;

class Room : public test::AppFixture {};

TEST_F(Room, PanesGetTheirWishesThenShareWhatIsLeftOrGiveUpInTurn) {
    struct Case {
        const char* what;
        int room;
        std::vector<PaneRoom> panes;
        int yielding;
        std::vector<int> sizes;
    };
    const PaneRoom browser{100, 50, false};
    const PaneRoom viewer{100, 50, true};
    const PaneRoom editor{300, 100, true};
    const std::vector<Case> cases = {
        {"room for both wishes", 400, {viewer, editor}, 1, {100, 300}},
        {"extra room by the wishes", 600, {viewer, editor}, 1, {150, 450}},
        {"extra room only to the growing", 600, {browser, editor}, 1, {100, 500}},
        {"the yielding pane gives up first", 300, {viewer, editor}, 1, {100, 200}},
        {"then the others", 180, {viewer, editor}, 1, {80, 100}},
        {"never below the minimums", 100, {viewer, editor}, 1, {50, 100}},
        {"the first pane yielding", 350, {viewer, editor}, 0, {50, 300}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gui::shareRoom(c.room, c.panes, c.yielding), c.sizes) << c.what;
    }
}

TEST_F(Room, TheSplittersStayWhereTheUserLeftThemAcrossARestart) {
    // A start with nothing remembered, whatever tests ran before in this program.
    const auto restart = [this] {
        app = std::make_unique<gui::Application>(messages, program.path(), [this] { ++quits; });
        app->start();
    };
    QSettings(QStringLiteral("Vestimo"), QStringLiteral("Vestimo")).clear();
    restart();
    QWidget& window = skinEdit();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* splitter = window.findChild<gui::FittingSplitter*>(QStringLiteral("splitViewer"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_TRUE(splitter->sharingByWishes());
    // The user drags the handle 30 pixels down.
    QSplitterHandle* handle = splitter->handle(1);
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(handle, grip + QPoint(0, 30));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, grip + QPoint(0, 30));
    EXPECT_FALSE(splitter->sharingByWishes());
    const QList<int> left = splitter->sizes();
    app->closeProgram();

    restart();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&skinEdit()));
    auto* again = skinEdit().findChild<gui::FittingSplitter*>(QStringLiteral("splitViewer"));
    EXPECT_FALSE(again->sharingByWishes());
    EXPECT_EQ(again->sizes(), left);
}

TEST_F(Room, AListShowsANameItCutsWholeAsItsToolTip) {
    const QString longName = QStringLiteral("B001FAFit_") + QString(120, u'x') + QStringLiteral(".bmp");
    skins.write(longName, "not a picture");
    skins.write("a.bmp", "not a picture");
    browseSkinEdit();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&skinEdit()));
    gui::FileList* files = skinEditNamed().File1;
    const auto middleOf = [files](const QString& name) {
        return files->visualItemRect(files->item(static_cast<int>(files->entries().indexOf(name)))).center();
    };
    EXPECT_EQ(gui::cutNameAt(*files, middleOf("a.bmp")), QString());
    const QPoint at = middleOf(longName);
    QHelpEvent tip(QEvent::ToolTip, at, files->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(files->viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), longName);
}
