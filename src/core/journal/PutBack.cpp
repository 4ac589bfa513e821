#include "core/journal/Disk.h"
#include "core/journal/Journal.h"

#include "platform/journal/FileDigest.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#include <algorithm>
#include <unistd.h>

namespace vestimo::journal {

namespace detail {

namespace {

// A trash note's Path= line names `original`: percent-encoded as the desktop standard has it, or
// as it is (as Qt writes it); absolute in the home trash, relative to the drive's top in a drive's.
bool noteNames(const QByteArray& value, const QString& original) {
    for (const QString& recorded : {QString::fromUtf8(value), QUrl::fromPercentEncoding(value)}) {
        if (recorded == original || (!recorded.startsWith(u'/') && original.endsWith(u'/' + recorded))) {
            return true;
        }
    }
    return false;
}

} // namespace

bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString folderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

void forgetTrashInfo(const QString& trashPath, const QString& original) {
    // A desktop trash keeps the file in files/ and a note about it in info/<name>.trashinfo.
    const QFileInfo inTrash(trashPath);
    QDir trash = inTrash.dir();
    if (trash.dirName() != QLatin1String("files") || !trash.cdUp()) {
        return;
    }
    const QString info =
        trash.filePath(QStringLiteral("info/") + inTrash.fileName() + QStringLiteral(".trashinfo"));
    const platform::FileDigest note = platform::digestFile(info, 64 * 1024);
    if (!note.ok) {
        return;
    }
    for (const QByteArray& line : note.bytes.split('\n')) {
        if (!line.startsWith("Path=")) {
            continue;
        }
        if (noteNames(line.mid(5).trimmed(), original)) {
            platform::removeFile(info);
        }
        return;
    }
}

QString findInTrash(const QString& original, const QString& hash) {
    QStringList trashes;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    trashes.append((dataHome.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share")
                                       : QString::fromLocal8Bit(dataHome)) +
                   QStringLiteral("/Trash"));
    // A drive's own trashes, for files that were not on the home drive.
    const QString top = QStorageInfo(QFileInfo(original).absolutePath()).rootPath();
    if (!top.isEmpty()) {
        const QString uid = QString::number(::getuid());
        trashes.append(QDir(top).filePath(QStringLiteral(".Trash-") + uid));
        trashes.append(QDir(top).filePath(QStringLiteral(".Trash/") + uid));
    }
    const QString name = QFileInfo(original).fileName();
    QString found;
    QString newest;
    for (const QString& trash : trashes) {
        const QDir info(trash + QStringLiteral("/info"));
        // Only the notes whose names start like the file's: a full trash is not read through.
        const QStringList notes =
            info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& note : notes) {
            if (!note.startsWith(QFileInfo(name).completeBaseName())) {
                continue;
            }
            const platform::FileDigest text = platform::digestFile(info.filePath(note), 64 * 1024);
            if (!text.ok) {
                continue;
            }
            bool same = false;
            QString when;
            for (const QByteArray& line : text.bytes.split('\n')) {
                if (line.startsWith("Path=")) {
                    same = noteNames(line.mid(5).trimmed(), original);
                } else if (line.startsWith("DeletionDate=")) {
                    when = QString::fromUtf8(line.mid(13).trimmed());
                }
            }
            const QString file = trash + QStringLiteral("/files/") + note.chopped(int(qstrlen(".trashinfo")));
            if (!same || !occupied(file) || when < newest) {
                continue;
            }
            if (!hash.isEmpty()) {
                const platform::FileDigest content = platform::digestFile(file);
                if (!content.ok || content.sha256 != hash) {
                    continue;
                }
            }
            found = file;
            newest = when;
        }
    }
    return found;
}

} // namespace detail

namespace {

using detail::folderOf;
using detail::occupied;
using platform::FileResult;

struct Step {
    bool go = false;
    QString reason;     // why not, when !go
    JournalChange undo; // what the undo does, as a change of its own
    std::function<FileResult(JournalChange&)> op;
    QString what;
};

Step Refuse(const QString& why) {
    return {false, why, {}, {}, {}};
}

// The file at `path` is still the one the change left there, as far as the journal can tell.
QString unchanged(const QString& path, const QString& hash, const QString& since) {
    if (hash.isEmpty()) {
        return {};
    }
    const platform::FileDigest now = platform::digestFile(path);
    if (!now.ok) {
        return QStringLiteral("it could not be read: %1").arg(now.error);
    }
    return now.sha256 == hash ? QString() : QStringLiteral("it has changed since it was %1").arg(since);
}

// Moving `from` back to `to`, without ever taking the place of another file.
Step moveBack(const JournalChange& change, const QString& from, const QString& to, ChangeKind kind,
              const QString& since, const QString& what) {
    if (from.isEmpty()) {
        return Refuse(QStringLiteral("where it went was not recorded"));
    }
    if (!occupied(from)) {
        return Refuse(QStringLiteral("it is no longer in %1").arg(folderOf(from)));
    }
    if (occupied(to)) {
        return Refuse(QStringLiteral("another file now has its name in %1").arg(folderOf(to)));
    }
    const QString changed = unchanged(from, change.hash, since);
    if (!changed.isEmpty()) {
        return Refuse(changed);
    }
    Step step;
    step.go = true;
    step.undo.kind = kind;
    step.undo.original = from;
    step.undo.destination = to;
    step.undo.size = change.size;
    step.undo.hash = change.hash;
    step.op = [from, to, kind](JournalChange&) {
        const FileResult moved = platform::moveFile(from, to);
        if (moved.ok && kind == ChangeKind::Restored) {
            detail::forgetTrashInfo(from, to);
        }
        return moved;
    };
    step.what = what;
    return step;
}

// Sending a file the change made (or brought back) to the trash, only while it is unchanged.
Step trashAgain(const JournalChange& change, const QString& path, const QString& since) {
    if (!occupied(path)) {
        return Refuse(QStringLiteral("it is no longer there"));
    }
    if (change.hash.isEmpty()) {
        return Refuse(QStringLiteral("what it held was not recorded, so it is kept"));
    }
    const QString changed = unchanged(path, change.hash, since);
    if (!changed.isEmpty()) {
        return Refuse(changed);
    }
    Step step;
    step.go = true;
    step.undo.kind = ChangeKind::Trashed;
    step.undo.original = path;
    step.undo.size = change.size;
    step.undo.hash = change.hash;
    step.op = [path](JournalChange& done) {
        QString inTrash;
        const FileResult trashed = platform::moveToTrash(path, &inTrash);
        done.destination = inTrash;
        return trashed;
    };
    step.what = QStringLiteral("sent to the trash");
    return step;
}

Step giveBackPrevious(const JournalChange& change) {
    if (!change.hasPreviousBytes) {
        return Refuse(QStringLiteral("what it held before was not recorded"));
    }
    const platform::FileDigest now = platform::digestFile(change.original, kMaxKeptBytes);
    if (!now.ok) {
        return Refuse(occupied(change.original) ? QStringLiteral("it could not be read: %1").arg(now.error)
                                                : QStringLiteral("it is no longer there"));
    }
    if (now.sha256 != change.hash) {
        return Refuse(QStringLiteral("it has changed since it was saved"));
    }
    Step step;
    step.go = true;
    // The undo is a save of its own, keeping what it replaces, so it can be undone in turn.
    step.undo.kind = ChangeKind::Saved;
    step.undo.original = change.original;
    step.undo.hasPreviousBytes = true;
    step.undo.previousBytes = now.bytes;
    step.undo.size = change.previousBytes.size();
    step.undo.hash = platform::digestOf(change.previousBytes);
    const QString path = change.original;
    const QByteArray previous = change.previousBytes;
    step.op = [path, previous](JournalChange&) { return platform::saveFile(path, previous); };
    step.what = QStringLiteral("given back what it held before the save");
    return step;
}

Step Plan(const JournalChange& change) {
    switch (change.kind) {
    case ChangeKind::Moved:
        return moveBack(change, change.destination, change.original, ChangeKind::Moved,
                        QStringLiteral("moved"),
                        QStringLiteral("moved back to %1").arg(folderOf(change.original)));
    case ChangeKind::Trashed:
        return moveBack(change, change.destination, change.original, ChangeKind::Restored,
                        QStringLiteral("sent to the trash"), QStringLiteral("brought back from the trash"));
    case ChangeKind::Restored:
        return trashAgain(change, change.destination, QStringLiteral("brought back"));
    case ChangeKind::Saved:
        return giveBackPrevious(change);
    case ChangeKind::Exported:
    case ChangeKind::Installed:
        return trashAgain(change, change.destination, QStringLiteral("written"));
    }
    return Refuse(QStringLiteral("the journal does not know this kind of change"));
}

QString notDoneReason(ChangeState state) {
    switch (state) {
    case ChangeState::Intended:
        return QStringLiteral("it is not known yet whether it happened");
    case ChangeState::Failed:
    case ChangeState::SettledNotDone:
        return QStringLiteral("it never happened");
    case ChangeState::Undone:
        return QStringLiteral("it was put back before");
    case ChangeState::Done:
        break;
    }
    return {};
}

} // namespace

PutBackReport putBack(JournalStore& store, const QList<qint64>& changeIds, const QString& skinFolder) {
    PutBackReport report;
    QList<qint64> ids = changeIds;
    // Newest first: a file saved twice gets its first content back only after its second.
    std::sort(ids.begin(), ids.end(), std::greater<>());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    // Marks go out with the next step's intent: one commit per file put back.
    const bool batched = store.isOpen() && !store.inBatch();
    if (batched) {
        store.beginBatch();
    }
    for (const qint64 id : ids) {
        PutBackItem item;
        item.changeId = id;
        const auto loaded = store.change(id);
        if (!loaded.ok) {
            item.reason = loaded.error;
            report.items.append(item);
            continue;
        }
        const JournalChange& change = loaded.value;
        item.name = changeName(change);
        if (change.state != ChangeState::Done) {
            item.outcome = change.state == ChangeState::Undone ? PutBackOutcome::AlreadyPutBack
                                                               : PutBackOutcome::NeverHappened;
            item.reason = notDoneReason(change.state);
            report.items.append(item);
            continue;
        }
        Step step = Plan(change);
        if (!step.go) {
            item.reason = step.reason;
            report.items.append(item);
            continue;
        }
        if (report.runId == 0) {
            // The undo is recorded like any run, started only once there is something to do.
            const auto begun = store.beginRun(kPutBackCommand, skinFolder);
            if (!begun.ok) {
                report.error = begun.error;
                item.reason = QStringLiteral("the journal cannot record it: %1").arg(begun.error);
                report.items.append(item);
                continue;
            }
            report.runId = begun.value;
        }
        step.undo.runId = report.runId;
        step.undo.undoes = change.id;
        step.undo.reason = QStringLiteral("put back");
        const JournaledResult done = runJournaled(&store, step.undo, step.op);
        if (!done.file.ok) {
            item.reason = done.file.error;
        } else {
            item.outcome = PutBackOutcome::putBack;
            item.what = step.what;
            const platform::JournalStatus marked = store.markUndone(change.id, QStringLiteral("put back"));
            if (!marked.ok && report.error.isEmpty()) {
                report.error = marked.error;
            }
        }
        if (!done.journalError.isEmpty() && report.error.isEmpty()) {
            report.error = done.journalError;
        }
        report.items.append(item);
    }
    if (report.runId > 0) {
        const int left = report.count(PutBackOutcome::LeftAlone);
        const platform::JournalStatus ended =
            store.endRun(report.runId, left == 0 ? QStringLiteral("finished")
                                                 : QStringLiteral("finished; %1 left alone").arg(left));
        if (!ended.ok && report.error.isEmpty()) {
            report.error = ended.error;
        }
    }
    if (batched) {
        const platform::JournalStatus committed = store.commitBatch();
        if (!committed.ok && report.error.isEmpty()) {
            report.error = committed.error;
        }
    }
    return report;
}

PutBackReport putBackRun(JournalStore& store, qint64 runId) {
    const auto run = store.run(runId);
    if (!run.ok) {
        PutBackReport report;
        report.error = run.error;
        return report;
    }
    const auto changes = store.changesOf(runId);
    if (!changes.ok) {
        PutBackReport report;
        report.error = changes.error;
        return report;
    }
    QList<qint64> ids;
    for (const JournalChange& change : changes.value) {
        ids.append(change.id);
    }
    return putBack(store, ids, run.value.skinFolder);
}

} // namespace vestimo::journal
