#include "cli/CommandLine.h"
#include "core/catalogue/Common.h"
#include "gui/app/Application.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/WindowLooks.h"
#include "platform/FileSystem.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProcessEnvironment>

int main(int argc, char** argv) {
    // A command runs without windows, so without a display.
    const QStringList arguments = vestimo::cli::argumentsOf(argc, argv);
    if (vestimo::cli::wantsCommand(arguments) && vestimo::cli::wantsPictureText(arguments)) {
        // Text is drawn only with a QGuiApplication; the offscreen platform needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication qt(argc, argv);
        QGuiApplication::setApplicationName(vestimo::texts::applicationTitle());
        return vestimo::cli::run(QGuiApplication::arguments());
    }
    if (vestimo::cli::wantsCommand(arguments)) {
        QCoreApplication qt(argc, argv);
        QCoreApplication::setApplicationName(vestimo::texts::applicationTitle());
        return vestimo::cli::run(QCoreApplication::arguments());
    }
    // Without a display the windows could only abort; the commands still work.
    if (!vestimo::cli::hasDisplay(arguments, QProcessEnvironment::systemEnvironment())) {
        return vestimo::cli::refuseWindowsWithoutDisplay();
    }
    QApplication qt(argc, argv);
    QApplication::setApplicationName(vestimo::texts::applicationTitle());
    // The windows start where the program was started, or in the folder it was given.
    const QString folder = vestimo::cli::startFolder(QApplication::arguments());
    if (!folder.isEmpty()) {
        QDir::setCurrent(folder);
    }
    QApplication::setApplicationVersion(vestimo::platform::applicationVersion());
    // The desktop matches the windows to the menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(vestimo::platform::applicationId());
    QApplication::setWindowIcon(vestimo::gui::applicationIcon());
    // Closing a window runs "Close This Program", which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    vestimo::gui::QtMessageBoxes messages;
    vestimo::gui::Application app(messages, vestimo::platform::programDirectory(),
                                  [] { QApplication::quit(); });
    app.start();
    return QApplication::exec();
}
