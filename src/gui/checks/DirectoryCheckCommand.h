#pragma once

#include "core/FileFilter.h"
#include "core/checks/DirectoryCheck.h"
#include "gui/app/Services.h"

#include <QElapsedTimer>
#include <QString>

class QProgressBar;

namespace vestimo::gui {

class FileList;

// Drives the window's bar: shown at the start, advanced name by name and repainted as it goes.
// Hiding it is the command's last step, after its closing message.
class ProgressBarProgress : public checks::RunProgress {
public:
    explicit ProgressBarProgress(QProgressBar& bar) : bar_(bar) {}
    void start(qint64 maximum) override;
    void advance(int characters) override;
    void finish() override;

private:
    void show();

    QProgressBar& bar_;
    qint64 value_ = 0;
    QElapsedTimer sinceShown_;
    QElapsedTimer sinceEvents_;
};

// Where a directory-wide check runs from: what the window shows and the controls it lends.
struct CheckSite {
    FileFilter shown; // the kind of file the window's list shows now
    QString skinDirectory;
    QProgressBar& progressBar;
    FileList& fileList;
};

// Runs `check` from a window: refuses when the list shows the other kind of file, shows the bar
// while it walks, tells the player the closing message with its details, reads the file list
// afresh and hides the bar.
void runDirectoryCheckCommand(const checks::DirectoryCheck& check, const CheckSite& site,
                              const Services& services, int lockWaitMs = checks::ProgramLockWaitMs);

} // namespace vestimo::gui
