#include "core/catalogue/Common.h"
#include "gui/app/Application.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/WindowLooks.h"
#include "platform/FileSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(vestimo::texts::applicationTitle());
    QApplication::setApplicationVersion(vestimo::platform::applicationVersion());
    // The desktop matches the windows to the menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(vestimo::platform::applicationId());
    QApplication::setWindowIcon(vestimo::gui::applicationIcon());
    // Closing a window runs "Close This Program", which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    vestimo::platform::QtMessageBoxes messages;
    vestimo::gui::Application app(messages, vestimo::platform::programDirectory(),
                                  [] { QApplication::quit(); });
    app.start();
    return QApplication::exec();
}
