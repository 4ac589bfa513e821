#pragma once

#include "gui/app/MessageBoxes.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::gui {

// Asks first, then sends the file to the desktop trash; never deletes outright. Says so when no
// trash takes the file. Declining keeps the file without another word. Given a journal, the trash
// is a run of it, with where in the trash the file went.
void recycle(MessageBoxes& messages, const QString& FileName, journal::Journal* journal = nullptr);

// "Save CMX Changes": writes `bytes` over `path` safely. Given a journal, the save is a run of it
// and what the file held before is kept there, so the save can be undone.
platform::FileResult saveCmxFile(const QString& path, const QByteArray& bytes,
                                 journal::Journal* journal = nullptr);

} // namespace vestimo::gui
