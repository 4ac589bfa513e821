#pragma once

#include "core/install/Install.h"
#include "core/install/JournaledInstall.h"
#include "core/report/RunReport.h"

namespace vestimo::install {

// An installation as the report window shows it: where it went and whether History can put it
// back, then one row per file of every download (and one per download that could not be read),
// each with its verdict, reason and the file it became.
report::RunReport installRunReport(const RecordedInstall& done, const Destination& destination);

} // namespace vestimo::install
