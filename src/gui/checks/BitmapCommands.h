#pragma once

#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

namespace vestimo::textures {

// "Check BMP File": the viewer's picture against the texture table, with the selected file's length.
void checkBmp(shell::SkinEditControls& window, const shell::Services& services);

} // namespace vestimo::textures
