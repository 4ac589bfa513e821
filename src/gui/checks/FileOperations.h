#pragma once

#include "gui/app/MessageBoxes.h"

#include <QString>

namespace vestimo::gui {

// Asks first, then sends the file to the desktop trash; never deletes outright. Says so when no
// trash takes the file. Declining keeps the file without another word.
void recycle(platform::MessageBoxes& messages, const QString& FileName);

} // namespace vestimo::gui
