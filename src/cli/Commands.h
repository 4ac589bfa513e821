#pragma once

#include "cli/Output.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace vestimo::journal {
class Journal;
} // namespace vestimo::journal

// What the commands share: their parsing, the checks of the paths they are given, the program
// folder.
namespace vestimo::cli {

// A command's usage line and what it does, for usage errors and its help.
struct Usage {
    QString line;
    QString description;
};

// Parses `arguments` (the command's name first). Nothing when the command may go on; otherwise
// the status to end with, after the help (0) or a usage error (Stopped) has been printed.
std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const Usage& usage,
                         Output& out);

// Why `path` cannot serve as a folder to read, or nothing.
std::optional<QString> folderProblem(const QString& path);

// The one folder a command that takes SKIN_DIR was given, or the status to end with, after the
// usage error or the folder's problem has been printed.
std::variant<QString, int> oneSkinFolder(const QCommandLineParser& parser, const Usage& usage, Output& out);

// Writes the encoded picture `png` (empty: it could not be encoded) to `output`, replacing a file
// but never a link; false after the reason has been printed.
bool writePicture(const QString& output, const QByteArray& png, Output& out);
// Why `path` cannot be read as a file, or nothing.
std::optional<QString> fileProblem(const QString& path);

QCommandLineOption jsonOption();
QCommandLineOption dryRunOption();
QCommandLineOption programDirOption();

// The program folder the options name, or the program's own; nothing (with the problem printed)
// when the named one cannot be used.
std::optional<QString> programFolder(const QCommandLineParser& parser, Output& out);

// Settles what a crash left open in the (open) journal, as every command that changes the journal
// or shows its runs does first, and tells on the error output what leftovers it removed.
void settleJournal(journal::Journal& journal, Output& out);

int runCheck(const QStringList& arguments, Output& out);
int runCheckFile(const QStringList& arguments, Output& out);
int runInstall(const QStringList& arguments, Output& out);
int runGames(const QStringList& arguments, Output& out);
int runHistory(const QStringList& arguments, Output& out);
int runUndo(const QStringList& arguments, Output& out);
int runRender(const QStringList& arguments, Output& out);
int runSkins(const QStringList& arguments, Output& out);

} // namespace vestimo::cli
