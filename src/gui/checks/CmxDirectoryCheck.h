#pragma once

#include "gui/checks/DirectoryRun.h"

#include <QString>

namespace vestimo::cmx {

// Walks every CMX file of `skinDirectory` whose name is of a skin class, with the hand bones
// allowed in the first bone slot, and moves each faulty one into `programDirectory`. A file that
// cannot be opened or read is reported and stays. The listing is deleted afterwards.
shell::DirectoryReport checkCmxDirectory(const QString& skinDirectory, const QString& programDirectory,
                                         shell::RunProgress& progress,
                                         int lockWaitMs = shell::ProgramLockWaitMs);

} // namespace vestimo::cmx
