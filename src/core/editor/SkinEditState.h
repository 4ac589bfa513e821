#pragma once

#include "core/FileFilter.h"
#include "core/textures/AssociatedFiles.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/FileSystem.h"

#include <QString>

#include <optional>

// What the skin editing window is doing, as a plain value, and the steps that change it. Each step
// gives either the new state or the one message to show; the window only carries them out.
namespace vestimo::editor {

// The CMX file open in the editor.
struct OpenCmxFile {
    QString name;
    // The file as it was when read, so a save notices another program's change in the meantime.
    platform::FileIdentity identity;
    // The editor's text differs from what was read: closing now would lose typed work.
    bool edited = false;
    bool operator==(const OpenCmxFile&) const = default;
};

// The picture the viewer shows, as loaded from the selected file.
struct ShownBitmap {
    int width = 0;
    int height = 0;
    qint64 fileLength = 0;
    bool operator==(const ShownBitmap&) const = default;
};

struct SkinEditState {
    // The folder the lists show.
    QString folder;
    // The file list's selected entry; empty when nothing is selected.
    QString selected;
    // What the viewer shows; none while it is empty.
    std::optional<ShownBitmap> picture;
    // The kind of file the list shows; none when its pattern is neither kind.
    std::optional<FileFilter> filter = FileFilter::Bitmaps;
    // Set while a CMX file is open: the browser stays locked until it is saved or closed.
    std::optional<OpenCmxFile> openFile;
    // What the name box says: a placeholder at start, the open file's name, empty once it is closed.
    QString nameBox;

    bool browsingLocked() const { return openFile.has_value(); }
    bool hasSelection() const { return !selected.isEmpty(); }
    bool operator==(const SkinEditState&) const = default;
};

// The state of a newly made window.
SkinEditState initialSkinEditState();

// A step's outcome: the state to show and the message to show first (empty for none).
struct Transition {
    SkinEditState state;
    QString message;
};

// The filter whose pattern is `pattern` exactly, or none.
std::optional<FileFilter> filterShownBy(const QString& pattern);

// The file list now shows `pattern`'s files; the viewer is emptied.
SkinEditState listShows(SkinEditState state, const QString& pattern);
// The lists now show `folder`; the viewer is emptied.
SkinEditState browsedTo(SkinEditState state, const QString& folder);
// The file list's selection is now `name` (empty for none), however it came to change.
SkinEditState selects(SkinEditState state, const QString& name);
// The viewer now shows `picture`, or nothing.
SkinEditState shows(SkinEditState state, std::optional<ShownBitmap> picture);

// The selected file in the folder (the folder's own path joined with nothing when none is).
QString selectedPath(const SkinEditState& state);
// The shown picture as "Check BMP File" measures it; none while the viewer is empty.
std::optional<textures::ShownPicture> shownPicture(const SkinEditState& state);
// "Make It Fit" may be pressed: a bitmap selected in the bitmaps' list, shown, and worth fitting.
bool fitPossible(const SkinEditState& state);

// What a click on the file list asks for.
enum class FileClickAction {
    Nothing,    // only `message`
    ShowBitmap, // load the selected file into the viewer
    OpenCmx,    // read the selected file into the editor, then `opened`
    Reread,     // nothing is selected: re-read the list
};
struct FileClick {
    FileClickAction action = FileClickAction::Nothing;
    QString message;
};
FileClick clickFile(const SkinEditState& state, bool selected);

// The selected CMX file was read: the browser locks and the name box shows its name.
Transition opened(SkinEditState state, const QString& name, const platform::FileIdentity& identity);
// "Close Open File": back to browsing without writing anything.
SkinEditState closed(SkinEditState state);

// The editor's text now differs (or no longer differs) from the file as read.
SkinEditState textEdited(SkinEditState state, bool differs);
// The question (Save, Discard or Cancel) to ask before closing the file or the program would throw
// the open file's edits away, or empty when there is nothing to lose.
QString discardQuestion(const SkinEditState& state);

// "Save CMX Changes" before anything is written: the first refusal (selection, file kind, an open
// file), or empty when the editor's text may be written.
QString refuseSave(const SkinEditState& state, bool selected);
// The file was written: back to browsing, with the news.
Transition saved(SkinEditState state);

// "Check BMP File", "Move this file" and "Delete Current BMP File": the first refusal (selection,
// then not the CMX list), or empty.
QString refuseSingleBitmapCommand(const SkinEditState& state, bool selected);

// "Try It On": the CMX file open in the editor, else the bitmap selected in the bitmaps' list worn
// by the CMX file of `cmxNames` (the folder's) that claims it; none when neither is there.
std::optional<textures::SkinToTry> tryOnTarget(const SkinEditState& state, const QStringList& cmxNames);

} // namespace vestimo::editor
