#include "core/editor/SkinEditState.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Windows.h"
#include "core/textures/FitDecision.h"

namespace vestimo::editor {

SkinEditState initialSkinEditState() {
    SkinEditState state;
    state.nameBox = texts::cmxNameBoxPlaceholder();
    return state;
}

std::optional<FileFilter> filterShownBy(const QString& pattern) {
    for (const FileKind& kind : fileKinds()) {
        if (pattern == kind.pattern) {
            return kind.filter;
        }
    }
    return std::nullopt;
}

SkinEditState listShows(SkinEditState state, const QString& pattern) {
    state.filter = filterShownBy(pattern);
    state.picture.reset();
    return state;
}

SkinEditState browsedTo(SkinEditState state, const QString& folder) {
    state.folder = folder;
    state.picture.reset();
    return state;
}

SkinEditState selects(SkinEditState state, const QString& name) {
    state.selected = name;
    return state;
}

SkinEditState shows(SkinEditState state, std::optional<ShownBitmap> picture) {
    state.picture = picture;
    return state;
}

QString selectedPath(const SkinEditState& state) {
    return platform::joinPath(state.folder, state.selected);
}

std::optional<textures::ShownPicture> shownPicture(const SkinEditState& state) {
    if (!state.picture) {
        return std::nullopt;
    }
    return textures::shownPictureOf(state.picture->width, state.picture->height);
}

bool fitPossible(const SkinEditState& state) {
    const bool picked = state.filter == FileFilter::Bitmaps && state.hasSelection();
    return textures::fitEnabled(
        {picked, state.selected, state.picture.has_value(), state.picture ? state.picture->width : 0,
         state.picture ? state.picture->height : 0, state.picture ? state.picture->fileLength : 0});
}

FileClick clickFile(const SkinEditState& state, bool selected) {
    if (!selected) {
        return {FileClickAction::Reread, {}};
    }
    if (state.browsingLocked()) {
        return {FileClickAction::Nothing, texts::closeOrSaveCmxFirst()};
    }
    if (!state.filter) {
        return {FileClickAction::Nothing, texts::notASkinFile()};
    }
    return {*state.filter == FileFilter::Bitmaps ? FileClickAction::ShowBitmap : FileClickAction::OpenCmx,
            {}};
}

Transition opened(SkinEditState state, const QString& name, const platform::FileIdentity& identity) {
    state.openFile = OpenCmxFile{name, identity};
    state.nameBox = name;
    return {std::move(state), texts::fileListLocked()};
}

SkinEditState closed(SkinEditState state) {
    state.openFile.reset();
    state.nameBox.clear();
    return state;
}

SkinEditState textEdited(SkinEditState state, bool differs) {
    if (state.openFile) {
        state.openFile->edited = differs;
    }
    return state;
}

QString discardQuestion(const SkinEditState& state) {
    if (!state.openFile || !state.openFile->edited) {
        return {};
    }
    return texts::saveChangesTo(state.openFile->name);
}

QString refuseSave(const SkinEditState& state, bool selected) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (state.filter == FileFilter::Bitmaps) {
        return texts::notOnBmpFileLower();
    }
    // After a close the selection stays but no file is open: there is no name to write under.
    if (!state.openFile) {
        return texts::openCmxFileFirst();
    }
    return {};
}

Transition saved(SkinEditState state) {
    return {closed(std::move(state)), texts::fileSaved()};
}

QString refuseSingleBitmapCommand(const SkinEditState& state, bool selected) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (state.filter == FileFilter::CmxFiles) {
        return texts::notOnCmxFile();
    }
    return {};
}

std::optional<textures::SkinToTry> tryOnTarget(const SkinEditState& state, const QStringList& cmxNames) {
    if (state.openFile) {
        return textures::SkinToTry{state.openFile->name, {}};
    }
    if (state.filter != FileFilter::Bitmaps || kindOfPath(state.selected) != FileFilter::Bitmaps) {
        return std::nullopt;
    }
    const QString claiming = textures::skinClaiming(state.selected, cmxNames);
    if (claiming.isEmpty()) {
        return std::nullopt;
    }
    return textures::SkinToTry{claiming, state.selected};
}

} // namespace vestimo::editor
