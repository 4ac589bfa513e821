// The windows on a 1280 x 1024 desktop: run once at 1x and once with QT_SCALE_FACTOR=2 on a screen
// of twice the pixels, so both see 1280 x 1024 logical pixels.
#include "support/AppFixture.h"

#include "samples/BmpSamples.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

#include <map>

using namespace vestimo;

namespace {

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where every named control of `window` is, in the window's coordinates.
std::map<QString, QRect> placesOf(QWidget& window) {
    std::map<QString, QRect> places;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(QStringLiteral("qt_"))) {
            places[control->objectName()] = QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
        }
    }
    return places;
}

} // namespace

class WindowLayout : public test::AppFixture {
protected:
    void SetUp() override {
        if (available().size() != QSize(1280, 1024)) {
            GTEST_SKIP() << "needs the 1280 x 1024 test screen (QT_QPA_PLATFORM=offscreen:configfile=...)";
        }
        // Enough folders and files to fill both lists.
        for (int k = 0; k < 30; ++k) {
            skins.mkdir(QStringLiteral("folder%1").arg(k, 2, 10, QLatin1Char('0')));
            skins.write(QStringLiteral("B%1FAFit_x.bmp").arg(k, 3, 10, QLatin1Char('0')),
                        QByteArray::fromStdString(samples::MakeBmp({.width = 32, .height = 32})));
        }
    }

    // Lets the windows take their sizes, as a shown window does at once on a real desktop.
    static void settle(QWidget& window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }

    void expectListRows(QWidget& window) {
        for (const char* name : {"Dir1", "File1"}) {
            auto* list = control<QListWidget>(&window, name);
            ASSERT_GT(list->count(), 10) << name;
            const int row = list->visualItemRect(list->item(0)).height();
            ASSERT_GT(row, 0);
            EXPECT_GE(list->viewport()->height() / row, 10) << name << " shows fewer than 10 rows";
        }
    }

    void expectNoClippedButton(QWidget& window) {
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_LE(needed, button->width())
                << button->objectName().toStdString() << " clips \"" << button->text().toStdString() << '"';
        }
    }
};

TEST_F(WindowLayout, BothWindowsOpenAtOneSizeThatFitsTheScreen) {
    gui::SkinEditWindow& edit = skinEdit();
    settle(edit);
    const QSize size = edit.size();
    EXPECT_GE(size.width(), 900);
    EXPECT_LE(size.width(), 1100);
    EXPECT_GE(size.height(), 640);
    EXPECT_LE(size.height(), 800);
    EXPECT_TRUE(available().contains(edit.frameGeometry())) << "the window leaves the screen";
    gui::BuyableMakerWindow& maker = buyable();
    settle(maker);
    EXPECT_EQ(maker.size(), size);
    EXPECT_TRUE(available().contains(maker.frameGeometry()));
}

TEST_F(WindowLayout, TheEditorShowsEightyColumnsByTwentyFiveLines) {
    browseSkinEdit();
    settle(skinEdit());
    QPlainTextEdit* text = skinEditNamed().Text1;
    const QFontMetrics metrics(text->font());
    const int margin = static_cast<int>(text->document()->documentMargin());
    const int usableWidth = text->viewport()->width() - 2 * margin;
    // A horizontal scroll bar may appear for long lines; the lines above it must still be 25.
    const int usableHeight =
        text->viewport()->height() - 2 * margin - text->horizontalScrollBar()->sizeHint().height();
    EXPECT_GE(usableWidth / metrics.horizontalAdvance(u'M'), 80);
    EXPECT_GE(usableHeight / metrics.lineSpacing(), 25);
    // The text stays as it was.
    EXPECT_EQ(text->toPlainText(), "A CMX File's contents will be displayed here.");
}

TEST_F(WindowLayout, BothListsShowTenRowsInBothWindows) {
    browseSkinEdit();
    settle(skinEdit());
    expectListRows(skinEdit());
    browseBuyable();
    settle(buyable());
    expectListRows(buyable());
}

TEST_F(WindowLayout, NoButtonCaptionIsClipped) {
    browseSkinEdit();
    settle(skinEdit());
    expectNoClippedButton(skinEdit());
    settle(buyable());
    expectNoClippedButton(buyable());
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
