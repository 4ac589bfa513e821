#pragma once

#include "core/buyable/BuyableDraft.h"

#include <QString>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::buyable {

// Moves an export's two new files from `directory` into `skinsBuy`, where the game reads buyable
// outfits. Never overwrites: when a file of either name is already there (in any case), nothing
// moves. Given a journal, the two moves are a run of it, so History can put them back. Returns the
// one message to show.
QString moveIntoSkinsBuy(const QString& directory, const ExportPlan& plan, const QString& skinsBuy,
                         journal::Journal* journal = nullptr);

} // namespace vestimo::buyable
