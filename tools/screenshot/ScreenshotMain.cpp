// Draws both windows on the demo skins and saves them as PNG pictures for the README.
#include "gui/app/Application.h"
#include "gui/app/MessageBoxes.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/skinedit/SkinEditWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

class Silent : public vestimo::platform::MessageBoxes {
public:
    void show(const QString&, const QString&) override {}
    bool ask(const QString&) override { return false; }
};

bool save(QWidget* window, const QString& path) {
    QTest::qWait(200);
    const bool ok = window->grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

void selectFirst(QWidget* window, const QString& name) {
    // Found by name, as anything driving the windows finds their controls.
    auto* files = window->findChild<vestimo::gui::FileList*>(QStringLiteral("File1"));
    if (files == nullptr) {
        return;
    }
    const int index = static_cast<int>(files->entries().indexOf(name));
    files->setListIndex(index >= 0 ? index : 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vestimo-screenshot <skin folder> <output folder>\n");
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    // The pictures show the windows at their opening size, not at a size some run remembered.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication qt(argc, argv);
    Silent messages;
    vestimo::gui::Application app(messages, QDir::tempPath(), [] {});
    app.start();
    selectFirst(app.skinEdit(), QStringLiteral("B100FAFitlgt_xyz.bmp"));
    bool ok = save(app.skinEdit(), output + QStringLiteral("/skin-editing.png"));
    app.switchToBuyable();
    selectFirst(app.buyable(), QStringLiteral("B100FAFitlgt_xyz.bmp"));
    ok = save(app.buyable(), output + QStringLiteral("/buyable-skins.png")) && ok;
    return ok ? 0 : 1;
}
