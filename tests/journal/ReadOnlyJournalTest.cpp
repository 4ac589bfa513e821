#include "core/catalogue/PlatformErrors.h"
#include "core/journal/Journal.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace vestimo;

namespace {

class ReadOnlyFolder : public ::testing::Test {
protected:
    void makeReadOnly() {
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        enforced = test::canEnforcePermissions(program.path());
    }
    void TearDown() override {
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    test::TempDir skins;
    test::TempDir program;
    bool enforced = false;
};

TEST_F(ReadOnlyFolder, ANewJournalCannotBeStartedAndTheCallerIsToldWhy) {
    makeReadOnly();
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    platform::JournalStore store;
    const platform::JournalStatus opened = store.open(program.path());
    EXPECT_FALSE(opened.ok);
    EXPECT_TRUE(texts::journalError(opened.error).contains(program.path()))
        << texts::journalError(opened.error).toStdString();
    EXPECT_TRUE(texts::journalError(opened.error).contains("cannot be written"))
        << texts::journalError(opened.error).toStdString();
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.beginRun("Check", skins.path()).ok);
    EXPECT_FALSE(QFileInfo::exists(program.filePath("journal.sqlite")));
}

TEST_F(ReadOnlyFolder, AnExistingJournalInAReadOnlyFolderIsReportedNotSetAside) {
    {
        platform::JournalStore store;
        ASSERT_TRUE(store.open(program.path()).ok);
        ASSERT_TRUE(store.beginRun("Check", skins.path()).ok);
    }
    makeReadOnly();
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    platform::JournalStore store;
    const platform::JournalStatus opened = store.open(program.path());
    EXPECT_FALSE(opened.ok);
    EXPECT_FALSE(texts::journalError(opened.error).isEmpty());
    EXPECT_TRUE(store.setAside().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(program.filePath("journal.sqlite")));
}

TEST_F(ReadOnlyFolder, AReadOnlyJournalFileIsReportedNotSetAside) {
    {
        platform::JournalStore store;
        ASSERT_TRUE(store.open(program.path()).ok);
        ASSERT_TRUE(store.beginRun("Check", skins.path()).ok);
    }
    const QString file = program.filePath("journal.sqlite");
    QFile::setPermissions(file, QFile::ReadOwner);
    if (QFile(file).open(QIODevice::ReadWrite)) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    platform::JournalStore store;
    const platform::JournalStatus opened = store.open(program.path());
    if (opened.ok) {
        // Some versions of SQLite open it and refuse only the writing.
        const auto run = store.beginRun("Check", skins.path());
        EXPECT_FALSE(run.ok);
        EXPECT_FALSE(texts::journalError(run.error).isEmpty());
    } else {
        EXPECT_FALSE(texts::journalError(opened.error).isEmpty());
    }
    EXPECT_TRUE(store.setAside().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(file));
}

TEST_F(ReadOnlyFolder, TheFacadeStillDoesItsWorkUnrecorded) {
    skins.write("a.cmx", "a");
    test::TempDir elsewhere;
    makeReadOnly();
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    journal::Journal journal;
    EXPECT_FALSE(journal.open(program.path()).ok);
    EXPECT_FALSE(journal.beginRun("Check", skins.path()));
    EXPECT_TRUE(journal.move(skins.filePath("a.cmx"), elsewhere.filePath("a.cmx"), "bad").ok);
    journal.endRun("finished");
    EXPECT_EQ(test::readAll(elsewhere.filePath("a.cmx")), "a");
    EXPECT_TRUE(journal.problem().contains("cannot be written")) << journal.problem().toStdString();
    const journal::RecoveryReport recovered = journal.recover();
    EXPECT_FALSE(recovered.error.isEmpty());
    const journal::PutBackReport back = journal.putBackRun(1);
    EXPECT_FALSE(back.error.isEmpty());
}

} // namespace
