#include "install/InstallFixture.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/install/JournaledInstall.h"
#include "core/journal/Journal.h"

#include <QFile>
#include <QFileInfo>

namespace vestimo::test {
namespace {

using platform::ChangeKind;
using platform::ChangeState;

// Installs through the journal of a program folder of its own, with a trash of its own.
class JournaledInstall : public InstallFixture {
protected:
    void SetUp() override {
        InstallFixture::SetUp();
        journalFolder = dir.mkdir(QStringLiteral("journal"));
        qputenv("XDG_DATA_HOME", dir.mkdir(QStringLiteral("data")).toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    install::RecordedInstall Install(journal::Journal* journal, const QStringList& downloads,
                                     bool checkOnly = false) const {
        install::Options options;
        options.stagingParent = program;
        options.checkOnly = checkOnly;
        return install::installRecorded(journal, downloads, Game(), options);
    }

    QString journalFolder;
};

TEST_F(JournaledInstall, RecordsEachFileAsAnInstallationThatPutBackTakesAwayOnlyWhileUnchanged) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, BodySkin("My Skin/", "B001FAFit_x"));
    journal::Journal journal;
    ASSERT_TRUE(journal.open(journalFolder).ok);

    const install::RecordedInstall done = Install(&journal, {zip});
    EXPECT_TRUE(done.recorded) << done.notRecorded.toStdString();
    EXPECT_EQ(done.report.installedCount(), 3);

    const auto runs = journal.store().listRuns();
    ASSERT_TRUE(runs.ok);
    ASSERT_EQ(runs.value.size(), 1);
    EXPECT_EQ(runs.value[0].command, texts::installCommandName());
    EXPECT_EQ(runs.value[0].skinFolder, skins);
    EXPECT_EQ(runs.value[0].outcome, QStringLiteral("finished; 3 installed"));
    const auto changes = journal.store().changesOf(runs.value[0].id);
    ASSERT_TRUE(changes.ok);
    ASSERT_EQ(changes.value.size(), 3);
    for (const platform::JournalChange& change : changes.value) {
        EXPECT_EQ(change.kind, ChangeKind::Installed);
        EXPECT_EQ(change.state, ChangeState::Done);
        EXPECT_EQ(change.original, zip);
        EXPECT_TRUE(change.destination.startsWith(skins));
        EXPECT_FALSE(change.hash.isEmpty());
        EXPECT_TRUE(change.reason.startsWith(QStringLiteral("installed from skin.zip (My Skin/")));
    }

    // The player edits the CMX file afterwards: that one stays, the rest goes to the trash.
    QFile edited(skins + QStringLiteral("/B001FAFit_x.cmx"));
    ASSERT_TRUE(edited.open(QIODevice::Append));
    ASSERT_EQ(edited.write("\r\n"), 2);
    edited.close();
    const journal::PutBackReport back = journal.putBackRun(runs.value[0].id);
    EXPECT_EQ(back.count(journal::PutBackOutcome::PutBack), 2);
    EXPECT_EQ(back.count(journal::PutBackOutcome::LeftAlone), 1);
    EXPECT_TRUE(QFileInfo::exists(skins + QStringLiteral("/B001FAFit_x.cmx")));
    EXPECT_FALSE(QFileInfo::exists(skins + QStringLiteral("/B001FAFitlgt_x.bmp")));
    EXPECT_FALSE(QFileInfo::exists(skins + QStringLiteral("/xskin-B001FAFit_x-PELVIS-BODY.skn")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("data/Trash/files/B001FAFitlgt_x.bmp"))));
}

TEST_F(JournaledInstall, FilesTakenOutAgainWhenTheirSkinCannotGoInWholeAreRecordedSo) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B031FAFit_r"));
    journal::Journal journal;
    ASSERT_TRUE(journal.open(journalFolder).ok);
    install::Options options;
    options.stagingParent = program;
    // Between the plan and the writing, another program puts a file where the mesh is to go.
    const QString mesh = QStringLiteral("game/GameData/Skins/xskin-B031FAFit_r-PELVIS-BODY.skn");
    options.freeSpace = [&](const QString&) -> std::optional<qint64> {
        dir.write(mesh, "someone else's");
        return std::nullopt;
    };
    const install::RecordedInstall done = install::installRecorded(&journal, {zip}, Game(), options);
    EXPECT_TRUE(done.recorded) << done.notRecorded.toStdString();
    EXPECT_EQ(done.report.installedCount(), 0);
    EXPECT_EQ(readAll(dir.filePath(mesh)), "someone else's");
    EXPECT_FALSE(QFileInfo::exists(skins + QStringLiteral("/B031FAFitlgt_r.bmp")));

    const auto runs = journal.store().listRuns();
    ASSERT_TRUE(runs.ok);
    const auto changes = journal.store().changesOf(runs.value[0].id);
    ASSERT_TRUE(changes.ok);
    ASSERT_EQ(changes.value.size(), 2); // the CMX file, last of the skin, was never begun
    EXPECT_EQ(changes.value[0].destination, skins + QStringLiteral("/B031FAFitlgt_r.bmp"));
    EXPECT_EQ(changes.value[0].state, ChangeState::Failed);
    EXPECT_EQ(changes.value[0].note, texts::installRemovedAgain(texts::installNameAppeared()));
    EXPECT_EQ(changes.value[1].state, ChangeState::Failed);
    EXPECT_EQ(changes.value[1].note, texts::installNameAppeared());
}

TEST_F(JournaledInstall, AJournalThatCannotRecordStopsNothingAndSaysWhy) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::SevenZip, BodySkin("", "B001FAFit_y"));
    const auto before = Snapshot(dir.path());

    journal::Journal closed; // never opened
    const install::RecordedInstall done = Install(&closed, {zip});
    EXPECT_FALSE(done.recorded);
    EXPECT_EQ(done.notRecorded, texts::journalNotOpen());
    EXPECT_EQ(done.report.installedCount(), 3);
    EXPECT_TRUE(done.report.downloads[0].refused.isEmpty());
    EXPECT_EQ(Snapshot(dir.path()).size(), before.size() + 3);

    const install::RecordedInstall none = Install(nullptr, {zip});
    EXPECT_FALSE(none.recorded);
    EXPECT_FALSE(none.notRecorded.isEmpty());
    EXPECT_EQ(none.report.downloads[0].alreadyInstalled.size(), 3);
}

TEST_F(JournaledInstall, CheckingOnlyRecordsNothing) {
    const QString zip =
        Download(QStringLiteral("skin.tar.gz"), ArchiveFormat::TarGz, BodySkin("x/", "B001FAFit_z"));
    journal::Journal journal;
    ASSERT_TRUE(journal.open(journalFolder).ok);
    const auto before = Snapshot(dir.path());

    const install::RecordedInstall checked = Install(&journal, {zip}, true);
    EXPECT_FALSE(checked.recorded);
    EXPECT_TRUE(checked.notRecorded.isEmpty());
    EXPECT_EQ(checked.report.installedCount(), 3);
    EXPECT_TRUE(journal.store().listRuns().value.isEmpty());
    // Only the journal's own files may have changed.
    auto now = Snapshot(dir.path());
    for (auto it = now.begin(); it != now.end();) {
        it = it.key().startsWith(QStringLiteral("journal/")) ? now.erase(it) : std::next(it);
    }
    auto was = before;
    for (auto it = was.begin(); it != was.end();) {
        it = it.key().startsWith(QStringLiteral("journal/")) ? was.erase(it) : std::next(it);
    }
    EXPECT_EQ(now, was);
}

TEST_F(JournaledInstall, AFolderOfArchivesStandsForEachOfThemAndAFolderOfSkinFilesForItself) {
    const QString archives = dir.mkdir(QStringLiteral("downloads/archives"));
    dir.write(QStringLiteral("downloads/archives/b.ZIP"), "x");
    dir.write(QStringLiteral("downloads/archives/a.tar.gz"), "x");
    dir.write(QStringLiteral("downloads/archives/notes.txt"), "x");
    dir.mkdir(QStringLiteral("downloads/archives/inner.zip"));
    const QString mixed = dir.mkdir(QStringLiteral("downloads/mixed"));
    dir.write(QStringLiteral("downloads/mixed/c.7z"), "x");
    dir.write(QStringLiteral("downloads/mixed/B001.cmx"), "x");
    const QString plain = dir.mkdir(QStringLiteral("downloads/plain"));
    const QString file = dir.write(QStringLiteral("downloads/d.rar"), "x");

    EXPECT_EQ(install::expandDownloads({archives, mixed, plain, file}),
              QStringList({archives + QStringLiteral("/a.tar.gz"), archives + QStringLiteral("/b.ZIP"), mixed,
                           mixed + QStringLiteral("/c.7z"), plain, file}));
}

} // namespace
} // namespace vestimo::test
