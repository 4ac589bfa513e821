#include "gui/history/HistoryController.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/History.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/journal/Journal.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace vestimo::gui {

namespace {

using platform::ChangeKind;
using platform::ChangeState;
using platform::JournalChange;

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

QString kindText(const JournalChange& change) {
    switch (change.kind) {
    case ChangeKind::Moved:
        return texts::happenedMoved(folderOf(change.destination));
    case ChangeKind::Trashed:
        return texts::happenedTrashed();
    case ChangeKind::Saved:
        return texts::happenedSaved();
    case ChangeKind::Exported:
        return texts::happenedExported();
    case ChangeKind::Installed:
        return texts::happenedInstalled();
    case ChangeKind::Restored:
        return texts::happenedRestored(folderOf(change.destination));
    }
    return {};
}

QString happened(const JournalChange& change) {
    const QString kind = kindText(change);
    switch (change.state) {
    case ChangeState::Done:
        return kind;
    case ChangeState::Intended:
        return texts::happenedWithState(kind, texts::stateIntended());
    case ChangeState::Failed:
        return texts::happenedWithState(kind, texts::stateFailed(change.note));
    case ChangeState::Undone:
        return texts::happenedWithState(kind, texts::stateUndone());
    case ChangeState::SettledNotDone:
        return texts::happenedWithState(kind, texts::stateNeverHappened());
    }
    return kind;
}

void appendSection(QStringList& lines, const QString& heading, const QStringList& entries) {
    if (entries.isEmpty()) {
        return;
    }
    if (!lines.isEmpty()) {
        lines << QString();
    }
    lines << heading << entries;
}

} // namespace

QString HistoryController::notOpenReason() const {
    return journal_.problem().isEmpty() ? texts::journalNotOpen() : journal_.problem();
}

HistoryController::Listing HistoryController::load(int limit) {
    Listing listing;
    platform::JournalStore& store = journal_.store();
    if (!store.isOpen()) {
        listing.error = texts::historyNotOpen(notOpenReason());
        return listing;
    }
    journal_.renewWait();
    journal_.settle();
    const auto runs = store.listRuns(limit);
    if (!runs.ok) {
        listing.error = texts::historyUnreadable(texts::journalError(runs.error));
        return listing;
    }
    for (const platform::JournalRun& run : runs.value) {
        Run shown;
        shown.id = run.id;
        shown.title = texts::historyRun(run.started.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                                        run.command, run.skinFolder);
        shown.outcome = run.ended.isValid() ? run.outcome : texts::historyRunInterrupted();
        const auto changes = store.changesOf(run.id);
        if (!changes.ok) {
            listing.error = texts::historyUnreadable(texts::journalError(changes.error));
            return listing;
        }
        if (changes.value.isEmpty() && run.ended.isValid()) {
            shown.outcome = texts::happenedWithState(shown.outcome, texts::historyNoChanges());
        }
        for (const JournalChange& change : changes.value) {
            const QString file = journal::changeName(change);
            const QFileInfo info(file);
            shown.changes.append({change.id, file, info.fileName(), QDir::toNativeSeparators(info.path()),
                                  happened(change), change.reason});
            shown.changedSomething = shown.changedSomething || (change.state != ChangeState::Failed &&
                                                                change.state != ChangeState::SettledNotDone);
        }
        listing.runs.append(shown);
    }
    return listing;
}

HistoryController::Outcome HistoryController::putBack(const QList<qint64>& runIds,
                                                      const QList<qint64>& changeIds) {
    platform::JournalStore& store = journal_.store();
    if (!store.isOpen()) {
        return {texts::nothingToPutBack(), texts::historyNotOpen(notOpenReason())};
    }
    journal_.renewWait();
    journal_.settle();
    if (store.busy()) {
        return {texts::putBackStopped(texts::journalInUse()), {}};
    }
    QList<qint64> ids = changeIds;
    QString skinFolder;
    for (const qint64 runId : runIds) {
        const auto run = store.run(runId);
        const auto changes = store.changesOf(runId);
        if (!run.ok || !changes.ok) {
            return {texts::nothingToPutBack(),
                    texts::historyUnreadable(texts::journalError(run.ok ? changes.error : run.error))};
        }
        if (skinFolder.isEmpty()) {
            skinFolder = run.value.skinFolder;
        }
        for (const JournalChange& change : changes.value) {
            ids.append(change.id);
        }
    }
    if (skinFolder.isEmpty() && !changeIds.isEmpty()) {
        const auto first = store.change(changeIds.first());
        const auto run =
            first.ok ? store.run(first.value.runId) : platform::JournalResult<platform::JournalRun>{};
        skinFolder = run.ok ? run.value.skinFolder : QString();
    }
    const journal::PutBackReport report = journal::putBack(store, ids, skinFolder);
    if (report.busy) {
        return {texts::putBackStopped(texts::journalInUse()), {}};
    }

    QStringList done;
    QStringList leftAlone;
    QStringList nothingToDo;
    for (const journal::PutBackItem& item : report.items) {
        const QString name = item.name.isEmpty() ? QString::number(item.changeId) : item.name;
        switch (item.outcome) {
        case journal::PutBackOutcome::PutBack:
            done << texts::detailsLine(name, item.what);
            break;
        case journal::PutBackOutcome::LeftAlone:
            leftAlone << texts::detailsLine(name, item.reason);
            break;
        case journal::PutBackOutcome::AlreadyPutBack:
        case journal::PutBackOutcome::NeverHappened:
            nothingToDo << texts::detailsLine(name, item.reason);
            break;
        }
    }
    QStringList lines;
    appendSection(lines, texts::putBackHeading(), done);
    appendSection(lines, texts::leftAloneHeading(), leftAlone);
    appendSection(lines, texts::nothingToDoHeading(), nothingToDo);
    if (!report.error.isEmpty()) {
        if (!lines.isEmpty()) {
            lines << QString();
        }
        lines << texts::putBackNotRecorded(report.error);
    }
    const int putBack = report.count(journal::PutBackOutcome::PutBack);
    const int left = report.count(journal::PutBackOutcome::LeftAlone);
    const QString message =
        putBack == 0 && left == 0 ? texts::nothingToPutBack() : texts::putBackCount(putBack, left);
    return {message, lines.join(u'\n')};
}

} // namespace vestimo::gui
