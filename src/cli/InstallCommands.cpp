#include "cli/Commands.h"

#include "core/catalogue/CommandLine.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/games/Discovery.h"
#include "core/games/GameFolders.h"
#include "core/install/Install.h"
#include "core/install/JournaledInstall.h"
#include "core/journal/Journal.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace vestimo::cli {

namespace {

using core::games::GameInstall;

std::vector<GameInstall> discoverGames() {
    return core::games::discoverGames(
        {qEnvironmentVariable("HOME", QDir::homePath()), qEnvironmentVariable("WINEPREFIX")});
}

QString placeKindName(core::games::PlaceKind kind) {
    switch (kind) {
    case core::games::PlaceKind::Wine:
        return QStringLiteral("wine");
    case core::games::PlaceKind::Lutris:
        return QStringLiteral("lutris");
    case core::games::PlaceKind::Bottles:
        return QStringLiteral("bottles");
    case core::games::PlaceKind::Proton:
        return QStringLiteral("proton");
    case core::games::PlaceKind::Steam:
        return QStringLiteral("steam");
    }
    return {};
}

QString foundByName(core::games::FoundBy found) {
    switch (found) {
    case core::games::FoundBy::DefaultPath:
        return QStringLiteral("defaultPath");
    case core::games::FoundBy::Registry:
        return QStringLiteral("registry");
    case core::games::FoundBy::Steam:
        return QStringLiteral("steam");
    }
    return {};
}

QJsonObject installedEntry(const install::InstalledFile& file, const QString& verdict) {
    return {{QStringLiteral("name"), file.name},
            {QStringLiteral("verdict"), verdict},
            {QStringLiteral("reason"), QString()},
            {QStringLiteral("target"), file.target}};
}

QJsonObject downloadJson(const install::DownloadReport& download, bool checkOnly) {
    QJsonArray files;
    for (const install::InstalledFile& file : download.installed) {
        files.append(
            installedEntry(file, checkOnly ? QStringLiteral("wouldInstall") : QStringLiteral("installed")));
    }
    for (const install::InstalledFile& file : download.alreadyInstalled) {
        files.append(installedEntry(file, QStringLiteral("alreadyInstalled")));
    }
    for (const install::RefusedFile& file : download.refused) {
        files.append(QJsonObject{{QStringLiteral("name"), file.name},
                                 {QStringLiteral("verdict"), QStringLiteral("refused")},
                                 {QStringLiteral("reason"), file.reason}});
    }
    for (const install::ConflictingFile& file : download.conflicts) {
        files.append(QJsonObject{{QStringLiteral("name"), file.name},
                                 {QStringLiteral("verdict"), QStringLiteral("conflict")},
                                 {QStringLiteral("reason"), QString()},
                                 {QStringLiteral("other"), file.other}});
    }
    for (const QString& name : download.notSkinFiles) {
        files.append(QJsonObject{{QStringLiteral("name"), name},
                                 {QStringLiteral("verdict"), QStringLiteral("notSkinFile")},
                                 {QStringLiteral("reason"), QString()}});
    }
    return {{QStringLiteral("download"), download.download},
            {QStringLiteral("stopped"), download.stopped},
            {QStringLiteral("files"), files}};
}

void printDownload(const install::DownloadReport& download, bool checkOnly, Output& out) {
    if (!download.stopped.isEmpty()) {
        out.line(texts::downloadNotReadLine(download.download, download.stopped));
    }
    for (const install::InstalledFile& file : download.installed) {
        out.line(checkOnly ? texts::wouldInstallLine(file.name, file.target)
                           : texts::installedLine(file.name, file.target));
    }
    for (const install::InstalledFile& file : download.alreadyInstalled) {
        out.line(texts::alreadyInstalledLine(file.name, file.target));
    }
    for (const install::RefusedFile& file : download.refused) {
        out.line(texts::refusedLine(file.raw.isEmpty() ? file.name : withStrayBytes(file.raw), file.reason));
    }
    for (const install::ConflictingFile& file : download.conflicts) {
        out.line(texts::conflictLine(file.name, file.other));
    }
    for (const QString& name : download.notSkinFiles) {
        out.line(texts::notSkinFileLine(name));
    }
}

// Where the files go: the folder --into names, the install --game names, or the one install
// found. Nothing when one was chosen; otherwise the status to end with, the problem printed.
std::optional<int> chooseDestination(const QCommandLineParser& parser, const QCommandLineOption& game,
                                     const QCommandLineOption& into, const Usage& usage, Output& out,
                                     install::Destination& destination) {
    if (parser.isSet(into)) {
        if (const auto problem = folderProblem(parser.value(into))) {
            out.error(*problem);
            return out.finish(Stopped);
        }
        destination = install::Destination::Folder(QFileInfo(parser.value(into)).absoluteFilePath());
        return std::nullopt;
    }
    const std::vector<GameInstall> games = discoverGames();
    const GameInstall* chosen = nullptr;
    if (parser.isSet(game)) {
        for (const GameInstall& found : games) {
            if (found.label == parser.value(game)) {
                chosen = &found;
            }
        }
        if (chosen == nullptr) {
            out.error(texts::noSuchGame(parser.value(game)));
            return out.finish(Stopped);
        }
    } else if (games.size() == 1) {
        chosen = &games.front();
    } else {
        return out.usageError(texts::chooseGame(), usage.line);
    }
    destination = {chosen->skins, chosen->skinsBuy};
    return std::nullopt;
}

} // namespace

int runInstall(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageInstall(), texts::helpInstall()};
    QCommandLineParser parser;
    const QCommandLineOption dryRun = dryRunOption();
    const QCommandLineOption json = jsonOption();
    const QCommandLineOption game(QStringLiteral("game"), texts::optionGame(), QStringLiteral("LABEL"));
    const QCommandLineOption into(QStringLiteral("into"), texts::optionInto(), QStringLiteral("DIR"));
    parser.addOptions({dryRun, json, game, into, programDirOption()});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    const QStringList given = parser.positionalArguments();
    if (given.isEmpty()) {
        return out.usageError(texts::missingArgument(QStringLiteral("ARCHIVE_OR_FOLDER")), usage.line);
    }
    if (parser.isSet(game) && parser.isSet(into)) {
        return out.usageError(texts::gameOrInto(), usage.line);
    }
    QStringList downloads;
    for (const QString& path : given) {
        const auto problem = QFileInfo(path).isDir() ? folderProblem(path) : fileProblem(path);
        if (problem) {
            out.error(*problem);
            return out.finish(Stopped);
        }
        downloads.append(QFileInfo(path).absoluteFilePath());
    }
    install::Destination destination;
    if (const auto ended = chooseDestination(parser, game, into, usage, out, destination)) {
        return *ended;
    }
    const std::optional<QString> program = programFolder(parser, out);
    if (!program) {
        return out.finish(Stopped);
    }
    // Refused before the journal is opened, so nothing of the program's is written there.
    if (const auto problem = install::intoProgramFolder(destination, *program)) {
        out.errorLine(*problem);
        return out.finish(Stopped);
    }

    install::Options options;
    options.checkOnly = parser.isSet(dryRun);
    options.stagingParent = *program;
    // Recorded as the window records it, so History and "undo" can put the installation back; a
    // journal that cannot be opened stops nothing (the report says so).
    journal::Journal journal;
    if (!options.checkOnly && journal.open(*program).ok) {
        settleJournal(journal, out);
    }
    const install::RecordedInstall recorded =
        install::installRecorded(&journal, downloads, destination, options);
    const install::InstallReport& report = recorded.report;
    const install::InstallReport::Totals totals = report.totals();
    const QString journalLine = report.checkOnly        ? QString()
                                : totals.installed == 0 ? texts::runChangedNothing()
                                : recorded.recorded     ? texts::runCanBeUndone()
                                                        : texts::runNotRecorded(recorded.notRecorded);
    int status = Clean;
    if (!report.stopped.isEmpty()) {
        status = Stopped;
    } else if (totals.refused > 0 || totals.conflicts > 0 || totals.stoppedDownloads > 0) {
        status = Found;
    }
    if (parser.isSet(json)) {
        QJsonArray downloadsJson;
        for (const install::DownloadReport& download : report.downloads) {
            downloadsJson.append(downloadJson(download, report.checkOnly));
        }
        const QJsonObject counts = {{QStringLiteral("installed"), totals.installed},
                                    {QStringLiteral("alreadyInstalled"), totals.alreadyInstalled},
                                    {QStringLiteral("refused"), totals.refused},
                                    {QStringLiteral("conflicts"), totals.conflicts},
                                    {QStringLiteral("notSkinFiles"), totals.notSkinFiles},
                                    {QStringLiteral("stoppedDownloads"), totals.stoppedDownloads}};
        out.json({{QStringLiteral("command"), QStringLiteral("install")},
                  {QStringLiteral("dryRun"), report.checkOnly},
                  {QStringLiteral("skinFolder"), destination.skins},
                  {QStringLiteral("skinsBuyFolder"), destination.skinsBuy},
                  {QStringLiteral("programFolder"), *program},
                  {QStringLiteral("exitStatus"), status},
                  {QStringLiteral("message"), report.closing()},
                  {QStringLiteral("counts"), counts},
                  {QStringLiteral("recorded"), recorded.recorded},
                  {QStringLiteral("journal"), journalLine},
                  {QStringLiteral("downloads"), downloadsJson}});
        return out.finish(status);
    }
    if (!report.stopped.isEmpty()) {
        out.errorLine(report.closing());
        return out.finish(status);
    }
    for (const install::DownloadReport& download : report.downloads) {
        printDownload(download, report.checkOnly, out);
    }
    out.lines(texts::installCounts(totals.installed, totals.alreadyInstalled, totals.refused,
                                   totals.conflicts, totals.notSkinFiles, totals.stoppedDownloads)
                  .split(u'\n'));
    if (!journalLine.isEmpty()) {
        out.line(journalLine);
    }
    out.line(report.closing());
    return out.finish(status);
}

int runGames(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageGames(), texts::helpGames()};
    QCommandLineParser parser;
    const QCommandLineOption json = jsonOption();
    const QCommandLineOption labels(QStringLiteral("labels"), texts::optionLabels());
    parser.addOptions({json, labels});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return out.usageError(texts::tooManyArguments(), usage.line);
    }
    const core::games::Discovered found = core::games::discover(
        {qEnvironmentVariable("HOME", QDir::homePath()), qEnvironmentVariable("WINEPREFIX")});
    const std::vector<GameInstall>& games = found.installs;
    if (parser.isSet(labels)) {
        // For shell completion: nothing but the labels, so none needs telling apart from a heading.
        for (const GameInstall& game : games) {
            out.line(game.label);
        }
        return out.finish(Clean);
    }
    if (parser.isSet(json)) {
        QJsonArray list;
        for (const GameInstall& game : games) {
            list.append(QJsonObject{{QStringLiteral("label"), game.label},
                                    {QStringLiteral("root"), game.root},
                                    {QStringLiteral("skins"), game.skins},
                                    {QStringLiteral("skinsBuy"), game.skinsBuy},
                                    {QStringLiteral("downloads"), game.downloads},
                                    {QStringLiteral("place"), game.place},
                                    {QStringLiteral("placeKind"), placeKindName(game.placeKind)},
                                    {QStringLiteral("foundBy"), foundByName(game.foundBy)}});
        }
        out.json({{QStringLiteral("command"), QStringLiteral("games")},
                  {QStringLiteral("exitStatus"), Clean},
                  {QStringLiteral("games"), list},
                  {QStringLiteral("ignored"), QJsonArray::fromStringList(found.ignored)}});
        return out.finish(Clean);
    }
    if (games.empty()) {
        out.line(texts::noGameFound());
    }
    for (const GameInstall& game : games) {
        out.line(game.label);
        out.line(texts::gameSkinsLine(game.skins));
        if (!game.skinsBuy.isEmpty()) {
            out.line(texts::gameSkinsBuyLine(game.skinsBuy));
        }
        if (!game.downloads.isEmpty()) {
            out.line(texts::gameDownloadsLine(game.downloads));
        }
    }
    out.lines(found.ignored);
    return out.finish(Clean);
}

} // namespace vestimo::cli
