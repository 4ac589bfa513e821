#include "core/editor/SkinEditState.h"

#include <gtest/gtest.h>

using namespace vestimo;
using namespace vestimo::editor;

namespace {

const QString SelectFileFirst = QStringLiteral("Please select a file first!");
const QString CloseFirst = QStringLiteral("Please close the open CMX file, or save it first.");
const QString ListLocked =
    QStringLiteral("The File List box will now be disabled until you close or save the CMX file.");

const platform::FileIdentity SomeFile{};

SkinEditState showing(std::optional<FileFilter> filter) {
    SkinEditState state = initialSkinEditState();
    state.filter = filter;
    return state;
}

SkinEditState editing(const QString& name) {
    return opened(showing(FileFilter::CmxFiles), name, SomeFile).state;
}

} // namespace

TEST(SkinEditState, StartsBrowsingBitmapsWithThePlaceholderInTheNameBox) {
    const SkinEditState state = initialSkinEditState();
    EXPECT_EQ(state.filter, FileFilter::Bitmaps);
    EXPECT_FALSE(state.openFile.has_value());
    EXPECT_FALSE(state.browsingLocked());
    EXPECT_EQ(state.nameBox, "CMX File Name");
}

TEST(SkinEditState, TheListsPatternDecidesTheFilterExactly) {
    EXPECT_EQ(filterShownBy("*.BMP"), FileFilter::Bitmaps);
    EXPECT_EQ(filterShownBy("*.CMX"), FileFilter::CmxFiles);
    // Any other pattern, even the same kind in another case, is neither.
    EXPECT_EQ(filterShownBy("*.cmx"), std::nullopt);
    EXPECT_EQ(filterShownBy("*.SKN"), std::nullopt);
    EXPECT_EQ(filterShownBy(""), std::nullopt);
    for (const FileFilter filter : {FileFilter::Bitmaps, FileFilter::CmxFiles}) {
        EXPECT_EQ(listShows(initialSkinEditState(), patternOf(filter)).filter, filter);
    }
    // Changing what the list shows leaves an open file open.
    const SkinEditState state = listShows(editing("B001FAFit_x.cmx"), "*.BMP");
    EXPECT_EQ(state.filter, FileFilter::Bitmaps);
    EXPECT_TRUE(state.browsingLocked());
}

TEST(SkinEditState, AClickAsksForWhatTheFilterShows) {
    const FileClick bitmap = clickFile(showing(FileFilter::Bitmaps), true);
    EXPECT_EQ(bitmap.action, FileClickAction::ShowBitmap);
    EXPECT_EQ(bitmap.message, "");
    const FileClick cmx = clickFile(showing(FileFilter::CmxFiles), true);
    EXPECT_EQ(cmx.action, FileClickAction::OpenCmx);
    EXPECT_EQ(cmx.message, "");
    const FileClick other = clickFile(showing(std::nullopt), true);
    EXPECT_EQ(other.action, FileClickAction::Nothing);
    EXPECT_EQ(other.message,
              "You are trying to open a non skin related file. This does not compute. Try using one "
              "of the other file options.");
}

TEST(SkinEditState, AClickWithNothingSelectedRereadsTheListEvenWhileEditing) {
    for (const SkinEditState& state :
         {showing(FileFilter::Bitmaps), showing(std::nullopt), editing("a.cmx")}) {
        const FileClick click = clickFile(state, false);
        EXPECT_EQ(click.action, FileClickAction::Reread);
        EXPECT_EQ(click.message, "");
    }
}

TEST(SkinEditState, WhileAFileIsOpenAClickOnAnEntryIsRefused) {
    const FileClick click = clickFile(editing("B001FAFit_x.cmx"), true);
    EXPECT_EQ(click.action, FileClickAction::Nothing);
    EXPECT_EQ(click.message, CloseFirst);
}

TEST(SkinEditState, OpeningLocksTheBrowserWithTheNoticeAndClosingFreesItQuietly) {
    platform::FileIdentity identity;
    identity.device = 3;
    identity.inode = 42;
    const Transition open = opened(showing(FileFilter::CmxFiles), "B001FAFit_x.cmx", identity);
    EXPECT_EQ(open.message, ListLocked);
    EXPECT_TRUE(open.state.browsingLocked());
    EXPECT_EQ(open.state.openFile, (OpenCmxFile{"B001FAFit_x.cmx", identity}));
    EXPECT_EQ(open.state.nameBox, "B001FAFit_x.cmx");
    EXPECT_EQ(open.state.filter, FileFilter::CmxFiles);

    const SkinEditState after = closed(open.state);
    EXPECT_FALSE(after.browsingLocked());
    EXPECT_FALSE(after.openFile.has_value());
    EXPECT_EQ(after.nameBox, "");
    EXPECT_EQ(after.filter, FileFilter::CmxFiles);
    // Closing when nothing is open changes only the name box.
    SkinEditState expected = initialSkinEditState();
    expected.nameBox.clear();
    EXPECT_EQ(closed(initialSkinEditState()), expected);
}

TEST(SkinEditState, SaveChecksSelectionThenKindThenAnOpenFileInThatOrder) {
    // Each refusal is the first that applies, whatever else is also wrong.
    EXPECT_EQ(refuseSave(showing(FileFilter::Bitmaps), false), SelectFileFirst);
    EXPECT_EQ(refuseSave(editing("a.cmx"), false), SelectFileFirst);
    EXPECT_EQ(refuseSave(showing(FileFilter::Bitmaps), true),
              "You cannot perform this action on a bmp file!");
    EXPECT_EQ(refuseSave(listShows(editing("a.cmx"), "*.BMP"), true),
              "You cannot perform this action on a bmp file!");
    EXPECT_EQ(refuseSave(showing(FileFilter::CmxFiles), true), "Please open a CMX file first!");
    EXPECT_EQ(refuseSave(showing(std::nullopt), true), "Please open a CMX file first!");
    EXPECT_EQ(refuseSave(closed(editing("a.cmx")), true), "Please open a CMX file first!");
    EXPECT_EQ(refuseSave(editing("a.cmx"), true), "");
    // A file open while the list shows another pattern is still saved.
    EXPECT_EQ(refuseSave(listShows(editing("a.cmx"), "*.SKN"), true), "");
}

TEST(SkinEditState, ASaveEndsTheEditingWithTheNews) {
    const Transition done = saved(editing("B001FAFit_x.cmx"));
    EXPECT_EQ(done.message, "File Saved!");
    EXPECT_EQ(done.state, closed(editing("B001FAFit_x.cmx")));
}

TEST(SkinEditState, SingleBitmapCommandsWantASelectionThenNotTheCmxList) {
    EXPECT_EQ(refuseSingleBitmapCommand(showing(FileFilter::CmxFiles), false), SelectFileFirst);
    EXPECT_EQ(refuseSingleBitmapCommand(showing(FileFilter::Bitmaps), false), SelectFileFirst);
    EXPECT_EQ(refuseSingleBitmapCommand(showing(FileFilter::CmxFiles), true),
              "You cannot perform this action on a CMX file!");
    EXPECT_EQ(refuseSingleBitmapCommand(editing("a.cmx"), true),
              "You cannot perform this action on a CMX file!");
    EXPECT_EQ(refuseSingleBitmapCommand(showing(FileFilter::Bitmaps), true), "");
    // Another pattern is not the CMX list.
    EXPECT_EQ(refuseSingleBitmapCommand(showing(std::nullopt), true), "");
}

TEST(SkinEditState, EditsInTheOpenFileAreAskedAboutBeforeTheyAreLost) {
    EXPECT_EQ(discardQuestion(initialSkinEditState()), "");
    SkinEditState state = editing("B001FAFit_x.cmx");
    EXPECT_EQ(discardQuestion(state), "");
    state = textEdited(state, true);
    EXPECT_TRUE(state.openFile->edited);
    EXPECT_EQ(discardQuestion(state), "Save the changes to B001FAFit_x.cmx before closing?");
    // Undone back to the text as read: nothing to lose.
    EXPECT_EQ(discardQuestion(textEdited(state, false)), "");
    // Closing or saving leaves nothing to ask about.
    EXPECT_EQ(discardQuestion(closed(state)), "");
    EXPECT_EQ(discardQuestion(saved(state).state), "");
    // A new file opens unedited.
    EXPECT_FALSE(opened(closed(state), "B002FAFit_y.cmx", SomeFile).state.openFile->edited);
}

TEST(SkinEditState, TextChangesWithNoFileOpenAreNotEdits) {
    EXPECT_EQ(textEdited(initialSkinEditState(), true), initialSkinEditState());
}

TEST(SkinEditState, TheViewerIsEmptiedByANewFolderOrListingButNotByANewSelection) {
    const ShownBitmap big{256, 256, 196662};
    SkinEditState bitmap = selects(browsedTo(initialSkinEditState(), "/skins"), "B001FAFitlgt_dress.bmp");
    bitmap = shows(bitmap, big);
    EXPECT_EQ(selectedPath(bitmap), "/skins/B001FAFitlgt_dress.bmp");
    EXPECT_TRUE(fitPossible(bitmap));
    ASSERT_TRUE(shownPicture(bitmap).has_value());
    EXPECT_EQ(shownPicture(bitmap)->widthHiMetric, textures::shownPictureOf(256, 256).widthHiMetric);
    const struct {
        const char* step;
        SkinEditState after;
        bool pictureKept;
    } steps[] = {
        {"another folder", browsedTo(bitmap, "/other"), false},
        {"another listing", listShows(bitmap, "*.CMX"), false},
        {"a selection of another kind", selects(bitmap, "B001FAFit_dress.cmx"), true},
        {"nothing selected", selects(bitmap, ""), true},
        {"the picture put away", shows(bitmap, std::nullopt), false},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.after.picture.has_value(), s.pictureKept) << s.step;
        EXPECT_EQ(shownPicture(s.after).has_value(), s.pictureKept) << s.step;
        EXPECT_FALSE(fitPossible(s.after)) << s.step;
    }
}
