#pragma once

#include "gui/app/MessageBoxes.h"

#include <QString>

namespace vestimo::gui {

// What a window's commands need beyond its own controls: where to tell the user things, and the
// program's own folder (where problem files and the scratch listing go).
struct Services {
    platform::MessageBoxes& messages;
    QString programDirectory;
};

} // namespace vestimo::gui
