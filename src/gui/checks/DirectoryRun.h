#pragma once

#include "platform/FileSystem.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QProgressBar;

namespace vestimo::shell {

// How a directory-wide check shows how far it has got: the window's progress bar in the program,
// a recorder in tests.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    // The listing is written and holds `maximum` bytes; the walk starts at 0.
    virtual void start(qint64 maximum) = 0;
    // The next listed name, of `characters` characters, is about to have its turn.
    virtual void advance(int characters) = 0;
    // Every name has had its turn.
    virtual void finish() {}
};

// Drives the window's bar: shown at the start, advanced name by name and repainted as it goes.
// Hiding it is the command's last step, after its closing message.
class ProgressBarProgress : public RunProgress {
public:
    explicit ProgressBarProgress(QProgressBar& bar) : bar_(bar) {}
    void start(qint64 maximum) override;
    void advance(int characters) override;
    void finish() override;

private:
    void show();

    QProgressBar& bar_;
    qint64 value_ = 0;
    QElapsedTimer sinceShown_;
    QElapsedTimer sinceEvents_;
};

// How long a run waits for another copy of the program to let go of the program folder.
inline constexpr int ProgramLockWaitMs = 2000;

// What one run of a directory-wide check did, for its closing message's details.
struct DirectoryReport {
    enum class Outcome {
        Completed,        // every listed name had its turn
        NothingListed,    // no file matched; the empty listing stays on disk
        ListingFailed,    // the listing or the lock file could not be used; nothing was judged
        Busy,             // another copy of the program holds the program folder
        SameFolder,       // the skin folder is the program folder; nothing was written
        FolderUnreadable, // the skin folder could not be read; nothing was judged
    };
    struct Line {
        QString name;
        QString reason;
    };

    Outcome outcome = Outcome::Completed;
    QString skinDirectory;
    QString programDirectory;
    QString failure; // why the listing or the lock file failed, or the folder could not be read

    qint64 listingSize = 0; // the progress maximum
    int judged = 0;         // listed names that had their turn
    int passedOver = 0;     // of those, files the check does not judge by their kind or size
    QString passedOverLabel;
    QList<Line> moved;       // moved into the program folder, with the reason
    int companionsMoved = 0; // files that went along with a moved one (meshes)
    QString companionsLabel;
    QList<Line> trouble;   // could not be read or moved, so left where they were
    QStringList leftOut;   // names the listing cannot hold (a line break in the name)
    QStringList unnamable; // names that are not valid text, so cannot be named back

    // Counts, one line per moved file, per file in trouble and per name left out.
    QString details() const;
    // Moves `name` into the program folder and records it with `reason`; on failure records why
    // it stayed. True when it moved.
    bool Move(const QString& name, const QString& reason);
};

// The frame every directory-wide check shares: refuses the program folder itself as the skin
// folder, holds the program folder against other copies of the program, writes the listing of
// `filter`, starts the progress, and gives each listed name its turn in listing order. The names
// come from this run's own enumeration, whatever happens to the listing file meanwhile. The
// listing is deleted afterwards (when still as written) unless `keepListing`.
using Turn = std::function<void(const QString& name, DirectoryReport& report)>;
// `listed`, when given, receives all the folder's files from the same enumeration before the
// first turn, and the report to note what it finds in them.
using Listed = std::function<void(const platform::FileNames& allFiles, DirectoryReport& report)>;
DirectoryReport runOverListing(const QString& skinDirectory, const QString& programDirectory,
                               const QString& filter, RunProgress& progress, const Turn& turn,
                               bool keepListing, int lockWaitMs = ProgramLockWaitMs,
                               const Listed& listed = {});

// The one message for a run that stopped before its walk (Busy, ListingFailed, SameFolder,
// FolderUnreadable).
QString stoppedMessage(const DirectoryReport& report);

} // namespace vestimo::shell
