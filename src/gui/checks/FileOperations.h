#pragma once

#include "platform/FileSystem.h"
#include "gui/app/MessageBoxes.h"

#include <QString>

namespace vestimo::shell {

// Moves skin directory/name into the program folder under the same name. Refuses (and keeps the
// file where it is) when a file of that name is already there, the file has gone, or the skin
// directory is the program folder itself.
platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name);

// Asks first, then sends the file to the desktop trash; never deletes outright. Says so when no
// trash takes the file. Declining keeps the file without another word.
void recycle(platform::MessageBoxes& messages, const QString& FileName);

} // namespace vestimo::shell
