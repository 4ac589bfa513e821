// The bitmap viewer of both windows: zooming by whole factors from the wheel and the keys, the line
// under it telling size and zoom, and nothing shown when the selection is not a bitmap.
#include "support/AppFixture.h"

#include "samples/BmpSamples.h"

#include "core/catalogue/Windows.h"

#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

using namespace vestimo;

namespace {

QByteArray bmp(int width, int height) {
    return QByteArray::fromStdString(samples::MakeBmp({.width = width, .height = height}));
}

enum class Zoom { In, Out, Fit };

struct ZoomCase {
    const char* what;
    QSize picture;
    QSize box;
    std::vector<Zoom> steps;
    std::vector<int> percents; // the fitted zoom, then one after each step
};

} // namespace

class Viewer : public test::AppFixture {
protected:
    void select(QWidget& window, const QString& name) {
        auto* files = control<gui::FileList>(&window, "File1");
        ASSERT_TRUE(files->setListIndex(static_cast<int>(files->entries().indexOf(name))))
            << name.toStdString();
    }
    QString line(QWidget& window) { return control<QLabel>(&window, "lblBitmapInfo")->text(); }
    void expectNothing(QWidget& window, const char* after) {
        EXPECT_FALSE(control<gui::PictureBox>(&window, "Picture1")->hasPicture()) << after;
        EXPECT_EQ(line(window), "No bitmap selected") << after;
    }
    // A lone viewer of `box` size showing a fresh `picture`-sized bitmap.
    void show(gui::PictureBox& box, QSize picture, QSize room) {
        skins.write("z.bmp", bmp(picture.width(), picture.height()));
        box.resize(room);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        ASSERT_TRUE(box.loadFile(skins.filePath("z.bmp")));
    }
};

TEST_F(Viewer, ZoomGoesByWholeFactorsAndBackToTheFittedSize) {
    const std::vector<ZoomCase> cases = {
        {"small picture, enlarged to fit",
         {32, 32},
         {100, 100},
         {Zoom::In, Zoom::Out, Zoom::Out, Zoom::Out, Zoom::Out, Zoom::Fit},
         {300, 400, 300, 200, 100, 50, 300}},
        {"large picture, reduced to fit",
         {512, 256},
         {300, 200},
         {Zoom::In, Zoom::Fit, Zoom::Out, Zoom::Out, Zoom::In},
         {59, 100, 59, 50, 33, 50}},
        {"exactly half fits", {400, 400}, {200, 200}, {Zoom::In, Zoom::Fit, Zoom::Out}, {50, 100, 50, 33}},
    };
    for (const ZoomCase& c : cases) {
        gui::PictureBox box;
        ASSERT_NO_FATAL_FAILURE(show(box, c.picture, c.box)) << c.what;
        const qreal ratio = box.devicePixelRatioF();
        std::vector<int> seen = {box.zoomPercent()};
        for (const Zoom step : c.steps) {
            step == Zoom::In ? box.zoomIn() : step == Zoom::Out ? box.zoomOut() : box.zoomToFit();
            seen.push_back(box.zoomPercent());
            // Whole factors are drawn at whole screen pixels, without smoothing when enlarged.
            const int percent = seen.back();
            if (!box.fitted() && percent >= 100) {
                EXPECT_DOUBLE_EQ(box.pictureRect().width() * ratio, c.picture.width() * percent / 100.0)
                    << c.what;
                EXPECT_TRUE(box.enlarged()) << c.what;
            }
        }
        if (ratio == 1.0) {
            EXPECT_EQ(seen, c.percents) << c.what;
        }
    }
}

TEST_F(Viewer, ThePictureLargerThanTheBoxScrolls) {
    gui::PictureBox box;
    ASSERT_NO_FATAL_FAILURE(show(box, {64, 64}, {100, 100}));
    box.zoomIn(), box.zoomIn(), box.zoomIn();
    EXPECT_EQ(box.zoomPercent(), 400);
    // The middle stays in view: the picture is centred on the box.
    const QRectF shown = box.pictureRect();
    EXPECT_LT(shown.left(), 0);
    EXPECT_NEAR(shown.center().x(), box.viewport()->width() / 2.0, 2.0);
    EXPECT_GT(box.horizontalScrollBar()->maximum(), 0);
    box.zoomToFit();
    EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);

    // The next texture of the same size keeps the zoom; one of another size is shown whole.
    box.zoomIn();
    ASSERT_TRUE(box.loadFile(skins.filePath("z.bmp")));
    EXPECT_FALSE(box.fitted());
    skins.write("other.bmp", bmp(32, 32));
    ASSERT_TRUE(box.loadFile(skins.filePath("other.bmp")));
    EXPECT_TRUE(box.fitted());
}

TEST_F(Viewer, TheWheelAndCtrlPlusMinusZeroZoomTheViewerOfEitherWindow) {
    skins.write("B001FAFit_x.bmp", bmp(32, 32));
    const auto zoomIn = [this](QWidget& window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        select(window, "B001FAFit_x.bmp");
        auto* viewer = control<gui::PictureBox>(&window, "Picture1");
        // Each whole factor is a hundred percent more or less, on a screen of scale 1.
        const int fitted = viewer->zoomPercent();
        ASSERT_GE(fitted, 200);
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_EQ(viewer->zoomPercent(), fitted + 100);
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        EXPECT_EQ(viewer->zoomPercent(), fitted - 100);
        EXPECT_TRUE(line(window).endsWith(QStringLiteral(", %1%").arg(texts::withThousands(fitted - 100))))
            << line(window).toStdString();
        QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
        EXPECT_EQ(viewer->zoomPercent(), fitted);

        const QPointF middle(viewer->viewport()->width() / 2.0, viewer->viewport()->height() / 2.0);
        QWheelEvent notch(middle, viewer->viewport()->mapToGlobal(middle), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewer->viewport(), &notch);
        EXPECT_EQ(viewer->zoomPercent(), fitted + 100);
    };
    browseSkinEdit();
    zoomIn(skinEdit());
    browseBuyable();
    zoomIn(buyable());
}

TEST_F(Viewer, NothingIsShownWhenTheSelectionIsNotABitmap) {
    skins.write("B001FAFit_x.bmp", bmp(32, 32));
    skins.write("B001FAFit_x.cmx", test::validCmx());
    skins.mkdir("other");
    browseSkinEdit();
    gui::PictureBox* viewer = skinEditNamed().Picture1;
    const auto showBitmap = [&] {
        QTest::mouseClick(skinEditNamed().Option1, Qt::LeftButton);
        select(skinEdit(), "B001FAFit_x.bmp");
        ASSERT_TRUE(viewer->hasPicture());
    };
    showBitmap();
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
    expectNothing(skinEdit(), "the pattern switched");
    select(skinEdit(), "B001FAFit_x.cmx");
    expectNothing(skinEdit(), "a CMX file opened");
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    showBitmap();
    browseSkinEdit(skins.filePath("other"));
    expectNothing(skinEdit(), "the folder changed");

    // The buyable skin maker: the same, except that a loaded skin's bitmap stays while its CMX
    // file is chosen.
    gui::BuyableMakerWindow& maker = buyable();
    auto* makerViewer = control<gui::PictureBox>(&maker, "Picture1");
    const auto click = [&](const char* name) {
        QTest::mouseClick(control<QPushButton>(&maker, name), Qt::LeftButton);
    };
    browseBuyable();
    select(maker, "B001FAFit_x.bmp");
    ASSERT_TRUE(makerViewer->hasPicture());
    browseBuyable(skins.filePath("other"));
    expectNothing(maker, "the folder changed");
    browseBuyable();
    select(maker, "B001FAFit_x.bmp");
    click("cmdLoadFile");
    click("cmdLoadCMX");
    select(maker, "B001FAFit_x.cmx");
    EXPECT_TRUE(makerViewer->hasPicture());
    click("cmdCloseFile");
    expectNothing(maker, "the skin closed");
}
