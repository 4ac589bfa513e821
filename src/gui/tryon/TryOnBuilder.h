#pragma once

#include "core/games/Discovery.h"
#include "core/tryon/TryOn.h"

#include <functional>
#include <vector>

namespace vestimo::gui {

// Puts a skin on the Sim: reads and poses its files. Runs off the window's thread.
using TryOnBuilder = std::function<tryon::TryOnScene(const tryon::TryOnRequest&)>;
// The program's own: the pieces that complete the Sim looked for in the skin's folder, then in
// `installs` (the one the folder belongs to first).
TryOnBuilder defaultTryOnBuilder(std::vector<core::games::GameInstall> installs);

} // namespace vestimo::gui
