#include "cli/Commands.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/CommandLine.h"
#include "core/catalogue/History.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/checks/DirectoryCheck.h"
#include "core/journal/Journal.h"
#include "platform/FileSystem.h"
#include "platform/ProgramLock.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace vestimo::cli {

namespace {

constexpr int DefaultRuns = 20;

QString when(const QDateTime& moment) {
    return moment.isValid() ? moment.toLocalTime().toString(Qt::ISODate) : QString();
}

QJsonObject changeJson(const journal::JournalChange& change) {
    return {{QStringLiteral("id"), change.id},
            {QStringLiteral("name"), journal::changeName(change)},
            {QStringLiteral("kind"), platform::kindName(change.kind)},
            {QStringLiteral("state"), platform::stateName(change.state)},
            {QStringLiteral("original"), change.original},
            {QStringLiteral("destination"), change.destination},
            {QStringLiteral("reason"), change.reason},
            {QStringLiteral("note"), change.note}};
}

// The journal of `program`, opened only when it is there: looking must not start one.
std::optional<QString> openJournal(journal::Journal& journal, const QString& program, bool& present) {
    present = QFileInfo::exists(platform::joinPath(program, journal::JournalStore::fileName()));
    if (!present) {
        return std::nullopt;
    }
    const platform::JournalStatus opened = journal.open(program);
    if (!opened.ok) {
        return texts::journalUnreadable(texts::journalError(opened.error));
    }
    return std::nullopt;
}

// The newest run, not itself a put-back, that changed a file (whether or not put back since);
// `putBackAlready` says when nothing of it is left to put back.
std::optional<qint64> lastRunThatChanged(journal::JournalStore& store, bool& putBackAlready, QString& error) {
    const auto runs = store.listRuns();
    if (!runs.ok) {
        error = texts::journalError(runs.error);
        return std::nullopt;
    }
    for (const platform::JournalRun& run : runs.value) {
        if (run.command == journal::kPutBackCommand) {
            continue;
        }
        const auto changes = store.changesOf(run.id);
        if (!changes.ok) {
            error = texts::journalError(changes.error);
            return std::nullopt;
        }
        bool changed = false;
        putBackAlready = true;
        for (const journal::JournalChange& change : changes.value) {
            changed = changed || change.state == journal::ChangeState::Done ||
                      change.state == journal::ChangeState::Undone;
            putBackAlready = putBackAlready && change.state != journal::ChangeState::Done;
        }
        if (changed) {
            return run.id;
        }
    }
    return std::nullopt;
}

// A folder as the player writes it: the home as "~".
QString shortFolder(const QString& folder) {
    const QString home = QDir::homePath();
    if (!home.isEmpty() && home != QStringLiteral("/") &&
        (folder == home || folder.startsWith(home + u'/'))) {
        return u'~' + folder.mid(home.size());
    }
    return folder;
}

QString outcomeName(journal::PutBackOutcome outcome) {
    switch (outcome) {
    case journal::PutBackOutcome::PutBack:
        return QStringLiteral("putBack");
    case journal::PutBackOutcome::LeftAlone:
        return QStringLiteral("leftAlone");
    case journal::PutBackOutcome::AlreadyPutBack:
        return QStringLiteral("alreadyPutBack");
    case journal::PutBackOutcome::NeverHappened:
        return QStringLiteral("neverHappened");
    }
    return {};
}

QString itemLine(const journal::PutBackItem& item) {
    switch (item.outcome) {
    case journal::PutBackOutcome::PutBack:
        return texts::putBackLine(item.name, item.what);
    case journal::PutBackOutcome::LeftAlone:
        return item.notTheFile ? texts::leftAloneNotTheFileLine(item.reason)
                               : texts::leftAloneLine(item.name, item.reason);
    case journal::PutBackOutcome::AlreadyPutBack:
        return texts::alreadyPutBackLine(item.name);
    case journal::PutBackOutcome::NeverHappened:
        break;
    }
    return texts::neverHappenedLine(item.name);
}

// Prints the run ids, newest first, without settling, sweeping or waiting: the journal is only read.
int printRunIds(const QString& program, int most, Output& out) {
    if (!QFileInfo::exists(platform::joinPath(program, journal::JournalStore::fileName()))) {
        return out.finish(Clean);
    }
    journal::Journal journal;
    journal.store().setWaitLimit(0);
    if (const platform::JournalStatus opened = journal.open(program); !opened.ok) {
        out.error(texts::journalUnreadable(texts::journalError(opened.error)));
        return out.finish(Stopped);
    }
    const auto runs = journal.store().listRuns(most);
    if (!runs.ok) {
        out.error(texts::journalUnreadable(texts::journalError(runs.error)));
        return out.finish(Stopped);
    }
    for (const platform::JournalRun& run : runs.value) {
        out.line(QString::number(run.id));
    }
    return out.finish(Clean);
}

} // namespace

void settleJournal(journal::Journal& journal, Output& out) {
    if (!journal.isOpen()) {
        return;
    }
    const journal::RecoveryReport settled = journal.settle();
    for (const QString& removed : settled.removed) {
        out.errorLine(texts::leftoverRemoved(removed));
    }
}

int runHistory(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageHistory(), texts::helpHistory()};
    QCommandLineParser parser;
    const QCommandLineOption json = jsonOption();
    const QCommandLineOption limit(QStringLiteral("limit"), texts::optionLimit(), QStringLiteral("N"));
    const QCommandLineOption ids(QStringLiteral("ids"), texts::optionIds());
    parser.addOptions({json, limit, ids, programDirOption()});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return out.usageError(texts::tooManyArguments(), usage.line);
    }
    int most = DefaultRuns;
    if (parser.isSet(limit)) {
        bool number = false;
        most = parser.value(limit).toInt(&number);
        if (!number || most <= 0) {
            return out.usageError(texts::notANumber(QStringLiteral("--limit"), parser.value(limit)),
                                  usage.line);
        }
    }
    const std::optional<QString> program = programFolder(parser, out);
    if (!program) {
        return out.finish(Stopped);
    }
    if (parser.isSet(ids)) {
        return printRunIds(*program, parser.isSet(limit) ? most : 0, out);
    }
    journal::Journal journal;
    bool present = false;
    if (const auto problem = openJournal(journal, *program, present)) {
        out.error(*problem);
        return out.finish(Stopped);
    }
    QList<platform::JournalRun> runs;
    if (present) {
        // What a crash left open is settled first, so the history shows what really happened.
        settleJournal(journal, out);
        const auto listed = journal.store().listRuns(most);
        if (!listed.ok) {
            out.error(texts::journalUnreadable(texts::journalError(listed.error)));
            return out.finish(Stopped);
        }
        runs = listed.value;
    }
    QJsonArray runsJson;
    for (const platform::JournalRun& run : runs) {
        const auto changes = journal.store().changesOf(run.id);
        if (!changes.ok) {
            out.error(texts::journalUnreadable(texts::journalError(changes.error)));
            return out.finish(Stopped);
        }
        if (!parser.isSet(json)) {
            out.line(texts::historyLine(run.id, when(run.started), run.command, run.skinFolder, run.outcome,
                                        changes.value.size()));
            continue;
        }
        QJsonArray changesJson;
        for (const journal::JournalChange& change : changes.value) {
            changesJson.append(changeJson(change));
        }
        runsJson.append(QJsonObject{{QStringLiteral("id"), run.id},
                                    {QStringLiteral("command"), run.command},
                                    {QStringLiteral("skinFolder"), run.skinFolder},
                                    {QStringLiteral("started"), when(run.started)},
                                    {QStringLiteral("ended"), when(run.ended)},
                                    {QStringLiteral("outcome"), run.outcome},
                                    {QStringLiteral("changes"), changesJson}});
    }
    if (parser.isSet(json)) {
        out.json({{QStringLiteral("command"), QStringLiteral("history")},
                  {QStringLiteral("programFolder"), *program},
                  {QStringLiteral("exitStatus"), Clean},
                  {QStringLiteral("runs"), runsJson}});
    } else if (runs.isEmpty()) {
        out.line(texts::noRunsRecorded());
    }
    return out.finish(Clean);
}

namespace {

// The newest run that changed something, for `undo last`; or the status to end with, what
// stops it printed (no such run, or that run is already put back).
std::optional<int> findLastRun(journal::Journal& journal, const QString& program, bool asJson, Output& out,
                               qint64& runId) {
    QString error;
    bool putBackAlready = false;
    const std::optional<qint64> last = lastRunThatChanged(journal.store(), putBackAlready, error);
    if (!error.isEmpty()) {
        out.error(texts::journalUnreadable(error));
        return out.finish(Stopped);
    }
    if (!last) {
        out.error(texts::noRunToUndo());
        return out.finish(Stopped);
    }
    runId = *last;
    if (!putBackAlready) {
        return std::nullopt;
    }
    if (asJson) {
        out.json({{QStringLiteral("command"), QStringLiteral("undo")},
                  {QStringLiteral("programFolder"), program},
                  {QStringLiteral("run"), runId},
                  {QStringLiteral("undoRun"), 0},
                  {QStringLiteral("exitStatus"), Clean},
                  {QStringLiteral("message"), texts::nothingLeftToPutBack(runId)},
                  {QStringLiteral("counts"),
                   QJsonObject{{QStringLiteral("putBack"), 0}, {QStringLiteral("leftAlone"), 0}}},
                  {QStringLiteral("files"), QJsonArray()}});
    } else {
        out.line(texts::nothingLeftToPutBack(runId));
    }
    return out.finish(Clean);
}

} // namespace

int runUndo(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageUndo(), texts::helpUndo()};
    QCommandLineParser parser;
    const QCommandLineOption json = jsonOption();
    parser.addOptions({json, programDirOption()});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    const QStringList given = parser.positionalArguments();
    if (given.isEmpty()) {
        return out.usageError(texts::missingArgument(QStringLiteral("RUN_ID")), usage.line);
    }
    if (given.size() > 1) {
        return out.usageError(texts::tooManyArguments(), usage.line);
    }
    bool number = false;
    const qint64 named = given[0].toLongLong(&number);
    if (given[0] != QStringLiteral("last") && (!number || named <= 0)) {
        return out.usageError(texts::notANumber(QStringLiteral("RUN_ID"), given[0]), usage.line);
    }
    const std::optional<QString> program = programFolder(parser, out);
    if (!program) {
        return out.finish(Stopped);
    }
    // Putting back moves files in and out of the program folder, as a check does.
    platform::ProgramLock lock(*program);
    const platform::ProgramLock::Result locked = lock.acquire(checks::ProgramLockWaitMs);
    if (locked.kind == platform::ProgramLock::Result::Kind::Busy) {
        out.errorLine(texts::programFolderBusy(*program));
        return out.finish(Busy);
    }
    journal::Journal journal;
    bool present = false;
    if (const auto problem = openJournal(journal, *program, present)) {
        out.error(*problem);
        return out.finish(Stopped);
    }
    if (!present) {
        out.error(number ? texts::noSuchRun(given[0]) : texts::noRunToUndo());
        return out.finish(Stopped);
    }
    // Settled first: a change a crash left open is put back by what the disk shows, not skipped.
    settleJournal(journal, out);
    if (journal.store().busy()) {
        out.error(texts::journalInUse());
        return out.finish(Busy);
    }
    qint64 runId = named;
    if (!number) {
        if (const auto ended = findLastRun(journal, *program, parser.isSet(json), out, runId)) {
            return *ended;
        }
    }
    const auto run = journal.store().run(runId);
    if (!run.ok) {
        out.error(texts::noSuchRun(given[0]));
        return out.finish(Stopped);
    }

    const journal::PutBackReport report = journal.putBackRun(runId);
    if (report.busy) {
        out.error(texts::journalInUse());
        return out.finish(Busy);
    }
    const int putBack = report.count(journal::PutBackOutcome::PutBack);
    const int leftAlone = report.count(journal::PutBackOutcome::LeftAlone);
    int status = Clean;
    if (!report.error.isEmpty()) {
        status = Stopped;
    } else if (leftAlone > 0) {
        status = Found;
    }
    const QString summary = texts::putBackRunLine(
        runId, run.value.command, shortFolder(run.value.skinFolder),
        run.value.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")), putBack);
    if (parser.isSet(json)) {
        QJsonArray items;
        for (const journal::PutBackItem& item : report.items) {
            items.append(QJsonObject{{QStringLiteral("change"), item.changeId},
                                     {QStringLiteral("name"), item.name},
                                     {QStringLiteral("verdict"), outcomeName(item.outcome)},
                                     {QStringLiteral("reason"), item.reason},
                                     {QStringLiteral("what"), item.what}});
        }
        out.json({{QStringLiteral("command"), QStringLiteral("undo")},
                  {QStringLiteral("programFolder"), *program},
                  {QStringLiteral("run"), runId},
                  {QStringLiteral("undoRun"), report.runId},
                  {QStringLiteral("exitStatus"), status},
                  {QStringLiteral("message"), summary},
                  {QStringLiteral("error"), report.error},
                  {QStringLiteral("counts"), QJsonObject{{QStringLiteral("putBack"), putBack},
                                                         {QStringLiteral("leftAlone"), leftAlone}}},
                  {QStringLiteral("files"), items}});
        return out.finish(status);
    }
    for (const journal::PutBackItem& item : report.items) {
        out.line(itemLine(item));
    }
    out.line(summary);
    if (leftAlone > 0) {
        out.line(texts::putBackCounts(runId, putBack, leftAlone));
    }
    if (!report.error.isEmpty()) {
        out.error(report.error);
    }
    return out.finish(status);
}

} // namespace vestimo::cli
