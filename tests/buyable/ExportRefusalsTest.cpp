// An export that cannot be done whole writes nothing, replaces nothing and says why once.
#include "BuyableWindowFixture.h"

#include "core/cmx/CmxWalk.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <unistd.h>

using vestimo::test::BuyableWindow;
using vestimo::test::exists;
using vestimo::test::readAll;

class ExportRefusals : public BuyableWindow {
protected:
    QStringList filesInSkinDirectory() const {
        QStringList names = QDir(skins.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        std::sort(names.begin(), names.end());
        return names;
    }

    // The source skin, ready to export as F9QB... under Formal.
    void readySkin() {
        readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_xyz.cmx");
        messages.clear();
    }

    void expectNothingExported(const QStringList& filesBefore) {
        EXPECT_EQ(filesInSkinDirectory(), filesBefore);
        expectState(Step::ReadyToExport);
    }
};

TEST_F(ExportRefusals, ACmxFileOfTheNewNameIsNeverReplaced) {
    readySkin();
    skins.write("F9QBFAFit_xyz.CMX", "mine");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: F9QBFAFit_xyz.CMX is already in the skin directory."});
    EXPECT_EQ(readAll(skins.filePath("F9QBFAFit_xyz.CMX")), "mine");
    expectNothingExported(before);
    // The names go back to the source's, so another category can be tried.
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz");
}

TEST_F(ExportRefusals, ABitmapOfTheNewNameIsNeverReplaced) {
    readySkin();
    skins.write("F9QBFAFitlgt_xyz.bmp", "mine");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: F9QBFAFitlgt_xyz.bmp is already in the skin directory."});
    EXPECT_EQ(readAll(skins.filePath("F9QBFAFitlgt_xyz.bmp")), "mine");
    expectNothingExported(before);
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz");
}

TEST_F(ExportRefusals, ANameDifferingOnlyInCaseIsInTheWayAsOnTheGamesPlatform) {
    readySkin();
    skins.write("f9qbfafit_xyz.cmx", "mine");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: f9qbfafit_xyz.cmx is already in the skin directory."});
    expectNothingExported(before);
}

TEST_F(ExportRefusals, TheSourceFilesOwnNamesAreInTheWay) {
    const QString bitmap = writeBitmap("F123FAFitlgt_xyz.bmp");
    const QString cmx = writeCmx("F123FAFit_xyz.CMX");
    const QByteArray bitmapBytes = readAll(bitmap);
    const QByteArray cmxBytes = readAll(cmx);
    loadBitmap("F123FAFitlgt_xyz.bmp");
    pickCmx("F123FAFit_xyz.CMX");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: F123FAFit_xyz.CMX is already in the skin directory."});
    EXPECT_EQ(readAll(bitmap), bitmapBytes);
    EXPECT_EQ(readAll(cmx), cmxBytes);
    expectNothingExported(before);
}

TEST_F(ExportRefusals, AnotherCategoryCanBeExportedAfterARefusal) {
    writeBitmap("F123FAFitlgt_xyz.bmp");
    writeCmx("F123FAFit_xyz.cmx");
    loadBitmap("F123FAFitlgt_xyz.bmp");
    pickCmx("F123FAFit_xyz.cmx");
    click("cmdExport");
    ASSERT_EQ(messages.messages,
              QStringList{"Could not export: F123FAFit_xyz.cmx is already in the skin directory."});
    option("Option3")->click();
    click("cmdExport");
    EXPECT_EQ(messages.messages.last(), "Successfully Exported!");
    EXPECT_TRUE(exists(skins.filePath("S123FAFit_xyz.CMX")));
    EXPECT_TRUE(exists(skins.filePath("S123FAFitlgt_xyz.bmp")));
}

TEST_F(ExportRefusals, ACmxNameShorterThanFourCharactersIsRefused) {
    readyToExport("B100FAFitlgt_xyz.bmp", "abc.cmx");
    messages.clear();
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: the CMX name \"Fbc\" is shorter than the four "
                          "characters of an outfit code."});
    expectNothingExported(before);
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-abc-PELVIS-BODY", "Fbc");
}

TEST_F(ExportRefusals, AFourCharacterCmxNameIsEnough) {
    readyToExport("B100FAFitlgt_xyz.bmp", "abcd.cmx");
    click("cmdExport");
    EXPECT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    EXPECT_TRUE(exists(skins.filePath("F9QB.CMX")));
}

TEST_F(ExportRefusals, ABitmapThatCannotBeWrittenTakesTheCmxFileBackWithIt) {
    readySkin();
    skins.mkdir("F9QBFAFitlgt_xyz.bmp");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(
        messages.messages[0].startsWith("Could not export: F9QBFAFitlgt_xyz.bmp could not be written ("))
        << messages.messages[0].toStdString();
    EXPECT_TRUE(messages.messages[0].endsWith("). Nothing was exported."))
        << messages.messages[0].toStdString();
    EXPECT_FALSE(exists(skins.filePath("F9QBFAFit_xyz.CMX")));
    expectNothingExported(before);
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_xyz-PELVIS-BODY", "F100FAFit_xyz");
}

TEST_F(ExportRefusals, ACmxFileThatCannotBeWrittenWritesNothing) {
    readySkin();
    skins.mkdir("F9QBFAFit_xyz.CMX");
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not export: F9QBFAFit_xyz.CMX could not be written ("))
        << messages.messages[0].toStdString();
    EXPECT_FALSE(exists(skins.filePath("F9QBFAFitlgt_xyz.bmp")));
    expectNothingExported(before);
}

TEST_F(ExportRefusals, AReadOnlySkinDirectoryWritesNothing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    readySkin();
    const QStringList before = filesInSkinDirectory();
    const QFileDevice::Permissions permissions = QFile::permissions(skins.path());
    ASSERT_TRUE(QFile::setPermissions(skins.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    click("cmdExport");
    QFile::setPermissions(skins.path(), permissions);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].startsWith("Could not export: F9QBFAFit_xyz.CMX could not be written ("))
        << messages.messages[0].toStdString();
    expectNothingExported(before);
}

TEST_F(ExportRefusals, ANameWithALineBreakIsRefusedForWhatItWouldDoToTheCmxFile) {
    readyToExport("B100FAFitlgt_xyz.bmp", "B100FAFit_a\nb.cmx");
    messages.clear();
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages,
              QStringList{"Could not export: the name \"F9QBFAFit_a\\nb\" holds a line break (U+000A), which "
                          "cannot stand in a CMX file. Please rename the files without it."});
    expectNothingExported(before);
    expectNames("F100FAFitlgt_xyz.bmp", "xskin-B100FAFit_a\nb-PELVIS-BODY", "F100FAFit_a\nb");
}

TEST_F(ExportRefusals, ANameWithACharacterOutsideTheCodePageIsRefusedNamingIt) {
    readyToExport("B100FAFitlgt_xyz.bmp", QStringLiteral("B100FAFit_\u0100.cmx"));
    messages.clear();
    const QStringList before = filesInSkinDirectory();
    click("cmdExport");
    EXPECT_EQ(messages.messages, QStringList{QStringLiteral(
                                     "Could not export: the name \"F9QBFAFit_\u0100\" holds the character "
                                     "\"\u0100\" (U+0100), which the code page of CMX files (Windows-1252) "
                                     "does not have. Please rename the files without it.")});
    expectNothingExported(before);
}

TEST_F(ExportRefusals, ANameInTheCodePageIsWrittenInItAndPassesTheCheck) {
    readyToExport("B100FAFitlgt_xyz.bmp", QStringLiteral("B100FAFit_caf\u00E9.cmx"));
    messages.clear();
    click("cmdExport");
    ASSERT_EQ(messages.messages, QStringList{"Successfully Exported!"});
    const QByteArray text = readAll(skins.filePath(QStringLiteral("F9QBFAFit_caf\u00E9.CMX")));
    EXPECT_TRUE(text.contains("\r\nF9QBFAFit_caf\xE9\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nxskin-B100FAFit_caf\xE9-PELVIS-BODY\r\n")) << text.toStdString();
    EXPECT_EQ(vestimo::cmx::walkCmxText(text.toStdString(), false), vestimo::cmx::WalkVerdict::Passed());
}
