#pragma once

#include "core/checks/DirectoryCheck.h"

#include <QString>

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
};

// The one message for `report` of a run of `check`.
ClosingMessage closingMessageFor(const DirectoryCheck& check, const DirectoryReport& report);

} // namespace vestimo::checks
