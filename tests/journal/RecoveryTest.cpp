#include "JournalTesting.h"

#include "platform/journal/FileDigest.h"

using namespace vestimo;
using platform::ChangeKind;
using platform::ChangeState;
using platform::JournalChange;
using platform::JournalStore;

namespace {

// A crash between intention and completion: the intent is recorded, the operation happens or
// not, and the program stops before it can say which. Then the program starts again.
class Recovery : public test::JournalTest {
protected:
    qint64 intend(ChangeKind kind, const QString& original, const QString& destination,
                  const QByteArray& bytes = {}, const QByteArray& previous = {}, qint64 undoes = 0) {
        if (run == 0) {
            run = store().beginRun("Check", skins.path()).value;
        }
        JournalChange change;
        change.runId = run;
        change.kind = kind;
        change.original = original;
        change.destination = destination;
        change.hash = bytes.isNull() ? QString() : platform::digestOf(bytes);
        change.hasPreviousBytes = !previous.isNull();
        change.previousBytes = previous;
        change.undoes = undoes;
        const auto id = store().recordIntent(change);
        EXPECT_TRUE(id.ok) << texts::journalError(id.error).toStdString();
        return id.value;
    }
    JournalStore& store() { return journal.store(); }
    journal::RecoveryReport restart() {
        store().close();
        EXPECT_TRUE(journal.open(program.path()).ok);
        return journal.recover();
    }
    ChangeState stateOf(qint64 id) { return store().change(id).value.state; }
    qint64 run = 0;
};

TEST_F(Recovery, AMoveIsSettledByWhereTheFileIs) {
    skins.write("moved.cmx", "m");
    skins.write("stayed.cmx", "s");
    skins.write("both.cmx", "b");
    program.write("both.cmx", "partial cop");
    const qint64 moved =
        intend(ChangeKind::Moved, skins.filePath("moved.cmx"), program.filePath("moved.cmx"));
    ASSERT_TRUE(platform::moveFile(skins.filePath("moved.cmx"), program.filePath("moved.cmx")).ok);
    const qint64 stayed =
        intend(ChangeKind::Moved, skins.filePath("stayed.cmx"), program.filePath("stayed.cmx"));
    const qint64 both = intend(ChangeKind::Moved, skins.filePath("both.cmx"), program.filePath("both.cmx"));
    const qint64 gone = intend(ChangeKind::Moved, skins.filePath("gone.cmx"), program.filePath("gone.cmx"));

    const journal::RecoveryReport report = restart();
    EXPECT_TRUE(report.error.isEmpty()) << report.error.toStdString();
    EXPECT_EQ(report.settled.size(), 4);
    EXPECT_EQ(stateOf(moved), ChangeState::Done);
    EXPECT_EQ(stateOf(stayed), ChangeState::SettledNotDone);
    EXPECT_EQ(stateOf(both), ChangeState::SettledNotDone);
    EXPECT_TRUE(store().change(both).value.note.contains(program.filePath("both.cmx")));
    EXPECT_EQ(stateOf(gone), ChangeState::Failed);
    EXPECT_TRUE(store().openIntents().value.isEmpty());
    // Nothing on the disk was touched by settling.
    EXPECT_EQ(test::readAll(program.filePath("both.cmx")), "partial cop");
    EXPECT_EQ(test::readAll(skins.filePath("stayed.cmx")), "s");
    // The run that never ended is closed as interrupted.
    EXPECT_EQ(report.interruptedRuns, QList<qint64>{run});
    EXPECT_EQ(store().run(run).value.outcome, "interrupted");
    EXPECT_TRUE(store().unendedRuns().value.isEmpty());

    // What was settled as done can be put back; the rest is not touched.
    const journal::PutBackReport back = journal.putBackRun(run);
    EXPECT_EQ(back.count(journal::PutBackOutcome::PutBack), 1);
    EXPECT_EQ(test::readAll(skins.filePath("moved.cmx")), "m");
    EXPECT_EQ(test::readAll(program.filePath("both.cmx")), "partial cop");
    // A second start finds nothing left to settle.
    EXPECT_TRUE(restart().settled.isEmpty());
}

TEST_F(Recovery, ASaveIsSettledByTheContentOnDisk) {
    const QString written = skins.write("written.cmx", "new content");
    const QString unwritten = skins.write("unwritten.cmx", "old content");
    const QString other = skins.write("other.cmx", "a third content");
    const qint64 done = intend(ChangeKind::Saved, written, {}, "new content", "old content");
    const qint64 notDone = intend(ChangeKind::Saved, unwritten, {}, "new content", "old content");
    const qint64 neither = intend(ChangeKind::Saved, other, {}, "new content", "old content");
    restart();
    EXPECT_EQ(stateOf(done), ChangeState::Done);
    EXPECT_EQ(stateOf(notDone), ChangeState::SettledNotDone);
    EXPECT_EQ(stateOf(neither), ChangeState::Failed);
    // The settled save can be undone like any other.
    EXPECT_EQ(journal.putBack({done}).count(journal::PutBackOutcome::PutBack), 1);
    EXPECT_EQ(test::readAll(written), "old content");
}

TEST_F(Recovery, ANewFileIsSettledByItsHash) {
    skins.write("out.cmx", "exported");
    skins.write("other.cmx", "not ours");
    const qint64 done = intend(ChangeKind::Exported, {}, skins.filePath("out.cmx"), "exported");
    const qint64 absent = intend(ChangeKind::Installed, {}, skins.filePath("absent.cmx"), "installed");
    const qint64 foreign = intend(ChangeKind::Exported, {}, skins.filePath("other.cmx"), "exported");
    restart();
    EXPECT_EQ(stateOf(done), ChangeState::Done);
    EXPECT_EQ(stateOf(absent), ChangeState::SettledNotDone);
    EXPECT_EQ(stateOf(foreign), ChangeState::SettledNotDone);
    EXPECT_EQ(store().change(foreign).value.note, "another file is in its place");
}

TEST_F(Recovery, ATrashingIsSettledByTheOrigin) {
    skins.write("kept.bmp", "k");
    const qint64 kept = intend(ChangeKind::Trashed, skins.filePath("kept.bmp"), {});
    const qint64 trashed = intend(ChangeKind::Trashed, skins.filePath("gone.bmp"), {}); // not in the trash
    restart();
    EXPECT_EQ(stateOf(kept), ChangeState::SettledNotDone);
    EXPECT_EQ(stateOf(trashed), ChangeState::Done);
    EXPECT_FALSE(store().change(trashed).value.note.isEmpty());
    // Where in the trash it went is not known, so it is not guessed at.
    const journal::PutBackReport back = journal.putBack({trashed});
    ASSERT_EQ(back.count(journal::PutBackOutcome::LeftAlone), 1);
    EXPECT_EQ(back.items[0].reason, "where it went was not recorded");
}

TEST_F(Recovery, ATrashedFileIsFoundByTheTrashsOwnNote) {
    skins.write("a.bmp", "this bitmap");
    skins.write("other.bmp", "other");
    // An older file of the same name already in the trash is not taken for it.
    const QString older = skins.write("sub/a.bmp", "older");
    ASSERT_TRUE(platform::moveToTrash(older).ok);
    const qint64 id = intend(ChangeKind::Trashed, skins.filePath("a.bmp"), {}, "this bitmap");
    QString inTrash;
    ASSERT_TRUE(platform::moveToTrash(skins.filePath("a.bmp"), &inTrash).ok);
    ASSERT_NE(inTrash, trashed("a.bmp"));
    restart();
    EXPECT_EQ(stateOf(id), ChangeState::Done);
    EXPECT_EQ(store().change(id).value.destination, inTrash);
    EXPECT_EQ(journal.putBack({id}).count(journal::PutBackOutcome::PutBack), 1);
    EXPECT_EQ(test::readAll(skins.filePath("a.bmp")), "this bitmap");
    EXPECT_EQ(test::readAll(trashed("a.bmp")), "older");
}

TEST_F(Recovery, AnUndoCutShortStillMarksWhatItUndid) {
    skins.write("a.cmx", "a");
    ASSERT_TRUE(journal.beginRun("Check", skins.path()));
    const qint64 checked = journal.runId();
    journal.move(skins.filePath("a.cmx"), program.filePath("a.cmx"), "bad");
    journal.endRun("finished");
    const qint64 original = store().changesOf(checked).value[0].id;
    // The putting back moved the file, then the program stopped before recording it.
    const qint64 undo =
        intend(ChangeKind::Moved, program.filePath("a.cmx"), skins.filePath("a.cmx"), {}, {}, original);
    ASSERT_TRUE(platform::moveFile(program.filePath("a.cmx"), skins.filePath("a.cmx")).ok);
    restart();
    EXPECT_EQ(stateOf(undo), ChangeState::Done);
    EXPECT_EQ(stateOf(original), ChangeState::Undone);
    const journal::PutBackReport again = journal.putBackRun(checked);
    EXPECT_EQ(again.count(journal::PutBackOutcome::AlreadyPutBack), 1);
    EXPECT_EQ(test::readAll(skins.filePath("a.cmx")), "a");
}

} // namespace
