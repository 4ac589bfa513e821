#include "core/checks/ClosingMessage.h"

#include "core/catalogue/Checks.h"

namespace vestimo::checks {

ClosingMessage closingMessageFor(const DirectoryCheck& check, const DirectoryReport& report) {
    switch (report.outcome) {
    case DirectoryReport::Outcome::Busy:
        return {ClosingMessage::Kind::Stopped, texts::programFolderBusy(report.programDirectory), {}};
    case DirectoryReport::Outcome::SameFolder:
        return {ClosingMessage::Kind::Stopped, texts::skinFolderIsProgramFolder(report.skinDirectory), {}};
    case DirectoryReport::Outcome::ListingFailed:
    case DirectoryReport::Outcome::FolderUnreadable:
        return {ClosingMessage::Kind::Stopped, report.failure, {}};
    case DirectoryReport::Outcome::NothingListed: {
        // Names that could not be listed are still worth a word.
        const bool unlisted = !report.leftOut.isEmpty() || !report.unnamable.isEmpty();
        return {ClosingMessage::Kind::NothingListed, texts::noFilesInDirectory(check.filter),
                unlisted ? report.details() : QString()};
    }
    case DirectoryReport::Outcome::Completed:
        break;
    }
    return {ClosingMessage::Kind::Completed, check.closingMessage, report.details()};
}

} // namespace vestimo::checks
