#pragma once

#include "core/FileFilter.h"
#include "platform/FileSystem.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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

// What one run of a directory-wide check did, for its closing message's details. It only records.
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
        bool notMoved = false; // in trouble because the move itself failed, not the judging
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
    // Per file, for the report: judged and kept with what the check found, passed over with why,
    // and each file that went along with a moved one.
    QList<Line> kept;
    QList<Line> passedOverFiles;
    QList<Line> companions;

    // Counts, one line per moved file, per file in trouble and per name left out.
    QString details() const;
};

// A file that goes along with a moved one when it is there under exactly its name.
struct Companion {
    QString name;
    QString role; // what it is to the moved file, as the details say it ("mesh")
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
    FileFilter filter = FileFilter::CmxFiles; // the files it judges
    bool keepsListing = false;                // "Temp.txt" stays after a completed run
    // Given, it receives all the folder's files from the listing's own enumeration before the
    // first name is judged, and the report to note what it finds in them.
    std::function<void(const platform::FileNames& allFiles, DirectoryReport& report)> prepare;
    // Judges one listed name of the skin folder.
    std::function<Verdict(const QString& skinDirectory, const QString& name)> judge;
    QString passedOverLabel;
    QString companionsLabel;
    QString closingMessage;      // shown when every listed name has had its turn
    bool rereadsItsKind = false; // afterwards the file list shows this check's kind, nothing selected
};

// Runs `check` over `skinDirectory`: refuses the program folder itself as the skin folder, holds
// the program folder against other copies of the program, writes the listing of the check's
// files, starts the progress, and gives each listed name its turn in listing order, taking the
// names from this run's own enumeration whatever happens to the listing file meanwhile. Moves
// what the judge says to move. The listing is deleted afterwards (when still as written) unless
// the check keeps it.
DirectoryReport runDirectoryCheck(const DirectoryCheck& check, const QString& skinDirectory,
                                  const QString& programDirectory, RunProgress& progress,
                                  int lockWaitMs = ProgramLockWaitMs);

// Moves skin directory/name into the program folder under the same name: the one place a check
// moves a file. Refuses (and keeps the file where it is) when a file of that name is already
// there, the file has gone, or the skin directory is the program folder itself.
platform::FileResult moveToProgramDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            const QString& name);

} // namespace vestimo::checks
