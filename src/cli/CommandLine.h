#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The command line of the one program: a command runs without windows and prints its report.
namespace vestimo::cli {

// The program's arguments as given, its own name first, before any application object exists.
QStringList argumentsOf(int argc, char** argv);

// Whether `arguments` ask for a command (or help, or the version, or hold a usage error) rather
// than the windows. The windows take no argument, or one folder or file to start in, or the
// windowing system's own options.
bool wantsCommand(const QStringList& arguments);

// The folder the windows start in when `arguments` name one (a file stands for its folder);
// empty otherwise.
QString startFolder(const QStringList& arguments);

// Whether the windows have a display to open on: one the environment names (DISPLAY,
// WAYLAND_DISPLAY, or a platform in QT_QPA_PLATFORM) or the windowing system's -platform option.
bool hasDisplay(const QStringList& arguments, const QProcessEnvironment& environment);

// Says that the windows need a display and the commands do not; returns the exit status.
int refuseWindowsWithoutDisplay();

// Whether the command `arguments` ask for draws text into a picture (`skins --sheet`), so needs a
// QGuiApplication (on the offscreen platform: never a display) instead of a QCoreApplication.
bool wantsPictureText(const QStringList& arguments);

// Runs the command `arguments` ask for and returns the exit status. Needs a QCoreApplication.
int run(const QStringList& arguments);

} // namespace vestimo::cli
