#include "core/install/JournaledInstall.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/journal/Journal.h"
#include "platform/journal/FileDigest.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace vestimo::install {

namespace {

// Records each file's intent before it is written and how it went afterwards; a journal problem
// is kept (the first one) and never refuses a file.
class Recorder {
public:
    explicit Recorder(journal::Journal& journal) : journal_(journal) {}

    bool step(const InstallStep& step) {
        if (!journal_.recording()) {
            note(journal_.problem());
            return true;
        }
        platform::JournalStore& store = journal_.store();
        if (step.stage == InstallStep::Stage::Intent) {
            platform::JournalChange intent;
            intent.runId = journal_.runId();
            intent.kind = platform::ChangeKind::Installed;
            intent.original = step.download;
            intent.destination = step.target;
            intent.reason = texts::installedFrom(QFileInfo(step.download).fileName(), step.name);
            // What the placed file will hold: settling after a crash knows it as its own by this,
            // and "Put Back" later whether it is still the one installed.
            const platform::FileDigest staged = platform::digestFile(step.staged);
            if (staged.ok) {
                intent.size = staged.size;
                intent.hash = staged.sha256;
            }
            const auto recorded = store.recordIntent(intent);
            if (recorded.ok) {
                open_.insert(step.target, {recorded.value, staged.ok});
            } else {
                note(texts::journalError(recorded.error));
            }
            return true;
        }
        const Open opened = open_.take(step.target);
        const qint64 id = opened.id;
        if (id == 0) {
            return true;
        }
        platform::JournalStatus marked;
        if (step.ok && opened.known) {
            marked = store.markDone(id);
        } else if (step.ok) {
            const platform::FileDigest digest = platform::digestFile(step.target);
            marked = digest.ok ? store.markDone(id, step.target, digest.size, digest.sha256)
                               : store.markDone(id, step.target, -1, {}, texts::digestError(digest.error));
            if (!digest.ok) {
                note(texts::digestError(digest.error));
            }
        } else {
            marked = store.markFailed(id, step.error);
        }
        if (!marked.ok) {
            // Left open in the journal: the next start settles it from the disk.
            note(texts::journalError(marked.error));
        }
        return true;
    }

    QString problem() const { return problem_; }
    void note(const QString& problem) {
        if (problem_.isEmpty()) {
            problem_ = journal_.store().busy() ? texts::journalInUse() : problem;
        }
    }

private:
    struct Open {
        qint64 id = 0;
        bool known = false; // its size and content went with the intent
    };
    journal::Journal& journal_;
    QHash<QString, Open> open_; // target -> its change, between intent and outcome
    QString problem_;
};

bool isArchiveName(const QString& name) {
    static const QStringList endings = {QStringLiteral(".zip"), QStringLiteral(".rar"),
                                        QStringLiteral(".7z"),  QStringLiteral(".tar.gz"),
                                        QStringLiteral(".tgz"), QStringLiteral(".tar")};
    return std::any_of(endings.begin(), endings.end(),
                       [&](const QString& ending) { return name.endsWith(ending, Qt::CaseInsensitive); });
}

} // namespace

QStringList expandDownloads(const QStringList& paths) {
    QStringList downloads;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir() || info.isSymLink()) {
            downloads.append(path);
            continue;
        }
        QStringList archives;
        bool skinFiles = false;
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
        for (const QFileInfo& entry : entries) {
            if (isArchiveName(entry.fileName())) {
                archives.append(entry.absoluteFilePath());
            } else if (isSkinFileName(entry.fileName())) {
                skinFiles = true;
            }
        }
        if (archives.isEmpty() || skinFiles) {
            downloads.append(path);
        }
        downloads.append(archives);
    }
    return downloads;
}

RecordedInstall installRecorded(journal::Journal* journal, const QStringList& downloads,
                                const Destination& destination, const Options& options,
                                const platform::archive::EntryProgress& progress) {
    RecordedInstall result;
    if (options.checkOnly) {
        result.report = installDownloads(downloads, destination, options, progress);
        return result;
    }
    if (journal == nullptr) {
        result.report = installDownloads(downloads, destination, options, progress);
        result.notRecorded = texts::journalNotOpen();
        return result;
    }
    Recorder recorder(*journal);
    if (!journal->beginRun(texts::installCommandName(), destination.skins)) {
        recorder.note(journal->problem());
    }
    // One commit per intent and none per outcome: the marks go out with the next intent.
    journal->beginBatch();
    result.report = installDownloads(downloads, destination, options, progress,
                                     [&recorder](const InstallStep& step) { return recorder.step(step); });
    const InstallReport::Totals totals = result.report.totals();
    journal->endRun(result.report.stopped.isEmpty()
                        ? texts::installRunOutcome(totals.installed, totals.refused)
                        : result.report.closing());
    journal->commitBatch();
    recorder.note(journal->problem());
    result.notRecorded = recorder.problem();
    result.recorded = result.notRecorded.isEmpty();
    return result;
}

} // namespace vestimo::install
