#pragma once

#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

namespace vestimo::editor {

// Selecting a file: a bitmap goes into the viewer, a CMX file's text into the editor box (which
// locks the browser until the file is saved or closed).
void openSelectedFile(shell::SkinEditControls& window, const shell::Services& services);
// "Save CMX Changes".
void saveCmx(shell::SkinEditControls& window, const shell::Services& services);
// "Close Open File": back to browsing without writing anything.
void closeOpenFile(shell::SkinEditControls& window);

} // namespace vestimo::editor
