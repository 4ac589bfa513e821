#pragma once

#include <QList>
#include <QString>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::gui {

// What History shows and what "Put Back" does, apart from the widgets that show it.
class HistoryController {
public:
    // Enough to reach back months of use; older runs stay in the journal, unlisted.
    static constexpr int RunsShown = 500;

    struct Change {
        qint64 id = 0;
        QString file;   // the whole path
        QString name;   // the file's name alone
        QString folder; // the folder it is in, as the desktop writes it
        QString happened;
        QString reason;
    };
    struct Run {
        qint64 id = 0;
        QString title;   // when, which command, which skin folder
        QString outcome; // how it ended
        QList<Change> changes;
        // Some change of it happened (or may have): a run of none, or only of changes that never
        // took place, changed nothing.
        bool changedSomething = false;
    };
    struct Listing {
        QList<Run> runs; // newest first
        QString error;   // why there is nothing to show, when there is not
    };
    // The one message "Put Back" ends with.
    struct Outcome {
        QString message;
        QString details;
    };

    explicit HistoryController(journal::Journal& journal) : journal_(journal) {}

    // What a crash left open is settled first (by what the disk shows), then the runs are read.
    Listing load(int limit = RunsShown);
    // Puts back every change of `runIds` and the single `changeIds`, newest first; never overwrites.
    // Settles first too; a journal another program holds stops it before anything changes.
    Outcome putBack(const QList<qint64>& runIds, const QList<qint64>& changeIds);

private:
    QString notOpenReason() const;

    journal::Journal& journal_;
};

} // namespace vestimo::gui
