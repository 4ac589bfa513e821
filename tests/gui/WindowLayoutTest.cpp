// The windows on whatever screen the run gives: tests/gui/CMakeLists.txt runs this program on
// screens from 960 x 540 to 1920 x 1080 logical pixels at scales 1 to 2, and with each of two
// fixed-width fonts forced. Every expectation comes from the screen and the fonts in use.
#include "support/AppFixture.h"

#include "gui/app/WindowLooks.h"
#include "samples/BmpSamples.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>

#include <map>

using namespace vestimo;

namespace {

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where every named control of `window` is, in the coordinates of the window's content (which
// scrolls where the screen is small).
std::map<QString, QRect> placesOf(QWidget& window) {
    QWidget* content = window.findChild<QScrollArea*>(QStringLiteral("scrollWindow"))->widget();
    std::map<QString, QRect> places;
    for (QWidget* control : content->findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(QStringLiteral("qt_"))) {
            places[control->objectName()] = QRect(control->mapTo(content, QPoint(0, 0)), control->size());
        }
    }
    return places;
}

// Whole lines of its font the editor shows, leaving room for a horizontal scroll bar.
int linesShown(const QPlainTextEdit& text) {
    const int margin = static_cast<int>(text.document()->documentMargin());
    const int usable =
        text.viewport()->height() - 2 * margin - text.horizontalScrollBar()->sizeHint().height();
    return usable / QFontMetrics(text.font()).lineSpacing();
}

int rowsShown(const QListWidget& list) {
    const int row = list.visualItemRect(list.item(0)).height();
    return row > 0 ? list.viewport()->height() / row : 0;
}

} // namespace

class WindowLayout : public test::AppFixture {
protected:
    void SetUp() override {
        // Enough folders and files to fill both lists.
        for (int k = 0; k < 30; ++k) {
            skins.mkdir(QStringLiteral("folder%1").arg(k, 2, 10, QLatin1Char('0')));
            skins.write(QStringLiteral("B%1FAFit_x.bmp").arg(k, 3, 10, QLatin1Char('0')),
                        QByteArray::fromStdString(samples::MakeBmp({.width = 32, .height = 32})));
        }
        skins.write("B100FAFit_big.bmp",
                    QByteArray::fromStdString(samples::MakeBmp({.width = 256, .height = 256})));
    }

    // Lets the windows take their sizes, as a shown window does at once on a real desktop.
    static void settle(QWidget& window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }

    // Whether the screen has room for everything the window wishes for.
    static bool roomForWish(const QWidget& window) {
        const QSize wish = window.sizeHint();
        return window.width() >= wish.width() && window.height() >= wish.height();
    }

    // Every shown button of `window` can be brought into view (scrolling the window's content
    // where it scrolls) and is then drawn whole, as large as its caption needs.
    static void expectEveryButtonReachable(QWidget& window, const char* when) {
        auto* area = window.findChild<QScrollArea*>(QStringLiteral("scrollWindow"));
        ASSERT_NE(area, nullptr);
        QCoreApplication::processEvents();
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(&window)) {
                continue;
            }
            area->ensureWidgetVisible(button, 0, 0);
            const QRect at(button->mapTo(&window, QPoint(0, 0)), button->size());
            const QRect seen(area->viewport()->mapTo(&window, QPoint(0, 0)), area->viewport()->size());
            const std::string name = button->objectName().toStdString() + " " + when;
            EXPECT_TRUE(seen.contains(at) && window.rect().contains(at)) << name << " cannot be reached";
            EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()))
                << name << " clips \"" << button->text().toStdString() << '"';
            EXPECT_GE(button->height(), button->minimumSizeHint().height()) << name << " is cut short";
        }
        area->ensureVisible(0, 0);
    }

    // The editor and both lists keep their floors, and show all they wish for where there is room.
    void expectRowsAndLines(QWidget& window, bool hasEditor) {
        const bool roomy = roomForWish(window);
        for (const char* name : {"Dir1", "File1"}) {
            auto* list = control<QListWidget>(&window, name);
            ASSERT_GT(list->count(), gui::WishedListRows) << name;
            EXPECT_GE(rowsShown(*list), roomy ? gui::WishedListRows : gui::LeastListRows) << name;
        }
        if (hasEditor) {
            auto* text = control<QPlainTextEdit>(&window, "Text1");
            EXPECT_GE(linesShown(*text), roomy ? gui::WishedEditorLines : gui::LeastEditorLines);
        }
    }

    // At its opening size, in the room of the smallest screen, and maximised, `window` keeps its
    // rows and lines and every button can be reached; maximised, no button is stretched.
    void checkEverySize(QWidget& window, QWidget* viewer, QWidget* grower, bool hasEditor) {
        expectRowsAndLines(window, hasEditor);
        expectEveryButtonReachable(window, "at the opening size");
        // The room a window has on a 960 x 540 screen, the smallest the windows are made for.
        window.resize(gui::openingSize(QSize(4000, 4000), QRect(0, 0, 960, 540)));
        QCoreApplication::processEvents();
        expectRowsAndLines(window, hasEditor);
        expectEveryButtonReachable(window, "in the room of a 960 x 540 screen");
        expectNoStretchedButtonWhenMaximised(window, *viewer, *grower);
        expectEveryButtonReachable(window, "maximised");
    }

    // Maximised, the window's room beyond its wish goes to `viewer` and `grower`, none to buttons.
    void expectNoStretchedButtonWhenMaximised(QWidget& window, QWidget& viewer, QWidget& grower) {
        const QSize wish = window.sizeHint();
        window.resize(wish);
        QCoreApplication::processEvents();
        std::map<QString, int> widths;
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            widths[button->objectName()] = button->width();
        }
        const QSize viewerBefore = viewer.size();
        const QSize growerBefore = grower.size();
        window.setGeometry(available());
        QCoreApplication::processEvents();
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            EXPECT_LE(button->width(), widths[button->objectName()])
                << button->objectName().toStdString() << " was stretched";
        }
        if (window.height() > wish.height() + 20) {
            EXPECT_GT(viewer.height(), viewerBefore.height());
            EXPECT_GT(grower.height(), growerBefore.height());
        }
        if (window.width() > wish.width() + 20) {
            EXPECT_GT(viewer.width(), viewerBefore.width());
        }
    }
};

// The checks every screen gets; the run's screen and scale come from the test's environment.
TEST_F(WindowLayout, BothWindowsFitTheScreenWithEveryButtonReachable) {
    browseSkinEdit();
    gui::SkinEditWindow& edit = skinEdit();
    settle(edit);
    EXPECT_TRUE(available().contains(edit.frameGeometry())) << "the window leaves the screen";
    // A full-HD screen has room for everything the window wishes for.
    if (available().width() >= 1920 && available().height() >= 1080) {
        EXPECT_TRUE(roomForWish(edit))
            << "opens at " << edit.width() << " x " << edit.height() << ", wishes for "
            << edit.sizeHint().width() << " x " << edit.sizeHint().height();
    }
    const QSize opening = edit.size();
    checkEverySize(edit, skinEditNamed().Picture1, skinEditNamed().Text1, true);
    edit.resize(opening);

    // The other window stands in the same place at the same size.
    gui::BuyableMakerWindow& maker = buyable();
    browseBuyable();
    settle(maker);
    EXPECT_EQ(maker.size(), opening);
    EXPECT_TRUE(available().contains(maker.frameGeometry()));
    auto* viewer = control<QWidget>(&maker, "Picture1");
    checkEverySize(maker, viewer, viewer, false);
}

TEST_F(WindowLayout, WhereThereIsRoomTheEditorShowsEightyColumnsByTwentyFiveLines) {
    browseSkinEdit();
    settle(skinEdit());
    if (!roomForWish(skinEdit())) {
        GTEST_SKIP() << "the screen has no room for the whole window";
    }
    QPlainTextEdit* text = skinEditNamed().Text1;
    const QFontMetrics metrics(text->font());
    const int margin = static_cast<int>(text->document()->documentMargin());
    const int usableWidth = text->viewport()->width() - 2 * margin;
    EXPECT_GE(usableWidth / metrics.horizontalAdvance(u'M'), 80);
    EXPECT_GE(linesShown(*text), 25);
    // The text stays as it was.
    EXPECT_EQ(text->toPlainText(), "A CMX File's contents will be displayed here.");
}

TEST_F(WindowLayout, ATextureShowsAtItsOwnSizeOrLargerOnA1280x1024Screen) {
    if (available().height() < 1024) {
        GTEST_SKIP() << "for screens of 1024 lines or more";
    }
    for (const bool inMaker : {false, true}) {
        QWidget* window = inMaker ? static_cast<QWidget*>(&buyable()) : &skinEdit();
        inMaker ? browseBuyable() : browseSkinEdit();
        settle(*window);
        auto* files = control<gui::FileList>(window, "File1");
        files->setListIndex(static_cast<int>(files->entries().indexOf("B100FAFit_big.bmp")));
        auto* viewer = control<gui::PictureBox>(window, "Picture1");
        ASSERT_TRUE(viewer->hasPicture());
        EXPECT_GE(viewer->zoomPercent(), 100) << window->objectName().toStdString();
    }
}

TEST_F(WindowLayout, TheEditorUsesTheFixedWidthFontTheRunForces) {
    const QString family = qEnvironmentVariable("VESTIMO_TEST_FIXED_FONT");
    if (family.isEmpty()) {
        GTEST_SKIP() << "this run forces no font";
    }
    if (!QFontDatabase::families().contains(family)) {
        GTEST_SKIP() << family.toStdString() << " is not installed";
    }
    EXPECT_EQ(QFontInfo(skinEditNamed().Text1->font()).family(), family);
}

TEST_F(WindowLayout, NothingMovesWhenTheCloseButtonOrTheProgressBarAppears) {
    skins.write("B001FAFit_x.cmx", test::validCmx());
    browseSkinEdit();
    settle(skinEdit());
    const auto before = placesOf(skinEdit());
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
    skinEditNamed().File1->setListIndex(
        static_cast<int>(skinEditNamed().File1->entries().indexOf("B001FAFit_x.cmx")));
    ASSERT_TRUE(skinEditNamed().cmdCloseFile->isVisible());
    skinEditNamed().ProgressBar1->setVisible(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(placesOf(skinEdit()), before);

    gui::BuyableMakerWindow& maker = buyable();
    browseBuyable();
    settle(maker);
    const auto makerBefore = placesOf(maker);
    auto* files = control<gui::FileList>(&maker, "File1");
    files->setListIndex(0);
    QTest::mouseClick(control<QPushButton>(&maker, "cmdLoadFile"), Qt::LeftButton);
    ASSERT_TRUE(control<QPushButton>(&maker, "cmdCloseFile")->isVisible());
    QCoreApplication::processEvents();
    auto makerAfter = placesOf(maker);
    EXPECT_EQ(makerAfter, makerBefore);
}
