#include "support/RecordingMessages.h"
#include "support/TempDir.h"

#include "gui/browser/BrowserColumn.h"
#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using namespace vestimo;

namespace {

// One column in a window of its own, with every signal it raises written down in order.
struct Column {
    test::TempDir dir;
    test::RecordingMessages messages;
    QString chosen; // what the folder dialog answers
    QStringList heard;
    QWidget window;
    gui::BrowserColumn* column = new gui::BrowserColumn(&window, "Switch", messages, {},
                                                        [this](QWidget*, const QString&) { return chosen; });

    Column() {
        dir.write("a.bmp", "x");
        dir.write("b.bmp", "x");
        dir.mkdir("sub");
        column->takeDropsFor(&window);
        column->startAt(dir.path());
        const auto note = [this](const QString& what) { heard.append(what); };
        QObject::connect(column, &gui::BrowserColumn::switchClicked, [=] { note("switch"); });
        QObject::connect(column, &gui::BrowserColumn::directoryChanged,
                         [=](const QString& folder) { note("folder " + QDir(folder).dirName()); });
        QObject::connect(column, &gui::BrowserColumn::selectionChanged,
                         [=](const QString& name) { note("selected " + name); });
        QObject::connect(column, &gui::BrowserColumn::fileClicked, [=] { note("click"); });
        QObject::connect(column, &gui::BrowserColumn::downloadsDropped,
                         [=](const QStringList& paths) { note(QString("dropped %1").arg(paths.size())); });
    }
    template <typename T> T* named(const char* name) { return column->findChild<T*>(name); }
    void drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &dropped);
        }
    }
};

struct Case {
    const char* what;
    std::function<void(Column&)> act;
    QStringList heard;
};

} // namespace

TEST(BrowserColumn, EachControlRaisesItsStepsInOrder) {
    const Case cases[] = {
        {"a click selects before it is told",
         [](Column& c) { c.named<gui::FileList>("File1")->setListIndex(1); },
         {"selected b.bmp", "click"}},
        {"a quiet reread that loses the selection",
         [](Column& c) {
             c.named<gui::FileList>("File1")->setListIndex(0);
             QFile::remove(c.dir.filePath("a.bmp"));
             c.heard.clear();
             c.column->files().refresh();
         },
         {"selected "}},
        {"a new folder clears the selection",
         [](Column& c) {
             c.named<gui::FileList>("File1")->setListIndex(0);
             c.heard.clear();
             c.named<gui::DirList>("Dir1")->setPath(c.dir.filePath("sub"));
         },
         {"selected ", "folder sub"}},
        {"Browse... goes where the dialog says",
         [](Column& c) {
             c.chosen = c.dir.filePath("sub");
             QTest::mouseClick(c.named<QPushButton>("cmdBrowse"), Qt::LeftButton);
         },
         {"folder sub"}},
        {"Browse... cancelled",
         [](Column& c) { QTest::mouseClick(c.named<QPushButton>("cmdBrowse"), Qt::LeftButton); },
         {}},
        {"the switch",
         [](Column& c) { QTest::mouseClick(c.named<QPushButton>("cmdSwitch"), Qt::LeftButton); },
         {"switch"}},
        {"local files dropped",
         [](Column& c) {
             c.drop({QUrl::fromLocalFile(c.dir.filePath("a.bmp")), QUrl::fromLocalFile(c.dir.path())});
         },
         {"dropped 2"}},
        {"a web address dropped", [](Column& c) { c.drop({QUrl("https://example.org/skin.zip")}); }, {}},
    };
    for (const Case& c : cases) {
        Column column;
        c.act(column);
        EXPECT_EQ(column.heard, c.heard) << c.what;
        EXPECT_TRUE(column.messages.messages.isEmpty()) << c.what;
    }
}

TEST(BrowserColumn, TheListsFollowTheFolderAndTheLockLeavesTheFileList) {
    Column c;
    c.named<gui::DirList>("Dir1")->setPath(c.dir.filePath("sub"));
    EXPECT_EQ(c.column->files().path(), c.column->folder());
    EXPECT_EQ(c.column->pathLine().text(), QDir::toNativeSeparators(c.dir.filePath("sub")));
    c.column->setUserInteractionLock(true);
    for (const char* name : {"Drive1", "Dir1", "cmdBrowse", "cboGames"}) {
        EXPECT_FALSE(c.named<QWidget>(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(c.column->files().isEnabled());
}
