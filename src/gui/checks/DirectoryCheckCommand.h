#pragma once

#include "core/FileFilter.h"
#include "core/checks/DirectoryCheck.h"
#include "gui/app/Services.h"

#include <QString>

class QProgressBar;

namespace vestimo::gui {

class BackgroundRun;
class FileList;

// Where a directory-wide check runs from: what the window shows and the controls it lends.
struct CheckSite {
    FileFilter shown; // the kind of file the window's list shows now
    QString skinDirectory;
    QProgressBar& progressBar;
    FileList& fileList;
};

// Runs `check` from a window: refuses when the list shows the other kind of file; otherwise walks
// on a worker (see BackgroundRun) with the bar showing how far it has got, then, on the window's
// thread, tells the player the closing message with its details, reads the file list afresh and
// hides the bar. The run, or null when the command refused or another run holds the window.
BackgroundRun* runDirectoryCheckCommand(const checks::DirectoryCheck& check, const CheckSite& site,
                                        const Services& services, int lockWaitMs = checks::ProgramLockWaitMs);

} // namespace vestimo::gui
