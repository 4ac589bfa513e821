#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;
class QThread;
class QWidget;

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::gui {

// Long work (a directory-wide check, an installation, the skin-set report) on a thread of its own,
// so that the window keeps painting while it goes. The window it runs from is held still meanwhile:
// every control disabled but its Cancel (cmdCancel, beside the bar), nothing dropped on it, the
// program's other windows disabled too. Progress comes back to the bar through queued calls, a few
// dozen a second at most; the end comes back on the window's thread, where the window is given
// back before `finished` tells the player.
class BackgroundRun : public QObject {
    Q_OBJECT

public:
    // Runs on the worker, with this run to report progress to and to ask whether to stop.
    using Work = std::function<void(BackgroundRun& run)>;
    // Runs on the window's thread once the work has ended; `cancelled` when Cancel (or a close
    // request) asked it to stop.
    using Finished = std::function<void(bool cancelled)>;

    // Starts `work` from `window` (none: nothing is held still), showing progress on `bar` (none:
    // nowhere). Nothing starts, and null comes back, while `window` has a run going.
    static BackgroundRun* start(QWidget* window, QProgressBar* bar, Work work, Finished finished);
    // The run going on from `window`, or null.
    static BackgroundRun* of(const QWidget* window);
    // How many runs are going on in the program.
    static int running();

    ~BackgroundRun() override;
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Asks the work to stop after the file in hand; `then` runs once the run's end has been told.
    void cancel(std::function<void()> then = {});

    // For the work, on the worker.
    bool stopRequested() const { return stop_.load(); }
    // The bar starts at 0 of `maximum`; of an end that moves on as the count nears it when 0; with
    // no count at all, only busy, when below 0.
    void startProgress(qint64 maximum);
    // How far the work has got; shown when enough time has passed since the last showing, or always
    // when `now`.
    void progress(qint64 value, bool now = false);

signals:
    // The run's end has been told and the window is free again.
    void ended();

private:
    BackgroundRun(QWidget* window, QProgressBar* bar, Work work, Finished finished);
    void hold();
    void release();
    void onWorkEnded();
    void showStart(qint64 maximum);
    void show(qint64 value);

    QPointer<QWidget> window_;
    QPointer<QProgressBar> bar_;
    Work work_;
    Finished finished_;
    std::function<void()> then_;
    QThread* thread_ = nullptr;
    std::atomic<bool> stop_{false};
    bool over_ = false;
    bool growing_ = false;     // the bar's end moves on (the total is not known)
    QElapsedTimer sinceShown_; // on the worker only

    // What the run disabled, to enable again at its end.
    QList<QPointer<QWidget>> held_;
    QPointer<QWidget> focus_;
    bool acceptedDrops_ = false;
};

// The Cancel button for runs in `parent`, hidden until a run shows it; it answers Escape, as every
// letter of its caption is taken by the window's other buttons.
QPushButton* makeCancelButton(QWidget* parent);

// Where a run's journal lives: the folder of the window's journal, or none when the window has
// none. Read on the window's thread.
QString journalFolderOf(journal::Journal* windowJournal, const QString& programDirectory);

// A journal of the run's own on the worker, over the same file as the window's: an SQL connection
// may only be used on the thread that opened it. Opening checks and readies the database only;
// settling what a crash left open stays with the program's start and is not done again here. Null
// when `folder` is empty; one that cannot be opened still says why in the run's details.
std::unique_ptr<journal::Journal> openRunJournal(const QString& folder);

} // namespace vestimo::gui
