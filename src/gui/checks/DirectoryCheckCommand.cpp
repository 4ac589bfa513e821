#include "gui/checks/DirectoryCheckCommand.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/Common.h"
#include "core/checks/ClosingMessage.h"
#include "core/journal/Journal.h"
#include "gui/app/BackgroundRun.h"
#include "gui/browser/FileList.h"

#include <QProgressBar>

#include <memory>

namespace vestimo::gui {

namespace {

// The closing message, with its report behind a button when the run has one.
void tell(MessageBoxes& messages, const checks::ClosingMessage& closing) {
    if (closing.report) {
        messages.showReport(closing.message, closing.informative, *closing.report);
    } else {
        messages.show(closing.message, closing.details);
    }
}

// The walk's progress, on the worker, handed to the run that shows it.
class ProgressOfRun : public checks::RunProgress {
public:
    explicit ProgressOfRun(BackgroundRun& run) : run_(run) {}
    void start(qint64 maximum) override {
        value_ = 0;
        run_.startProgress(maximum);
    }
    void advance(int characters) override {
        value_ += characters;
        run_.progress(value_);
    }
    void finish() override { run_.progress(value_, true); }

private:
    BackgroundRun& run_;
    qint64 value_ = 0;
};

// What a run leaves for its end: the report, and its closing message, worded on the worker since
// the details of a large folder take long to write.
struct RunEnd {
    checks::DirectoryReport report;
    checks::ClosingMessage closing;
    QStringList listing; // the folder's files of the check's kind afterwards, in the list's order
};

// The run's end on the window's thread: the closing message, the list read afresh, the bar gone.
void finish(const checks::DirectoryCheck& check, const CheckSite& site, MessageBoxes& messages, RunEnd& end) {
    const checks::DirectoryReport& report = end.report;
    checks::ClosingMessage& closing = end.closing;
    switch (closing.kind) {
    case checks::ClosingMessage::Kind::Stopped:
        site.progressBar.setVisible(false);
        messages.show(closing.message, closing.details);
        return;
    case checks::ClosingMessage::Kind::NothingListed:
        tell(messages, closing);
        return;
    case checks::ClosingMessage::Kind::Completed:
        break;
    }
    if (report.stoppedEarly) {
        // Said first: what follows counts only the files that had their turn.
        closing.informative = closing.informative.isEmpty()
                                  ? texts::checkCancelled()
                                  : texts::checkCancelled() + u'\n' + closing.informative;
    }
    tell(messages, closing);
    // The list ends on the files of this kind that are left; nothing selected when the check
    // rereads its kind.
    site.fileList.showListing(patternOf(check.filter), std::move(end.listing), !check.rereadsItsKind);
    site.progressBar.setVisible(false);
}

} // namespace

BackgroundRun* runDirectoryCheckCommand(const checks::DirectoryCheck& check, const CheckSite& site,
                                        const Services& services, int lockWaitMs) {
    if (site.shown != check.filter) {
        services.messages.show(fileKind(site.shown).wrongKind());
        return nullptr;
    }
    auto end = std::make_shared<RunEnd>();
    const QString skins = site.skinDirectory;
    const QString program = services.programDirectory;
    const QString journalFolder = journalFolderOf(services.journal, program);
    MessageBoxes* messages = &services.messages;
    return BackgroundRun::start(
        site.progressBar.window(), &site.progressBar,
        [check, skins, program, journalFolder, lockWaitMs, end](BackgroundRun& run) {
            const std::unique_ptr<journal::Journal> journal = openRunJournal(journalFolder);
            if (journal) {
                journal->setWaitPerRun(true);
            }
            checks::RunOptions options;
            options.lockWaitMs = lockWaitMs;
            options.journal = journal.get();
            options.stopRequested = [&run] { return run.stopRequested(); };
            ProgressOfRun progress(run);
            end->report = checks::runDirectoryCheck(check, skins, program, progress, options);
            end->closing = checks::closingMessageFor(check, end->report);
            if (end->closing.kind == checks::ClosingMessage::Kind::Completed) {
                end->listing = FileList::readListing(skins, patternOf(check.filter));
            }
        },
        [check, site, messages, end](bool) { finish(check, site, *messages, *end); });
}

} // namespace vestimo::gui
