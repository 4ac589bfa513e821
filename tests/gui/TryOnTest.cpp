// "Try It On" through both windows, with scenes made here (a textured square), on the software path.
#include "support/AppFixture.h"

#include "gui/tryon/TryOnWindow.h"
#include "platform/render/Renderer.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMutex>
#include <QPointer>
#include <QSignalSpy>

using namespace vestimo;

namespace {

// A BMP of one colour, as a paint program would save it.
QByteArray bitmapOf(QRgb colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// A square facing the viewer, wearing `texture`.
tryon::TryOnPiece square(const QString& cmxPath, const QString& texturePath, const QByteArray& texture) {
    tryon::TryOnPiece piece;
    piece.cmxFile = cmxPath;
    piece.meshFile = cmxPath + ".skn";
    piece.textureFile = texturePath;
    piece.texture = texture;
    for (const auto& [x, y] : {std::pair{-1.0F, 0.0F}, {1.0F, 0.0F}, {1.0F, 2.0F}, {-1.0F, 2.0F}}) {
        piece.mesh.vertices.push_back({{x, y, 0}, {0, 0, 1}, (x + 1) / 2, 1 - y / 2});
    }
    piece.mesh.triangles = {{0, 1, 2}, {0, 2, 3}};
    return piece;
}

} // namespace

class TryOn : public test::AppFixture {
protected:
    TryOn() {
        skins.write("B001FAtest_dress.cmx", test::validCmx("B001FAtest_dress"));
        lgt = skins.write("B001FAtestlgt_dress.bmp", bitmapOf(0xffff0000));
        med = skins.write("B001FAtestmed_dress.bmp", bitmapOf(0xff0000ff));
        skins.write("stray.bmp", bitmapOf(0xff00ff00));
        app->setWindowShower([this](QWidget* window) {
            shown = qobject_cast<gui::TryOnWindow*>(window);
            window->resize(500, 600);
            window->show();
        });
        app->setTryOnBuilder([this](const tryon::TryOnRequest& request) { return build(request); });
    }

    // Runs on the window's worker.
    tryon::TryOnScene build(const tryon::TryOnRequest& request) {
        const QMutexLocker lock(&mutex);
        requests.append(request);
        tryon::TryOnScene scene;
        scene.drawable = drawable;
        scene.failure = drawable ? QString() : QStringLiteral("No skeleton found: looked in ") + skins.path();
        const QString texture =
            request.texturePath.isEmpty() ? (request.tone == "med" ? med : lgt) : request.texturePath;
        scene.pieces.push_back(square(request.cmxPath, texture, test::readAll(texture)));
        scene.tones = {"lgt", "med"};
        scene.textures = {lgt, med};
        scene.heads = {"C001FA_head.cmx", "C002FA_head.cmx"};
        scene.rule = "the lowest-numbered head";
        scene.missing = {"hands: looked in " + skins.path()};
        return scene;
    }
    tryon::TryOnRequest lastRequest() {
        const QMutexLocker lock(&mutex);
        return requests.last();
    }

    void select(const QString& name) {
        auto* list = skinEditNamed().File1;
        list->refresh();
        ASSERT_TRUE(list->setListIndex(static_cast<int>(list->entries().indexOf(name))))
            << name.toStdString();
    }
    QPushButton* tryOnButton(QWidget& window) { return control<QPushButton>(&window, "cmdTryOn"); }
    // Presses "Try It On" and waits for the first scene.
    void openWindow(QWidget& from) {
        ASSERT_TRUE(tryOnButton(from)->isEnabled());
        QTest::mouseClick(tryOnButton(from), Qt::LeftButton);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->objectName(), "frmTryOn");
        // The files are named once the scene is shown.
        QTRY_VERIFY_WITH_TIMEOUT(!control<QLabel>(shown, "lblTryOnFiles")->text().isEmpty(), 2000);
    }
    gui::TryOnView* view() { return control<gui::TryOnView>(shown, "viewTryOn"); }
    static bool drawsAnything(const QImage& picture) {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixel(x, y) != platform::render::BackgroundColour) {
                    return true;
                }
            }
        }
        return false;
    }

    QString lgt;
    QString med;
    bool drawable = true;
    QMutex mutex;
    QList<tryon::TryOnRequest> requests;
    QPointer<gui::TryOnWindow> shown;
};

TEST_F(TryOn, TheButtonIsForABitmapOfASkinOrAnOpenCmxFile) {
    browseSkinEdit();
    EXPECT_FALSE(tryOnButton(skinEdit())->isEnabled()); // nothing selected
    const std::pair<const char*, bool> cases[] = {
        {"B001FAtestlgt_dress.bmp", true}, {"stray.bmp", false}, {"B001FAtestmed_dress.bmp", true}};
    for (const auto& [name, enabled] : cases) {
        select(name);
        EXPECT_EQ(tryOnButton(skinEdit())->isEnabled(), enabled) << name;
    }
    // A skin's CMX file that arrives later claims its bitmap from then on.
    skins.write("B002FAlaterlgt_x.bmp", bitmapOf(0xff00ff00));
    select("B002FAlaterlgt_x.bmp");
    EXPECT_FALSE(tryOnButton(skinEdit())->isEnabled());
    skins.write("B002FAlater_x.cmx", test::validCmx("B002FAlater_x"));
    select("stray.bmp");
    select("B002FAlaterlgt_x.bmp");
    EXPECT_TRUE(tryOnButton(skinEdit())->isEnabled());
    showInSkinEdit(FileFilter::CmxFiles);
    EXPECT_FALSE(tryOnButton(skinEdit())->isEnabled());
    select("B001FAtest_dress.cmx");
    EXPECT_TRUE(tryOnButton(skinEdit())->isEnabled()); // open in the editor
    openWindow(skinEdit());
    EXPECT_EQ(lastRequest().cmxPath, skins.filePath("B001FAtest_dress.cmx"));
    EXPECT_EQ(lastRequest().texturePath, QString());
}

TEST_F(TryOn, TheWindowDrawsTheSceneAndNamesItsFiles) {
    browseSkinEdit();
    select("B001FAtestmed_dress.bmp");
    openWindow(skinEdit());
    EXPECT_EQ(lastRequest().texturePath, med);
    const QImage picture = view()->picture();
    EXPECT_EQ(picture.size(), view()->size());
    EXPECT_TRUE(picture.pixelColor(picture.width() / 2, picture.height() / 2).blue() > 100);
    const QString files = control<QLabel>(shown, "lblTryOnFiles")->text();
    for (const QString& part :
         {med, QString("the lowest-numbered head"), "Missing: hands: looked in " + skins.path()}) {
        EXPECT_TRUE(files.contains(part)) << files.toStdString();
    }
    EXPECT_EQ(control<QListWidget>(shown, "lstTryOnTextures")->count(), 2);
    EXPECT_EQ(control<QComboBox>(shown, "cboTryOnHead")->count(), 3);
}

TEST_F(TryOn, DragTurnsWheelZoomsDoubleClickResets) {
    browseSkinEdit();
    select("B001FAtestlgt_dress.bmp");
    openWindow(skinEdit());
    gui::TryOnView* v = view();
    const QImage front = v->picture();
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 100), v->mapToGlobal(QPointF(160, 100)), Qt::NoButton,
                     Qt::LeftButton, {});
    QCoreApplication::sendEvent(v, &move);
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(160, 100));
    EXPECT_EQ(v->view().turnDegrees, 30);
    EXPECT_NE(v->picture(), front);

    QWheelEvent wheel(QPointF(50, 50), v->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 240), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(v, &wheel);
    EXPECT_GT(v->view().zoom, 1.2F);

    QTest::mouseDClick(v, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(v->view().turnDegrees, 0);
    EXPECT_EQ(v->view().zoom, 1);
    EXPECT_EQ(v->picture(), front);
}

TEST_F(TryOn, TonesTexturesAndHeadsMakeTheRequest) {
    browseSkinEdit();
    select("B001FAtestlgt_dress.bmp");
    openWindow(skinEdit());
    EXPECT_TRUE(control<QPushButton>(shown, "cmdToneMed")->isVisible());
    EXPECT_FALSE(control<QPushButton>(shown, "cmdToneDrk")->isVisible());
    QSignalSpy built(shown.data(), &gui::TryOnWindow::sceneShown);
    QTest::mouseClick(control<QPushButton>(shown, "cmdToneMed"), Qt::LeftButton);
    ASSERT_TRUE(built.wait(2000));
    EXPECT_EQ(lastRequest().tone, "med");
    EXPECT_EQ(lastRequest().texturePath, QString());

    auto* heads = control<QComboBox>(shown, "cboTryOnHead");
    heads->setCurrentIndex(2);
    emit heads->activated(2);
    ASSERT_TRUE(built.wait(2000));
    EXPECT_EQ(lastRequest().head, "C002FA_head.cmx");
}

TEST_F(TryOn, FollowsTheSelectionAndTheFilesOnDisk) {
    browseSkinEdit();
    select("B001FAtestlgt_dress.bmp");
    openWindow(skinEdit());
    QSignalSpy built(shown.data(), &gui::TryOnWindow::sceneShown);
    select("B001FAtestmed_dress.bmp");
    ASSERT_TRUE(built.wait(2000));
    EXPECT_EQ(shown->request().texturePath, med);
    EXPECT_EQ(lastRequest().texturePath, med);

    // Saved from a paint program: drawn anew within a second.
    skins.write("B001FAtestmed_dress.bmp", bitmapOf(0xff00ff00));
    ASSERT_TRUE(built.wait(1000));
    const QImage picture = view()->picture();
    EXPECT_TRUE(picture.pixelColor(picture.width() / 2, picture.height() / 2).green() > 100);
}

TEST_F(TryOn, SavePictureWritesWhatIsShown) {
    browseSkinEdit();
    select("B001FAtestlgt_dress.bmp");
    openWindow(skinEdit());
    const QString target = skins.filePath("picture");
    shown->setSaveChooser([&target](QWidget*, const QString&) { return target; });
    QTest::mouseClick(control<QPushButton>(shown, "cmdSaveTryOn"), Qt::LeftButton);
    EXPECT_EQ(messages.messages, QStringList());
    EXPECT_EQ(QImage(target + ".png").convertToFormat(QImage::Format_RGB32),
              view()->picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(TryOn, ASceneThatCannotBeDrawnSaysWhy) {
    drawable = false;
    browseSkinEdit();
    select("B001FAtestlgt_dress.bmp");
    openWindow(skinEdit());
    EXPECT_TRUE(view()->note().contains("No skeleton found: looked in " + skins.path()));
    EXPECT_TRUE(drawsAnything(view()->picture())); // what it could, still drawn
}

TEST_F(TryOn, TheBuyableMakerOffersItForItsBitmapAndCmxFile) {
    gui::BuyableMakerWindow& maker = buyable();
    browseBuyable();
    auto* files = control<gui::FileList>(&maker, "File1");
    EXPECT_FALSE(tryOnButton(maker)->isEnabled());
    ASSERT_TRUE(files->setListIndex(static_cast<int>(files->entries().indexOf("B001FAtestmed_dress.bmp"))));
    QTest::mouseClick(control<QPushButton>(&maker, "cmdLoadFile"), Qt::LeftButton);
    EXPECT_TRUE(tryOnButton(maker)->isEnabled()); // claimed by the folder's CMX file
    QTest::mouseClick(control<QPushButton>(&maker, "cmdLoadCMX"), Qt::LeftButton);
    ASSERT_TRUE(files->setListIndex(static_cast<int>(files->entries().indexOf("B001FAtest_dress.cmx"))));
    openWindow(maker);
    EXPECT_EQ(lastRequest().cmxPath, skins.filePath("B001FAtest_dress.cmx"));
    EXPECT_EQ(lastRequest().texturePath, med);
}

// The real demo adult, found and posed by the program's own builder, drawn in the window.
class TryOnRealBody : public test::AppFixture {
protected:
    void SetUp() override {
        const QDir bodies(QDir(test::realWorldDir()).filePath("bodies"));
        if (!bodies.exists("adult-skeleton.cmx")) {
            GTEST_SKIP() << "no real-world bodies beside the project";
        }
        for (const QString& name : bodies.entryList(QDir::Files)) {
            skins.write(name, test::readAll(bodies.filePath(name)));
        }
        app->setWindowShower([this](QWidget* window) {
            shown = qobject_cast<gui::TryOnWindow*>(window);
            window->resize(400, 500);
            window->show();
        });
    }
    QString files() { return control<QLabel>(shown, "lblTryOnFiles")->text(); }
    QPointer<gui::TryOnWindow> shown;
};

TEST_F(TryOnRealBody, TheSkinEditingWindowShowsTheSimWearingTheSelectedTone) {
    browseSkinEdit();
    auto* list = skinEditNamed().File1;
    ASSERT_TRUE(list->setListIndex(static_cast<int>(list->entries().indexOf("B001FAFitlgt_Shannon01.bmp"))));
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdTryOn"), Qt::LeftButton);
    ASSERT_NE(shown, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(files().contains("B001FAFitlgt_Shannon01.bmp"), 5000);
    EXPECT_TRUE(files().contains("adult-skeleton.cmx")) << files().toStdString();
    // A standing Sim: it fills much of the picture's height and little of its width.
    const QImage picture = control<gui::TryOnView>(shown, "viewTryOn")->picture();
    int top = picture.height();
    int bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != platform::render::BackgroundColour) {
                top = std::min(top, y);
                bottom = y;
            }
        }
    }
    EXPECT_GT(bottom - top, picture.height() / 2);

    ASSERT_TRUE(list->setListIndex(static_cast<int>(list->entries().indexOf("B001FAFitdrk_Shannon01.bmp"))));
    QTRY_VERIFY_WITH_TIMEOUT(files().contains("B001FAFitdrk_Shannon01.bmp"), 5000);
}
