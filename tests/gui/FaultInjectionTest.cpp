// Hostile folders and names: whatever happens, no file is lost and the user is told.
#include "support/AppFixture.h"
#include "support/FinishRuns.h"

#include "core/checks/SkinChecks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMultiMap>

#include <fcntl.h>
#include <unistd.h>

using namespace vestimo;

namespace {

// Every file's content under both folders, so a run can be checked for losses.
QMultiMap<QByteArray, QString> Contents(const QStringList& folders) {
    QMultiMap<QByteArray, QString> contents;
    for (const QString& folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            const QString path = it.next();
            // The journal records the run; it is the one file meant to change.
            if (it.fileName() == "Temp.txt" || it.fileName().startsWith(".vestimo") ||
                it.fileName().startsWith("journal.sqlite")) {
                continue;
            }
            contents.insert(test::readAll(path), it.fileName());
        }
    }
    return contents;
}

QByteArray FaultyCmx(const QByteArray& name) {
    QByteArray text = test::validCmx(name);
    return text.replace("\r\n0\r\n1\r\n", "\r\n7\r\n1\r\n"); // line 3 must hold "0"
}

} // namespace

class FaultInjection : public test::AppFixture {
protected:
    void SetUp() override {
        browseSkinEdit();
        QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option2"), Qt::LeftButton);
    }
    void runCmxCheck() {
        messages.clear();
        QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllCMX"), Qt::LeftButton);
        ASSERT_TRUE(test::finishRuns());
    }
    void expectNothingLost(const QMultiMap<QByteArray, QString>& before) {
        EXPECT_EQ(Contents({skins.path(), program.path()}), before);
    }
};

TEST_F(FaultInjection, AReadOnlySkinDirectoryKeepsEveryFileAndSaysWhy) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    skins.write("B002FAFit_good.cmx", test::validCmx("B002FAFit_good"));
    const auto before = Contents({skins.path(), program.path()});
    QFile::setPermissions(skins.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool enforced = test::canEnforcePermissions(skins.path());
    runCmxCheck();
    QFile::setPermissions(skins.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.details[0].contains("B001FAFit_bad.cmx")) << messages.details[0].toStdString();
    EXPECT_TRUE(messages.details[0].contains("Could not be moved:\nB001FAFit_bad.cmx: "));
    expectNothingLost(before);
}

TEST_F(FaultInjection, AReadOnlyProgramFolderStopsTheRunWithOneMessage) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    const auto before = Contents({skins.path(), program.path()});
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool enforced = test::canEnforcePermissions(program.path());
    runCmxCheck();
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains(QDir::toNativeSeparators(program.path())))
        << messages.messages[0].toStdString();
    EXPECT_FALSE(control<QProgressBar>(&skinEdit(), "ProgressBar1")->isVisible());
    expectNothingLost(before);
}

TEST_F(FaultInjection, AFileThatVanishesBeforeItsTurnIsReportedNotMoved) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    skins.write("B002FAFit_bad.cmx", FaultyCmx("B002FAFit_bad"));
    // Both files go away after the listing is written, before the first turn.
    class Vanish : public checks::RunProgress {
    public:
        explicit Vanish(test::TempDir& dir) : dir_(dir) {}
        void start(qint64) override {
            QFile::remove(dir_.filePath("B001FAFit_bad.cmx"));
            QFile::remove(dir_.filePath("B002FAFit_bad.cmx"));
        }
        void advance(int) override {}

    private:
        test::TempDir& dir_;
    } vanish(skins);
    const checks::DirectoryReport report =
        checks::runDirectoryCheck(checks::cmxCheck(), skins.path(), program.path(), vanish);
    EXPECT_EQ(report.moved.size(), 0);
    EXPECT_EQ(report.trouble.size(), 2);
    EXPECT_TRUE(QDir(program.path()).entryList({"*.cmx"}, QDir::Files).isEmpty());
}

TEST_F(FaultInjection, FoldersAndBrokenLinksNamedLikeSkinsAreLeftAlone) {
    skins.mkdir("B001FAFit_dir.cmx");
    skins.mkdir("B001FAFitlgt_dir.bmp");
    QFile::link(skins.filePath("nowhere.cmx"), skins.filePath("B002FAFit_link.cmx"));
    skins.write("B003FAFit_bad.cmx", FaultyCmx("B003FAFit_bad"));
    runCmxCheck();
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdAssocFiles"), Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    QTest::mouseClick(control<QRadioButton>(&skinEdit(), "Option1"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(&skinEdit(), "cmdCheckAllBMP"), Qt::LeftButton);
    ASSERT_TRUE(test::finishRuns());
    EXPECT_TRUE(QFileInfo(skins.filePath("B001FAFit_dir.cmx")).isDir());
    EXPECT_TRUE(QFileInfo(skins.filePath("B001FAFitlgt_dir.bmp")).isDir());
    EXPECT_TRUE(QFileInfo(skins.filePath("B002FAFit_link.cmx")).isSymLink());
    EXPECT_EQ(test::readAll(program.filePath("B003FAFit_bad.cmx")), FaultyCmx("B003FAFit_bad"));
}

TEST_F(FaultInjection, OddNamesAreJudgedAndMovedWhole) {
    const QString spaced = "B001FAFit with spaces.cmx";
    const QString accented = QString::fromUtf8("B002FAFit_\xC3\xA9t\xC3\xA9.cmx");
    const QString dashed = "-B003FAFit.cmx";
    const QString longest = "B004FAFit_" + QString(255 - 14, u'x') + ".cmx";
    ASSERT_EQ(QFile::encodeName(longest).size(), 255);
    for (const QString& name : {spaced, accented, dashed, longest}) {
        skins.write(name, FaultyCmx(QFile::encodeName(name).chopped(4)));
    }
    const auto before = Contents({skins.path(), program.path()});
    runCmxCheck();
    ASSERT_EQ(messages.messages.size(), 1);
    for (const QString& name : {spaced, accented, longest}) {
        EXPECT_TRUE(test::exists(program.filePath(name))) << name.toStdString();
        EXPECT_FALSE(test::exists(skins.filePath(name))) << name.toStdString();
    }
    // "-B003..." is no skin class: left in place.
    EXPECT_TRUE(test::exists(skins.filePath(dashed)));
    expectNothingLost(before);
}

TEST_F(FaultInjection, ANameThatIsNotValidTextIsReportedAndKept) {
    // A byte that is not UTF-8 cannot be named back exactly; the file must stay and be reported.
    const QByteArray raw = QFile::encodeName(skins.path()) + "/B001FAFit_\xFF.cmx";
    const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray content = FaultyCmx("B001FAFit_x");
    ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    ::close(fd);
    runCmxCheck();
    EXPECT_EQ(::access(raw.constData(), F_OK), 0);
    ASSERT_EQ(messages.details.size(), 1);
    EXPECT_TRUE(messages.details[0].contains("not judged: the name is not valid text"))
        << messages.details[0].toStdString();
}

TEST_F(FaultInjection, AFileOfTheSameNameInTheProgramFolderIsNeverReplaced) {
    skins.write("B001FAFit_bad.cmx", FaultyCmx("B001FAFit_bad"));
    program.write("B001FAFit_bad.cmx", "an older problem file");
    const auto before = Contents({skins.path(), program.path()});
    runCmxCheck();
    EXPECT_EQ(test::readAll(program.filePath("B001FAFit_bad.cmx")), "an older problem file");
    EXPECT_TRUE(test::exists(skins.filePath("B001FAFit_bad.cmx")));
    ASSERT_EQ(messages.details.size(), 1);
    EXPECT_TRUE(messages.details[0].contains("already in")) << messages.details[0].toStdString();
    expectNothingLost(before);
}
