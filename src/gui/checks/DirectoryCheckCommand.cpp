#include "gui/checks/DirectoryCheckCommand.h"

#include "core/catalogue/Common.h"
#include "core/checks/ClosingMessage.h"
#include "gui/browser/FileList.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace vestimo::gui {

namespace {

// Often enough to look smooth; a repaint per name would cost more than judging most files.
constexpr qint64 RepaintIntervalMs = 30;
// Enough to keep the window painted without letting the run crawl.
constexpr qint64 EventIntervalMs = 100;

int barValue(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

// The closing message, with its report behind a button when the run has one.
void tell(platform::MessageBoxes& messages, const checks::ClosingMessage& closing) {
    if (closing.report) {
        messages.showReport(closing.message, closing.informative, *closing.report);
    } else {
        messages.show(closing.message, closing.details);
    }
}

} // namespace

void ProgressBarProgress::start(qint64 maximum) {
    bar_.setVisible(true);
    bar_.setMaximum(barValue(maximum));
    bar_.setValue(0);
    value_ = 0;
    // Let the layout place the newly shown bar and paint it once; user input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceShown_.start();
    sinceEvents_.start();
}

void ProgressBarProgress::advance(int characters) {
    value_ += characters;
    if (sinceShown_.elapsed() >= RepaintIntervalMs) {
        show();
    }
}

void ProgressBarProgress::finish() {
    show();
}

void ProgressBarProgress::show() {
    // The bar repaints itself when the change shows.
    bar_.setValue(std::min(barValue(value_), bar_.maximum()));
    sinceShown_.restart();
    if (sinceEvents_.elapsed() >= EventIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceEvents_.restart();
    }
}

void runDirectoryCheckCommand(const checks::DirectoryCheck& check, const CheckSite& site,
                              const Services& services, int lockWaitMs) {
    if (site.shown != check.filter) {
        // Refused in the words of the kind the list shows.
        services.messages.show(fileKind(site.shown).wrongKind());
        return;
    }
    ProgressBarProgress progress(site.progressBar);
    const checks::DirectoryReport report = checks::runDirectoryCheck(
        check, site.skinDirectory, services.programDirectory, progress, lockWaitMs, services.journal);
    const checks::ClosingMessage closing = checks::closingMessageFor(check, report);
    switch (closing.kind) {
    case checks::ClosingMessage::Kind::Stopped:
        site.progressBar.setVisible(false);
        services.messages.show(closing.message, closing.details);
        return;
    case checks::ClosingMessage::Kind::NothingListed:
        tell(services.messages, closing);
        return;
    case checks::ClosingMessage::Kind::Completed:
        break;
    }
    tell(services.messages, closing);
    if (check.rereadsItsKind) {
        // The list ends on the files of this kind that are left, nothing selected.
        site.fileList.rereadWith(patternOf(check.filter));
    } else {
        site.fileList.refresh();
    }
    site.progressBar.setVisible(false);
}

} // namespace vestimo::gui
