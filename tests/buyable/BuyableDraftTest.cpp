// The buyable skin maker's draft as a value: every command's outcome without a window.
#include "core/buyable/BuyableDraft.h"
#include "core/buyable/ExportWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vestimo::buyable;
using vestimo::FileFilter;
using vestimo::test::exists;
using vestimo::test::readAll;
using vestimo::test::TempDir;

namespace {

const QString SelectFileFirst = QStringLiteral("Please select a file first!");

// The draft after each step of the usual way through the window.
BuyableDraft loaded(const QString& bitmap = QStringLiteral("B100FAFitlgt_xyz.bmp")) {
    const DraftChange change = loadBitmap(BuyableDraft{}, bitmap);
    EXPECT_FALSE(change.isRefused());
    return change.draft.value_or(BuyableDraft{});
}

BuyableDraft picked(const QString& bitmap = QStringLiteral("B100FAFitlgt_xyz.bmp"),
                    const QString& cmx = QStringLiteral("B100FAFit_xyz.cmx")) {
    const DraftChange listing = loadCmxFile(loaded(bitmap));
    EXPECT_FALSE(listing.isRefused());
    const FileClick click = clickFile(*listing.draft, FileFilter::CmxFiles, cmx);
    EXPECT_FALSE(click.previewBitmap);
    EXPECT_FALSE(click.change.isRefused()) << click.change.message.toStdString();
    return click.change.draft.value_or(BuyableDraft{});
}

struct Boxes {
    QString bitmap, mesh, cmx;
    bool operator==(const Boxes&) const = default;
};
Boxes boxesOf(const BuyableDraft& draft) {
    return {bitmapBoxText(draft), meshBoxText(draft), cmxBoxText(draft)};
}
void PrintTo(const Boxes& b, std::ostream* out) {
    *out << '"' << b.bitmap.toStdString() << "\" \"" << b.mesh.toStdString() << "\" \"" << b.cmx.toStdString()
         << '"';
}

QString messageOf(const BuyableDraft& draft) {
    const ExportDecision decision = planExport(draft);
    EXPECT_FALSE(decision.plan.has_value());
    return decision.message;
}

} // namespace

TEST(BuyableDraft, StartsChoosingABitmapWithTheStartingTexts) {
    const BuyableDraft draft;
    EXPECT_EQ(draft.step, BuyableStep::Browsing);
    EXPECT_EQ(draft.listing(), FileFilter::Bitmaps);
    EXPECT_FALSE(draft.category.has_value());
    EXPECT_EQ(boxesOf(draft), (Boxes{"BMPFileName", "SKNFileName", "CMXFileName"}));
}

TEST(BuyableDraft, ClickingAFileFollowsWhatTheListShowed) {
    // A bitmap listing previews and changes nothing, in any step.
    for (const BuyableDraft& draft : {BuyableDraft{}, loaded()}) {
        const FileClick click = clickFile(draft, FileFilter::Bitmaps, QStringLiteral("a.bmp"));
        EXPECT_TRUE(click.previewBitmap);
        EXPECT_EQ(click.change.draft, draft);
    }
    // A pattern the window never sets is called a bug, and nothing happens.
    const FileClick foreign = clickFile(loaded(), std::nullopt, QStringLiteral("notes.txt"));
    EXPECT_FALSE(foreign.previewBitmap);
    EXPECT_TRUE(foreign.change.isRefused());
    EXPECT_EQ(foreign.change.message,
              "You are trying to open a file that isn't a bitmap image! You should never "
              "see this message though, and if you do it's a bug...");
    // CMX files mean nothing without a loaded bitmap to name.
    const FileClick early =
        clickFile(BuyableDraft{}, FileFilter::CmxFiles, QStringLiteral("B100FAFit_xyz.cmx"));
    EXPECT_EQ(early.change.draft, BuyableDraft{});
}

TEST(BuyableDraft, LoadingABitmapNeedsASelectionAndLocksTheBrowser) {
    const DraftChange none = loadBitmap(BuyableDraft{}, QString());
    EXPECT_TRUE(none.isRefused());
    EXPECT_EQ(none.message, SelectFileFirst);

    const BuyableDraft draft = loaded();
    EXPECT_EQ(draft.step, BuyableStep::BitmapLoaded);
    EXPECT_EQ(draft.listing(), FileFilter::Bitmaps);
    EXPECT_EQ(boxesOf(draft), (Boxes{"B100FAFitlgt_xyz.bmp", "SKNFileName", "CMXFileName"}));
    // Pressed again (its button is disabled then) it keeps the bitmap already loaded.
    EXPECT_EQ(loadBitmap(draft, QStringLiteral("other.bmp")).draft, draft);
}

TEST(BuyableDraft, LoadCmxFileNeedsALoadedBitmap) {
    for (const BuyableDraft& draft : {BuyableDraft{}, closeOpenFile(loaded())}) {
        const DraftChange change = loadCmxFile(draft);
        EXPECT_TRUE(change.isRefused());
        EXPECT_EQ(change.message, SelectFileFirst);
    }
    const DraftChange change = loadCmxFile(loaded());
    ASSERT_FALSE(change.isRefused());
    EXPECT_EQ(change.draft->step, BuyableStep::PickingCmx);
    EXPECT_EQ(change.draft->listing(), FileFilter::CmxFiles);
    EXPECT_FALSE(change.draft->hasCmx());
}

TEST(BuyableDraft, PickingTheCmxFileNamesTheMeshAndChoosesFormal) {
    const BuyableDraft draft = picked();
    EXPECT_EQ(draft.step, BuyableStep::ReadyToExport);
    EXPECT_EQ(draft.category, Category::Formal);
    EXPECT_EQ(draft.cmxBaseName, "B100FAFit_xyz");
    EXPECT_EQ(boxesOf(draft),
              (Boxes{"F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz"}));
    // Cut by characters: an upper-case extension, a multi-byte first character.
    EXPECT_EQ(boxesOf(picked("B100FAFitlgt_xyz.bmp", "B100FAFIT_XYZ.CMX")).cmx, "F100FAFIT_XYZ");
    EXPECT_EQ(boxesOf(picked(QStringLiteral("\u00C4100FA.bmp"), QStringLiteral("\u00C4100FA\u00E9.cmx"))),
              (Boxes{"F100FA.bmp", QStringLiteral("xskin-\u00C4100FA\u00E9-PELVIS-BODY"), "F100FA\u00E9"}));
}

TEST(BuyableDraft, RefusesACmxFileWithNothingBeforeItsExtension) {
    const DraftChange listing = loadCmxFile(loaded());
    const FileClick click = clickFile(*listing.draft, FileFilter::CmxFiles, QStringLiteral(".cmx"));
    EXPECT_TRUE(click.change.isRefused());
    EXPECT_EQ(click.change.message,
              "The CMX file .cmx has no name before its extension, so no buyable skin can be "
              "named after it. Please pick another CMX file.");
}

TEST(BuyableDraft, ACategoryPutsItsLetterInBothNamesAndLeavesTheMesh) {
    const std::pair<Category, QString> letters[] = {{Category::Swimwear, "S"},
                                                    {Category::Sleepwear, "L"},
                                                    {Category::Winterwear, "W"},
                                                    {Category::HighFashion, "H"},
                                                    {Category::Formal, "F"}};
    BuyableDraft draft = picked();
    for (const auto& [category, letter] : letters) {
        draft = chooseCategory(draft, category);
        EXPECT_EQ(draft.category, category);
        EXPECT_EQ(boxesOf(draft), (Boxes{letter + "100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY",
                                         letter + "100FAFit_xyz"}));
    }
    // Before a CMX file is picked there is no name to put a letter into.
    EXPECT_EQ(chooseCategory(loaded(), Category::Swimwear), loaded());
}

TEST(BuyableDraft, ASecondPickRecomputesTheNamesAndPutsFormalBack) {
    BuyableDraft draft = chooseCategory(picked(), Category::Swimwear);
    const DraftChange listing = loadCmxFile(draft);
    ASSERT_FALSE(listing.isRefused());
    // While the other CMX file is chosen, the first one stays exportable.
    EXPECT_TRUE(listing.draft->hasCmx());
    EXPECT_EQ(planExport(*listing.draft).plan->cmxFileName, "S9QBFAFit_xyz.CMX");
    draft =
        *clickFile(*listing.draft, FileFilter::CmxFiles, QStringLiteral("B401MAFit_abc.cmx")).change.draft;
    EXPECT_EQ(draft.category, Category::Formal);
    EXPECT_EQ(boxesOf(draft),
              (Boxes{"F100FAFitlgt_xyz.bmp", "xskin-B401MAFit_abc-PELVIS-BODY", "F401MAFit_abc"}));
    // The button clicked stays shown chosen, through the pick and a close.
    EXPECT_EQ(draft.categoryButton, Category::Swimwear);
    EXPECT_EQ(closeOpenFile(draft).categoryButton, Category::Swimwear);
}

TEST(BuyableDraft, CloseOpenFileEmptiesEverythingFromAnyStep) {
    for (const BuyableDraft& draft : {BuyableDraft{}, loaded(), *loadCmxFile(loaded()).draft, picked()}) {
        const BuyableDraft closed = closeOpenFile(draft);
        EXPECT_EQ(closed.step, BuyableStep::Browsing);
        EXPECT_FALSE(closed.hasBitmap());
        EXPECT_FALSE(closed.hasCmx());
        EXPECT_FALSE(closed.category.has_value());
        EXPECT_EQ(boxesOf(closed), (Boxes{"", "", ""}));
    }
    // A bitmap loaded after a close shows its name beside empty boxes.
    EXPECT_EQ(boxesOf(*loadBitmap(closeOpenFile(picked()), QStringLiteral("a.bmp")).draft),
              (Boxes{"a.bmp", "", ""}));
}

TEST(BuyableDraftExport, NeedsAPickedCmxFile) {
    for (const BuyableDraft& draft : {BuyableDraft{}, loaded(), *loadCmxFile(loaded()).draft}) {
        EXPECT_EQ(messageOf(draft), "You must load a cmx file before you can export the skin!");
    }
}

TEST(BuyableDraftExport, NeedsACategory) {
    // Picking chooses Formal, so only a draft made by hand lacks one; it must not export as "B...".
    BuyableDraft draft = picked();
    draft.category.reset();
    EXPECT_EQ(boxesOf(draft).bitmap, "B100FAFitlgt_xyz.bmp");
    EXPECT_EQ(messageOf(draft), "Please Select a type of buyable skin first!");
}

TEST(BuyableDraftExport, RefusesACmxNameShorterThanAnOutfitCode) {
    EXPECT_EQ(
        messageOf(picked("B100FAFitlgt_xyz.bmp", "abc.cmx")),
        "Could not export: the CMX name \"Fbc\" is shorter than the four characters of an outfit code.");
    EXPECT_TRUE(planExport(picked("B100FAFitlgt_xyz.bmp", "abcd.cmx")).plan.has_value());
}

TEST(BuyableDraftExport, RefusesNamesThatCannotStandInTheCmxText) {
    EXPECT_EQ(
        messageOf(picked("B100FAFitlgt_xyz.bmp", "B100FAFit_a\nb.cmx")),
        "Could not export: the name \"F9QBFAFit_a\\nb\" holds a line break (U+000A), which cannot stand in "
        "a CMX file. Please rename the files without it.");
    EXPECT_EQ(
        messageOf(picked("B100FAFitlgt_xyz.bmp", QStringLiteral("B100FAFit_\u0100.cmx"))),
        QStringLiteral("Could not export: the name \"F9QBFAFit_\u0100\" holds the character \"\u0100\" "
                       "(U+0100), which the code page of CMX files (Windows-1252) does not have. Please "
                       "rename the files without it."));
}

TEST(BuyableDraftExport, PlansTheConvertedNamesAndTheCmxText) {
    const ExportDecision decision =
        planExport(chooseCategory(picked("B401MAPjs_abc.bmp", "B401MAPjs_abc.cmx"), Category::Sleepwear));
    ASSERT_TRUE(decision.plan.has_value());
    EXPECT_EQ(decision.plan->cmxFileName, "L8QBMAPjs_abc.CMX");
    EXPECT_EQ(decision.plan->bitmapFileName, "L8QBMAPjs_abc.bmp");
    EXPECT_EQ(decision.plan->cmxText,
              QByteArray::fromStdString(buyableCmxText("L8QBMAPjs_abc", "xskin-B401MAPjs_abc-PELVIS-BODY")));
    // A code outside the table keeps its own number under the category letter.
    EXPECT_EQ(planExport(picked("B123FA.bmp", "B123FA.cmx")).plan->bitmapFileName, "F123FA.bmp");
}

class ExportWriting : public ::testing::Test {
protected:
    ExportPlan plan() const { return *planExport(picked()).plan; }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    TempDir dir;
};

TEST_F(ExportWriting, WritesTheCmxTextAndTheBitmapBytesAsTheyAre) {
    EXPECT_EQ(writeExport(dir.path(), plan(), "BM bytes"), QString());
    EXPECT_EQ(readAll(dir.filePath("F9QBFAFit_xyz.CMX")), plan().cmxText);
    EXPECT_EQ(readAll(dir.filePath("F9QBFAFitlgt_xyz.bmp")), "BM bytes");
}

TEST_F(ExportWriting, NeverReplacesAFileOfEitherNameInAnyCase) {
    dir.write("f9qbfafitlgt_xyz.BMP", "mine");
    EXPECT_EQ(writeExport(dir.path(), plan(), "BM bytes"),
              "Could not export: f9qbfafitlgt_xyz.BMP is already in the skin directory.");
    EXPECT_EQ(files(), QStringList{"f9qbfafitlgt_xyz.BMP"});
    EXPECT_EQ(readAll(dir.filePath("f9qbfafitlgt_xyz.BMP")), "mine");
}

TEST_F(ExportWriting, ABitmapThatCannotBeWrittenTakesTheCmxFileBack) {
    dir.mkdir("F9QBFAFitlgt_xyz.bmp");
    const QString message = writeExport(dir.path(), plan(), "BM bytes");
    EXPECT_TRUE(message.startsWith("Could not export: F9QBFAFitlgt_xyz.bmp could not be written ("))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith("). Nothing was exported.")) << message.toStdString();
    EXPECT_TRUE(files().isEmpty());
}
