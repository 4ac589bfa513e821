#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the command line: usage, help, and the words in front of each file of a report.
namespace vestimo::texts {

// The usage line of each command, as usage errors and help show it.
inline QString usageOverview() {
    return QCoreApplication::translate(
        "Vestimo", "Usage: vestimo [DIR] | vestimo COMMAND [OPTIONS] ARGUMENTS... | vestimo --help");
}
// `checkOptions`: one "[--KEY]" for each directory-wide check, in the order they run.
inline QString usageCheck(const QString& checkOptions) {
    return QCoreApplication::translate(
               "Vestimo", "Usage: vestimo check %1 [--dry-run] [--json] [--program-dir DIR] SKIN_DIR")
        .arg(checkOptions);
}
inline QString usageCheckFile() {
    return QCoreApplication::translate("Vestimo", "Usage: vestimo check-file [--json] FILE...");
}
inline QString usageInstall() {
    return QCoreApplication::translate(
        "Vestimo", "Usage: vestimo install [--dry-run] [--json] [--game LABEL|--into DIR] "
                   "[--program-dir DIR] ARCHIVE_OR_FOLDER...");
}
inline QString usageGames() {
    return QCoreApplication::translate("Vestimo", "Usage: vestimo games [--json] [--labels]");
}
inline QString usageHistory() {
    return QCoreApplication::translate(
        "Vestimo", "Usage: vestimo history [--json] [--limit N] [--ids] [--program-dir DIR]");
}
inline QString usageUndo() {
    return QCoreApplication::translate("Vestimo",
                                       "Usage: vestimo undo [--json] [--program-dir DIR] RUN_ID|last");
}

inline QString helpOverview() {
    return QCoreApplication::translate(
        "Vestimo",
        "Checks, tidies and installs the custom skins of The Sims.\n"
        "\n"
        "Without a command the windows open, on DIR when it is given.\n"
        "\n"
        "Commands:\n"
        "  check       the directory-wide checks of a skin folder (CMX, BMP, associated files)\n"
        "  check-file  the single-file checks: \"Check CMX For Errors\" and \"Check BMP File\"\n"
        "  install     installs skins from downloads (archives or folders)\n"
        "  games       the game installs found and their skin folders\n"
        "  history     the runs the journal recorded, newest first\n"
        "  undo        puts back what a run did\n"
        "  render      draws a skin on the Sim into a PNG picture\n"
        "  skins       lists a skin folder's skins, or draws their pictures on a contact sheet\n"
        "\n"
        "vestimo COMMAND --help describes a command. Exit status: 0 nothing was found wrong, 1 files\n"
        "were (or would be) moved, refused or in conflict, 2 a usage or input/output error stopped\n"
        "the command, 3 another copy of the program holds the program folder.");
}
inline QString helpCheck() {
    return QCoreApplication::translate(
        "Vestimo", "Runs the directory-wide checks on SKIN_DIR, in the order CMX, BMP, associated "
                   "files; all three unless some are named.");
}
inline QString helpCheckFile() {
    return QCoreApplication::translate(
        "Vestimo", "Checks each CMX or BMP file on its own and shows the message the skin editing "
                   "window would show.");
}
inline QString helpInstall() {
    return QCoreApplication::translate(
        "Vestimo", "Installs the skin files of each download into the game's skin folders.");
}
inline QString helpGames() {
    return QCoreApplication::translate("Vestimo", "Lists the game installs found and their skin folders.");
}
inline QString helpHistory() {
    return QCoreApplication::translate("Vestimo", "Lists the runs the journal recorded, newest first.");
}
inline QString helpUndo() {
    return QCoreApplication::translate(
        "Vestimo", "Puts back what the run RUN_ID (or the last run that changed files) did.");
}
inline QString optionJson() {
    return QCoreApplication::translate("Vestimo", "Print one JSON document instead of text.");
}
inline QString optionDryRun() {
    return QCoreApplication::translate("Vestimo", "Judge and report only; nothing is moved or written.");
}
inline QString optionProgramDir() {
    return QCoreApplication::translate(
        "Vestimo", "The program folder, where problem files go (default: the program's own).");
}
inline QString optionCmx() {
    return QCoreApplication::translate("Vestimo", "Check All CMX Files in Directory.");
}
inline QString optionBmp() {
    return QCoreApplication::translate("Vestimo", "Check All BMP Files in Directory.");
}
inline QString optionAssoc() {
    return QCoreApplication::translate("Vestimo", "Check Associated Files For All CMX Files.");
}
inline QString optionGame() {
    return QCoreApplication::translate("Vestimo",
                                       "Install into the game install with this label (see vestimo games).");
}
inline QString optionInto() {
    return QCoreApplication::translate("Vestimo", "Install everything into this folder.");
}
inline QString optionLabels() {
    return QCoreApplication::translate("Vestimo", "Print only the installs' labels, one a line.");
}
inline QString optionIds() {
    return QCoreApplication::translate(
        "Vestimo", "Print only the run ids, newest first, reading the journal without changing it.");
}
inline QString optionLimit() {
    return QCoreApplication::translate("Vestimo", "Show at most N runs (default 20).");
}
inline QString optionHelp() {
    return QCoreApplication::translate("Vestimo", "Show this help.");
}

// Usage and input errors; each goes to the error output after "vestimo: ".
inline QString unknownCommand(const QString& command) {
    return QCoreApplication::translate("Vestimo", "unknown command %1").arg(command);
}
inline QString missingArgument(const QString& what) {
    return QCoreApplication::translate("Vestimo", "%1 is missing").arg(what);
}
inline QString tooManyArguments() {
    return QCoreApplication::translate("Vestimo", "too many arguments");
}
inline QString cannotRead(const QString& path, const QString& why) {
    return QCoreApplication::translate("Vestimo", "cannot read %1: %2").arg(path, why);
}
inline QString noSuchFileOrFolder() {
    return QCoreApplication::translate("Vestimo", "there is no such file or folder");
}
inline QString notAFolder() {
    return QCoreApplication::translate("Vestimo", "not a folder");
}
inline QString notASkinFileKind(const QString& path) {
    return QCoreApplication::translate("Vestimo", "%1 is neither a CMX nor a BMP file").arg(path);
}
inline QString notANumber(const QString& option, const QString& value) {
    return QCoreApplication::translate("Vestimo", "%1 wants a whole number above 0, not %2")
        .arg(option, value);
}
inline QString gameOrInto() {
    return QCoreApplication::translate("Vestimo", "--game and --into cannot be given together");
}
inline QString noSuchGame(const QString& label) {
    return QCoreApplication::translate("Vestimo", "no game install is labelled %1 (see vestimo games)")
        .arg(label);
}
inline QString chooseGame() {
    return QCoreApplication::translate(
        "Vestimo", "name the game with --game LABEL or a folder with --into DIR (see vestimo games)");
}
inline QString noDisplayForWindows() {
    return QCoreApplication::translate(
        "Vestimo", "no display to open the windows on; the commands (vestimo --help) work without one");
}
inline QString outputFailed() {
    return QCoreApplication::translate("Vestimo", "the report could not be written in full");
}
inline QString journalUnreadable(const QString& why) {
    return QCoreApplication::translate("Vestimo", "the journal could not be read: %1").arg(why);
}
inline QString noSuchRun(const QString& run) {
    return QCoreApplication::translate("Vestimo", "the journal holds no run %1").arg(run);
}
inline QString noRunToUndo() {
    return QCoreApplication::translate("Vestimo", "the journal holds no run that changed files");
}

// The last line of a check's report when no file moved, in place of the closing message.
inline QString dryRunNothingMoved() {
    return QCoreApplication::translate("Vestimo", "This was a dry run: nothing was moved.");
}

// The last line of a command that SIGINT or SIGTERM stopped.
inline QString stoppedBySignal(const QString& signal) {
    return QCoreApplication::translate("Vestimo", "Stopped by %1: the files above were dealt with; nothing "
                                                  "else was judged or changed.")
        .arg(signal);
}

// The word in front of each file of a report.
inline QString movedLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "moved %1: %2").arg(name, reason);
}
inline QString wouldMoveLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "would move %1: %2").arg(name, reason);
}
inline QString notMovedLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "not moved %1: %2").arg(name, reason);
}
inline QString notJudgedLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "not judged %1: %2").arg(name, reason);
}
inline QString nameKeptOffTheList() {
    return QCoreApplication::translate("Vestimo", "a line break in the name keeps it off the list");
}
inline QString nameNotText() {
    return QCoreApplication::translate("Vestimo", "the name is not valid text here (rename it)");
}
inline QString companionOfFile(const QString& role, const QString& owner) {
    return QCoreApplication::translate("Vestimo", "the %1 of %2").arg(role, owner);
}
inline QString fileCheckLine(const QString& path, const QString& message) {
    return QStringLiteral("%1: %2").arg(path, message);
}

// The installation from downloads.
inline QString installedLine(const QString& name, const QString& target) {
    return QCoreApplication::translate("Vestimo", "installed %1: %2").arg(name, target);
}
inline QString wouldInstallLine(const QString& name, const QString& target) {
    return QCoreApplication::translate("Vestimo", "would install %1: %2").arg(name, target);
}
inline QString alreadyInstalledLine(const QString& name, const QString& target) {
    return QCoreApplication::translate("Vestimo", "already installed %1: %2").arg(name, target);
}
inline QString refusedLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "refused %1: %2").arg(name, reason);
}
inline QString conflictLine(const QString& name, const QString& other) {
    return QCoreApplication::translate("Vestimo", "in conflict %1: %2").arg(name, other);
}
inline QString notSkinFileLine(const QString& name) {
    return QCoreApplication::translate("Vestimo", "not a skin file %1").arg(name);
}
inline QString downloadNotReadLine(const QString& download, const QString& why) {
    return QCoreApplication::translate("Vestimo", "not read %1: %2").arg(download, why);
}
inline QString installCounts(int installed, int already, int refused, int conflicts, int notSkin,
                             int stopped) {
    return QCoreApplication::translate(
               "Vestimo", "Files installed: %1\nAlready installed: %2\nRefused: %3\nIn conflict: %4\n"
                          "Not skin files: %5\nDownloads not read: %6")
        .arg(installed)
        .arg(already)
        .arg(refused)
        .arg(conflicts)
        .arg(notSkin)
        .arg(stopped);
}

// The game installs.
inline QString gameSkinsLine(const QString& path) {
    return QCoreApplication::translate("Vestimo", "  skins: %1").arg(path);
}
inline QString gameSkinsBuyLine(const QString& path) {
    return QCoreApplication::translate("Vestimo", "  buyable outfits: %1").arg(path);
}
inline QString gameDownloadsLine(const QString& path) {
    return QCoreApplication::translate("Vestimo", "  downloads: %1").arg(path);
}

// The journal.
inline QString historyLine(qint64 run, const QString& started, const QString& command, const QString& folder,
                           const QString& outcome, qsizetype changes) {
    return QCoreApplication::translate("Vestimo", "%1  %2  %3  %4  %5  (%6 files)")
        .arg(run)
        .arg(started, command, folder, outcome)
        .arg(changes);
}
inline QString noRunsRecorded() {
    return QCoreApplication::translate("Vestimo", "No runs are recorded.");
}
inline QString putBackLine(const QString& name, const QString& what) {
    return QCoreApplication::translate("Vestimo", "put back %1: %2").arg(name, what);
}
inline QString leftAloneLine(const QString& name, const QString& reason) {
    return QCoreApplication::translate("Vestimo", "left alone %1: %2").arg(name, reason);
}
inline QString leftAloneNotTheFileLine(const QString& reason) {
    return QCoreApplication::translate("Vestimo", "left alone: %1").arg(reason);
}
inline QString alreadyPutBackLine(const QString& name) {
    return QCoreApplication::translate("Vestimo", "already put back %1").arg(name);
}
inline QString neverHappenedLine(const QString& name) {
    return QCoreApplication::translate("Vestimo", "never happened %1").arg(name);
}
inline QString putBackRunLine(qint64 run, const QString& command, const QString& folder, const QString& when,
                              int putBack) {
    return QCoreApplication::translate("Vestimo", "Put back run %1 (%2, %3, %4): %5 files")
        .arg(run)
        .arg(command, folder, when)
        .arg(putBack);
}
inline QString nothingLeftToPutBack(qint64 run) {
    return QCoreApplication::translate("Vestimo", "Nothing left to put back: run %1 is already put back.")
        .arg(run);
}
inline QString putBackCounts(qint64 run, int putBack, int leftAlone) {
    return QCoreApplication::translate("Vestimo", "Run %1: %2 files put back, %3 left alone.")
        .arg(run)
        .arg(putBack)
        .arg(leftAlone);
}

} // namespace vestimo::texts
