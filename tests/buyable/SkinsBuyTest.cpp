#include "core/buyable/SkinsBuy.h"
#include "core/catalogue/Games.h"
#include "core/games/GameFolders.h"
#include "core/journal/Journal.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace vestimo;

namespace {

// An exported outfit in an install's Skins folder, and that install's SkinsBuy folder.
struct ExportedOutfit {
    test::TempDir game;
    QString skins = game.mkdir("GameData/Skins");
    QString skinsBuy = game.mkdir("ExpansionShared/SkinsBuy");
    buyable::ExportPlan plan{"F001FAFit_dress.CMX", "xskin-f001fafit_dress-BODY.bmp", "text"};
    ExportedOutfit() {
        game.write("GameData/Skins/" + plan.cmxFileName, "cmx bytes");
        game.write("GameData/Skins/" + plan.bitmapFileName, "bitmap bytes");
    }
};

} // namespace

TEST(SkinsBuy, OnlyAnInstallsSkinsFolderHasOne) {
    ExportedOutfit outfit;
    core::games::GameInstall install;
    install.skins = outfit.skins;
    install.skinsBuy = outfit.skinsBuy;
    EXPECT_EQ(core::games::skinsBuyOf({install}, outfit.skins + "/"), outfit.skinsBuy);
    EXPECT_TRUE(core::games::skinsBuyOf({install}, outfit.skinsBuy).isEmpty());
    install.skinsBuy.clear();
    EXPECT_TRUE(core::games::skinsBuyOf({install}, outfit.skins).isEmpty());
}

TEST(SkinsBuy, BothFilesMoveAndHistoryCanPutThemBack) {
    ExportedOutfit outfit;
    test::TempDir program;
    journal::Journal journal;
    ASSERT_TRUE(journal.open(program.path()).ok);
    const QString message = buyable::moveIntoSkinsBuy(outfit.skins, outfit.plan, outfit.skinsBuy, &journal);
    EXPECT_TRUE(message.endsWith("were moved into " + QDir::toNativeSeparators(outfit.skinsBuy) + "."))
        << message.toStdString();
    EXPECT_EQ(test::readAll(outfit.skinsBuy + "/" + outfit.plan.cmxFileName), "cmx bytes");
    EXPECT_EQ(test::readAll(outfit.skinsBuy + "/" + outfit.plan.bitmapFileName), "bitmap bytes");
    EXPECT_TRUE(QDir(outfit.skins).isEmpty());
    const auto runs = journal.store().listRuns(1);
    ASSERT_TRUE(runs.ok && !runs.value.isEmpty());
    journal.putBackRun(runs.value.first().id);
    EXPECT_EQ(test::readAll(outfit.skins + "/" + outfit.plan.cmxFileName), "cmx bytes");
    EXPECT_EQ(test::readAll(outfit.skins + "/" + outfit.plan.bitmapFileName), "bitmap bytes");
}

TEST(SkinsBuy, ANameAlreadyThereInAnyCaseMovesNothing) {
    ExportedOutfit outfit;
    outfit.game.write("ExpansionShared/SkinsBuy/XSKIN-F001FAFIT_DRESS-BODY.BMP", "another outfit");
    const QString message = buyable::moveIntoSkinsBuy(outfit.skins, outfit.plan, outfit.skinsBuy);
    EXPECT_EQ(message, "Nothing was moved: xskin-f001fafit_dress-BODY.bmp is already in " +
                           QDir::toNativeSeparators(outfit.skinsBuy) + ".");
    EXPECT_EQ(QDir(outfit.skins).count(), 4u); // both files, "." and ".."
    EXPECT_EQ(test::readAll(outfit.skinsBuy + "/XSKIN-F001FAFIT_DRESS-BODY.BMP"), "another outfit");
    EXPECT_FALSE(test::exists(outfit.skinsBuy + "/" + outfit.plan.cmxFileName));
}

TEST(SkinsBuy, AFolderThatIsALinkIsNamedWithWhereTheFilesWent) {
    ExportedOutfit outfit;
    const QString real = outfit.game.mkdir("elsewhere/SkinsBuy");
    const QString link = outfit.game.filePath("linked SkinsBuy");
    ASSERT_TRUE(QFile::link(real, link));
    const QString message = buyable::moveIntoSkinsBuy(outfit.skins, outfit.plan, link);
    EXPECT_EQ(message, texts::movedIntoSkinsBuy(outfit.plan.cmxFileName, outfit.plan.bitmapFileName,
                                                link + " -> " + QFileInfo(real).canonicalFilePath()));
    EXPECT_TRUE(QFileInfo::exists(real + "/" + outfit.plan.cmxFileName));
    // The same for an outfit already there.
    outfit.game.write("GameData/Skins/" + outfit.plan.cmxFileName, "again");
    EXPECT_EQ(buyable::moveIntoSkinsBuy(outfit.skins, outfit.plan, link),
              texts::nothingMovedIntoSkinsBuy(outfit.plan.cmxFileName,
                                              link + " -> " + QFileInfo(real).canonicalFilePath()));
}
