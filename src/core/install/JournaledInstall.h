#pragma once

#include "core/install/Install.h"

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::install {

// An installation as the commands run it: the report, and whether History can put it back.
struct RecordedInstall {
    InstallReport report;
    bool recorded = false; // the run and every file it installed are in the journal
    QString notRecorded;   // why (some of) it is not; empty when checking only or when recorded
};

// The downloads `paths` stand for: a folder holding archives stands for each of them (in name
// order), and for itself too when it also holds skin files; any other folder or file for itself.
QStringList expandDownloads(const QStringList& paths);

// Installs as installDownloads() does, each file recorded as an installation in one run of
// `journal` (so "Put Back" can take it away again). The journal never stops the installation: a
// journal that cannot record leaves the files installed and says why in `notRecorded`. Checking
// only records nothing.
RecordedInstall installRecorded(journal::Journal* journal, const QStringList& downloads,
                                const Destination& destination, const Options& options,
                                const platform::archive::EntryProgress& progress = {});

} // namespace vestimo::install
