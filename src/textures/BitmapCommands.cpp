#include "textures/BitmapCommands.h"

namespace vestimo::textures {

void CheckBmp(shell::SkinEditControls&, const shell::Services&) {}
void CheckAllBmp(shell::SkinEditControls&, const shell::Services&) {}
void CheckAssociatedFiles(shell::SkinEditControls&, const shell::Services&) {}

} // namespace vestimo::textures
