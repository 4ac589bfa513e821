#pragma once

#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

namespace vestimo::cmx {

// "Check All CMX Files in Directory".
void checkAllCmx(shell::SkinEditControls& window, const shell::Services& services);

} // namespace vestimo::cmx
