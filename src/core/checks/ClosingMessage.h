#pragma once

#include "core/checks/DirectoryCheck.h"
#include "core/report/RunReport.h"

#include <QString>

#include <optional>

namespace vestimo::checks {

// What the player is told at the end of a directory-wide check.
struct ClosingMessage {
    enum class Kind {
        Stopped,       // the run stopped before its walk: the bar goes, then the message
        NothingListed, // no file of the check's kind: the message alone
        Completed,     // the closing message; the file list is read afresh and the bar goes
    };
    Kind kind = Kind::Completed;
    QString message;
    QString details; // empty when there is nothing to add
    // Every file the run judged or passed over, behind the message's "Report..." button; none
    // when the run stopped, or listed nothing and left no name out.
    std::optional<report::RunReport> report = std::nullopt;
    // Under the message when files could not be moved; empty otherwise.
    QString informative = {};
};

// The run's report: its counts, then one row per file, moved, left, not moved or passed over.
report::RunReport runReportFor(const DirectoryReport& report);

// The one message for `report` of a run of `check`.
ClosingMessage closingMessageFor(const DirectoryCheck& check, const DirectoryReport& report);

} // namespace vestimo::checks
