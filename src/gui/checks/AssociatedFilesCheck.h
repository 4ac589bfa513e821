#pragma once

#include "gui/checks/DirectoryRun.h"
#include "core/textures/AssociatedFiles.h"

#include <QString>

namespace vestimo::textures {

// Moves every CMX file of `skinDirectory` of a skin class that no bitmap belongs to into
// `programDirectory`, with its mesh file when that is there under exactly the expected name.
// Bitmaps are never moved. The listing stays on disk afterwards.
shell::DirectoryReport checkAssociatedFilesIn(const QString& skinDirectory, const QString& programDirectory,
                                              shell::RunProgress& progress,
                                              int lockWaitMs = shell::ProgramLockWaitMs);

} // namespace vestimo::textures
