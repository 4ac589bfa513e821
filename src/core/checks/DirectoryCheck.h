#pragma once

#include "core/FileFilter.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

namespace vestimo::platform {
class SkinFolder;
} // namespace vestimo::platform

namespace vestimo::checks {

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

// How long a run waits for another copy of the program to let go of the program folder.
inline constexpr int ProgramLockWaitMs = 2000;

// A file that goes along with a moved one when it is there under exactly its name.
struct Companion {
    QString name;
    QString role; // what it is to the moved file, as the details say it ("mesh")
};

// What one run of a directory-wide check did, for its closing message's details. It only records.
struct DirectoryReport {
    enum class Outcome {
        Completed,        // every listed name had its turn
        NothingListed,    // no file matched; the empty listing goes as after a completed run
        ListingFailed,    // the listing or the lock file could not be used; nothing was judged
        Busy,             // another copy of the program holds the program folder
        SameFolder,       // the skin folder is the program folder; nothing was written
        FolderUnreadable, // the skin folder could not be read; nothing was judged
    };
    struct Line {
        QString name;
        QString reason;
        QList<Companion> companions = {}; // moved files only: the files that went along with it
        bool notMoved = false;            // in trouble because the move itself failed, not the judging
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
    QList<Line> trouble;              // could not be read or moved, so left where they were
    QStringList leftOut;              // names the listing cannot hold (a line break in the name)
    QStringList unnamable;            // names that are not valid text, so cannot be named back
    QList<QByteArray> unnamableBytes; // the same names as stored, where known, in the same order
    bool dryRun = false;              // `moved` holds what would have moved; nothing did
    // The run was asked to stop: the file in hand was finished, the names after it had no turn.
    bool stoppedEarly = false;
    bool earlierListingTrashed = false; // a "Temp.txt" of someone else's went to the trash first
    // Per file, for the report: judged and kept with what the check found, passed over with why,
    // and each file that went along with a moved one.
    QList<Line> kept;
    QList<Line> passedOverFiles;
    QList<Line> companions;

    // Whether the run's changes went into the journal; Off when it was run without one.
    enum class Recording { Off, Recorded, NotRecorded };
    Recording recording = Recording::Off;
    QString notRecordedWhy;

    // Counts, one line per moved file, per file in trouble and per name left out; last, whether
    // the run can be undone.
    QString details() const;
    // The counts alone: the first lines of the details.
    QStringList countLines() const;
    // No file moved, so there is nothing to undo.
    bool changedNothing() const { return moved.isEmpty() && companionsMoved == 0; }
};

// A check's judgement of one listed name.
struct Verdict {
    enum class Kind { Keep, PassOver, Move, Trouble };
    Kind kind = Kind::Keep;
    QString reason; // why it moves, stays or is passed over, or why it could not be judged
    QList<Companion> companions;

    static Verdict keep(QString found = {}) { return {Kind::Keep, std::move(found), {}}; }
    static Verdict passOver(QString why = {}) { return {Kind::PassOver, std::move(why), {}}; }
    static Verdict move(QString reason, QList<Companion> companions = {}) {
        return {Kind::Move, std::move(reason), std::move(companions)};
    }
    static Verdict trouble(QString why) { return {Kind::Trouble, std::move(why), {}}; }
};

// A directory-wide check, as a description the frame runs.
struct DirectoryCheck {
    QString command;                          // the command's name, as the journal records the run
    FileFilter filter = FileFilter::CmxFiles; // the files it judges
    bool keepsListing = false;                // "Temp.txt" stays after a completed run
    // Given, it receives all the folder's files from the listing's own enumeration before the
    // first name is judged, and the report to note what it finds in them.
    std::function<void(const platform::FileNames& allFiles, DirectoryReport& report)> prepare;
    // Judges one listed name of the skin folder, which the run holds open.
    std::function<Verdict(const platform::SkinFolder& skinFolder, const QString& name)> judge;
    QString passedOverLabel;
    QString companionsLabel;
    QString closingMessage;      // shown when every listed name has had its turn
    bool rereadsItsKind = false; // afterwards the file list shows this check's kind, nothing selected
};

// How one run goes.
struct RunOptions {
    int lockWaitMs = ProgramLockWaitMs;
    // Judges and reports what would move without moving anything, writing no listing and taking
    // no hold on the program folder. A file already in the program folder under a name that would
    // move is reported as one that could not be moved.
    bool dryRun = false;
    // Dry runs only: names an earlier check of the same dry run would have moved out of the skin
    // folder, so this one runs as if they were gone.
    QSet<QString> gone;
    // Where the run's changes are recorded; none for a dry run, which changes nothing.
    journal::Journal* journal = nullptr;
    // Asked before each listed name has its turn; once true, no other name has one. The run then
    // ends as a completed one would, except that its listing is removed even when the check keeps
    // it.
    std::function<bool()> stopRequested;
};

// Runs `check` over `skinDirectory`: refuses the program folder itself as the skin folder, holds
// the program folder against other copies of the program, writes the listing of the check's
// files, starts the progress, and gives each listed name its turn in listing order, taking the
// names from this run's own enumeration whatever happens to the listing file meanwhile. Moves
// what the judge says to move. The listing is deleted afterwards (when still as written) unless
// the check keeps it. Given a journal, the walk is a run of it and every move is recorded before
// it happens (in groups, so the journal costs little); a journal that cannot record changes
// nothing about what moves.
DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress,
                                  int lockWaitMs = ProgramLockWaitMs, journal::Journal* journal = nullptr);
DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress,
                                  const RunOptions& options);

// Moves skin directory/name into the program folder under the same name: the one place a check
// moves a file. Refuses (and keeps the file where it is) when a file of that name is already
// there, the file has gone, or the skin directory is the program folder itself. Given a journal,
// the move is a run of its own there ("Move this file").
platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name, journal::Journal* journal = nullptr);

} // namespace vestimo::checks
