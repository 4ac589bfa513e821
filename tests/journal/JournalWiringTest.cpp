// The commands' changes as the journal records them: the directory-wide checks' moves (in groups),
// "Move this file" and the buyable export, each a run that can be put back.
#include "JournalTesting.h"

#include "core/buyable/ExportWriter.h"
#include "core/checks/ClosingMessage.h"
#include "core/checks/DirectoryCheck.h"
#include "core/checks/SkinChecks.h"

using namespace vestimo;
using journal::PutBackOutcome;
using platform::ChangeKind;
using platform::ChangeState;

namespace {

struct QuietProgress : checks::RunProgress {
    std::function<void()> beforeTurn;
    void start(qint64) override {}
    void advance(int) override {
        if (beforeTurn) {
            beforeTurn();
        }
    }
};

QByteArray FaultyCmx(const QByteArray& name) {
    QByteArray text = test::validCmx(name);
    return text.replace("\r\n0\r\n1\r\n", "\r\n7\r\n1\r\n"); // line 3 must hold "0"
}

QString LastLine(const QString& details) {
    return details.split(u'\n').last();
}

class RecordedChecks : public test::JournalTest {
protected:
    checks::DirectoryReport run(const checks::DirectoryCheck& check, journal::Journal* with) {
        return checks::runDirectoryCheck(check, skins.path(), program.path(), progress, 0, with);
    }
    QList<platform::JournalChange> changesOf(qint64 runId) { return journal.store().changesOf(runId).value; }
    platform::JournalRun newestRun() { return journal.store().listRuns(1).value.value(0); }
    QuietProgress progress;
};

TEST_F(RecordedChecks, ARunThatMovedNothingSaysNothingChangedInsteadOfOfferingAnUndo) {
    skins.write("B100FAFit_s.cmx", test::validCmx("B100FAFit_s"));
    const checks::DirectoryReport report = run(checks::cmxCheck(), &journal);
    ASSERT_EQ(report.recording, checks::DirectoryReport::Recording::Recorded);
    EXPECT_EQ(LastLine(report.details()), "No file was moved, so nothing was changed.");
    const report::RunReport rows = checks::runReportFor(report);
    EXPECT_EQ(rows.facts.last().value, "No file was moved, so nothing was changed.");
}

TEST_F(RecordedChecks, EveryMoveOfARunIsRecordedAndTheRunPutsBackWhole) {
    // More faulty files than one group of moves, with good ones and unreadable ones between them.
    for (int i = 0; i < 150; ++i) {
        const QByteArray name = QByteArray("B") + QByteArray::number(100 + i) + "FAFit_s";
        skins.write(name + ".cmx", i % 2 == 0 ? FaultyCmx(name) : test::validCmx(name));
    }
    const auto before = Contents(skins.path());
    const checks::DirectoryReport report = run(checks::cmxCheck(), &journal);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_EQ(report.moved.size(), 75);
    EXPECT_EQ(report.recording, checks::DirectoryReport::Recording::Recorded);
    EXPECT_EQ(LastLine(report.details()), "This run can be undone from History.");

    const platform::JournalRun recorded = newestRun();
    EXPECT_EQ(recorded.command, "Check All CMX Files in Directory");
    EXPECT_EQ(recorded.skinFolder, skins.path());
    EXPECT_TRUE(recorded.ended.isValid());
    const auto changes = changesOf(recorded.id);
    ASSERT_EQ(changes.size(), 75);
    for (qsizetype i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(changes[i].kind, ChangeKind::Moved);
        EXPECT_EQ(changes[i].state, ChangeState::Done);
        EXPECT_EQ(QFileInfo(changes[i].original).fileName(), report.moved[i].name);
        EXPECT_EQ(changes[i].reason, report.moved[i].reason);
        EXPECT_EQ(changes[i].destination, program.filePath(report.moved[i].name));
    }
    EXPECT_FALSE(journal.store().inBatch());

    const journal::PutBackReport back = journal.putBackRun(recorded.id);
    EXPECT_EQ(back.count(PutBackOutcome::PutBack), 75);
    EXPECT_EQ(Contents(skins.path()), before);
    EXPECT_TRUE(QDir(program.path()).entryList({"*.cmx"}, QDir::Files).isEmpty());
}

TEST_F(RecordedChecks, AnotherCopyWithTheJournalOpenDoesNotKeepARunFromBeingRecorded) {
    platform::JournalStore otherCopy;
    ASSERT_TRUE(otherCopy.open(program.path()).ok);
    ASSERT_TRUE(otherCopy.listRuns().ok);
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    const checks::DirectoryReport report = run(checks::cmxCheck(), &journal);
    EXPECT_EQ(report.recording, checks::DirectoryReport::Recording::Recorded)
        << report.notRecordedWhy.toStdString();
    // And the other copy can put the run back while this one is still open.
    const auto runs = otherCopy.listRuns(1);
    ASSERT_EQ(runs.value.size(), 1);
    const journal::PutBackReport back = journal::putBackRun(otherCopy, runs.value[0].id);
    EXPECT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(back.count(PutBackOutcome::PutBack), 1);
}

TEST_F(RecordedChecks, WithoutAJournalTheDetailsAreAsTheyWereAndTheSameFilesMove) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    skins.write("B002FAFit_good.cmx", test::validCmx("B002FAFit_good"));
    const checks::DirectoryReport plain = run(checks::cmxCheck(), nullptr);
    EXPECT_EQ(plain.recording, checks::DirectoryReport::Recording::Off);
    EXPECT_FALSE(plain.details().contains("History"));
    EXPECT_FALSE(plain.details().contains("recorded"));
    EXPECT_TRUE(journal.store().listRuns().value.isEmpty());

    // The same run with the journal moves the same file and says only one line more.
    ASSERT_TRUE(QFile::rename(program.filePath("B001FAFit_bad.cmx"), skins.filePath("B001FAFit_bad.cmx")));
    const checks::DirectoryReport recorded = run(checks::cmxCheck(), &journal);
    EXPECT_EQ(recorded.details(), plain.details() + "\n\nThis run can be undone from History.");
}

TEST_F(RecordedChecks, AJournalThatCannotRecordStopsNothingAndTheDetailsSayWhy) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    journal::Journal unopened;
    EXPECT_FALSE(unopened.open(program.filePath("no such folder")).ok);
    const checks::DirectoryReport report = run(checks::cmxCheck(), &unopened);
    EXPECT_EQ(report.moved.size(), 1);
    EXPECT_EQ(test::readAll(program.filePath("B001FAFit_bad.cmx")), FaultyCmx("B001FAFit_bad"));
    EXPECT_EQ(report.recording, checks::DirectoryReport::Recording::NotRecorded);
    EXPECT_TRUE(LastLine(report.details()).startsWith("This run could not be recorded: the folder "))
        << report.details().toStdString();
    EXPECT_TRUE(LastLine(report.details()).endsWith("does not exist"));
}

TEST_F(RecordedChecks, TroubleKeepsItsPlaceInTheDetailsWhileMovesWaitInTheirGroup) {
    for (const char* name : {"a.cmx", "b.cmx", "c.cmx", "d.cmx", "e.cmx"}) {
        skins.write(name, name);
    }
    skins.write("f.cmx", "f");
    checks::DirectoryCheck check;
    check.command = "Sorting";
    check.judge = [this](const platform::SkinFolder&, const QString& name) {
        if (name == "c.cmx") {
            // The move of c waits in the queue; make it fail by taking its place.
            program.write("c.cmx", "in the way");
        }
        return name == "b.cmx" || name == "e.cmx" ? checks::Verdict::trouble("unreadable")
                                                  : checks::Verdict::move("bad");
    };
    const checks::DirectoryReport report = run(check, &journal);
    QStringList trouble;
    for (const auto& line : report.trouble) {
        trouble << line.name;
    }
    EXPECT_EQ(trouble, (QStringList{"b.cmx", "c.cmx", "e.cmx"}));
    EXPECT_EQ(report.moved.size(), 3);
    const auto changes = changesOf(newestRun().id);
    ASSERT_EQ(changes.size(), 4);
    EXPECT_EQ(changes[1].state, ChangeState::Failed); // c.cmx
    EXPECT_EQ(test::readAll(skins.filePath("c.cmx")), "c.cmx");
    EXPECT_EQ(newestRun().outcome, "finished; 3 moved, 3 left with trouble");
}

TEST_F(RecordedChecks, AMeshThatGoesAlongIsAChangeOfItsOwnAndComesBackToo) {
    skins.write("B123FAFit_Dress.cmx", test::validCmx());
    skins.write("B123FAFat_Dress.bmp", "picture");
    skins.write("xskin-B123FAFit_Dress-PELVIS-BODY.skn", "mesh");
    const auto before = Contents(skins.path());
    const checks::DirectoryReport report = run(checks::associatedFilesCheck(), &journal);
    EXPECT_EQ(report.companionsMoved, 1);
    const auto changes = changesOf(newestRun().id);
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(QFileInfo(changes[1].original).fileName(), "xskin-B123FAFit_Dress-PELVIS-BODY.skn");
    EXPECT_TRUE(changes[1].reason.startsWith("the mesh of B123FAFit_Dress.cmx"))
        << changes[1].reason.toStdString();
    EXPECT_EQ(journal.putBackRun(newestRun().id).count(PutBackOutcome::PutBack), 2);
    EXPECT_EQ(Contents(skins.path()), before);
}

TEST_F(RecordedChecks, MoveThisFileIsARunOfOneChange) {
    skins.write("a.bmp", "bitmap a");
    ASSERT_TRUE(checks::moveToProgramDirectory(skins.path(), program.path(), "a.bmp", &journal).ok);
    const platform::JournalRun moved = newestRun();
    EXPECT_EQ(moved.command, "Move this file");
    EXPECT_EQ(moved.outcome, "finished");
    ASSERT_EQ(changesOf(moved.id).size(), 1);
    EXPECT_EQ(changesOf(moved.id)[0].reason, "moved with \"Move this file\"");

    // Refused as before, and the refusal is recorded as a change that did not happen.
    program.write("b.bmp", "already there");
    skins.write("b.bmp", "bitmap b");
    EXPECT_FALSE(checks::moveToProgramDirectory(skins.path(), program.path(), "b.bmp", &journal).ok);
    EXPECT_TRUE(newestRun().outcome.startsWith("failed: "));
    EXPECT_EQ(changesOf(newestRun().id)[0].state, ChangeState::Failed);

    EXPECT_EQ(journal.putBackRun(moved.id).count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(test::readAll(skins.filePath("a.bmp")), "bitmap a");
    // The program folder itself is still refused by name.
    program.write("c.bmp", "c");
    const platform::FileResult same =
        checks::moveToProgramDirectory(program.path(), program.path(), "c.bmp", &journal);
    EXPECT_EQ(same.error.reason, "the skin directory is the program's own folder");
}

TEST_F(RecordedChecks, AnExportsTwoNewFilesGoToTheTrashWhenPutBackUnlessChanged) {
    buyable::ExportPlan plan;
    plan.cmxFileName = "F9QBFAFit_xyz.CMX";
    plan.bitmapFileName = "F9QBFAFitlgt_xyz.bmp";
    plan.cmxText = "cmx text";
    EXPECT_TRUE(buyable::writeExport(skins.path(), plan, "bitmap bytes", &journal).isEmpty());
    const platform::JournalRun exported = newestRun();
    EXPECT_EQ(exported.command, "Export As Buyable");
    const auto changes = changesOf(exported.id);
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0].kind, ChangeKind::Exported);
    EXPECT_EQ(changes[0].destination, skins.filePath("F9QBFAFit_xyz.CMX"));
    EXPECT_EQ(changes[1].destination, skins.filePath("F9QBFAFitlgt_xyz.bmp"));

    // The player drew over the bitmap since: it stays, reported; the CMX file goes.
    skins.write("F9QBFAFitlgt_xyz.bmp", "the player's own work");
    const journal::PutBackReport back = journal.putBackRun(exported.id);
    ASSERT_EQ(back.items.size(), 2);
    EXPECT_EQ(back.count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(back.count(PutBackOutcome::LeftAlone), 1);
    EXPECT_FALSE(test::exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    EXPECT_EQ(test::readAll(trashed("F9QBFAFit_xyz.CMX")), "cmx text");
    EXPECT_EQ(test::readAll(skins.filePath("F9QBFAFitlgt_xyz.bmp")), "the player's own work");

    // A refused export records nothing.
    const qsizetype runs = journal.store().listRuns().value.size();
    plan.cmxFileName = "F9QBFAFitlgt_xyz.bmp";
    EXPECT_FALSE(buyable::writeExport(skins.path(), plan, "bitmap bytes", &journal).isEmpty());
    EXPECT_EQ(journal.store().listRuns().value.size(), runs);
}

} // namespace
