#pragma once

#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

namespace vestimo::textures {

// "Check BMP File": the viewer's picture against the texture table, with the selected file's length.
void checkBmp(shell::SkinEditControls& window, const shell::Services& services);
// "Check All BMP Files in Directory".
void checkAllBmp(shell::SkinEditControls& window, const shell::Services& services);
// "Check Associated Files For All CMX Files".
void checkAssociatedFiles(shell::SkinEditControls& window, const shell::Services& services);

} // namespace vestimo::textures
