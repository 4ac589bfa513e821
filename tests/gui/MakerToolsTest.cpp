#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/catalogue/MakerTools.h"
#include "core/catalogue/SingleChecks.h"
#include "core/checks/SkinChecks.h"
#include "core/report/SkinSetReport.h"
#include "gui/fit/FitPreviewDialog.h"
#include "gui/history/HistoryWindow.h"
#include "gui/report/SkinReportWindow.h"
#include "platform/fit/TextureFit.h"
#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <memory>

using namespace vestimo;

namespace {

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray bitmap(int width, int height, int bits, std::uint32_t seed = 3) {
    return bytesOf(samples::MakeBmp({.width = width, .height = height, .bitsPerPixel = bits, .seed = seed}));
}

// Every file of `folder` with its bytes, to show that nothing was written or moved.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> all;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        all.insert(name, test::readAll(QDir(folder).filePath(name)));
    }
    return all;
}

} // namespace

class MakeItFit : public test::AppFixture {
protected:
    MakeItFit() {
        app->setFitConfirmer([this](QWidget*, const gui::FitPreview& preview) {
            previews.append(preview);
            return answer;
        });
    }
    // Writes `bytes` as `name` in the skin folder, lists the bitmaps there and selects it.
    void showBitmap(const QString& name, const QByteArray& bytes) {
        skins.write(name, bytes);
        browseSkinEdit();
        auto* list = skinEditNamed().File1;
        list->refresh();
        ASSERT_TRUE(list->setListIndex(static_cast<int>(list->entries().indexOf(name))))
            << name.toStdString();
    }
    QPushButton* fitButton() { return control<QPushButton>(&skinEdit(), "cmdFitBMP"); }
    // Presses "Make It Fit" as the player would: only an enabled button can be.
    void pressFit() {
        ASSERT_TRUE(fitButton()->isEnabled());
        messages.clear();
        QTest::mouseClick(fitButton(), Qt::LeftButton);
    }
    QString checkBmp() {
        messages.clear();
        QTest::mouseClick(skinEditNamed().cmdCheckBMP, Qt::LeftButton);
        return messages.messages.value(0);
    }

    QList<gui::FitPreview> previews;
    bool answer = true;
};

TEST_F(MakeItFit, TheButtonStandsUnderCheckBmpFileAndIsOnlyForAnOversizedListedBitmap) {
    EXPECT_EQ(fitButton()->text(), "Make It Fit");
    EXPECT_FALSE(fitButton()->isEnabled()); // nothing selected

    showBitmap("B001FAFitlgt_big.bmp", bitmap(256, 256, 24));
    EXPECT_TRUE(fitButton()->isEnabled());
    showBitmap("B001FAFitlgt_small.bmp", bitmap(256, 256, 8)); // 66,614 bytes, under 75,000
    EXPECT_FALSE(fitButton()->isEnabled());
    showBitmap("B001FAFitlgt_odd.bmp", bitmap(300, 200, 24)); // no such size in the table
    EXPECT_FALSE(fitButton()->isEnabled());
    showBitmap("B001FAFitlgt_wide.bmp", bitmap(512, 256, 32));
    EXPECT_TRUE(fitButton()->isEnabled());
    showBitmap("B001FAFitlgt_broken.bmp", "not a picture at all");
    EXPECT_FALSE(fitButton()->isEnabled());

    // The list read afresh without the selected file leaves nothing to fit.
    showBitmap("B001FAFitlgt_big.bmp", bitmap(256, 256, 24));
    ASSERT_TRUE(QFile::remove(skins.filePath("B001FAFitlgt_big.bmp")));
    skinEditNamed().File1->refresh();
    EXPECT_FALSE(fitButton()->isEnabled());

    // A list of CMX files, and a CMX file open in the editor.
    showBitmap("B001FAFitlgt_wide.bmp", bitmap(512, 256, 32));
    ASSERT_TRUE(fitButton()->isEnabled());
    skins.write("B001FAFit_wide.cmx", test::validCmx("B001FAFit_wide"));
    QTest::mouseClick(skinEditNamed().Option2, Qt::LeftButton);
    EXPECT_FALSE(fitButton()->isEnabled());
    auto* list = skinEditNamed().File1;
    ASSERT_TRUE(list->setListIndex(static_cast<int>(list->entries().indexOf("B001FAFit_wide.cmx"))));
    EXPECT_FALSE(fitButton()->isEnabled());
    QTest::mouseClick(skinEditNamed().cmdCloseFile, Qt::LeftButton);
    QTest::mouseClick(skinEditNamed().Option1, Qt::LeftButton);
    EXPECT_FALSE(fitButton()->isEnabled()); // the new list has nothing selected
}

// Each depth at the sizes players meet most, then every other size of the table once.
class FittingEachTexture : public MakeItFit,
                           public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(FittingEachTexture, YesReplacesTheFileWithThe8BitResultThatThenPassesBothChecks) {
    const auto [width, height, bits] = GetParam();
    const QString name = "B001FAFitlgt_skin.bmp";
    const QByteArray original = bitmap(width, height, bits);
    ASSERT_GT(static_cast<std::size_t>(original.size()), samples::TextureLimitFor(width, height));
    showBitmap(name, original);
    EXPECT_EQ(checkBmp(), "This is a not a valid Skin File.");

    pressFit();
    EXPECT_EQ(messages.messages, QStringList());
    ASSERT_EQ(previews.size(), 1);
    const gui::FitPreview& preview = previews[0];
    EXPECT_EQ(preview.name, name);
    EXPECT_EQ(preview.originalBytes, original.size());
    EXPECT_EQ(preview.resultBytes, platform::fittedFileSize(width, height));
    EXPECT_EQ(preview.limit, static_cast<qint64>(samples::TextureLimitFor(width, height)));
    EXPECT_EQ(preview.original.size(), QSize(width, height));
    EXPECT_EQ(preview.result.size(), QSize(width, height));

    const QByteArray written = test::readAll(skins.filePath(name));
    EXPECT_EQ(written.size(), platform::fittedFileSize(width, height));
    EXPECT_EQ(written.mid(28, 2), QByteArray("\x08\x00", 2)); // 8 bits per pixel
    // The viewer shows the new file, and the button has nothing left to do.
    EXPECT_EQ(skinEditNamed().Picture1->fileBytes(), written);
    EXPECT_TRUE(control<QLabel>(&skinEdit(), "lblBitmapInfo")->text().contains("8-bit"));
    EXPECT_FALSE(fitButton()->isEnabled());
    EXPECT_EQ(checkBmp(), "This is a valid Skin File.");

    messages.clear();
    QTest::mouseClick(skinEditNamed().cmdCheckAllBMP, Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    EXPECT_EQ(messages.messages.value(0), checks::bitmapCheck().closingMessage);
    EXPECT_EQ(test::readAll(skins.filePath(name)), written);
    EXPECT_FALSE(test::exists(QDir(program.path()).filePath(name)));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FittingEachTexture,
                         ::testing::Values(std::tuple(256, 256, 24), std::tuple(256, 256, 32),
                                           std::tuple(512, 256, 24), std::tuple(512, 256, 32),
                                           std::tuple(256, 128, 32), std::tuple(128, 128, 24),
                                           std::tuple(64, 64, 32), std::tuple(32, 32, 24)));

TEST_F(MakeItFit, NoChangesNothingAndPutBackRestoresTheOriginalBytesExactly) {
    const QString name = "B002FAFitmed_skin.bmp";
    const QByteArray original = bitmap(256, 256, 24, 11);
    showBitmap(name, original);
    answer = false;
    pressFit();
    EXPECT_EQ(previews.size(), 1);
    EXPECT_EQ(messages.messages, QStringList());
    EXPECT_EQ(test::readAll(skins.filePath(name)), original);
    EXPECT_TRUE(fitButton()->isEnabled());

    answer = true;
    pressFit();
    ASSERT_NE(test::readAll(skins.filePath(name)), original);

    app->showHistory();
    auto* tree = control<QTreeWidget>(app->history(), "treHistory");
    ASSERT_GE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* run = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0).contains("Make It Fit") ||
            tree->topLevelItem(i)->text(1).contains("Make It Fit")) {
            run = tree->topLevelItem(i);
        }
    }
    ASSERT_NE(run, nullptr) << "no run of Make It Fit in History";
    tree->clearSelection();
    run->setSelected(true);
    messages.clear();
    QTest::mouseClick(control<QPushButton>(app->history(), "cmdPutBack"), Qt::LeftButton);
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(test::readAll(skins.filePath(name)), original);
}

TEST_F(MakeItFit, AFileThatNoLongerDecodesOrHasAnUnlistedSizeIsRefusedAndLeftAlone) {
    const QString name = "B003FAFitdrk_skin.bmp";
    showBitmap(name, bitmap(256, 256, 24));
    skins.write(name, "no longer a bitmap");
    pressFit();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith(name + " cannot be made to fit: it is not a bitmap"))
        << messages.messages[0].toStdString();
    EXPECT_EQ(test::readAll(skins.filePath(name)), "no longer a bitmap");

    showBitmap(name, bitmap(256, 256, 24));
    const QByteArray unlisted = bitmap(300, 300, 24);
    skins.write(name, unlisted);
    pressFit();
    EXPECT_EQ(
        messages.messages,
        QStringList{name + " cannot be made to fit: 300 x 300 is not a texture size the game accepts."});
    EXPECT_EQ(test::readAll(skins.filePath(name)), unlisted);

    showBitmap(name, bitmap(256, 256, 24));
    const QByteArray valid = bitmap(256, 256, 8);
    skins.write(name, valid);
    pressFit();
    EXPECT_EQ(messages.messages, QStringList{name + " is already within its size's limit."});
    EXPECT_EQ(test::readAll(skins.filePath(name)), valid);
    EXPECT_TRUE(previews.isEmpty());
}

TEST_F(MakeItFit, ALinkIsNeverWrittenThroughAndAFileChangedDuringThePreviewStays) {
    const QString name = "B004FAFitlgt_skin.bmp";
    const QByteArray original = bitmap(256, 256, 24);
    test::TempDir elsewhere;
    const QString target = elsewhere.write("outside.bmp", original);
    showBitmap(name, original);
    ASSERT_TRUE(QFile::remove(skins.filePath(name)));
    ASSERT_TRUE(QFile::link(target, skins.filePath(name)));
    pressFit();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not save " + name + ": "))
        << messages.messages[0].toStdString();
    EXPECT_EQ(test::readAll(target), original);
    EXPECT_TRUE(QFileInfo(skins.filePath(name)).isSymLink());

    const QString other = "B005FAFitlgt_skin.bmp";
    showBitmap(other, original);
    const QByteArray replaced = bitmap(256, 256, 24, 99);
    app->setFitConfirmer([&](QWidget*, const gui::FitPreview&) {
        skins.write(other, replaced); // another program writes while the player looks
        return true;
    });
    pressFit();
    EXPECT_EQ(messages.messages,
              QStringList{other + " changed on disk while the preview was open, so it was left as it is."});
    EXPECT_EQ(test::readAll(skins.filePath(other)), replaced);
}

TEST_F(MakeItFit, ThePreviewShowsBothPicturesAtOneAndTwoToOneWithTheirLengthsAndSaysNoByDefault) {
    QImage original(4, 2, QImage::Format_RGB32);
    original.fill(Qt::red);
    original.setPixel(1, 0, qRgb(0, 0, 255));
    QImage result = original;
    result.setPixel(3, 1, qRgb(0, 255, 0));
    const gui::FitPreview preview{"a.bmp", original, result, 196662, 66614, 256, 256, 75000};
    gui::FitPreviewDialog dialog(preview);
    dialog.show();
    EXPECT_EQ(dialog.objectName(), "frmFitPreview");
    EXPECT_EQ(control<QLabel>(&dialog, "lblFitOriginalSize")->text(), "Now: 196,662 bytes");
    EXPECT_EQ(control<QLabel>(&dialog, "lblFitResultSize")->text(),
              "Made to fit (8-bit, 256 colours): 66,614 bytes");
    EXPECT_EQ(control<QLabel>(&dialog, "lblFitLimit")->text(),
              "The limit for a 256 x 256 texture is 75,000 bytes.");
    const auto picture = [&](const char* name) {
        return control<QLabel>(&dialog, name)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(picture("picFitOriginal1"), original);
    EXPECT_EQ(picture("picFitResult1"), result);
    const QImage doubled = picture("picFitResult2");
    ASSERT_EQ(doubled.size(), QSize(8, 4));
    // Nearest neighbour: each pixel a flat 2 x 2 square, no blending at the edges.
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(doubled.pixel(x, y), result.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
    EXPECT_EQ(picture("picFitOriginal2").size(), QSize(8, 4));

    auto* yes = control<QPushButton>(&dialog, "cmdFitYes");
    auto* no = control<QPushButton>(&dialog, "cmdFitNo");
    EXPECT_TRUE(no->isDefault());
    EXPECT_FALSE(yes->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    gui::FitPreviewDialog again(preview);
    again.show();
    QTest::mouseClick(control<QPushButton>(&again, "cmdFitYes"), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Accepted);
}

class SkinSetReportWindow : public test::AppFixture {
protected:
    SkinSetReportWindow() {
        app->setWindowShower([this](QWidget* window) {
            shown = window;
            window->show();
        });
    }
    // A body skin with two tones and no mesh, one complete with its mesh, a misnamed one, a bitmap
    // no skin claims, names that differ in case and two files of the same content.
    void writeSkinSet() {
        skins.write("B001FAFit_dress.cmx", bytesOf(samples::ValidBodyCmx("B001FAFit_dress")));
        skins.write("B001FAFitlgt_dress.bmp", bitmap(32, 32, 24, 1));
        skins.write("B001FAFitmed_dress.bmp", bitmap(32, 32, 24, 2));
        skins.write("B002MAFit_suit.cmx", bytesOf(samples::ValidBodyCmx("B002MAFit_suit")));
        for (const char* tone : {"lgt", "med", "drk"}) {
            skins.write(QStringLiteral("B002MAFit%1_suit.bmp").arg(QLatin1String(tone)),
                        bitmap(32, 32, 24, static_cast<std::uint32_t>(10 + tone[0])));
        }
        skins.write("xskin-B002MAFit_suit-PELVIS-BODY.skn", "mesh");
        skins.write("B003FAFit_named.cmx", bytesOf(samples::ValidBodyCmx("B003FAFit_other")));
        skins.write("stray.bmp", bitmap(32, 32, 24, 5));
        skins.write("Stray.BMP", bitmap(32, 32, 24, 6));
        skins.write("copy.bmp", bitmap(32, 32, 24, 5));
    }
    gui::SkinReportWindow* openReport() {
        browseSkinEdit();
        messages.clear();
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdSkinReport"), Qt::LeftButton);
        EXPECT_TRUE(test::finishRuns());
        EXPECT_EQ(messages.messages, QStringList());
        return qobject_cast<gui::SkinReportWindow*>(shown.data());
    }
    QStringList column(gui::SkinReportWindow& window, int column) {
        const QAbstractItemModel* model = control<QTableView>(&window, "tblSkinReport")->model();
        QStringList cells;
        for (int row = 0; row < model->rowCount(); ++row) {
            cells.append(model->index(row, column).data().toString());
        }
        return cells;
    }
    QPointer<QWidget> shown;
};

TEST_F(SkinSetReportWindow, ShowsTheFolderReportRowByRowAndTouchesNothing) {
    writeSkinSet();
    const QMap<QString, QByteArray> before = contentsOf(skins.path());
    auto* window = openReport();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "frmSkinReport");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(contentsOf(skins.path()), before);
    EXPECT_EQ(contentsOf(program.path()).keys().filter(".bmp"), QStringList());

    const report::SkinSetReport expected = report::makeSkinSetReport(skins.path());
    ASSERT_TRUE(expected.ok);
    EXPECT_EQ(window->rows(), expected.rows);
    using W = gui::SkinReportWindow;
    const QStringList kinds = column(*window, W::KindColumn);
    ASSERT_EQ(kinds.size(), expected.rows.size());
    const QStringList files = column(*window, W::FilesColumn);
    const qsizetype dress = files.indexOf("B001FAFit_dress.cmx");
    ASSERT_GE(dress, 0);
    EXPECT_EQ(kinds[dress], "Body skin");
    EXPECT_EQ(column(*window, W::TonesPresentColumn)[dress], "lgt, med");
    EXPECT_EQ(column(*window, W::TonesMissingColumn)[dress], "drk");
    EXPECT_EQ(column(*window, W::MeshColumn)[dress], "missing");
    const qsizetype suit = files.indexOf("B002MAFit_suit.cmx");
    ASSERT_GE(suit, 0);
    EXPECT_EQ(column(*window, W::TonesPresentColumn)[suit], "lgt, med, drk");
    EXPECT_EQ(column(*window, W::TonesMissingColumn)[suit], "");
    EXPECT_EQ(column(*window, W::MeshColumn)[suit], "present");
    for (int row = 0; row < kinds.size(); ++row) {
        EXPECT_EQ(kinds[row], report::rowKindText(expected.rows[row].kind));
        EXPECT_EQ(files[row], expected.rows[row].files.join(", "));
        EXPECT_EQ(column(*window, W::DescriptionColumn)[row], expected.rows[row].description);
        EXPECT_EQ(column(*window, W::AdviceColumn)[row], expected.rows[row].advice);
    }
    EXPECT_TRUE(kinds.contains("Name on line 5"));
    EXPECT_TRUE(kinds.contains("Bitmap without skin"));
    EXPECT_TRUE(kinds.contains("Names differ only in case"));
    EXPECT_TRUE(kinds.contains("Identical files"));
    const auto bodySkins = kinds.count("Body skin");
    EXPECT_EQ(control<QLabel>(window, "lblSkinReportCount")->text(),
              QString("%1 rows, %2 of them body skins.").arg(kinds.size()).arg(bodySkins));
}

TEST_F(SkinSetReportWindow, SortsByAnyColumnAndCopiesTheRowsAsText) {
    writeSkinSet();
    auto* window = openReport();
    ASSERT_NE(window, nullptr);
    auto* table = control<QTableView>(window, "tblSkinReport");
    using W = gui::SkinReportWindow;
    table->sortByColumn(W::FilesColumn, Qt::AscendingOrder);
    QStringList files = column(*window, W::FilesColumn);
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return a.toCaseFolded() < b.toCaseFolded();
    }));
    table->sortByColumn(W::FilesColumn, Qt::DescendingOrder);
    files = column(*window, W::FilesColumn);
    EXPECT_TRUE(std::is_sorted(files.rbegin(), files.rend(), [](const QString& a, const QString& b) {
        return a.toCaseFolded() < b.toCaseFolded();
    }));
    // Kinds sort in the report's order, not alphabetically.
    table->sortByColumn(W::KindColumn, Qt::DescendingOrder);
    EXPECT_EQ(column(*window, W::KindColumn).first(), "Identical files");
    table->sortByColumn(W::KindColumn, Qt::AscendingOrder);
    EXPECT_EQ(column(*window, W::KindColumn), [&] {
        QStringList inOrder;
        for (const report::ReportRow& row : window->rows()) {
            inOrder.append(report::rowKindText(row.kind));
        }
        return inOrder;
    }());

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(control<QPushButton>(window, "cmdCopyReport"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), report::reportText(window->rows()));

    // Ctrl+C copies the rows selected, in the order shown.
    table->sortByColumn(W::FilesColumn, Qt::DescendingOrder);
    table->selectRow(0);
    table->setFocus();
    const QString first = column(*window, W::FilesColumn).first();
    QList<report::ReportRow> chosen = window->chosenRows();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0].files.join(", "), first);
    QGuiApplication::clipboard()->clear();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), report::reportText(chosen));

    QTest::mouseClick(control<QPushButton>(window, "cmdCloseSkinReport"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull()); // deleted when closed
}

TEST_F(SkinSetReportWindow, AFolderThatCannotBeListedIsToldAndNoWindowOpens) {
    const QString gone = skins.filePath("gone");
    ASSERT_TRUE(QDir().mkpath(gone));
    browseSkinEdit(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    messages.clear();
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdSkinReport"), Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not list " + QDir::toNativeSeparators(gone) +
                                                " for the report: "))
        << messages.messages[0].toStdString();
    EXPECT_TRUE(shown.isNull());
}
