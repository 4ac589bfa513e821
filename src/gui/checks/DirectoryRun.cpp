#include "gui/checks/DirectoryRun.h"

#include "platform/ProgramLock.h"
#include "gui/checks/FileOperations.h"
#include "gui/checks/ScratchListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace vestimo::shell {

namespace {

// Often enough to look smooth; a repaint per name would cost more than judging most files.
constexpr qint64 RepaintIntervalMs = 30;
// Enough to keep the window painted without letting the run crawl.
constexpr qint64 EventIntervalMs = 100;

int barValue(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A name as it can stand on one line of the details.
QString oneLine(QString name) {
    return name.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
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

bool DirectoryReport::Move(const QString& name, const QString& reason) {
    const platform::FileResult result = moveToProgramDirectory(skinDirectory, programDirectory, name);
    if (result.ok) {
        moved.append({name, reason});
        return true;
    }
    trouble.append({name, QStringLiteral("could not be moved (%1): %2").arg(reason, result.error)});
    return false;
}

QString DirectoryReport::details() const {
    QStringList lines;
    lines << QStringLiteral("Skin folder: %1").arg(Shown(skinDirectory));
    lines << QStringLiteral("Files judged: %1").arg(judged);
    lines << QStringLiteral("Files moved: %1, into %2").arg(moved.size()).arg(Shown(programDirectory));
    if (companionsMoved > 0) {
        lines << QStringLiteral("%1: %2").arg(companionsLabel).arg(companionsMoved);
    }
    lines << QStringLiteral("Files left: %1").arg(judged - static_cast<int>(moved.size()));
    if (passedOver > 0) {
        lines << QStringLiteral("%1: %2").arg(passedOverLabel).arg(passedOver);
    }
    if (!moved.isEmpty()) {
        lines << QString() << QStringLiteral("Moved:");
        for (const Line& line : moved) {
            lines << QStringLiteral("%1: %2").arg(oneLine(line.name), line.reason);
        }
    }
    if (!trouble.isEmpty()) {
        lines << QString() << QStringLiteral("Could not be read or moved, left where they were:");
        for (const Line& line : trouble) {
            lines << QStringLiteral("%1: %2").arg(oneLine(line.name), line.reason);
        }
    }
    if (!leftOut.isEmpty()) {
        lines << QString()
              << QStringLiteral("Not judged, because a line break in the name keeps it off the list:");
        for (const QString& name : leftOut) {
            lines << oneLine(name);
        }
    }
    if (!unnamable.isEmpty()) {
        lines << QString()
              << QStringLiteral("Not judged, because the name is not valid text here (rename it):");
        for (const QString& name : unnamable) {
            lines << oneLine(name);
        }
    }
    return lines.join(u'\n');
}

DirectoryReport runOverListing(const QString& skinDirectory, const QString& programDirectory,
                               const QString& filter, RunProgress& progress, const Turn& turn,
                               bool keepListing, int lockWaitMs, const Listed& listed) {
    DirectoryReport report;
    report.skinDirectory = skinDirectory;
    report.programDirectory = programDirectory;

    // Problem files go into the program folder: checking that folder itself could move nothing,
    // and its listing would replace whatever "Temp.txt" lies there.
    const QString skinFolder = QFileInfo(skinDirectory).canonicalFilePath();
    if (!skinFolder.isEmpty() && skinFolder == QFileInfo(programDirectory).canonicalFilePath()) {
        report.outcome = DirectoryReport::Outcome::SameFolder;
        return report;
    }

    // Held until the run ends, so no other copy rewrites the listing under this walk. A folder
    // that cannot be written cannot be locked either; the listing then says why.
    platform::ProgramLock lock(programDirectory);
    const platform::ProgramLock::Result locked = lock.acquire(lockWaitMs);
    if (!locked.held() && QFileInfo(programDirectory).isWritable()) {
        if (locked.kind == platform::ProgramLock::Result::Kind::Busy) {
            report.outcome = DirectoryReport::Outcome::Busy;
        } else {
            report.outcome = DirectoryReport::Outcome::ListingFailed;
            report.failure = QStringLiteral("The lock file %1 in the program folder could not be used: %2")
                                 .arg(Shown(lock.path()), locked.reason);
        }
        return report;
    }

    const ScratchListing listing(programDirectory);
    const ScratchListing::Written written = listing.write(skinDirectory, filter, static_cast<bool>(listed));
    report.leftOut = written.leftOut;
    report.unnamable = written.unnamable;
    if (written.folderUnreadable) {
        report.outcome = DirectoryReport::Outcome::FolderUnreadable;
        report.failure =
            QStringLiteral("Could not read the folder %1: %2").arg(Shown(skinDirectory), written.error);
        return report;
    }
    if (!written.ok) {
        report.outcome = DirectoryReport::Outcome::ListingFailed;
        report.failure =
            QStringLiteral("The list of files could not be written to %1 in the program folder %2: %3")
                .arg(ScratchListing::FileName, Shown(programDirectory), written.error);
        return report;
    }
    report.listingSize = written.size;
    if (written.size == 0) {
        report.outcome = DirectoryReport::Outcome::NothingListed;
        return report;
    }

    if (listed) {
        listed(written.everything, report);
    }
    progress.start(written.size);
    ScratchListing::walk(
        written, [&](int characters) { progress.advance(characters); },
        [&](const QString& name) {
            ++report.judged;
            turn(name, report);
        });
    progress.finish();
    if (!keepListing) {
        listing.deleteIfOwn();
    }
    return report;
}

QString stoppedMessage(const DirectoryReport& report) {
    switch (report.outcome) {
    case DirectoryReport::Outcome::Busy:
        return QStringLiteral(
                   "Another copy of Vestimo is using the program folder %1. Try again when it has finished.")
            .arg(Shown(report.programDirectory));
    case DirectoryReport::Outcome::SameFolder:
        return QStringLiteral(
                   "The skin folder %1 is the program's own folder, where problem files are moved; "
                   "choose another folder to check.")
            .arg(Shown(report.skinDirectory));
    case DirectoryReport::Outcome::ListingFailed:
    case DirectoryReport::Outcome::FolderUnreadable:
        return report.failure;
    case DirectoryReport::Outcome::Completed:
    case DirectoryReport::Outcome::NothingListed:
        break;
    }
    return {};
}

} // namespace vestimo::shell
