// Draws both windows, a report and the Skins window on the demo skins and saves them as PNG
// pictures for the README.
#include "core/checks/ClosingMessage.h"
#include "core/checks/SkinChecks.h"
#include "gui/app/Application.h"
#include "gui/app/MessageBoxes.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/report/ReportWindow.h"
#include "gui/skinedit/SkinEditWindow.h"
#include "gui/skins/SkinsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

class Silent : public vestimo::gui::MessageBoxes {
public:
    void show(const QString&, const QString&) override {}
    void showReport(const QString&, const QString&, const vestimo::report::RunReport&) override {}
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

struct NoProgress : vestimo::checks::RunProgress {
    void start(qint64) override {}
    void advance(int) override {}
};

// The report of "Check All CMX Files in Directory" over a copy of `skinFolder`, which stays as it is.
std::optional<vestimo::report::RunReport> reportOnCopy(const QString& skinFolder) {
    QTemporaryDir skins;
    QTemporaryDir program;
    if (!skins.isValid() || !program.isValid()) {
        return std::nullopt;
    }
    for (const QString& name : QDir(skinFolder).entryList(QDir::Files)) {
        if (!QFile::copy(QDir(skinFolder).filePath(name), skins.filePath(name))) {
            return std::nullopt;
        }
    }
    NoProgress progress;
    const vestimo::checks::DirectoryReport run = vestimo::checks::runDirectoryCheck(
        vestimo::checks::cmxCheck(), skins.path(), program.path(), progress);
    return vestimo::checks::runReportFor(run);
}

} // namespace

int main(int argc, char** argv) {
    const char* const usage = "usage: vestimo-screenshot <skin folder> <output folder>\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    // A folder that looks like an option is a mistyped one, never a place to write to.
    if (argc != 3 || argv[1][0] == '-' || argv[2][0] == '-') {
        std::fputs(usage, stderr);
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    // The pictures show the windows at their opening size, not at a size some run remembered.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(config.path()));
    QApplication qt(argc, argv);
    Silent messages;
    vestimo::gui::Application app(messages, QDir::tempPath(), [] {});
    app.start();
    selectFirst(app.skinEdit(), QStringLiteral("B100FAFitlgt_xyz.bmp"));
    bool ok = save(app.skinEdit(), output + QStringLiteral("/skin-editing.png"));
    app.switchToBuyable();
    selectFirst(app.buyable(), QStringLiteral("B100FAFitlgt_xyz.bmp"));
    ok = save(app.buyable(), output + QStringLiteral("/buyable-skins.png")) && ok;
    const auto report = reportOnCopy(QDir::currentPath());
    if (!report) {
        std::fprintf(stderr, "could not copy the skins for the report\n");
        return 1;
    }
    vestimo::gui::ReportWindow window(*report, messages);
    window.show();
    ok = save(&window, output + QStringLiteral("/report.png")) && ok;
    app.switchToSkinEdit();
    if (auto* browse = app.skinEdit()->findChild<QAbstractButton*>(QStringLiteral("cmdSkins"))) {
        browse->click();
    }
    auto* skins = qApp->findChild<vestimo::gui::SkinsWindow*>();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        skins = skins != nullptr ? skins : qobject_cast<vestimo::gui::SkinsWindow*>(widget);
    }
    if (skins == nullptr || !QTest::qWaitFor([&] { return skins->picturesInViewReady(); }, 30000)) {
        std::fprintf(stderr, "the Skins window did not draw its cards\n");
        return 1;
    }
    ok = save(skins, output + QStringLiteral("/skins.png")) && ok;
    return ok ? 0 : 1;
}
