// Saving never loses the file on disk: not on a full disk, not through a link, not over another
// program's change.
#include "EditorFixture.h"

#include "support/HostileFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

using namespace vestimo;
using vestimo::test::EditorFixture;

namespace {

const QString Name = QStringLiteral("B001FAFit_x.cmx");
const QString ChangedQuestion =
    Name + " has changed on disk since it was opened. Replace it with the text in the editor?";

} // namespace

class SavingSafely : public EditorFixture {
protected:
    QString path() const { return skins.filePath(Name); }
    void expectStillEditing(const QString& text) {
        EXPECT_TRUE(isEditing());
        EXPECT_EQ(editorText(), text);
        EXPECT_EQ(nameBox(), Name);
    }
};

TEST_F(SavingSafely, AFullDiskKeepsTheOldFileAndSaysWhy) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText(QString(5000, u'n'));
    messages.clear();
    {
        const test::FileSizeLimit limit(64);
        clickSave();
    }
    EXPECT_EQ(messages.messages,
              QStringList{"Could not save " + Name + ": " + QString::fromLocal8Bit(std::strerror(EFBIG))});
    EXPECT_EQ(test::readAll(path()), "old\r\n");
    expectStillEditing(QString(5000, u'n'));
    EXPECT_EQ(QDir(skins.path()).entryList(QDir::Files | QDir::Hidden), QStringList{Name});
}

TEST_F(SavingSafely, ALinkIsNeverWrittenThrough) {
    const QString target = skins.write("kept/real.cmx", "target\r\n");
    ASSERT_TRUE(QFile::link(target, path()));
    showCmxFiles();
    clickFile(Name);
    ASSERT_TRUE(isEditing());
    w().Text1->setPlainText("new");
    messages.clear();
    clickSave();
    EXPECT_EQ(messages.messages,
              QStringList{"Could not save " + Name + ": " + path() + " is a symbolic link to " + target +
                          "; Vestimo never writes through a link, so it was left as it is"});
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_EQ(test::readAll(target), "target\r\n");
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    expectStillEditing("new");
}

TEST_F(SavingSafely, AFileReplacedByALinkWhileOpenIsLeftAlone) {
    openCmx(Name, "old\r\n");
    const QString victim = skins.write("victim/other.cmx", "victim\r\n");
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QFile::link(victim, path()));
    messages.clear();
    clickSave();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(
        messages.messages[0].startsWith("Could not save " + Name + ": " + path() + " is a symbolic link"))
        << messages.messages[0].toStdString();
    EXPECT_EQ(test::readAll(victim), "victim\r\n");
    expectStillEditing("old\n");
}

TEST_F(SavingSafely, AnotherProgramsChangeIsReplacedOnlyWhenTheUserSaysYes) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("mine");
    skins.write(Name, "theirs, changed meanwhile\r\n");
    messages.clear();
    messages.answers = {false};
    clickSave();
    EXPECT_EQ(messages.questions, QStringList{ChangedQuestion});
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(test::readAll(path()), "theirs, changed meanwhile\r\n");
    expectStillEditing("mine");

    messages.clear();
    messages.answers = {true};
    clickSave();
    EXPECT_EQ(messages.questions, QStringList{ChangedQuestion});
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
    EXPECT_EQ(test::readAll(path()), "mine\r\n");
    EXPECT_TRUE(isBrowsing());
}

TEST_F(SavingSafely, AnUnchangedFileIsSavedWithoutAQuestion) {
    openCmx(Name, "old\r\n");
    w().Text1->setPlainText("mine");
    messages.clear();
    clickSave();
    EXPECT_TRUE(messages.questions.isEmpty());
    EXPECT_EQ(messages.messages, QStringList{"File Saved!"});
}

TEST_F(SavingSafely, AFifoInPlaceOfACmxFileIsRefusedAtOnce) {
    skins.write(Name, "old\r\n");
    showCmxFiles();
    ASSERT_TRUE(test::MakeFifo(path()));
    clickFile(Name);
    EXPECT_EQ(messages.messages, QStringList{"Could not open " + Name + ": not an ordinary file"});
    EXPECT_TRUE(isBrowsing());
}
