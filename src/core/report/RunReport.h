#pragma once

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a run did to each file, as plain values: a directory-wide check, an installation, and any
// other run that judges files one by one. The report window shows it; it saves as text, CSV or
// JSON.
namespace vestimo::report {

enum class RunVerdict {
    Moved,      // went into the problem folder
    Left,       // judged and left where it was
    NotMoved,   // should have gone, but could not be moved, so it was left in place
    PassedOver, // not judged: not of the kind the run judges, or not nameable
    // An installation's.
    Installed,        // written into the game's folders
    WouldBeInstalled, // would have been, had the run not only checked
    AlreadyInstalled, // the same bytes were there already
    Refused,          // not installed: faulty, in conflict, or its download could not be read
};
inline constexpr int RunVerdictCount = 8;

// Which kind of run a report is of: each gives its own verdicts and closing line.
enum class RunKind { Check, Install };

// The verdicts a run of `kind` gives, in the order they are named to the player.
QList<RunVerdict> verdictsOf(RunKind kind);

// "moved", "left", "could not be moved", "passed over".
QString verdictLabel(RunVerdict verdict);
// A name that never changes with the wording, for the JSON form.
QString verdictKey(RunVerdict verdict);

struct RunRow {
    QString file;
    RunVerdict verdict = RunVerdict::Left;
    QString reason;
    QString where; // the file's path now: in the problem folder when moved
    bool operator==(const RunRow&) const = default;
};

// One count (or other fact) shown above the rows.
struct RunFact {
    QString label;
    QString value;
    bool operator==(const RunFact&) const = default;
};

struct RunReport {
    RunKind kind = RunKind::Check;
    QList<RunFact> facts;
    QList<RunRow> rows;
    QString problemFolder; // what "Open Problem Folder" opens; empty when the run moved nowhere
    QString closing;       // an installation's closing line: how many files from how many downloads

    int count(RunVerdict verdict) const;
    // A check's counts the files left in place because they could not be moved; an installation's
    // is `closing`.
    QString closingLine() const;
    bool operator==(const RunReport&) const = default;
};

enum class ReportFormat { Text, Csv, Json };

// By the name's extension, without regard to case: .csv, .json, else plain text.
ReportFormat formatForFileName(const QString& fileName);

// The facts, then the rows under one heading per verdict, then the closing line. UTF-8.
QByteArray toText(const RunReport& report);
// One header line and one record per row (RFC 4180: CRLF, fields quoted when they hold a comma,
// a double quote or a line break). UTF-8.
QByteArray toCsv(const RunReport& report);
// {"facts": [{"label", "value"}], "rows": [{"file", "verdict", "label", "reason", "where"}],
//  "problemFolder", "couldNotBeMoved"}.
QByteArray toJson(const RunReport& report);
QByteArray formatted(const RunReport& report, ReportFormat format);

// Writes the report to `path` in the format its name asks for, atomically and never through a link.
platform::FileResult saveReport(const RunReport& report, const QString& path);

} // namespace vestimo::report
