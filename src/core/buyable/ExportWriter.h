#pragma once

#include "core/buyable/BuyableDraft.h"

#include <QByteArray>
#include <QString>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::buyable {

// Writes `plan`'s CMX file and then `bitmapBytes` (the loaded bitmap, byte for byte) into
// `directory`. Nothing is replaced: a file of either name, in any case, refuses the export, and a
// bitmap that cannot be written takes the CMX file back with it. Empty on success, else the one
// message that says why nothing (or what) was written. Given a journal, the export is a run of it
// and each new file is recorded before it is written; the journal's problem() then says whether
// it could be.
QString writeExport(const QString& directory, const ExportPlan& plan, const QByteArray& bitmapBytes,
                    journal::Journal* journal = nullptr);

} // namespace vestimo::buyable
