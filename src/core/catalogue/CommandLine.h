#pragma once

#include <QString>

// The texts of the command line: usage, help, and the words in front of each file of a report.
namespace vestimo::texts {

// The usage line of each command, as usage errors and help show it.
inline QString usageOverview() {
    return QStringLiteral("Usage: vestimo [DIR] | vestimo COMMAND [OPTIONS] ARGUMENTS... | vestimo --help");
}
inline QString usageCheck() {
    return QStringLiteral(
        "Usage: vestimo check [--cmx] [--bmp] [--assoc] [--dry-run] [--json] [--program-dir DIR] SKIN_DIR");
}
inline QString usageCheckFile() {
    return QStringLiteral("Usage: vestimo check-file [--json] FILE...");
}
inline QString usageInstall() {
    return QStringLiteral("Usage: vestimo install [--dry-run] [--json] [--game LABEL|--into DIR] "
                          "[--program-dir DIR] ARCHIVE_OR_FOLDER...");
}
inline QString usageGames() {
    return QStringLiteral("Usage: vestimo games [--json]");
}
inline QString usageHistory() {
    return QStringLiteral("Usage: vestimo history [--json] [--limit N] [--program-dir DIR]");
}
inline QString usageUndo() {
    return QStringLiteral("Usage: vestimo undo [--json] [--program-dir DIR] RUN_ID|last");
}

inline QString helpOverview() {
    return QStringLiteral(
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
        "\n"
        "vestimo COMMAND --help describes a command. Exit status: 0 nothing was found wrong, 1 files\n"
        "were (or would be) moved, refused or in conflict, 2 a usage or input/output error stopped\n"
        "the command, 3 another copy of the program holds the program folder.");
}
inline QString helpCheck() {
    return QStringLiteral("Runs the directory-wide checks on SKIN_DIR, in the order CMX, BMP, associated "
                          "files; all three unless some are named.");
}
inline QString helpCheckFile() {
    return QStringLiteral("Checks each CMX or BMP file on its own and shows the message the skin editing "
                          "window would show.");
}
inline QString helpInstall() {
    return QStringLiteral("Installs the skin files of each download into the game's skin folders.");
}
inline QString helpGames() {
    return QStringLiteral("Lists the game installs found and their skin folders.");
}
inline QString helpHistory() {
    return QStringLiteral("Lists the runs the journal recorded, newest first.");
}
inline QString helpUndo() {
    return QStringLiteral("Puts back what the run RUN_ID (or the last run that changed files) did.");
}
inline QString optionJson() {
    return QStringLiteral("Print one JSON document instead of text.");
}
inline QString optionDryRun() {
    return QStringLiteral("Judge and report only; nothing is moved or written.");
}
inline QString optionProgramDir() {
    return QStringLiteral("The program folder, where problem files go (default: the program's own).");
}
inline QString optionCmx() {
    return QStringLiteral("Check All CMX Files in Directory.");
}
inline QString optionBmp() {
    return QStringLiteral("Check All BMP Files in Directory.");
}
inline QString optionAssoc() {
    return QStringLiteral("Check Associated Files For All CMX Files.");
}
inline QString optionGame() {
    return QStringLiteral("Install into the game install with this label (see vestimo games).");
}
inline QString optionInto() {
    return QStringLiteral("Install everything into this folder.");
}
inline QString optionLimit() {
    return QStringLiteral("Show at most N runs (default 20).");
}
inline QString optionHelp() {
    return QStringLiteral("Show this help.");
}

// Usage and input errors; each goes to the error output after "vestimo: ".
inline QString unknownCommand(const QString& command) {
    return QStringLiteral("unknown command %1").arg(command);
}
inline QString missingArgument(const QString& what) {
    return QStringLiteral("%1 is missing").arg(what);
}
inline QString tooManyArguments() {
    return QStringLiteral("too many arguments");
}
inline QString cannotRead(const QString& path, const QString& why) {
    return QStringLiteral("cannot read %1: %2").arg(path, why);
}
inline QString noSuchFileOrFolder() {
    return QStringLiteral("there is no such file or folder");
}
inline QString notAFolder() {
    return QStringLiteral("not a folder");
}
inline QString notASkinFileKind(const QString& path) {
    return QStringLiteral("%1 is neither a CMX nor a BMP file").arg(path);
}
inline QString notANumber(const QString& option, const QString& value) {
    return QStringLiteral("%1 wants a whole number above 0, not %2").arg(option, value);
}
inline QString gameOrInto() {
    return QStringLiteral("--game and --into cannot be given together");
}
inline QString noSuchGame(const QString& label) {
    return QStringLiteral("no game install is labelled %1 (see vestimo games)").arg(label);
}
inline QString chooseGame() {
    return QStringLiteral("name the game with --game LABEL or a folder with --into DIR (see vestimo games)");
}
inline QString outputFailed() {
    return QStringLiteral("the report could not be written in full");
}
inline QString journalUnreadable(const QString& why) {
    return QStringLiteral("the journal could not be read: %1").arg(why);
}
inline QString noSuchRun(const QString& run) {
    return QStringLiteral("the journal holds no run %1").arg(run);
}
inline QString noRunToUndo() {
    return QStringLiteral("the journal holds no run that changed files");
}

// The word in front of each file of a report.
inline QString movedLine(const QString& name, const QString& reason) {
    return QStringLiteral("moved %1: %2").arg(name, reason);
}
inline QString wouldMoveLine(const QString& name, const QString& reason) {
    return QStringLiteral("would move %1: %2").arg(name, reason);
}
inline QString notMovedLine(const QString& name, const QString& reason) {
    return QStringLiteral("not moved %1: %2").arg(name, reason);
}
inline QString notJudgedLine(const QString& name, const QString& reason) {
    return QStringLiteral("not judged %1: %2").arg(name, reason);
}
inline QString lineBreakInName() {
    return QStringLiteral("a line break in the name keeps it off the list");
}
inline QString nameNotText() {
    return QStringLiteral("the name is not valid text here (rename it)");
}
inline QString companionOf(const QString& role, const QString& owner) {
    return QStringLiteral("the %1 of %2").arg(role, owner);
}
inline QString fileCheckLine(const QString& path, const QString& message) {
    return QStringLiteral("%1: %2").arg(path, message);
}

// The installation from downloads.
inline QString installedLine(const QString& name, const QString& target) {
    return QStringLiteral("installed %1: %2").arg(name, target);
}
inline QString wouldInstallLine(const QString& name, const QString& target) {
    return QStringLiteral("would install %1: %2").arg(name, target);
}
inline QString alreadyInstalledLine(const QString& name, const QString& target) {
    return QStringLiteral("already installed %1: %2").arg(name, target);
}
inline QString refusedLine(const QString& name, const QString& reason) {
    return QStringLiteral("refused %1: %2").arg(name, reason);
}
inline QString conflictLine(const QString& name, const QString& other) {
    return QStringLiteral("in conflict %1: %2").arg(name, other);
}
inline QString notSkinFileLine(const QString& name) {
    return QStringLiteral("not a skin file %1").arg(name);
}
inline QString downloadNotReadLine(const QString& download, const QString& why) {
    return QStringLiteral("not read %1: %2").arg(download, why);
}
inline QString installCounts(int installed, int already, int refused, int conflicts, int notSkin,
                             int stopped) {
    return QStringLiteral("Files installed: %1\nAlready installed: %2\nRefused: %3\nIn conflict: %4\n"
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
    return QStringLiteral("  skins: %1").arg(path);
}
inline QString gameSkinsBuyLine(const QString& path) {
    return QStringLiteral("  buyable outfits: %1").arg(path);
}
inline QString gameDownloadsLine(const QString& path) {
    return QStringLiteral("  downloads: %1").arg(path);
}

// The journal.
inline QString historyLine(qint64 run, const QString& started, const QString& command, const QString& folder,
                           const QString& outcome, qsizetype changes) {
    return QStringLiteral("%1  %2  %3  %4  %5  (%6 files)")
        .arg(run)
        .arg(started, command, folder, outcome)
        .arg(changes);
}
inline QString noRunsRecorded() {
    return QStringLiteral("No runs are recorded.");
}
inline QString putBackLine(const QString& name, const QString& what) {
    return QStringLiteral("put back %1: %2").arg(name, what);
}
inline QString leftAloneLine(const QString& name, const QString& reason) {
    return QStringLiteral("left alone %1: %2").arg(name, reason);
}
inline QString alreadyPutBackLine(const QString& name) {
    return QStringLiteral("already put back %1").arg(name);
}
inline QString neverHappenedLine(const QString& name) {
    return QStringLiteral("never happened %1").arg(name);
}
inline QString putBackCounts(qint64 run, int putBack, int leftAlone) {
    return QStringLiteral("Run %1: %2 files put back, %3 left alone.").arg(run).arg(putBack).arg(leftAlone);
}

} // namespace vestimo::texts
