#pragma once

#include "core/checks/DirectoryCheck.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace vestimo::cli {

// The exit statuses every command shares.
enum Status {
    Clean = 0,   // nothing was found wrong
    Found = 1,   // files were (or would be) moved, refused or in conflict
    Stopped = 2, // a usage or input/output error stopped the command
    Busy = 3,    // another copy of the program holds the program folder
};

// `text` as it may reach a terminal: control characters (escape, line breaks, C1 controls) and the
// characters that reorder or hide text shown as escapes, so nothing a file name holds is ever
// taken as a terminal command. A backslash is doubled, so an escape is never mistaken for
// characters a name really holds.
QString printable(const QString& text);
// A stored name that may not be valid text, as text: its valid characters as they are, every
// stray byte as a stand-in that printable() shows as \xNN and nothing else produces.
QString withStrayBytes(const QByteArray& bytes);
// The same name as printable() shows it.
QString escapedBytes(const QByteArray& bytes);

// What a command prints: its report on the standard output, problems on the error output. Every
// write is checked; a report that could not be written in full turns into a stopped command.
class Output {
public:
    // One line of the report, made printable.
    void line(const QString& text);
    // Several lines, each made printable.
    void lines(const QStringList& texts);
    // The whole report as one JSON document.
    void json(const QJsonObject& document);
    // "vestimo: " and the problem, on the error output.
    void error(const QString& text);
    // A message as it is, made printable, on the error output.
    void errorLine(const QString& text);
    // A usage error: the problem and the usage line. Returns Stopped.
    int usageError(const QString& problem, const QString& usage);
    // Sends what is buffered on its way; false once any of the report could not be written.
    bool flush();
    bool failed() const { return failed_; }
    // Whether the standard output can no longer take the report (a pipe whose reader is gone),
    // asked without writing anything; once it is, the report counts as failed.
    bool gone();
    // Flushes both outputs; `status`, or Stopped when the report did not get out in full. Under
    // --json a command that stopped without its report ends on a document of its own:
    // {"command", "exitStatus", "error"}.
    int finish(int status);
    // The command's report is JSON (`command` names it there).
    void setJsonCommand(const QString& command) { jsonCommand_ = command; }

private:
    void write(FILE* stream, const QByteArray& bytes);
    bool failed_ = false;
    QString jsonCommand_;
    bool wroteJson_ = false;
    QString firstError_;
};

// A single line on the error output that follows a run, only when the error output is a
// terminal; the report never holds it.
class TerminalProgress : public checks::RunProgress {
public:
    TerminalProgress();
    void setLabel(const QString& label) { label_ = label; }
    void start(qint64 maximum) override;
    void advance(int characters) override;
    void finish() override;

private:
    void draw();

    bool shown_;
    QString label_;
    qint64 maximum_ = 0;
    qint64 value_ = 0;
    QElapsedTimer sinceDrawn_;
};

} // namespace vestimo::cli
