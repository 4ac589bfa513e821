#pragma once

#include <QString>

namespace vestimo::platform {

// File-list wildcards: "*" any run of characters, "?" one character, everything else literal
// (brackets included, so a skin name with "[" in it is still matched as written). Without regard
// to case, as the file lists of the game's home platform do.
bool wildcardMatch(const QString& pattern, const QString& name);

} // namespace vestimo::platform
