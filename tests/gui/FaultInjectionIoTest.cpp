// Hostile files under the program's reads and writes: a full disk, links, FIFOs, huge files and a
// lock file that is no lock file. Whatever happens, nothing hangs, no file is lost, and the user
// is told why.
#include "buyable/BuyableWindowFixture.h"
#include "support/AppFixture.h"
#include "support/DirectoryCheckTesting.h"
#include "support/HostileFiles.h"

#include "core/catalogue/FileErrors.h"
#include "core/checks/ClosingMessage.h"
#include "core/checks/SkinChecks.h"
#include "gui/browser/FileList.h"
#include "platform/FileSystem.h"
#include "platform/PictureImages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <cerrno>
#include <cstring>

using namespace vestimo;
using vestimo::test::RecordingProgress;

namespace {

const QString FileTooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));

QString reason(const checks::DirectoryReport& report, const QString& name) {
    for (const auto& line : report.trouble) {
        if (line.name == name) {
            return line.reason;
        }
    }
    for (const auto& line : report.moved) {
        if (line.name == name) {
            return QStringLiteral("moved: ") + line.reason;
        }
    }
    return {};
}

} // namespace

class FaultInjectionIo : public test::AppFixture {
protected:
    void showCmxFiles() {
        browseSkinEdit();
        QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    }
    void select(const QString& name) {
        const qsizetype row = control<gui::FileList>(&skinEdit(), "File1")->entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        ASSERT_TRUE(control<gui::FileList>(&skinEdit(), "File1")->setListIndex(static_cast<int>(row)));
    }
    RecordingProgress progress;
};

TEST_F(FaultInjectionIo, AFullDiskSaveKeepsTheFileTheEditorHadOpen) {
    skins.write("B001FAFit_x.cmx", test::validCmx("B001FAFit_x"));
    showCmxFiles();
    select("B001FAFit_x.cmx");
    QListWidgetItem* item = control<gui::FileList>(&skinEdit(), "File1")
                                ->item(control<gui::FileList>(&skinEdit(), "File1")->listIndex());
    QTest::mouseClick(control<gui::FileList>(&skinEdit(), "File1")->viewport(), Qt::LeftButton, {},
                      control<gui::FileList>(&skinEdit(), "File1")->visualItemRect(item).center());
    ASSERT_FALSE(control<gui::FileList>(&skinEdit(), "File1")->isEnabled()) << "the file did not open";
    control<QPlainTextEdit>(&skinEdit(), "Text1")->setPlainText(QString(4000, u'y'));
    messages.clear();
    {
        const test::FileSizeLimit limit(100);
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdSaveCMX"), Qt::LeftButton);
    }
    EXPECT_EQ(messages.messages, QStringList{"Could not save B001FAFit_x.cmx: " + FileTooLarge});
    EXPECT_EQ(test::readAll(skins.filePath("B001FAFit_x.cmx")), test::validCmx("B001FAFit_x"));
}

TEST_F(FaultInjectionIo, HugeAndFifoCmxFilesAreListedAsTroubleAndLeftInPlace) {
    ASSERT_TRUE(test::MakeSparse(skins.filePath("B001FAFit_huge.cmx"), qint64{20} * 1000 * 1000 * 1000));
    skins.write("B002FAFit_pipe.cmx", test::validCmx("B002FAFit_pipe"));
    skins.write("B003FAFit_good.cmx", test::validCmx("B003FAFit_good"));
    // Swapped for a FIFO after the listing is written, as another program could.
    progress.beforeTurn = [this] {
        if (QFileInfo(skins.filePath("B002FAFit_pipe.cmx")).isFile()) {
            test::MakeFifo(skins.filePath("B002FAFit_pipe.cmx"));
        }
    };
    const checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), progress);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_EQ(reason(report, "B001FAFit_huge.cmx"), "too large to be a skin description (20000000000 bytes)");
    EXPECT_EQ(reason(report, "B002FAFit_pipe.cmx"), "could not be opened: not an ordinary file");
    EXPECT_TRUE(report.moved.isEmpty());
    EXPECT_TRUE(report.details().contains(
        "B001FAFit_huge.cmx: too large to be a skin description (20000000000 bytes)"));
    EXPECT_EQ(QFileInfo(skins.filePath("B001FAFit_huge.cmx")).size(), qint64{20} * 1000 * 1000 * 1000);
}

TEST_F(FaultInjectionIo, ASingleCheckOfAFifoOrHugeCmxFileAnswersAtOnce) {
    skins.write("B001FAFit_pipe.cmx", "x");
    skins.write("B002FAFit_huge.cmx", "x");
    showCmxFiles();
    ASSERT_TRUE(test::MakeFifo(skins.filePath("B001FAFit_pipe.cmx")));
    ASSERT_TRUE(test::MakeSparse(skins.filePath("B002FAFit_huge.cmx"), qint64{64} * 1024 * 1024 + 1));
    QStringList answers;
    for (const QString name : {"B001FAFit_pipe.cmx", "B002FAFit_huge.cmx"}) {
        select(name); // selecting opens the file for editing, which refuses both
        control<QLineEdit>(&skinEdit(), "Text3")->setText(name);
        messages.clear();
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCMXError"), Qt::LeftButton);
        answers += messages.messages;
    }
    EXPECT_EQ(answers,
              (QStringList{
                  "Could not read B001FAFit_pipe.cmx: not an ordinary file",
                  "Could not read B002FAFit_huge.cmx: too large to be a skin description (67108865 bytes)"}));
}

TEST_F(FaultInjectionIo, AFifoInPlaceOfABitmapNeitherBlocksNorIsLost) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(skins.filePath("B001FAFitlgt_pipe.bmp"), "BMP"));
    // In the viewer: the picture does not load.
    browseSkinEdit();
    select("B001FAFitlgt_pipe.bmp");
    ASSERT_TRUE(test::MakeFifo(skins.filePath("B001FAFitlgt_pipe.bmp")));
    EXPECT_FALSE(platform::loadPicture(skins.filePath("B001FAFitlgt_pipe.bmp")).ok);
    EXPECT_EQ(platform::loadPicture(skins.filePath("B001FAFitlgt_pipe.bmp")).problem.file.kind,
              platform::FileError::Kind::NotOrdinary);
    // In the directory-wide check, swapped in after the listing.
    ASSERT_TRUE(image.save(skins.filePath("B002FAFitlgt_late.bmp"), "BMP"));
    QFile::remove(skins.filePath("B001FAFitlgt_pipe.bmp"));
    progress.beforeTurn = [this] {
        if (QFileInfo(skins.filePath("B002FAFitlgt_late.bmp")).isFile()) {
            test::MakeFifo(skins.filePath("B002FAFitlgt_late.bmp"));
        }
    };
    const checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::bitmapCheck(), skins.path(), program.path(), progress);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::Completed);
    EXPECT_FALSE(reason(report, "B002FAFitlgt_late.bmp").isEmpty()) << report.details().toStdString();
    // Wherever it went, it went whole: still a FIFO, in one of the two folders.
    const bool inSkins = QFileInfo(skins.filePath("B002FAFitlgt_late.bmp")).exists();
    const bool inProgram = QFileInfo(program.filePath("B002FAFitlgt_late.bmp")).exists();
    EXPECT_NE(inSkins, inProgram);
}

TEST_F(FaultInjectionIo, ALockFileThatIsNoLockNamesItselfInsteadOfBusy) {
    skins.write("B001FAFit_x.cmx", test::validCmx("B001FAFit_x"));
    const QString lock = program.filePath(".vestimo.lock");
    ASSERT_TRUE(QFile::link(program.filePath("elsewhere"), lock));
    checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), progress, 10);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::ListingFailed);
    EXPECT_EQ(
        checks::closingMessageFor(checks::cmxCheck(), report).message,
        QStringLiteral("The lock file %1 in the program folder could not be used: it is a symbolic link")
            .arg(QDir::toNativeSeparators(lock)));
    EXPECT_FALSE(test::exists(program.filePath("elsewhere")));

    QFile::remove(lock);
    ASSERT_TRUE(QDir(program.path()).mkdir(".vestimo.lock"));
    report = checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), progress, 10);
    EXPECT_EQ(report.outcome, checks::DirectoryReport::Outcome::ListingFailed);
    EXPECT_TRUE(
        checks::closingMessageFor(checks::cmxCheck(), report)
            .message.startsWith(QStringLiteral("The lock file %1 in the program folder could not be used: ")
                                    .arg(QDir::toNativeSeparators(lock))));
    EXPECT_TRUE(test::exists(skins.filePath("B001FAFit_x.cmx")));
}

TEST_F(FaultInjectionIo, ATrashRefusedForWantOfPermissionSaysSo) {
    const QString path = skins.write("sub/a.bmp", "x");
    const QString folder = skins.filePath("sub");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool enforced = test::canEnforcePermissions(folder);
    const platform::FileResult trashed = platform::moveToTrash(path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    EXPECT_FALSE(trashed.ok);
    EXPECT_EQ(texts::fileError(trashed.error),
              QStringLiteral("%1 (the folder %2 cannot be changed), so it was kept")
                  .arg(QString::fromLocal8Bit(std::strerror(EACCES)), QDir::toNativeSeparators(folder)));
    EXPECT_TRUE(test::exists(path));
}

class FaultInjectionIoExport : public test::BuyableWindow {};

TEST_F(FaultInjectionIoExport, AFullDiskExportLeavesNoEmptyFilesAndSaysWhy) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
    {
        const test::FileSizeLimit limit(10);
        click("cmdExport");
    }
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0], "Could not export: F9QBFAFit_xyz.CMX could not be written (" +
                                        FileTooLarge + "). Nothing was exported.");
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"B100FAFit_xyz.cmx", "B100FAFitlgt_xyz.bmp"}));
}
