#pragma once

#include "gui/app/Services.h"
#include "gui/skinedit/SkinEditControls.h"

namespace vestimo::shell {

inline const QString selectFileFirst = QStringLiteral("Please select a file first!");
inline const QString notOnCmxFile = QStringLiteral("You cannot perform this action on a CMX file!");

// The preconditions of the single-bitmap commands: a selection, then not the CMX list. Shows the
// first that fails and returns true.
bool refuseSingleBitmapCommand(SkinEditControls& window, const Services& services);

// "Move this file": the selected bitmap goes into the program folder; the list is re-read.
void moveSelectedFile(SkinEditControls& window, const Services& services);

} // namespace vestimo::shell
