#include "core/catalogue/Common.h"
#include "gui/app/Application.h"
#include "gui/app/MessageBoxes.h"
#include "platform/FileSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(vestimo::texts::applicationTitle());
    // The windows cannot be closed one by one; only "Close This Program" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    vestimo::platform::QtMessageBoxes messages;
    vestimo::gui::Application app(messages, vestimo::platform::programDirectory(),
                                  [] { QApplication::quit(); });
    app.start();
    return QApplication::exec();
}
