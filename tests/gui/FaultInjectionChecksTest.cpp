// Hostile folders under the directory-wide checks: the program folder as the skin folder, a skin
// folder that goes away or cannot be read, a listing rewritten behind the walk's back, a stale
// listing that a read-only program folder will not let go of.
#include "support/AppFixture.h"
#include "support/DirectoryCheckTesting.h"
#include "support/FinishRuns.h"

#include "core/checks/CheckRegistry.h"
#include "core/checks/ScratchListing.h"
#include "core/checks/SkinChecks.h"

#include <QDir>
#include <QFile>

using namespace vestimo;

namespace {

// Every entry of a folder, hidden ones too, with its content.
QMap<QString, QByteArray> Everything(const QString& folder) {
    QMap<QString, QByteArray> entries;
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        entries.insert(name, test::readAll(QDir(folder).filePath(name)));
    }
    return entries;
}

} // namespace

class FaultInjectionChecks : public test::AppFixture {
protected:
    // Each directory-wide command, with the list showing what it accepts.
    void clickEach(const std::function<void(const char* command)>& after) {
        for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
            showInSkinEdit(check.make().filter);
            messages.clear();
            QTest::mouseClick(control<QPushButton>(&skinEdit(), check.objectName), Qt::LeftButton);
            EXPECT_TRUE(test::finishRuns());
            after(check.objectName);
        }
    }
};

TEST_F(FaultInjectionChecks, TheProgramFolderAsTheSkinFolderIsRefusedAtOnceAndNothingIsWritten) {
    program.write("Temp.txt", "the player's own notes");
    program.write("B001FAFit_bad.cmx", "not a skin description");
    program.write("B001FAFitlgt_bad.bmp", "not a bitmap");
    // Reached directly and through a link: the folders are compared as they really are.
    const QString alias = skins.filePath("alias");
    ASSERT_TRUE(QFile::link(program.path(), alias));
    const auto before = Everything(program.path());
    for (const QString& folder : {program.path(), alias}) {
        browseSkinEdit(folder);
        clickEach([&](const char* command) {
            EXPECT_EQ(
                messages.messages,
                QStringList{
                    QStringLiteral("The skin folder %1 is the program's own folder, where problem "
                                   "files are moved; choose another folder to check.")
                        .arg(QDir::toNativeSeparators(control<gui::DirList>(&skinEdit(), "Dir1")->path()))})
                << command;
            EXPECT_FALSE(control<QProgressBar>(&skinEdit(), "ProgressBar1")->isVisible()) << command;
            EXPECT_EQ(Everything(program.path()), before) << command;
        });
    }
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdClose"), Qt::LeftButton);
    EXPECT_EQ(test::readAll(program.filePath("Temp.txt")), "the player's own notes");
}

TEST_F(FaultInjectionChecks, ASkinFolderThatWasDeletedSaysItCannotBeRead) {
    const QString gone = skins.mkdir("gone");
    browseSkinEdit(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    program.write("Temp.txt", "B001FAFit_x.cmx\r\n");
    clickEach([&](const char* command) {
        EXPECT_EQ(messages.messages,
                  QStringList{
                      QStringLiteral("Could not read the folder %1: No such file or directory")
                          .arg(QDir::toNativeSeparators(control<gui::DirList>(&skinEdit(), "Dir1")->path()))})
            << command;
        EXPECT_FALSE(control<QProgressBar>(&skinEdit(), "ProgressBar1")->isVisible()) << command;
    });
    // Nothing was listed, so the old listing was left alone.
    EXPECT_EQ(test::readAll(program.filePath("Temp.txt")), "B001FAFit_x.cmx\r\n");
}

TEST_F(FaultInjectionChecks, AnUnreadableSkinFolderSaysWhy) {
    skins.write("B001FAFit_bad.cmx", "not a skin description");
    skins.write("B001FAFitlgt_bad.bmp", "not a bitmap");
    browseSkinEdit();
    QFile::setPermissions(skins.path(), QFile::WriteOwner | QFile::ExeOwner);
    if (QDir(skins.path()).isReadable()) {
        QFile::setPermissions(skins.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    QStringList shown;
    clickEach([&](const char*) { shown += messages.messages; });
    QFile::setPermissions(skins.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString expected =
        QStringLiteral("Could not read the folder %1: Permission denied")
            .arg(QDir::toNativeSeparators(control<gui::DirList>(&skinEdit(), "Dir1")->path()));
    EXPECT_EQ(shown, QStringList(static_cast<qsizetype>(checks::checkRegistry().size()), expected));
    EXPECT_TRUE(test::exists(skins.filePath("B001FAFit_bad.cmx")));
    EXPECT_TRUE(test::exists(skins.filePath("B001FAFitlgt_bad.bmp")));
}

TEST_F(FaultInjectionChecks, AListingRewrittenBeforeTheWalkCannotSteerIt) {
    // skin folder <root>/s/skins, program folder <root>/p/program, and a file beside the skin
    // folder that a rewritten listing names as "../victim.bmp".
    test::TempDir root;
    const QString skinFolder = root.mkdir("s/skins");
    const QString programFolder = root.mkdir("p/program");
    const QString victim = root.write("s/victim.bmp", "not a bitmap, and not in the skin folder");
    root.write("s/skins/B001FAFitlgt_bad.bmp", "not a bitmap either");
    const QByteArray rewritten = "../victim.bmp\r\n";
    struct Rewriter : test::RecordingProgress {
        QString listing;
        QByteArray text;
        void start(qint64 maximum) override {
            RecordingProgress::start(maximum);
            QFile file(listing);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(text), text.size());
        }
    } progress;
    progress.listing = QDir(programFolder).filePath("Temp.txt");
    progress.text = rewritten;
    const checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::bitmapCheck(), skinFolder, programFolder, progress);
    EXPECT_EQ(test::readAll(victim), "not a bitmap, and not in the skin folder");
    EXPECT_FALSE(test::exists(root.filePath("p/victim.bmp")));
    // The walk went over the names this run listed, and nothing else.
    EXPECT_EQ(report.judged, 1);
    EXPECT_EQ(test::MovedNames(report), QStringList{"B001FAFitlgt_bad.bmp"});
    EXPECT_EQ(progress.advanced, QStringLiteral("B001FAFitlgt_bad.bmp").size());
    // The rewritten listing is someone else's now, so it stays as they left it.
    EXPECT_EQ(test::readAll(progress.listing), rewritten);
}

TEST_F(FaultInjectionChecks, AStaleListingInAReadOnlyProgramFolderSaysTheFolderCannotBeWritten) {
    skins.write("B001FAFit_x.cmx", test::validCmx("B001FAFit_x"));
    program.write("Temp.txt", "an old listing\r\n");
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool enforced = test::canEnforcePermissions(program.path());
    const checks::ScratchListing::Written written =
        checks::ScratchListing(program.path()).write(skins.path(), FileFilter::CmxFiles);
    browseSkinEdit();
    QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    messages.clear();
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllCMX"), Qt::LeftButton);
    EXPECT_TRUE(test::finishRuns());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    EXPECT_FALSE(written.ok);
    // Not the program's own listing, so it was to go to the trash, which the folder refuses too.
    EXPECT_TRUE(written.error.startsWith("the program folder cannot be written, so the old Temp.txt there "
                                         "could not be replaced (Permission denied"))
        << written.error.toStdString();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains(QDir::toNativeSeparators(program.path())))
        << messages.messages[0].toStdString();
    EXPECT_FALSE(messages.messages[0].contains("already there")) << messages.messages[0].toStdString();
    EXPECT_EQ(test::readAll(program.filePath("Temp.txt")), "an old listing\r\n");
    EXPECT_TRUE(test::exists(skins.filePath("B001FAFit_x.cmx")));
}
