#pragma once

#include "shell/Services.h"
#include "shell/SkinEditControls.h"

namespace vestimo::cmx {

// "Check All CMX Files in Directory".
void CheckAllCmx(shell::SkinEditControls& window, const shell::Services& services);

} // namespace vestimo::cmx
