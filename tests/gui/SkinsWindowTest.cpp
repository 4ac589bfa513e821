// The Skins window through the skin editing window: its cards, filters, selection, Try It On, the
// card's menu and following the folder, with pictures drawn here into a cache of the test's own.
#include "support/AppFixture.h"

#include "core/collection/CollectionView.h"
#include "core/journal/Journal.h"
#include "gui/skins/SkinsList.h"
#include "gui/skins/SkinsWindow.h"
#include "gui/tryon/TryOnWindow.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMutex>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>

using namespace vestimo;

namespace {

QByteArray imageBytes(QRgb colour, const char* format) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray headCmx(const QByteArray& name) {
    return test::crlfLines({"// Character File. Copyright 1997, Maxis Inc.", "Version 300", "0", "1", name,
                            "0", "0", "1", "HEAD", "xskin-" + name + "-HEAD-HEAD", "0", "0", "0"});
}

} // namespace

class Skins : public test::AppFixture {
protected:
    Skins() {
        skins.write("B001FAFit_01.cmx", test::validCmx("B001FAFit_01"));
        skins.write("B001FAFit_02.cmx", test::validCmx("B001FAFit_02"));
        shared = skins.write("B001FAFitlgt_a.bmp", imageBytes(0xffff0000, "BMP"));
        skins.write("xskin-B001FAFit_01-PELVIS-BODY.skn", "mesh");
        skins.write("C001MAGuy_x.cmx", headCmx("C001MAGuy_x"));
        skins.write("C001MAGuylgt_x.bmp", imageBytes(0xff00ff00, "BMP"));
        skins.write("Zebra.bmp", imageBytes(0xff0000ff, "BMP"));
        skins.write("xskin-gone-PELVIS-BODY.skn", "mesh");
        gui::SkinsSetup setup;
        setup.painter = [this](const QString&, platform::PictureCache*) {
            return gui::CardPainter([this](const collection::Card& card) { return paint(card); });
        };
        setup.cacheFolder = cache.path();
        setup.openUrl = [this](const QUrl& url) {
            opened.append(url);
            return true;
        };
        app->setSkinsSetup(setup);
        app->setTryOnBuilder([](const tryon::TryOnRequest&) { return tryon::TryOnScene{}; });
        app->setWindowShower([this](QWidget* window) {
            if (auto* skinsWindow = qobject_cast<gui::SkinsWindow*>(window)) {
                shown = skinsWindow;
            } else {
                tryOn = qobject_cast<gui::TryOnWindow*>(window);
            }
            window->resize(900, 640);
            window->show();
        });
    }

    // The window's picture workers call paint(): they must stop before the fixture's members go.
    ~Skins() override { delete shown.data(); }

    // Runs on the picture workers: a picture whose colour follows the texture's length, counted.
    collection::CardPicture paint(const collection::Card& card) {
        const QMutexLocker lock(&mutex);
        const QString key = gui::cardKey(card);
        ++painted[key];
        if (card.textures.isEmpty()) {
            return {{}, QStringLiteral("nothing to wear"), false};
        }
        const auto length = QFileInfo(skins.filePath(card.textures.first())).size();
        return {imageBytes(qRgb(static_cast<int>(length % 256), 0, 0), "PNG"), {}, false};
    }
    int paintedCount(const QString& key) {
        const QMutexLocker lock(&mutex);
        return painted.value(key);
    }

    // Presses "Browse Skins..." and waits for every badge.
    void open() {
        browseSkinEdit();
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdSkins"), Qt::LeftButton);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->objectName(), "frmSkins");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return shown->collection().complete && list()->count() > 0; }, 5000));
    }
    gui::SkinsList* list() { return control<gui::SkinsList>(shown, "lstSkins"); }
    int rowOf(const QString& name) {
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            if (list()->model()->index(row, 0).data().toString() == name) {
                return row;
            }
        }
        return -1;
    }
    void selectCard(const QString& name) {
        const int row = rowOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        list()->setCurrentIndex(list()->model()->index(row, 0));
    }
    QAction* action(const char* name) { return shown->findChild<QAction*>(QString::fromLatin1(name)); }

    test::TempDir cache;
    QString shared;
    QMutex mutex;
    QHash<QString, int> painted;
    QList<QUrl> opened;
    QPointer<gui::SkinsWindow> shown;
    QPointer<gui::TryOnWindow> tryOn;
};

TEST_F(Skins, TheButtonHasAnAltLetterOfItsOwn) {
    QStringList others;
    QString own;
    for (const QAbstractButton* button : skinEdit().findChildren<QAbstractButton*>()) {
        const QString keys = button->shortcut().toString();
        (button->objectName() == "cmdSkins" ? own : others.emplace_back()) = keys;
    }
    EXPECT_TRUE(own.startsWith("Alt+")) << own.toStdString();
    EXPECT_FALSE(others.contains(own)) << own.toStdString();
}

TEST_F(Skins, FiltersSearchAndSortChangeWhatIsShown) {
    open();
    EXPECT_EQ(list()->count(), 5); // two bodies, a head, an orphan texture and an orphan mesh
    EXPECT_GT(list()->problemCount(), 0);
    const int problems = list()->problemCount();
    auto* kind = control<QComboBox>(shown, "cboSkinsKind");
    const std::pair<collection::CardKind, int> kinds[] = {{collection::CardKind::Body, 2},
                                                          {collection::CardKind::Head, 1},
                                                          {collection::CardKind::OrphanTexture, 1},
                                                          {collection::CardKind::OrphanMesh, 1}};
    for (const auto& [wanted, count] : kinds) {
        kind->activated(kind->findData(static_cast<int>(wanted)));
        EXPECT_EQ(list()->count(), count) << static_cast<int>(wanted);
        EXPECT_EQ(list()->problemCount(), problems); // of the whole folder, whatever is shown
    }
    kind->activated(0);
    QTest::keyClicks(control<QLineEdit>(shown, "txtSkinsSearch"), "fit_0");
    EXPECT_EQ(list()->count(), 2);
    control<QLineEdit>(shown, "txtSkinsSearch")->clear();
    control<QCheckBox>(shown, "chkSkinsProblems")->setChecked(true);
    EXPECT_LT(list()->count(), 5);
    EXPECT_GT(list()->count(), 0);
    control<QCheckBox>(shown, "chkSkinsProblems")->setChecked(false);
    // The newest skin first by date.
    QFile newest(skins.filePath("C001MAGuy_x.cmx"));
    ASSERT_TRUE(newest.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        newest.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime));
    newest.close();
    auto* sort = control<QComboBox>(shown, "cboSkinsSort");
    sort->activated(sort->findData(static_cast<int>(collection::SortKey::Date)));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return list()->model()->index(0, 0).data().toString() == "C001MAGuy_x"; }, 3000));
    EXPECT_TRUE(control<QLabel>(shown, "lblSkinsCounts")->text().contains("5"));
}

TEST_F(Skins, SelectingACardSelectsItsBitmapInTheMainList) {
    showInSkinEdit(FileFilter::CmxFiles);
    open();
    selectCard("C001MAGuy_x");
    EXPECT_EQ(skinEditNamed().File1->fileName(), "C001MAGuylgt_x.bmp");
    EXPECT_TRUE(skinEditNamed().Option1->isChecked());
    EXPECT_FALSE(skinEdit().state().openFile.has_value()); // never a CMX file opened
    // A card with no bitmap leaves the list as it is.
    selectCard("xskin-gone-PELVIS-BODY");
    EXPECT_EQ(skinEditNamed().File1->fileName(), "C001MAGuylgt_x.bmp");
}

TEST_F(Skins, DoubleClickOrEnterTriesTheCardOn) {
    open();
    for (const bool byKey : {false, true}) {
        tryOn.clear();
        selectCard("B001FAFit_02");
        const QRect at = list()->visualRect(list()->currentIndex());
        if (byKey) {
            QTest::keyClick(list(), Qt::Key_Return);
        } else {
            // A double-click as the desktop sends it: a click, then the second press.
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at.center());
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at.center());
        }
        ASSERT_NE(tryOn, nullptr) << byKey;
        EXPECT_EQ(tryOn->request().cmxPath, skins.filePath("B001FAFit_02.cmx"));
        EXPECT_EQ(tryOn->request().texturePath, shared);
    }
}

TEST_F(Skins, MovingACardKeepsATextureAnotherCardClaims) {
    open();
    selectCard("B001FAFit_01");
    action("actSkinsMoveToProblemFolder")->trigger();
    for (const char* name : {"B001FAFit_01.cmx", "xskin-B001FAFit_01-PELVIS-BODY.skn"}) {
        EXPECT_TRUE(test::exists(program.filePath(name))) << name;
        EXPECT_FALSE(test::exists(skins.filePath(name))) << name;
    }
    EXPECT_TRUE(test::exists(shared)); // B001FAFit_02 still wears it
    EXPECT_TRUE(messages.messages.isEmpty());
    // One run of the journal, with both moves.
    const auto runs = app->journal().store().listRuns();
    ASSERT_TRUE(runs.ok);
    ASSERT_FALSE(runs.value.isEmpty());
    EXPECT_EQ(app->journal().store().changesOf(runs.value.first().id).value.size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->count() == 4; }, 3000));
    action("actSkinsOpenFolder")->trigger();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(skins.path())});
}

TEST_F(Skins, ATextureRewrittenInPlaceUpdatesItsCard) {
    open();
    const QString key = "C001MAGuy_x.cmx";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return paintedCount(key) == 1 && shown->picturesInViewReady(); }, 3000));
    const int problems = list()->problemCount();
    QFile texture(skins.filePath("C001MAGuylgt_x.bmp"));
    ASSERT_TRUE(texture.open(QIODevice::WriteOnly)); // the same file, truncated: no folder change
    ASSERT_EQ(texture.write(QByteArray(300, 'x')), 300);
    texture.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->problemCount() > problems; }, 2500)); // now damaged
    ASSERT_TRUE(QTest::qWaitFor([&] { return paintedCount(key) == 2; }, 2500));
}

TEST_F(Skins, ReopeningRaisesTheWindowAndFollowsTheFolder) {
    open();
    const QPointer<gui::SkinsWindow> first = shown;
    const QString other = skins.mkdir("other");
    skins.write("other/B009FAOne_x.cmx", test::validCmx("B009FAOne_x"));
    browseSkinEdit(other);
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdSkins"), Qt::LeftButton);
    EXPECT_EQ(shown, first);
    EXPECT_EQ(shown->folder(), other);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list()->count() == 1; }, 3000));
    EXPECT_EQ(control<QSpinBox>(shown, "spnSkinsCacheLimit")->value(), 500);
}

TEST_F(Skins, TheCacheLimitIsTheOneLastSet) {
    gui::SkinsSetup setup = app->skinsSetup();
    setup.cacheLimitMegabytes = 120;
    QList<int> remembered;
    setup.rememberCacheLimit = [&remembered](int megabytes) { remembered.append(megabytes); };
    app->setSkinsSetup(setup);
    open();
    auto* limit = control<QSpinBox>(shown, "spnSkinsCacheLimit");
    EXPECT_EQ(limit->value(), 120);
    limit->setValue(80);
    EXPECT_EQ(remembered, QList<int>{80});
}

TEST_F(Skins, ACardsToolTipGivesItsProblemsReasons) {
    open();
    for (int row = 0; row < list()->count(); ++row) {
        const QModelIndex index = list()->model()->index(row, 0);
        const auto* card = static_cast<const gui::SkinsModel*>(list()->model())->cardAt(row);
        const QString tip = index.data(Qt::ToolTipRole).toString();
        for (const qsizetype problem : card->problems) {
            const collection::Problem& found =
                shown->collection().problems[static_cast<std::size_t>(problem)];
            EXPECT_TRUE(tip.contains(found.reason)) << tip.toStdString();
        }
        EXPECT_TRUE(tip.contains(card->files().first())) << tip.toStdString();
    }
}

// A folder of many skins: the cards in view are drawn first, and only the pictures near the view
// stay in memory however far the list scrolls.
TEST_F(Skins, PicturesInViewComeFirstAndMemoryStaysBounded) {
    for (int i = 0; i < 900; ++i) {
        const QByteArray base = "B" + QByteArray::number(100 + i) + "FAMany_x";
        skins.write(base + ".cmx", test::validCmx(base));
        skins.write("B" + QByteArray::number(100 + i) + "FAManylgt_x.bmp", imageBytes(0xff808080, "BMP"));
    }
    open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->picturesInViewReady(); }, 5000));
    const auto [first, last] = list()->rowsInView();
    ASSERT_LT(last, list()->count() - 1); // the folder is longer than the view
    {
        const QMutexLocker lock(&mutex);
        for (int row = first; row <= last; ++row) {
            EXPECT_TRUE(painted.contains(static_cast<const gui::SkinsModel*>(list()->model())->keyAt(row)));
        }
        EXPECT_LT(painted.size(), list()->count());
    }
    QScrollBar* bar = list()->verticalScrollBar();
    while (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + bar->pageStep());
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown->picturesInViewReady(); }, 5000));
    }
    const int inView = list()->rowsInView().second - list()->rowsInView().first + 1;
    EXPECT_LE(shown->picturesInMemory(), std::max(256, 3 * inView));
    const QMutexLocker lock(&mutex);
    EXPECT_EQ(painted.size(), list()->count());
}
