#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "cli/Signals.h"
#include "core/catalogue/CommandLine.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/TryOn.h"
#include "platform/FileSystem.h"
#include "platform/ReadOpen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

#ifndef VESTIMO_VERSION
#error "VESTIMO_VERSION must be defined by the build"
#endif

namespace vestimo::cli {

namespace {

using Runner = int (*)(const QStringList&, Output&);

struct Command {
    const char* name;
    Runner run;
};

constexpr Command Commands[] = {
    {"check", runCheck},   {"check-file", runCheckFile}, {"install", runInstall},
    {"games", runGames},   {"history", runHistory},      {"undo", runUndo},
    {"render", runRender}, {"skins", runSkins},
};

const Command* commandNamed(const QString& name) {
    for (const Command& command : Commands) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

bool isHelp(const QString& argument) {
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h") ||
           argument == QStringLiteral("help");
}

bool isVersion(const QString& argument) {
    return argument == QStringLiteral("--version") || argument == QStringLiteral("-v");
}

// The windowing system's own options, which the windows take (QGuiApplication's list).
bool isWindowOption(const QString& argument) {
    static const QStringList options = {"-platform",
                                        "-platformpluginpath",
                                        "-platformtheme",
                                        "-plugin",
                                        "-qwindowgeometry",
                                        "-qwindowicon",
                                        "-qwindowtitle",
                                        "-reverse",
                                        "-session",
                                        "-display",
                                        "-geometry",
                                        "-style",
                                        "-stylesheet",
                                        "-widgetcount",
                                        "-nograb",
                                        "-dograb",
                                        "-sync",
                                        "-qmljsdebugger"};
    const QString name = argument.startsWith(QStringLiteral("--")) ? argument.mid(1) : argument;
    return options.contains(name.section(u'=', 0, 0));
}

} // namespace

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QFile::decodeName(argv[i]));
    }
    return arguments;
}

bool wantsCommand(const QStringList& arguments) {
    if (arguments.size() < 2) {
        return false;
    }
    const QString& first = arguments[1];
    if (commandNamed(first) != nullptr || isHelp(first) || isVersion(first)) {
        return true;
    }
    if (isWindowOption(first)) {
        return false;
    }
    if (first.startsWith(u'-')) {
        return true;
    }
    // A folder to start in; anything else is a mistyped command, told as a usage error.
    return !(arguments.size() == 2 && QFileInfo::exists(first));
}

QString startFolder(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QFileInfo given(arguments[i]);
        if (given.isDir()) {
            return given.absoluteFilePath();
        }
        if (given.exists()) {
            return given.absolutePath();
        }
    }
    return {};
}

bool hasDisplay(const QStringList& arguments, const QProcessEnvironment& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty()) {
            return true;
        }
    }
    return std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
        return argument == QStringLiteral("-platform") || argument == QStringLiteral("--platform") ||
               argument.startsWith(QStringLiteral("-platform=")) ||
               argument.startsWith(QStringLiteral("--platform="));
    });
}

int refuseWindowsWithoutDisplay() {
    Output out;
    out.error(texts::noDisplayForWindows());
    return out.finish(Stopped);
}

int run(const QStringList& arguments) {
    Output out;
    const QString first = arguments.value(1);
    if (isHelp(first)) {
        out.line(texts::usageOverview());
        out.line(QString());
        out.lines(texts::helpOverview().split(u'\n'));
        return out.finish(Clean);
    }
    if (isVersion(first)) {
        out.line(QStringLiteral("vestimo ") + QStringLiteral(VESTIMO_VERSION));
        return out.finish(Clean);
    }
    const Command* command = commandNamed(first);
    if (command == nullptr) {
        return out.usageError(texts::unknownCommand(first), texts::usageOverview());
    }
    QStringList forCommand = arguments.mid(2);
    forCommand.prepend(QStringLiteral("vestimo ") + first);
    // Known before parsing, so that even a usage error is told as a JSON document.
    if (forCommand.contains(QStringLiteral("--json"))) {
        out.setJsonCommand(first);
    }
    installSignalHandlers();
    const int status = command->run(forCommand, out);
    return stopSignal() != 0 ? statusForSignal(stopSignal()) : status;
}

std::optional<int> parse(QCommandLineParser& parser, const QStringList& arguments, const Usage& usage,
                         Output& out) {
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, texts::optionHelp());
    parser.addOption(help);
    if (!parser.parse(arguments)) {
        return out.usageError(parser.errorText(), usage.line);
    }
    if (parser.isSet(help)) {
        out.line(usage.line);
        out.line(QString());
        out.line(usage.description);
        // The parser's own list of the options, without its usage line.
        const QString options = parser.helpText();
        const qsizetype from = options.indexOf(QStringLiteral("Options:"));
        if (from >= 0) {
            out.line(QString());
            out.lines(options.mid(from).trimmed().split(u'\n'));
        }
        return out.finish(Clean);
    }
    return std::nullopt;
}

std::variant<QString, int> oneSkinFolder(const QCommandLineParser& parser, const Usage& usage, Output& out) {
    const QStringList given = parser.positionalArguments();
    if (given.isEmpty()) {
        return out.usageError(texts::missingArgument(QStringLiteral("SKIN_DIR")), usage.line);
    }
    if (given.size() > 1) {
        return out.usageError(texts::tooManyArguments(), usage.line);
    }
    if (const auto problem = folderProblem(given[0])) {
        out.error(*problem);
        return out.finish(Stopped);
    }
    return given[0];
}

bool writePicture(const QString& output, const QByteArray& png, Output& out) {
    if (png.isEmpty()) {
        out.error(texts::cannotWritePicture(output, texts::pictureNotEncoded()));
        return false;
    }
    const platform::FileResult saved = platform::saveFile(output, png);
    if (!saved.ok) {
        out.error(texts::cannotWritePicture(output, texts::fileErrorReason(saved.error)));
        return false;
    }
    return true;
}

std::optional<QString> folderProblem(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return texts::cannotRead(path, texts::noSuchFileOrFolder());
    }
    if (!info.isDir()) {
        return texts::cannotRead(path, texts::notAFolder());
    }
    const platform::FileNames names = platform::listFiles(path, QStringLiteral("*"));
    if (!names.ok) {
        return texts::cannotRead(path, names.error);
    }
    return std::nullopt;
}

std::optional<QString> fileProblem(const QString& path) {
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
        return texts::cannotRead(path, texts::noSuchFileOrFolder());
    }
    const platform::ReadOpen opened =
        platform::openForReading(QFile::encodeName(path).constData(), platform::Links::Follow);
    if (opened.fd < 0) {
        return texts::cannotRead(path, QString::fromStdString(opened.error));
    }
    ::close(opened.fd);
    return std::nullopt;
}

QCommandLineOption jsonOption() {
    return {QStringLiteral("json"), texts::optionJson()};
}
QCommandLineOption dryRunOption() {
    return {QStringLiteral("dry-run"), texts::optionDryRun()};
}
QCommandLineOption programDirOption() {
    return {QStringLiteral("program-dir"), texts::optionProgramDir(), QStringLiteral("DIR")};
}

std::optional<QString> programFolder(const QCommandLineParser& parser, Output& out) {
    const QString named = parser.value(programDirOption());
    if (named.isEmpty()) {
        return platform::programDirectory();
    }
    if (const auto problem = folderProblem(named)) {
        out.error(*problem);
        return std::nullopt;
    }
    return QDir::cleanPath(QFileInfo(named).absoluteFilePath());
}

} // namespace vestimo::cli
