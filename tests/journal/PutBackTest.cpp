#include "JournalTesting.h"

#include "platform/journal/FileDigest.h"

using namespace vestimo;
using journal::PutBackOutcome;
using platform::ChangeKind;
using platform::ChangeState;

namespace {

class PuttingBack : public test::JournalTest {
protected:
    const journal::PutBackItem* item(const journal::PutBackReport& report, const QString& name) {
        for (const journal::PutBackItem& entry : report.items) {
            if (QFileInfo(entry.name).fileName() == name) {
                return &entry;
            }
        }
        ADD_FAILURE() << "nothing reported about " << name.toStdString();
        return nullptr;
    }
    QList<platform::JournalChange> changesOf(qint64 run) { return journal.store().changesOf(run).value; }
};

TEST_F(PuttingBack, MovedFilesGoBackUnderTheirNamesAndASecondUndoDoesNothing) {
    skins.write("B001FAFit_a.cmx", "first");
    skins.write("B002FAFit_b.cmx", "second");
    skins.write("B003FAFit_c.cmx", "stays");
    const auto before = Contents(skins.path());
    ASSERT_TRUE(journal.beginRun("Check All CMX Files in Directory", skins.path()));
    const qint64 run = journal.runId();
    ASSERT_TRUE(
        journal.move(skins.filePath("B001FAFit_a.cmx"), program.filePath("B001FAFit_a.cmx"), "bad").ok);
    ASSERT_TRUE(
        journal.move(skins.filePath("B002FAFit_b.cmx"), program.filePath("B002FAFit_b.cmx"), "bad").ok);
    journal.endRun("finished");
    EXPECT_TRUE(journal.problem().isEmpty()) << journal.problem().toStdString();
    EXPECT_EQ(Contents(skins.path()).size(), 1);
    EXPECT_EQ(Contents(program.path()).size(), 2);

    const journal::PutBackReport report = journal.putBackRun(run);
    EXPECT_TRUE(report.error.isEmpty()) << report.error.toStdString();
    EXPECT_EQ(report.count(PutBackOutcome::PutBack), 2);
    EXPECT_EQ(Contents(skins.path()), before);
    EXPECT_TRUE(Contents(program.path()).isEmpty());
    const auto* a = item(report, "B001FAFit_a.cmx");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->name, skins.filePath("B001FAFit_a.cmx"));
    EXPECT_TRUE(a->what.startsWith("moved back to")) << a->what.toStdString();
    for (const auto& change : changesOf(run)) {
        EXPECT_EQ(change.state, ChangeState::Undone);
    }
    // The undo is a run of its own, each step linked to what it undid.
    ASSERT_GT(report.runId, run);
    const auto undo = changesOf(report.runId);
    ASSERT_EQ(undo.size(), 2);
    EXPECT_EQ(undo[0].kind, ChangeKind::Moved);
    EXPECT_EQ(undo[0].state, ChangeState::Done);
    EXPECT_EQ(undo[0].undoes, changesOf(run)[1].id); // newest first
    EXPECT_EQ(journal.store().run(report.runId).value.command, "Put Back");

    const journal::PutBackReport again = journal.putBackRun(run);
    EXPECT_EQ(again.runId, 0); // no run: nothing was done
    EXPECT_EQ(again.count(PutBackOutcome::AlreadyPutBack), 2);
    EXPECT_EQ(again.count(PutBackOutcome::PutBack), 0);
    EXPECT_EQ(Contents(skins.path()), before);
    EXPECT_EQ(journal.store().listRuns().value.size(), 2);
}

TEST_F(PuttingBack, ATakenNameOrAChangedFileIsLeftAloneAndTheRestGoAhead) {
    skins.write("taken.bmp", "moved away");
    skins.write("free.bmp", "also moved");
    ASSERT_TRUE(journal.beginRun("Check All BMP Files in Directory", skins.path()));
    const qint64 run = journal.runId();
    journal.move(skins.filePath("taken.bmp"), program.filePath("taken.bmp"), "too large");
    journal.move(skins.filePath("free.bmp"), program.filePath("free.bmp"), "too large");
    ASSERT_TRUE(
        journal.writeNew(skins.filePath("B9FAFit_new.cmx"), "exported", "made", ChangeKind::Exported).ok);
    ASSERT_TRUE(
        journal.writeNew(skins.filePath("B9FAFit_new.bmp"), "picture", "made", ChangeKind::Exported).ok);
    journal.endRun("finished");
    skins.write("taken.bmp", "a new file of the same name");
    skins.write("B9FAFit_new.bmp", "edited by the player since");

    const journal::PutBackReport report = journal.putBackRun(run);
    EXPECT_EQ(report.count(PutBackOutcome::PutBack), 2);
    EXPECT_EQ(report.count(PutBackOutcome::LeftAlone), 2);
    const auto* taken = item(report, "taken.bmp");
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->outcome, PutBackOutcome::LeftAlone);
    EXPECT_TRUE(taken->reason.startsWith("another file now has its name in")) << taken->reason.toStdString();
    const auto* edited = item(report, "B9FAFit_new.bmp");
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->reason, "it has changed since it was written");
    // Nothing overwritten, nothing lost.
    EXPECT_EQ(test::readAll(skins.filePath("taken.bmp")), "a new file of the same name");
    EXPECT_EQ(test::readAll(program.filePath("taken.bmp")), "moved away");
    EXPECT_EQ(test::readAll(skins.filePath("B9FAFit_new.bmp")), "edited by the player since");
    EXPECT_EQ(test::readAll(skins.filePath("free.bmp")), "also moved");
    EXPECT_FALSE(test::exists(skins.filePath("B9FAFit_new.cmx")));
    EXPECT_EQ(test::readAll(trashed("B9FAFit_new.cmx")), "exported"); // to the trash, not deleted

    // Once the way is clear, the rest can follow; what was done stays done.
    ASSERT_TRUE(platform::moveFile(skins.filePath("taken.bmp"), program.filePath("other.bmp")).ok);
    const journal::PutBackReport later = journal.putBackRun(run);
    EXPECT_EQ(later.count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(later.count(PutBackOutcome::AlreadyPutBack), 2);
    EXPECT_EQ(later.count(PutBackOutcome::LeftAlone), 1);
    EXPECT_EQ(test::readAll(skins.filePath("taken.bmp")), "moved away");
}

TEST_F(PuttingBack, ATrashedFileComesBackFromTheTrashAndItsNoteGoes) {
    skins.write("a.bmp", "bitmap a");
    ASSERT_TRUE(journal.beginRun("Delete", skins.path()));
    const qint64 run = journal.runId();
    ASSERT_TRUE(journal.trash(skins.filePath("a.bmp"), "deleted by the player").ok);
    journal.endRun("finished");
    ASSERT_EQ(test::readAll(trashed("a.bmp")), "bitmap a");
    ASSERT_TRUE(test::exists(trashInfo("a.bmp")));
    const auto recorded = changesOf(run);
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0].destination, trashed("a.bmp"));
    EXPECT_EQ(recorded[0].hash, platform::digestOf("bitmap a"));

    const journal::PutBackReport report = journal.putBackRun(run);
    ASSERT_EQ(report.count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(report.items[0].what, "brought back from the trash");
    EXPECT_EQ(test::readAll(skins.filePath("a.bmp")), "bitmap a");
    EXPECT_FALSE(test::exists(trashed("a.bmp")));
    EXPECT_FALSE(test::exists(trashInfo("a.bmp")));

    // Putting back the putting back sends it to the trash again.
    const journal::PutBackReport redo = journal.putBackRun(report.runId);
    ASSERT_EQ(redo.count(PutBackOutcome::PutBack), 1) << redo.items[0].reason.toStdString();
    EXPECT_FALSE(test::exists(skins.filePath("a.bmp")));
    EXPECT_EQ(test::readAll(trashed("a.bmp")), "bitmap a");
}

TEST_F(PuttingBack, AFileReplacedInTheTrashIsNotBroughtBack) {
    skins.write("a.bmp", "bitmap a");
    ASSERT_TRUE(journal.beginRun("Delete", skins.path()));
    const qint64 run = journal.runId();
    journal.trash(skins.filePath("a.bmp"), "deleted");
    journal.endRun("finished");
    test::TempDir scratch;
    scratch.write("x", "something else");
    QFile::remove(trashed("a.bmp"));
    ASSERT_TRUE(platform::moveFile(scratch.filePath("x"), trashed("a.bmp")).ok);
    const journal::PutBackReport report = journal.putBackRun(run);
    ASSERT_EQ(report.count(PutBackOutcome::LeftAlone), 1);
    EXPECT_EQ(report.items[0].reason, "it has changed since it was sent to the trash");
    EXPECT_FALSE(test::exists(skins.filePath("a.bmp")));
}

TEST_F(PuttingBack, ASaveGetsItsPreviousBytesBackAndThatIsASaveToo) {
    const QString path = skins.write("B001FAFit_a.cmx", "version one");
    ASSERT_TRUE(journal.beginRun("Save CMX Changes", skins.path()));
    const qint64 first = journal.runId();
    ASSERT_TRUE(journal.save(path, "version two", "edited").ok);
    journal.endRun("finished");
    ASSERT_TRUE(journal.beginRun("Save CMX Changes", skins.path()));
    const qint64 second = journal.runId();
    ASSERT_TRUE(journal.save(path, "version three", "edited").ok);
    journal.endRun("finished");
    ASSERT_EQ(test::readAll(path), "version three");

    // Both at once: the newest is undone first, so the oldest content comes back.
    const journal::PutBackReport report =
        journal.putBack({changesOf(first)[0].id, changesOf(second)[0].id}, skins.path());
    EXPECT_EQ(report.count(PutBackOutcome::PutBack), 2);
    EXPECT_EQ(test::readAll(path), "version one");
    const auto undo = changesOf(report.runId);
    ASSERT_EQ(undo.size(), 2);
    EXPECT_EQ(undo[0].kind, ChangeKind::Saved);
    EXPECT_EQ(journal.store().change(undo[0].id).value.previousBytes, "version three");
    EXPECT_EQ(journal.store().change(undo[1].id).value.previousBytes, "version two");

    // The undone saves are saves: putting them back gives the newest content again.
    const journal::PutBackReport redo = journal.putBackRun(report.runId);
    EXPECT_EQ(redo.count(PutBackOutcome::PutBack), 2);
    EXPECT_EQ(test::readAll(path), "version three");
}

TEST_F(PuttingBack, ASavedFileChangedSinceIsLeftAlone) {
    const QString path = skins.write("B001FAFit_a.cmx", "version one");
    ASSERT_TRUE(journal.beginRun("Save CMX Changes", skins.path()));
    const qint64 run = journal.runId();
    journal.save(path, "version two", "edited");
    journal.endRun("finished");
    skins.write("B001FAFit_a.cmx", "changed elsewhere");
    const journal::PutBackReport report = journal.putBackRun(run);
    ASSERT_EQ(report.count(PutBackOutcome::LeftAlone), 1);
    EXPECT_EQ(report.items[0].reason, "it has changed since it was saved");
    EXPECT_EQ(report.items[0].name, path);
    EXPECT_EQ(test::readAll(path), "changed elsewhere");
    QFile::remove(path);
    EXPECT_EQ(journal.putBackRun(run).items[0].reason, "it is no longer there");
}

TEST_F(PuttingBack, SavingAFileThatWasNotThereIsUndoneByTrashingIt) {
    const QString path = skins.filePath("B001FAFit_new.cmx");
    ASSERT_TRUE(journal.beginRun("Save CMX Changes", skins.path()));
    const qint64 run = journal.runId();
    ASSERT_TRUE(journal.save(path, "brand new", "edited").ok);
    journal.endRun("finished");
    EXPECT_EQ(changesOf(run)[0].kind, ChangeKind::Exported);
    const journal::PutBackReport report = journal.putBackRun(run);
    ASSERT_EQ(report.count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(report.items[0].what, "sent to the trash");
    EXPECT_FALSE(test::exists(path));
    EXPECT_EQ(test::readAll(trashed("B001FAFit_new.cmx")), "brand new");
}

TEST_F(PuttingBack, InstalledFilesGoToTheTrashOnlyWhileUnchanged) {
    ASSERT_TRUE(journal.beginRun("Install", skins.path()));
    const qint64 run = journal.runId();
    ASSERT_TRUE(journal
                    .writeNew(skins.filePath("b.cmx"), "installed", "installed", ChangeKind::Installed,
                              skins.filePath("a.cmx"))
                    .ok);
    journal.endRun("finished");
    const auto recorded = changesOf(run);
    EXPECT_EQ(recorded[0].original, skins.filePath("a.cmx"));
    EXPECT_EQ(recorded[0].destination, skins.filePath("b.cmx"));
    EXPECT_EQ(recorded[0].size, 9);
    const journal::PutBackReport report = journal.putBackRun(run);
    ASSERT_EQ(report.count(PutBackOutcome::PutBack), 1);
    EXPECT_EQ(report.items[0].name, skins.filePath("b.cmx"));
    EXPECT_EQ(test::readAll(trashed("b.cmx")), "installed");
}

TEST_F(PuttingBack, ChangesThatNeverHappenedAreNotUndone) {
    skins.write("a.cmx", "a");
    ASSERT_TRUE(journal.beginRun("Check", skins.path()));
    const qint64 run = journal.runId();
    program.write("a.cmx", "in the way");
    EXPECT_FALSE(journal.move(skins.filePath("a.cmx"), program.filePath("a.cmx"), "bad").ok);
    journal.endRun("finished");
    EXPECT_EQ(changesOf(run)[0].state, ChangeState::Failed);
    const journal::PutBackReport report = journal.putBackRun(run);
    EXPECT_EQ(report.runId, 0);
    ASSERT_EQ(report.count(PutBackOutcome::NeverHappened), 1);
    EXPECT_EQ(test::readAll(skins.filePath("a.cmx")), "a");
    EXPECT_EQ(test::readAll(program.filePath("a.cmx")), "in the way");
    EXPECT_FALSE(journal.putBack({424242}).items[0].reason.isEmpty());
}

TEST_F(PuttingBack, AQueueOfMovesIsJournaledInGroupsAndPutBackWhole) {
    for (int i = 0; i < 150; ++i) {
        skins.write(QString("B%1FAFit_x.cmx").arg(i), QByteArray::number(i));
    }
    skins.write("keep.cmx", "keep");
    program.write("B7FAFit_x.cmx", "in the way");
    const auto before = Contents(skins.path());
    ASSERT_TRUE(journal.beginRun("Check All CMX Files in Directory", skins.path()));
    const qint64 run = journal.runId();
    journal.beginBatch();
    QStringList failed;
    int moved = 0;
    {
        journal::MoveQueue queue(journal, 64);
        for (int i = 0; i < 150; ++i) {
            const QString name = QString("B%1FAFit_x.cmx").arg(i);
            queue.add(skins.filePath(name), program.filePath(name), "bad",
                      [&, name](const platform::FileResult& r) {
                          if (r.ok) {
                              ++moved;
                          } else {
                              failed.append(name);
                          }
                      });
        }
        EXPECT_EQ(moved + failed.size() + queue.waiting(), 150); // groups go as they fill
    }
    journal.endRun("finished");
    EXPECT_EQ(moved, 149);
    EXPECT_EQ(failed, QStringList{"B7FAFit_x.cmx"});
    EXPECT_TRUE(journal.problem().isEmpty()) << journal.problem().toStdString();
    const auto changes = changesOf(run);
    ASSERT_EQ(changes.size(), 150);
    EXPECT_EQ(changes[7].state, ChangeState::Failed);
    EXPECT_EQ(changes[8].state, ChangeState::Done);
    EXPECT_EQ(changes[8].size, 1);
    EXPECT_TRUE(journal.store().openIntents().value.isEmpty());

    const journal::PutBackReport report = journal.putBackRun(run);
    EXPECT_EQ(report.count(PutBackOutcome::PutBack), 149);
    EXPECT_EQ(report.count(PutBackOutcome::NeverHappened), 1);
    EXPECT_EQ(Contents(skins.path()), before);
    EXPECT_EQ(test::readAll(program.filePath("B7FAFit_x.cmx")), "in the way");
}

// Run 1 moves g1's file into the problem folder, the player takes it away, run 2 moves another
// file of that name there: run 1's put-back must not carry run 2's file into g1. Once by a single
// move, once by a directory run's queue; once a different length, once the same length.
TEST_F(PuttingBack, OnlyTheFileTheRunMovedIsPutBack) {
    const struct {
        bool queued;
        QByteArray second;
    } cases[] = {{false, QByteArray(876, 'b')}, {true, QByteArray(876, 'b')}, {true, QByteArray(138, 'c')}};
    for (const auto& c : cases) {
        const QString name = "B001FAFit_g.cmx";
        const QString tail = QString("-%1-%2/").arg(c.queued).arg(c.second.size()) + name;
        const QString g1 = QFileInfo(skins.write("g1" + tail, QByteArray(138, 'a'))).path();
        const QString g2 = QFileInfo(skins.write("g2" + tail, c.second)).path();
        qint64 runs[2] = {};
        for (int i = 0; i < 2; ++i) {
            const QString from = (i == 0 ? g1 : g2) + "/" + name;
            ASSERT_TRUE(journal.beginRun("Check All CMX Files in Directory", QFileInfo(from).path()));
            runs[i] = journal.runId();
            if (c.queued) {
                journal::MoveQueue(journal).add(from, program.filePath(name), "bad");
            } else {
                ASSERT_TRUE(journal.move(from, program.filePath(name), "bad").ok);
            }
            journal.endRun("finished");
            if (i == 0) { // the player takes it away
                ASSERT_TRUE(QFile::rename(program.filePath(name), dataHome.filePath(name)));
            }
        }
        const journal::PutBackReport report = journal.putBackRun(runs[0]);
        ASSERT_EQ(report.items.size(), 1);
        EXPECT_EQ(report.items[0].outcome, PutBackOutcome::LeftAlone);
        EXPECT_TRUE(report.items[0].notTheFile);
        EXPECT_EQ(report.items[0].reason,
                  QString("%1 in the problem folder is not the file run %2 moved").arg(name).arg(runs[0]));
        EXPECT_FALSE(test::exists(g1 + "/" + name));
        EXPECT_EQ(test::readAll(program.filePath(name)), c.second);
        EXPECT_EQ(journal.putBackRun(runs[1]).count(PutBackOutcome::PutBack), 1);
        ASSERT_TRUE(QFile::remove(dataHome.filePath(name)));
    }
}

// A journal from before contents were kept has only the size to go by, and says so.
TEST_F(PuttingBack, ARunRecordedWithOnlyASizeIsMatchedBySizeAndSaysSo) {
    program.write("same.cmx", "12345");
    program.write("other.cmx", "123456");
    const qint64 run = journal.store().beginRun("Check All CMX Files in Directory", skins.path()).value;
    for (const QString& name : {QString("same.cmx"), QString("other.cmx")}) {
        platform::JournalChange change;
        change.runId = run;
        change.original = skins.filePath(name);
        change.destination = program.filePath(name);
        change.size = 5;
        const qint64 id = journal.store().recordIntent(change).value;
        ASSERT_TRUE(journal.store().markDone(id).ok);
    }
    const journal::PutBackReport report = journal.putBackRun(run);
    const auto* same = item(report, "same.cmx");
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same->outcome, PutBackOutcome::PutBack);
    EXPECT_TRUE(same->what.contains("matched by its size only")) << same->what.toStdString();
    const auto* other = item(report, "other.cmx");
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->notTheFile);
    EXPECT_EQ(test::readAll(program.filePath("other.cmx")), "123456");
}

TEST(UnopenedJournal, OperationsStillHappenAndTheProblemIsKept) {
    test::TempDir skins;
    test::TempDir program;
    skins.write("a.cmx", "a");
    skins.write("b.cmx", "b");
    journal::Journal journal;
    EXPECT_FALSE(journal.open(program.filePath("missing")).ok);
    EXPECT_FALSE(journal.beginRun("Check", skins.path()));
    EXPECT_FALSE(journal.recording());
    EXPECT_TRUE(journal.move(skins.filePath("a.cmx"), program.filePath("a.cmx"), "bad").ok);
    {
        journal::MoveQueue queue(journal);
        queue.add(skins.filePath("b.cmx"), program.filePath("b.cmx"), "bad");
    }
    journal.endRun("finished");
    EXPECT_EQ(test::readAll(program.filePath("a.cmx")), "a");
    EXPECT_EQ(test::readAll(program.filePath("b.cmx")), "b");
    EXPECT_TRUE(journal.problem().contains(program.filePath("missing"))) << journal.problem().toStdString();
    // Every run says it, not only the first.
    EXPECT_FALSE(journal.beginRun("Check", skins.path()));
    EXPECT_TRUE(journal.problem().contains(program.filePath("missing"))) << journal.problem().toStdString();
}

} // namespace
