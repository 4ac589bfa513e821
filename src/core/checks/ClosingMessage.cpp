#include "core/checks/ClosingMessage.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/History.h"
#include "core/catalogue/RunReport.h"

#include <QDir>

namespace vestimo::checks {

namespace {

ClosingMessage withReport(ClosingMessage::Kind kind, const QString& message, const DirectoryReport& report) {
    ClosingMessage closing{kind, message, report.details(), runReportFor(report)};
    const int notMoved = closing.report->count(report::RunVerdict::NotMoved);
    if (notMoved > 0) {
        closing.informative = texts::filesNotMovedSeeReport(notMoved);
    }
    return closing;
}

} // namespace

report::RunReport runReportFor(const DirectoryReport& run) {
    using report::RunVerdict;
    report::RunReport result;
    result.problemFolder = run.programDirectory;
    const auto add = [&](const DirectoryReport::Line& line, RunVerdict verdict) {
        const QString& folder = verdict == RunVerdict::Moved ? run.programDirectory : run.skinDirectory;
        result.rows.append({line.name, verdict, line.reason, platform::joinPath(folder, line.name)});
    };
    for (const DirectoryReport::Line& line : run.moved) {
        add(line, RunVerdict::Moved);
    }
    for (const DirectoryReport::Line& line : run.companions) {
        add(line, RunVerdict::Moved);
    }
    for (const DirectoryReport::Line& line : run.kept) {
        add(line, RunVerdict::Left);
    }
    // What could not be read stays where it is; what could not be moved is counted apart.
    for (const DirectoryReport::Line& line : run.trouble) {
        add(line, line.notMoved ? RunVerdict::NotMoved : RunVerdict::Left);
    }
    for (const DirectoryReport::Line& line : run.passedOverFiles) {
        add(line, RunVerdict::PassedOver);
    }
    for (const QString& name : run.leftOut) {
        add({name, texts::lineBreakInName()}, RunVerdict::PassedOver);
    }
    for (const QString& name : run.unnamable) {
        add({name, texts::nameNotValidText()}, RunVerdict::PassedOver);
    }

    const auto fact = [&](const QString& label, const QString& value) {
        result.facts.append({label, value});
    };
    fact(texts::factSkinFolder(), QDir::toNativeSeparators(run.skinDirectory));
    fact(texts::factProblemFolder(), QDir::toNativeSeparators(run.programDirectory));
    fact(texts::factJudged(), QString::number(run.judged));
    fact(texts::factMoved(), QString::number(run.moved.size()));
    if (run.companionsMoved > 0) {
        fact(run.companionsLabel, QString::number(run.companionsMoved));
    }
    fact(texts::factLeft(), QString::number(result.count(RunVerdict::Left)));
    fact(texts::factNotMoved(), QString::number(result.count(RunVerdict::NotMoved)));
    fact(texts::factPassedOver(), QString::number(result.count(RunVerdict::PassedOver)));
    if (run.earlierListingTrashed) {
        fact(texts::factListing(), texts::earlierListingTrashed());
    }
    // Last, as in the details: whether History can put the run back.
    switch (run.recording) {
    case DirectoryReport::Recording::Off:
        break;
    case DirectoryReport::Recording::Recorded:
        fact(texts::factHistory(),
             run.changedNothing() ? texts::runChangedNothing() : texts::runCanBeUndone());
        break;
    case DirectoryReport::Recording::NotRecorded:
        fact(texts::factHistory(), texts::runNotRecorded(run.notRecordedWhy));
        break;
    }
    return result;
}

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
        // Names that could not be listed are still worth a word, and so is a Temp.txt trashed.
        const bool unlisted =
            !report.leftOut.isEmpty() || !report.unnamable.isEmpty() || report.earlierListingTrashed;
        if (!unlisted) {
            return {ClosingMessage::Kind::NothingListed, fileKind(check.filter).noFiles(), {}};
        }
        return withReport(ClosingMessage::Kind::NothingListed, fileKind(check.filter).noFiles(), report);
    }
    case DirectoryReport::Outcome::Completed:
        break;
    }
    return withReport(ClosingMessage::Kind::Completed, check.closingMessage, report);
}

} // namespace vestimo::checks
