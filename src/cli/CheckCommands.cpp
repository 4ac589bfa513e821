#include "cli/Commands.h"
#include "cli/Signals.h"

#include "core/FileFilter.h"
#include "core/catalogue/Checks.h"
#include "core/catalogue/CommandLine.h"
#include "core/catalogue/History.h"
#include "core/catalogue/Verdicts.h"
#include "core/checks/CheckRegistry.h"
#include "core/checks/ClosingMessage.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/journal/Journal.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/FileSystem.h"
#include "platform/Pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>
#include <csignal>

namespace vestimo::cli {

namespace {

using checks::DirectoryReport;

struct NamedCheck {
    QString key; // its name in the options and the JSON report
    checks::DirectoryCheck check;
};

QString outcomeName(DirectoryReport::Outcome outcome) {
    switch (outcome) {
    case DirectoryReport::Outcome::Completed:
        return QStringLiteral("completed");
    case DirectoryReport::Outcome::NothingListed:
        return QStringLiteral("nothingListed");
    case DirectoryReport::Outcome::ListingFailed:
        return QStringLiteral("listingFailed");
    case DirectoryReport::Outcome::Busy:
        return QStringLiteral("busy");
    case DirectoryReport::Outcome::SameFolder:
        return QStringLiteral("sameFolder");
    case DirectoryReport::Outcome::FolderUnreadable:
        return QStringLiteral("folderUnreadable");
    }
    return {};
}

int statusOf(const DirectoryReport& report) {
    switch (report.outcome) {
    case DirectoryReport::Outcome::Busy:
        return Busy;
    case DirectoryReport::Outcome::ListingFailed:
    case DirectoryReport::Outcome::SameFolder:
    case DirectoryReport::Outcome::FolderUnreadable:
        return Stopped;
    case DirectoryReport::Outcome::Completed:
    case DirectoryReport::Outcome::NothingListed:
        break;
    }
    const bool found = !report.moved.isEmpty() || !report.trouble.isEmpty() || !report.leftOut.isEmpty() ||
                       !report.unnamable.isEmpty() ||
                       report.recording == DirectoryReport::Recording::NotRecorded;
    return found ? Found : Clean;
}

bool stopped(const DirectoryReport& report) {
    return statusOf(report) >= Stopped;
}

// A name that is not valid text, from its stored bytes where the report has them; printed, each
// stray byte shows as \xNN.
QString unnamableName(const DirectoryReport& report, qsizetype i) {
    return i < report.unnamableBytes.size() ? withStrayBytes(report.unnamableBytes[i]) : report.unnamable[i];
}

// The window's closing message, unless it would claim moves that did not happen.
QString lastLine(const DirectoryReport& report, const checks::ClosingMessage& closing) {
    if (closing.kind != checks::ClosingMessage::Kind::Completed) {
        return closing.message;
    }
    if (report.dryRun) {
        return texts::dryRunNothingMoved();
    }
    return report.changedNothing() ? texts::runChangedNothing() : closing.message;
}

void printReport(const DirectoryReport& report, const checks::ClosingMessage& closing, Output& out) {
    if (stopped(report)) {
        out.errorLine(closing.message);
        return;
    }
    for (const DirectoryReport::Line& moved : report.moved) {
        out.line(report.dryRun ? texts::wouldMoveLine(moved.name, moved.reason)
                               : texts::movedLine(moved.name, moved.reason));
    }
    for (const DirectoryReport::Line& trouble : report.trouble) {
        out.line(texts::notMovedLine(trouble.name, trouble.reason));
    }
    for (const QString& name : report.leftOut) {
        out.line(texts::notJudgedLine(name, texts::nameKeptOffTheList()));
    }
    for (qsizetype i = 0; i < report.unnamable.size(); ++i) {
        out.line(texts::notJudgedLine(unnamableName(report, i), texts::nameNotText()));
    }
    if (report.earlierListingTrashed) {
        out.line(texts::earlierListingTrashed());
    }
    if (report.outcome == DirectoryReport::Outcome::Completed) {
        out.lines(report.countLines());
    }
    if (report.recording == DirectoryReport::Recording::NotRecorded) {
        out.line(texts::runNotRecorded(report.notRecordedWhy));
    }
    out.line(lastLine(report, closing));
}

QJsonObject fileEntry(const QString& name, const QString& verdict, const QString& reason) {
    return {{QStringLiteral("name"), name},
            {QStringLiteral("verdict"), verdict},
            {QStringLiteral("reason"), reason}};
}

QJsonObject reportJson(const QString& key, const DirectoryReport& report,
                       const checks::ClosingMessage& closing) {
    const QString movedVerdict = report.dryRun ? QStringLiteral("wouldMove") : QStringLiteral("moved");
    QJsonArray files;
    for (const DirectoryReport::Line& moved : report.moved) {
        QJsonObject entry = fileEntry(moved.name, movedVerdict, moved.reason);
        entry.insert(QStringLiteral("movedTo"), platform::joinPath(report.programDirectory, moved.name));
        files.append(entry);
        for (const checks::Companion& companion : moved.companions) {
            QJsonObject along =
                fileEntry(companion.name, movedVerdict, texts::companionOfFile(companion.role, moved.name));
            along.insert(QStringLiteral("movedTo"),
                         platform::joinPath(report.programDirectory, companion.name));
            along.insert(QStringLiteral("with"), moved.name);
            files.append(along);
        }
    }
    for (const DirectoryReport::Line& trouble : report.trouble) {
        files.append(fileEntry(trouble.name, QStringLiteral("notMoved"), trouble.reason));
    }
    for (const QString& name : report.leftOut) {
        files.append(fileEntry(name, QStringLiteral("notJudged"), texts::nameKeptOffTheList()));
    }
    for (qsizetype i = 0; i < report.unnamable.size(); ++i) {
        QJsonObject entry =
            fileEntry(printable(unnamableName(report, i)), QStringLiteral("notJudged"), texts::nameNotText());
        entry.insert(QStringLiteral("validText"), false);
        files.append(entry);
    }
    const QJsonObject counts = {
        {QStringLiteral("judged"), report.judged},
        {QStringLiteral("moved"), static_cast<int>(report.moved.size())},
        {QStringLiteral("left"), report.judged - static_cast<int>(report.moved.size())},
        {QStringLiteral("passedOver"), report.passedOver},
        {QStringLiteral("companionsMoved"), report.companionsMoved},
        {QStringLiteral("notMoved"), static_cast<int>(report.trouble.size())},
        {QStringLiteral("notJudged"), static_cast<int>(report.leftOut.size() + report.unnamable.size())},
    };
    return {{QStringLiteral("check"), key},
            {QStringLiteral("outcome"), outcomeName(report.outcome)},
            {QStringLiteral("message"), lastLine(report, closing)},
            {QStringLiteral("earlierListingTrashed"), report.earlierListingTrashed},
            {QStringLiteral("counts"), counts},
            {QStringLiteral("stoppedEarly"), report.stoppedEarly},
            {QStringLiteral("files"), files}};
}

QString signalName(int signal) {
    return signal == SIGINT ? QStringLiteral("SIGINT") : QStringLiteral("SIGTERM");
}

// The names a dry run's check would have taken out of the skin folder.
void noteGone(const DirectoryReport& report, QSet<QString>& gone) {
    for (const DirectoryReport::Line& moved : report.moved) {
        gone.insert(moved.name);
        for (const checks::Companion& companion : moved.companions) {
            gone.insert(companion.name);
        }
    }
}

// What the single-file check's message says, in one word.
enum class FileVerdict { Ok, Fault, NotChecked, Unreadable };

QString verdictName(FileVerdict verdict) {
    switch (verdict) {
    case FileVerdict::Ok:
        return QStringLiteral("ok");
    case FileVerdict::Fault:
        return QStringLiteral("fault");
    case FileVerdict::NotChecked:
        return QStringLiteral("notChecked");
    case FileVerdict::Unreadable:
        return QStringLiteral("unreadable");
    }
    return {};
}

int statusOf(FileVerdict verdict) {
    switch (verdict) {
    case FileVerdict::Ok:
    case FileVerdict::NotChecked:
        return Clean;
    case FileVerdict::Fault:
        return Found;
    case FileVerdict::Unreadable:
        break;
    }
    return Stopped;
}

struct FileCheck {
    QString message;
    FileVerdict verdict = FileVerdict::Ok;
};

FileVerdict fileVerdictOf(const cmx::CmxVerdict& verdict) {
    switch (verdict.kind) {
    case cmx::CmxVerdict::Kind::Passed:
        return FileVerdict::Ok;
    case cmx::CmxVerdict::Kind::Animation:
    case cmx::CmxVerdict::Kind::OtherClass:
        return FileVerdict::NotChecked;
    case cmx::CmxVerdict::Kind::Fault:
        return FileVerdict::Fault;
    case cmx::CmxVerdict::Kind::TooLarge:
    case cmx::CmxVerdict::Kind::NotOpened:
    case cmx::CmxVerdict::Kind::ReadFailed:
        break;
    }
    return FileVerdict::Unreadable;
}

// A picture that does not load is a corrupt bitmap, as the viewer shows it.
FileVerdict fileVerdictOf(const textures::BitmapVerdict& verdict) {
    switch (verdict.kind) {
    case textures::BitmapVerdict::Kind::WithinLimit:
        return FileVerdict::Ok;
    case textures::BitmapVerdict::Kind::NotAPicture:
    case textures::BitmapVerdict::Kind::OverLimit:
        return FileVerdict::Fault;
    case textures::BitmapVerdict::Kind::SizeNotListed:
        return FileVerdict::NotChecked;
    case textures::BitmapVerdict::Kind::LengthUnread:
        break;
    }
    return FileVerdict::Unreadable;
}

// "Check CMX For Errors" on the file as if it were selected and open, the name box holding its name.
FileCheck checkCmx(const QFileInfo& file) {
    const cmx::CmxVerdict verdict =
        cmx::judgeCmxFile(platform::joinPath(file.absolutePath(), file.fileName()), file.fileName(), false);
    return {texts::cmxCheckMessage(verdict, file.fileName()), fileVerdictOf(verdict)};
}

// "Check BMP File" on the picture as the viewer would have loaded it.
FileCheck checkBmp(const QFileInfo& file) {
    const platform::PictureSize picture = platform::measurePicture(file.filePath());
    std::optional<textures::ShownPicture> shown;
    if (picture.ok) {
        shown = textures::shownPictureOf(picture.width, picture.height);
    }
    const textures::BmpCheckAnswer answer = textures::checkBmpFile(shown, file.filePath(), file.fileName());
    return {answer.message, fileVerdictOf(answer.verdict)};
}

// The single-file check of the file's kind.
FileCheck checkFile(FileFilter kind, const QFileInfo& file) {
    switch (kind) {
    case FileFilter::CmxFiles:
        return checkCmx(file);
    case FileFilter::Bitmaps:
        break;
    }
    return checkBmp(file);
}

} // namespace

namespace {

// One option per registered check.
QList<QCommandLineOption> checkOptions() {
    QList<QCommandLineOption> options;
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        options.append(QCommandLineOption(check.key, check.optionHelp()));
    }
    return options;
}

// "[--cmx] [--bmp] ...", for the usage line.
QString checkOptionsUsage() {
    QStringList shown;
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        shown.append(QStringLiteral("[--%1]").arg(check.key));
    }
    return shown.join(u' ');
}

// The registry's order; none named means all of them.
QList<NamedCheck> chosenChecks(const QCommandLineParser& parser) {
    const auto registry = checks::checkRegistry();
    const bool all =
        std::none_of(registry.begin(), registry.end(),
                     [&parser](const checks::RegisteredCheck& check) { return parser.isSet(check.key); });
    QList<NamedCheck> chosen;
    for (const checks::RegisteredCheck& check : registry) {
        if (all || parser.isSet(check.key)) {
            chosen.append({check.key, check.make()});
        }
    }
    return chosen;
}

struct ChecksDone {
    int status = Clean;
    QJsonArray reports; // with --json, one per check run
    // The first reason a run was not recorded; one is enough to say the command was not.
    QString notRecordedWhy;
};

// Runs `chosen` in turn, printing each report (or keeping it for the JSON document), until one
// stops the command, the output fails or a signal asks to stop.
ChecksDone runChosen(const QList<NamedCheck>& chosen, const QString& skins, const QString& program,
                     checks::RunOptions& options, bool asJson, Output& out) {
    TerminalProgress progress;
    ChecksDone done;
    for (qsizetype i = 0; i < chosen.size(); ++i) {
        const NamedCheck& named = chosen[i];
        progress.setLabel(named.key);
        const DirectoryReport report =
            checks::runDirectoryCheck(named.check, skins, program, progress, options);
        const checks::ClosingMessage closing = checks::closingMessageFor(named.check, report);
        done.status = std::max(done.status, statusOf(report));
        if (report.recording == DirectoryReport::Recording::NotRecorded && done.notRecordedWhy.isEmpty()) {
            done.notRecordedWhy = report.notRecordedWhy;
        }
        if (asJson) {
            done.reports.append(reportJson(named.key, report, closing));
        } else {
            if (i > 0) {
                out.line(QString());
            }
            printReport(report, closing, out);
        }
        if (stopped(report) || !out.flush() || stopSignal() != 0) {
            break;
        }
        if (options.dryRun) {
            noteGone(report, options.gone);
        }
    }
    return done;
}

QJsonObject checkDocument(const QString& skins, const QString& program, bool dryRun, int signal,
                          const ChecksDone& done) {
    QJsonObject document{
        {QStringLiteral("command"), QStringLiteral("check")},
        {QStringLiteral("dryRun"), dryRun},
        {QStringLiteral("skinFolder"), skins},
        {QStringLiteral("programFolder"), program},
        {QStringLiteral("exitStatus"), done.status},
        {QStringLiteral("stoppedBy"), signal != 0 ? QJsonValue(signalName(signal)) : QJsonValue()},
        {QStringLiteral("checks"), done.reports}};
    if (!dryRun) {
        document.insert(QStringLiteral("recorded"), done.notRecordedWhy.isEmpty());
        if (!done.notRecordedWhy.isEmpty()) {
            document.insert(QStringLiteral("notRecordedWhy"), done.notRecordedWhy);
        }
    }
    return document;
}

} // namespace

int runCheck(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageCheck(checkOptionsUsage()), texts::helpCheck()};
    QCommandLineParser parser;
    const QCommandLineOption dryRun = dryRunOption();
    const QCommandLineOption json = jsonOption();
    parser.addOptions(checkOptions() << dryRun << json << programDirOption());
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    const std::variant<QString, int> given = oneSkinFolder(parser, usage, out);
    if (const int* ended = std::get_if<int>(&given)) {
        return *ended;
    }
    const std::optional<QString> program = programFolder(parser, out);
    if (!program) {
        return out.finish(Stopped);
    }
    const QString skins = QDir::cleanPath(QFileInfo(std::get<QString>(given)).absoluteFilePath());
    // Refused before the journal is opened, so nothing of the program's lands in the skin folder.
    if (QFileInfo(skins).canonicalFilePath() == QFileInfo(*program).canonicalFilePath()) {
        out.error(texts::skinFolderIsProgramFolder(skins));
        return out.finish(Stopped);
    }
    const QList<NamedCheck> chosen = chosenChecks(parser);

    checks::RunOptions options;
    options.dryRun = parser.isSet(dryRun);
    // Recorded as the buttons record it, so History and "undo" can put the run back; a journal
    // that cannot be opened stops nothing (the details say so).
    journal::Journal journal;
    if (!options.dryRun && journal.open(*program).ok) {
        settleJournal(journal, out);
    }
    options.journal = options.dryRun ? nullptr : &journal;
    // A stop request or an output that can no longer take the report ends the walk after the
    // file in hand.
    options.stopRequested = [&out] { return stopSignal() != 0 || out.gone(); };
    const bool asJson = parser.isSet(json);
    ChecksDone done = runChosen(chosen, skins, *program, options, asJson, out);
    const int signal = stopSignal();
    if (signal != 0) {
        // Whatever was begun is settled before the command ends.
        if (journal.isOpen()) {
            settleJournal(journal, out);
        }
        done.status = statusForSignal(signal);
        if (!asJson) {
            out.line(texts::stoppedBySignal(signalName(signal)));
        }
    }
    if (asJson) {
        out.json(checkDocument(skins, *program, options.dryRun, signal, done));
    }
    return out.finish(done.status);
}

int runCheckFile(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageCheckFile(), texts::helpCheckFile()};
    QCommandLineParser parser;
    const QCommandLineOption json = jsonOption();
    parser.addOption(json);
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    const QStringList given = parser.positionalArguments();
    if (given.isEmpty()) {
        return out.usageError(texts::missingArgument(QStringLiteral("FILE")), usage.line);
    }
    // Every file is looked at before any is judged: a bad path stops the command at once.
    for (const QString& path : given) {
        if (!kindOfPath(path)) {
            return out.usageError(texts::notASkinFileKind(path), usage.line);
        }
        if (const auto problem = fileProblem(path)) {
            out.error(*problem);
            return out.finish(Stopped);
        }
    }
    QJsonArray files;
    int status = Clean;
    int counts[4] = {};
    for (const QString& path : given) {
        const QFileInfo file(path);
        const FileFilter kind = *kindOfPath(path);
        const FileCheck result = checkFile(kind, file);
        status = std::max(status, statusOf(result.verdict));
        ++counts[static_cast<int>(result.verdict)];
        if (parser.isSet(json)) {
            QJsonObject entry = fileEntry(path, verdictName(result.verdict), result.message);
            entry.insert(QStringLiteral("kind"), fileKind(kind).suffix);
            files.append(entry);
        } else {
            out.line(texts::fileCheckLine(path, result.message));
        }
    }
    if (parser.isSet(json)) {
        const QJsonObject countsJson = {{QStringLiteral("ok"), counts[0]},
                                        {QStringLiteral("fault"), counts[1]},
                                        {QStringLiteral("notChecked"), counts[2]},
                                        {QStringLiteral("unreadable"), counts[3]}};
        out.json({{QStringLiteral("command"), QStringLiteral("check-file")},
                  {QStringLiteral("exitStatus"), status},
                  {QStringLiteral("counts"), countsJson},
                  {QStringLiteral("files"), files}});
    }
    return out.finish(status);
}

} // namespace vestimo::cli
