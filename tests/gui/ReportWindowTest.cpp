#include "gui/report/ReportWindow.h"
#include "core/catalogue/RunReport.h"
#include "core/catalogue/SingleChecks.h"
#include "core/report/RunReport.h"
#include "gui/app/MessageBoxes.h"
#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/checks/SkinChecks.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include <algorithm>

using namespace vestimo;
using report::RunVerdict;

namespace {

// A skin description with one mistake on `line`, or none.
QByteArray Cmx(const QByteArray& base, int line = 0) {
    QByteArray text = test::validCmx(base);
    if (line > 0) {
        QList<QByteArray> lines = text.split('\n');
        lines[line - 1] = "7\r";
        text = lines.join('\n');
    }
    return text;
}

// Stands in for the desktop: remembers what the window asked for.
struct RecordingDesktop {
    QStringList suggested;
    QString answer;
    QList<QUrl> opened;
    bool opens = true;
    gui::ReportDesktop desktop() {
        return {[this](QWidget*, const QString& path) {
                    suggested.append(path);
                    return answer;
                },
                [this](const QUrl& url) {
                    opened.append(url);
                    return opens;
                }};
    }
};

} // namespace

class ReportWindowTest : public test::AppFixture {
protected:
    // A run of "Check All CMX Files in Directory" over two faulty files (one of them already in
    // the problem folder), a sound one and one that is not a skin description.
    void runCmxCheck() {
        skins.write("B001FAFit_bad.cmx", Cmx("B001FAFit_bad", 3));
        skins.write("B002FAFit_ok.cmx", Cmx("B002FAFit_ok"));
        skins.write("B003FAFit_dup.cmx", Cmx("B003FAFit_dup", 3));
        skins.write("xanim.cmx", Cmx("xanim"));
        program.write("B003FAFit_dup.cmx", "an older problem file");
        browseSkinEdit();
        QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllCMX"), Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
    std::unique_ptr<gui::ReportWindow> openReport() {
        EXPECT_EQ(messages.reports.size(), 1);
        auto window =
            std::make_unique<gui::ReportWindow>(messages.reports.value(0), messages, desktop.desktop());
        window->show();
        return window;
    }
    // Column `column` of every row the table shows, top to bottom.
    QStringList shown(gui::ReportWindow& window, int column) {
        const QAbstractItemModel* model = control<QTableView>(&window, "tblReport")->model();
        QStringList cells;
        for (int row = 0; row < model->rowCount(); ++row) {
            cells.append(model->index(row, column).data().toString());
        }
        return cells;
    }
    RecordingDesktop desktop;
};

TEST_F(ReportWindowTest, TheMessageStaysExactAndTheReportHasARowForEveryFileOfTheRun) {
    runCmxCheck();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0], checks::cmxCheck().closingMessage);
    EXPECT_EQ(messages.informative, QStringList{"1 file could not be moved; see the report."});

    auto window = openReport();
    EXPECT_EQ(window->objectName(), "frmReport");
    const QStringList files = shown(*window, gui::ReportWindow::FileColumn);
    QStringList sortedFiles = files;
    sortedFiles.sort();
    EXPECT_EQ(sortedFiles,
              (QStringList{"B001FAFit_bad.cmx", "B002FAFit_ok.cmx", "B003FAFit_dup.cmx", "xanim.cmx"}));
    // Each row says where the file really is now.
    const QStringList verdicts = shown(*window, gui::ReportWindow::VerdictColumn);
    const QStringList reasons = shown(*window, gui::ReportWindow::ReasonColumn);
    const QStringList places = shown(*window, gui::ReportWindow::WhereColumn);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString folder = verdicts[i] == "moved" ? program.path() : skins.path();
        EXPECT_EQ(places[i], QDir::toNativeSeparators(QDir(folder).filePath(files[i])));
        EXPECT_TRUE(test::exists(QDir(folder).filePath(files[i]))) << files[i].toStdString();
    }
    const auto at = [&](const char* file) { return files.indexOf(QString::fromLatin1(file)); };
    EXPECT_EQ(verdicts[at("B001FAFit_bad.cmx")], "moved");
    EXPECT_EQ(reasons[at("B001FAFit_bad.cmx")], "line 3: " + texts::cmxFaultAtLine(3));
    EXPECT_EQ(verdicts[at("B002FAFit_ok.cmx")], "left");
    EXPECT_EQ(verdicts[at("B003FAFit_dup.cmx")], "could not be moved");
    EXPECT_TRUE(reasons[at("B003FAFit_dup.cmx")].contains("a file of that name is already in"));
    EXPECT_EQ(verdicts[at("xanim.cmx")], "passed over");

    auto* closing = control<QLabel>(window.get(), "lblReportClosing");
    EXPECT_EQ(closing->text(), "Files left in place because they could not be moved: 1");
    EXPECT_TRUE(closing->font().bold());
    // The counts come first.
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == "Files judged:"; }));
    EXPECT_TRUE(window->isSizeGripEnabled());
    EXPECT_EQ(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(ReportWindowTest, SortsByAnyColumnAndFiltersByVerdict) {
    runCmxCheck();
    auto window = openReport();
    auto* table = control<QTableView>(window.get(), "tblReport");
    table->sortByColumn(gui::ReportWindow::FileColumn, Qt::DescendingOrder);
    EXPECT_EQ(shown(*window, gui::ReportWindow::FileColumn),
              (QStringList{"xanim.cmx", "B003FAFit_dup.cmx", "B002FAFit_ok.cmx", "B001FAFit_bad.cmx"}));
    // Verdicts sort in their own order, not alphabetically.
    table->sortByColumn(gui::ReportWindow::VerdictColumn, Qt::AscendingOrder);
    EXPECT_EQ(shown(*window, gui::ReportWindow::VerdictColumn),
              (QStringList{"moved", "left", "could not be moved", "passed over"}));
    table->sortByColumn(gui::ReportWindow::WhereColumn, Qt::AscendingOrder);
    const QStringList places = shown(*window, gui::ReportWindow::WhereColumn);
    EXPECT_TRUE(std::is_sorted(places.begin(), places.end(), [](const QString& a, const QString& b) {
        return a.toCaseFolded() < b.toCaseFolded();
    }));

    auto* filter = control<QComboBox>(window.get(), "cboVerdict");
    ASSERT_EQ(filter->count(), 5);
    EXPECT_EQ(filter->itemText(0), "all");
    const QList<std::pair<QString, QStringList>> expected = {
        {"moved", {"B001FAFit_bad.cmx"}},
        {"left", {"B002FAFit_ok.cmx"}},
        {"could not be moved", {"B003FAFit_dup.cmx"}},
        {"passed over", {"xanim.cmx"}},
    };
    for (const auto& [label, names] : expected) {
        filter->setCurrentIndex(filter->findText(label));
        EXPECT_EQ(shown(*window, gui::ReportWindow::FileColumn), names) << label.toStdString();
    }
    filter->setCurrentIndex(0);
    EXPECT_EQ(shown(*window, gui::ReportWindow::FileColumn).size(), 4);
}

TEST_F(ReportWindowTest, SavesInTheFormatTheChosenNameAsksFor) {
    runCmxCheck();
    auto window = openReport();
    const report::RunReport& report = messages.reports[0];
    auto* save = control<QPushButton>(window.get(), "cmdSaveReport");
    test::TempDir saved;

    desktop.answer = saved.filePath("report.txt");
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(test::readAll(desktop.answer), report::toText(report));
    EXPECT_TRUE(QString::fromUtf8(test::readAll(desktop.answer))
                    .endsWith("\nFiles left in place because they could not be moved: 1\n"));

    desktop.answer = saved.filePath("report.csv");
    QTest::mouseClick(save, Qt::LeftButton);
    const QStringList lines = QString::fromUtf8(test::readAll(desktop.answer)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6); // a header, four rows and the end
    EXPECT_EQ(lines[0], "File,Verdict,Reason,Where");
    EXPECT_TRUE(
        lines.contains("B002FAFit_ok.cmx,left,No Errors Found.," + skins.filePath("B002FAFit_ok.cmx")));

    desktop.answer = saved.filePath("report.json");
    QTest::mouseClick(save, Qt::LeftButton);
    const QJsonObject json = QJsonDocument::fromJson(test::readAll(desktop.answer)).object();
    EXPECT_EQ(json["rows"].toArray().size(), 4);
    EXPECT_EQ(json["couldNotBeMoved"].toInt(), 1);
    EXPECT_EQ(json["problemFolder"].toString(), program.path());

    EXPECT_EQ(desktop.suggested.size(), 3);
    EXPECT_EQ(messages.messages.size(), 1); // nothing more to say

    // Cancelled: nothing written, nothing said.
    desktop.answer.clear();
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(QDir(saved.path()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(messages.messages.size(), 1);

    // A place that cannot be written: said, and nothing else changes.
    desktop.answer = saved.mkdir("a folder");
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_TRUE(messages.messages[1].startsWith("The report could not be saved to " + desktop.answer + ": "))
        << messages.messages[1].toStdString();
}

TEST_F(ReportWindowTest, OpensTheProblemFolderTheRunMovedInto) {
    runCmxCheck();
    auto window = openReport();
    auto* open = control<QPushButton>(window.get(), "cmdOpenProblemFolder");
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(program.path())});
    EXPECT_EQ(messages.messages.size(), 1);

    desktop.opens = false;
    QTest::mouseClick(open, Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[1], "The problem folder " + program.path() + " could not be opened.");
}

TEST_F(ReportWindowTest, ManyFilesNotMovedAreCountedUnderTheMessage) {
    for (const char* base : {"B001FAFit_a", "B002FAFit_b", "B003FAFit_c"}) {
        const QString name = QString::fromLatin1(base) + ".cmx";
        skins.write(name, Cmx(base, 3));
        program.write(name, "already here");
    }
    browseSkinEdit();
    QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllCMX"), Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    EXPECT_EQ(messages.messages, QStringList{checks::cmxCheck().closingMessage});
    EXPECT_EQ(messages.informative, QStringList{"3 files could not be moved; see the report."});
    ASSERT_EQ(messages.reports.size(), 1);
    EXPECT_EQ(messages.reports[0].count(RunVerdict::NotMoved), 3);
}

// The real box: OK and "Report..." with the exact message, the count under it, no icon.
TEST(QtMessageBoxesReport, TheReportButtonOpensTheReportWindow) {
    report::RunReport report;
    report.rows = {{"a.cmx", RunVerdict::NotMoved, "could not be moved", "/skins/a.cmx"}};
    gui::QtMessageBoxes boxes;
    QString text;
    QString informative;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QString title;
    // Presses "Report..." once the box is up; anything else that is modal is closed, so nothing waits.
    std::function<void()> press = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            QTimer::singleShot(10, press);
            return;
        }
        text = box->text();
        informative = box->informativeText();
        icon = box->icon();
        title = box->windowTitle();
        for (QAbstractButton* button : box->buttons()) {
            buttons.append(button->text());
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == "Report...") {
                button->click();
                return;
            }
        }
        box->reject();
    };
    QTimer::singleShot(0, press);
    boxes.showReport("the message", "1 file could not be moved; see the report.", report);
    EXPECT_EQ(text, "the message");
    EXPECT_EQ(informative, "1 file could not be moved; see the report.");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(title, "Vestimo");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"OK", "Report..."}));
    gui::ReportWindow* opened = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmReport" && widget->isVisible()) {
            opened = qobject_cast<gui::ReportWindow*>(widget);
        }
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->report(), report);
    EXPECT_TRUE(opened->testAttribute(Qt::WA_DeleteOnClose));
    delete opened;
}
