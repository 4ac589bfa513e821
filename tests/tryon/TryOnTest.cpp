#include "core/tryon/TryOn.h"

#include "far/FarWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

using namespace vestimo;
using namespace vestimo::tryon;
using vestimo::test::TempDir;

namespace {

QString bodies() {
    return QDir::cleanPath(QDir(test::realWorldDir()).filePath(QStringLiteral("bodies")));
}
QString body(const QString& name) {
    return QDir(bodies()).filePath(name);
}
bool haveBodies() {
    return QFile::exists(body(QStringLiteral("adult-skeleton.cmx")));
}
QByteArray bodyBytes(const char* name) {
    return test::readAll(body(QString::fromLatin1(name)));
}

// The files of one piece, by name.
const char* const Skeleton = "adult-skeleton.cmx";
const std::vector<const char*> BodyFiles = {"B001FAFit_01.cmx", "xskin-b001fafit_01-PELVIS-BODY.skn",
                                            "B001FAFitlgt_Shannon01.bmp", "B001FAFitdrk_Shannon01.bmp"};
const std::vector<const char*> HeadFiles = {"C003FA_longhair.cmx", "xskin-C003FA_longhair-HEAD-HEAD.skn",
                                            "C003FAlgt_longhair02.bmp"};
const std::vector<const char*> HandFiles = {"HMLO.cmx", "xskin-hmlo-L_HAND-HANDML.skn", "HMLOlgt.bmp",
                                            "HMRO.cmx", "xskin-hmro-R_HAND-HANDMR.skn", "HMROlgt.bmp"};

void copyInto(const TempDir& dir, const QString& folder, const std::vector<const char*>& names) {
    for (const char* name : names) {
        dir.write(folder + u'/' + QString::fromLatin1(name), bodyBytes(name));
    }
}

const TryOnPiece* pieceWith(const TryOnScene& scene, const char* meshPart) {
    const auto it = std::find_if(scene.pieces.begin(), scene.pieces.end(), [&](const TryOnPiece& p) {
        return p.meshFile.contains(QLatin1String(meshPart), Qt::CaseInsensitive);
    });
    return it == scene.pieces.end() ? nullptr : &*it;
}

class RealBodies : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveBodies()) {
            GTEST_SKIP() << "no real-world bodies beside the project";
        }
    }
};

TEST_F(RealBodies, TheAdultStandsOnTheFloorWithHeadAboveAndHandsAtTheEndsOfTheArms) {
    TryOnRequest request;
    request.cmxPath = body(QStringLiteral("B001FAFit_01.cmx"));
    request.with = {body(QStringLiteral("HMLO.cmx")), body(QStringLiteral("HMRO.cmx"))};
    const TryOnScene scene = buildTryOnScene(request, {});
    ASSERT_TRUE(scene.drawable) << qPrintable(scene.failure);
    EXPECT_TRUE(scene.missing.isEmpty()) << qPrintable(scene.missing.join(u'\n'));
    ASSERT_EQ(scene.pieces.size(), 4U);
    const auto box = [&](const char* part) { return sim::boundingBox(pieceWith(scene, part)->mesh); };
    const sim::BoundingBox bodyBox = box("PELVIS-BODY");
    const sim::BoundingBox headBox = box("HEAD-HEAD");
    const sim::BoundingBox left = box("L_HAND");
    const sim::BoundingBox right = box("R_HAND");
    EXPECT_NEAR(bodyBox.min.y, 0.0F, 0.1F);
    EXPECT_GT(headBox.max.y, bodyBox.max.y);
    EXPECT_GT(headBox.min.y, 0.8F * bodyBox.max.y);
    // The hands hang at the sides, the left one at -x, level with each other and mirror images.
    EXPECT_LT(left.max.x, -0.5F);
    EXPECT_GT(right.min.x, 0.5F);
    EXPECT_NEAR(left.min.x, -right.max.x, 0.05F);
    EXPECT_NEAR(left.min.y, right.min.y, 0.05F);
    EXPECT_GT(left.min.y, 0.3F * bodyBox.max.y);
    EXPECT_LT(left.max.y, 0.7F * bodyBox.max.y);
    // Every piece wears its own texture of the skin's first tone.
    for (const TryOnPiece& piece : scene.pieces) {
        EXPECT_TRUE(piece.textureFile.contains(QStringLiteral("lgt"))) << qPrintable(piece.textureFile);
        EXPECT_FALSE(piece.texture.isEmpty());
    }
    EXPECT_EQ(scene.skeletonFile, body(QString::fromLatin1(Skeleton)));
    EXPECT_EQ(scene.tones, QStringList({"lgt", "med", "drk"}));
    EXPECT_EQ(scene.textures.size(), 3);
    EXPECT_EQ(scene.heads, QStringList({"C003FA_longhair.cmx"}));
    EXPECT_TRUE(scene.rule.contains(QStringLiteral("HFLO")));
}

TEST_F(RealBodies, TheRuleCompletesBodiesAndHeadsOrNothing) {
    struct Case {
        const char* cmx;
        bool alone;
        const char* tone;
        std::vector<const char*> meshes;
        qsizetype missing; // the rule's hands of the female adult, not among the demo's files
    };
    const Case cases[] = {
        {"B001FAFit_01.cmx", false, "drk", {"PELVIS-BODY", "HEAD-HEAD"}, 2},
        {"C003FA_longhair.cmx", false, "", {"HEAD-HEAD", "PELVIS-BODY"}, 2},
        // The head names its mesh in lower case; it is stored in mixed case.
        {"C003FA_longhair.cmx", true, "", {"xskin-C003FA_longhair-HEAD-HEAD.skn"}, 0},
        {"HMLO.cmx", true, "med", {"L_HAND"}, 0},
    };
    for (const Case& c : cases) {
        TryOnRequest request;
        request.cmxPath = body(QString::fromLatin1(c.cmx));
        request.alone = c.alone;
        request.tone = QString::fromLatin1(c.tone);
        const TryOnScene scene = buildTryOnScene(request, {});
        ASSERT_TRUE(scene.drawable) << c.cmx << qPrintable(scene.failure);
        ASSERT_EQ(scene.pieces.size(), c.meshes.size()) << c.cmx;
        for (std::size_t i = 0; i < c.meshes.size(); ++i) {
            EXPECT_TRUE(scene.pieces[i].meshFile.contains(QLatin1String(c.meshes[i]))) << c.cmx;
            if (*c.tone != '\0') {
                EXPECT_TRUE(scene.pieces[i].textureFile.contains(QLatin1String(c.tone))) << c.cmx;
            }
        }
        EXPECT_EQ(scene.missing.size(), c.missing) << c.cmx << qPrintable(scene.missing.join(u'\n'));
        EXPECT_EQ(scene.rule.isEmpty(), c.alone);
    }
}

TEST_F(RealBodies, WhatCannotBeDrawnSaysWhyAndWhereItLooked) {
    TempDir dir;
    copyInto(dir, QStringLiteral("skin"), BodyFiles);
    dir.write(QStringLiteral("skin/B001CAcat_01.cmx"), bodyBytes("B001FAFit_01.cmx"));
    dir.write(QStringLiteral("skin/B002FAFit_01.cmx"),
              bodyBytes("B001FAFit_01.cmx").replace("b001fafit_01-PELVIS", "b002fafit_01-PELVIS"));
    dir.write(QStringLiteral("game/Skins/adult-skeleton.cmx"), "not a skeleton");
    const TryOnPlaces places{{dir.filePath(QStringLiteral("install/GameData/Skins"))},
                             {dir.filePath(QStringLiteral("a.far")), dir.filePath(QStringLiteral("b.far"))}};
    struct Case {
        const char* cmx;
        TryOnPlaces places;
        std::vector<QString> said;
    };
    const Case cases[] = {
        {"skin/B001FAFit_01.cmx",
         places,
         {"No skeleton found", dir.filePath("skin"), dir.filePath("install/GameData/Skins"), "2 archives"}},
        {"skin/B001CAcat_01.cmx", places, {"pet"}},
        {"skin/B002FAFit_01.cmx",
         {{dir.filePath(QStringLiteral("game/Skins"))}, {}},
         {dir.filePath("game/Skins/adult-skeleton.cmx"), "line"}},
    };
    for (const Case& c : cases) {
        TryOnRequest request;
        request.cmxPath = dir.filePath(QString::fromLatin1(c.cmx));
        const TryOnScene scene = buildTryOnScene(request, c.places);
        EXPECT_FALSE(scene.drawable) << c.cmx;
        EXPECT_TRUE(scene.pieces.empty());
        for (const QString& said : c.said) {
            EXPECT_TRUE(scene.failure.contains(said))
                << c.cmx << qPrintable(scene.failure) << qPrintable(said);
        }
    }
    // With the skeleton beside it, the mesh the skin names is what is missing.
    dir.write(QStringLiteral("skin/adult-skeleton.cmx"), bodyBytes(Skeleton));
    TryOnRequest request;
    request.cmxPath = dir.filePath(QStringLiteral("skin/B002FAFit_01.cmx"));
    const TryOnScene scene = buildTryOnScene(request, {});
    EXPECT_FALSE(scene.drawable);
    EXPECT_TRUE(scene.failure.contains(QStringLiteral("xskin-b002fafit_01-PELVIS-BODY")))
        << qPrintable(scene.failure);
}

TEST_F(RealBodies, CompletingPiecesComeFromTheInstallsFoldersAndArchives) {
    TempDir dir;
    copyInto(dir, QStringLiteral("skin"), BodyFiles);
    copyInto(dir, QStringLiteral("game/GameData/Skins"), {Skeleton});
    copyInto(dir, QStringLiteral("game/GameData/Skins"), HeadFiles);
    test::FarFiles inArchive;
    for (const char* name : HandFiles) {
        // The game's archives keep their files in folders; the names are matched without them.
        inArchive.emplace_back(QByteArray("Skins\\") + QByteArray(name).toUpper(), bodyBytes(name));
    }
    dir.write(QStringLiteral("game/GameData/Skins/Hands.FAR"), test::farOf(inArchive));
    core::games::GameInstall install;
    install.root = dir.filePath(QStringLiteral("game"));
    install.skins = dir.filePath(QStringLiteral("game/GameData/Skins"));
    const TryOnPlaces places = placesFor(dir.filePath(QStringLiteral("skin")), {install});
    EXPECT_EQ(places.skinFolders, QStringList({install.skins}));
    ASSERT_EQ(places.archives, QStringList({install.skins + QStringLiteral("/Hands.FAR")}));

    TryOnRequest request;
    request.cmxPath = dir.filePath(QStringLiteral("skin/B001FAFit_01.cmx"));
    request.with = {QStringLiteral("HMLO.cmx"), QStringLiteral("hmro.cmx")};
    const TryOnScene scene = buildTryOnScene(request, places);
    ASSERT_TRUE(scene.drawable) << qPrintable(scene.failure);
    EXPECT_EQ(scene.skeletonFile, install.skins + QStringLiteral("/adult-skeleton.cmx"));
    ASSERT_EQ(scene.pieces.size(), 4U);
    EXPECT_TRUE(pieceWith(scene, "HEAD-HEAD")->cmxFile.startsWith(install.skins));
    const TryOnPiece* hand = pieceWith(scene, "L_HAND");
    EXPECT_EQ(hand->cmxFile, places.archives[0] + QStringLiteral(": HMLO.CMX"));
    EXPECT_TRUE(hand->textureFile.endsWith(QStringLiteral("HMLOLGT.BMP"))) << qPrintable(hand->textureFile);
    EXPECT_TRUE(scene.missing.isEmpty()) << qPrintable(scene.missing.join(u'\n'));
}

// Rewrites a file in place with bytes of the same length and puts its modification time back:
// its identity stays, so only a reader that trusts identities misses the change.
void overwriteKeepingIdentity(const QString& path, char fill) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    ASSERT_EQ(::stat(name.constData(), &before), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(file.write(QByteArray(file.size(), fill)), before.st_size);
    file.close();
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
}

TEST_F(RealBodies, AMemoKeepsWhatIsUnchangedAndTheSceneNamesEveryFileRead) {
    TempDir dir;
    copyInto(dir, QStringLiteral("skin"), BodyFiles);
    copyInto(dir, QStringLiteral("skin"), HeadFiles);
    copyInto(dir, QStringLiteral("skin"), {Skeleton});
    test::FarFiles inArchive;
    for (const char* name : HandFiles) {
        inArchive.emplace_back(QByteArray(name), bodyBytes(name));
    }
    const QString archive = dir.write(QStringLiteral("Hands.far"), test::farOf(inArchive));
    const TryOnPlaces places{{}, {archive}};
    const QString skin = dir.filePath(QStringLiteral("skin"));
    TryOnRequest request;
    request.cmxPath = skin + QStringLiteral("/B001FAFit_01.cmx");
    request.with = {QStringLiteral("HMLO.cmx"), QStringLiteral("HMRO.cmx")};

    TryOnMemo memo;
    const TryOnScene first = buildTryOnScene(request, places, &memo);
    ASSERT_TRUE(first.drawable) << qPrintable(first.failure);
    QStringList sources = first.sources;
    sources.sort();
    QStringList expected = {archive};
    for (const char* name : {"B001FAFit_01.cmx", "xskin-b001fafit_01-PELVIS-BODY.skn",
                             "B001FAFitlgt_Shannon01.bmp", "C003FA_longhair.cmx",
                             "xskin-C003FA_longhair-HEAD-HEAD.skn", "C003FAlgt_longhair02.bmp", Skeleton}) {
        expected.append(skin + u'/' + QString::fromLatin1(name));
    }
    expected.sort();
    EXPECT_EQ(sources, expected);
    EXPECT_TRUE(first.missing.isEmpty()) << qPrintable(first.missing.join(u'\n'));

    // The skeleton damaged behind an unchanged identity: the memo still holds it, a fresh build reads it.
    overwriteKeepingIdentity(skin + u'/' + QString::fromLatin1(Skeleton), ' ');
    const TryOnScene again = buildTryOnScene(request, places, &memo);
    ASSERT_TRUE(again.drawable) << qPrintable(again.failure);
    EXPECT_EQ(again.sources.size(), first.sources.size());
    ASSERT_EQ(again.pieces.size(), first.pieces.size());
    EXPECT_EQ(again.pieces[0].mesh.vertices.size(), first.pieces[0].mesh.vertices.size());
    EXPECT_FALSE(buildTryOnScene(request, places).drawable);
    // Once its identity changes, the memo reads it again.
    QFile skeleton(skin + u'/' + QString::fromLatin1(Skeleton));
    ASSERT_TRUE(skeleton.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        skeleton.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    skeleton.close();
    EXPECT_FALSE(buildTryOnScene(request, places, &memo).drawable);
}

TEST(TryOnPlaces, TheInstallHoldingTheSkinComesFirstWithItsArchives) {
    TempDir dir;
    std::vector<core::games::GameInstall> installs(2);
    for (int i = 0; i < 2; ++i) {
        const QString root = dir.mkdir(QStringLiteral("game%1").arg(i));
        installs[static_cast<std::size_t>(i)].root = root;
        installs[static_cast<std::size_t>(i)].skins =
            dir.mkdir(QStringLiteral("game%1/GameData/Skins").arg(i));
        dir.write(QStringLiteral("game%1/GameData/Skins/skins%1.far").arg(i), "x");
        dir.write(QStringLiteral("game%1/GameData/OBJECTS.FAR").arg(i), "x");
        dir.write(QStringLiteral("game%1/GameData/notes.txt").arg(i), "x");
    }
    const TryOnPlaces places = placesFor(installs[1].skins + QStringLiteral("/Downloaded"), installs);
    EXPECT_EQ(places.skinFolders, QStringList({installs[1].skins, installs[0].skins}));
    EXPECT_EQ(places.archives,
              QStringList({installs[1].skins + "/skins1.far", installs[1].root + "/GameData/OBJECTS.FAR",
                           installs[0].skins + "/skins0.far", installs[0].root + "/GameData/OBJECTS.FAR"}));
}

TEST(TryOnMeshes, AMeshOfMoreThanAMillionFacesIsRefusedUnread) {
    TempDir dir;
    dir.write(QStringLiteral("adult-skeleton.cmx"),
              "// Character File. Copyright 1997, Maxis Inc.\nversion 300\n1\nadult\n1\nROOT\nNULL\n0\n"
              "| 0 0 0 |\n| 0 0 0 1 |\n1\n1\n0\n0\n0\n0\n0\n");
    dir.write(QStringLiteral("B001FAbig_01.cmx"),
              "// Character File. Copyright 1997, Maxis Inc.\nversion 300\n0\n1\n"
              "b001fabig_01\n0\n0\n1\nROOT\nbig\n0\n0\n0\n");
    dir.write(QStringLiteral("big.skn"), "big\nx\n1\nROOT\n1000001\n0 0 0\n");
    TryOnRequest request;
    request.cmxPath = dir.filePath(QStringLiteral("B001FAbig_01.cmx"));
    const TryOnScene scene = buildTryOnScene(request, {});
    EXPECT_FALSE(scene.drawable);
    EXPECT_TRUE(scene.failure.contains(QStringLiteral("1000001"))) << qPrintable(scene.failure);
}

} // namespace
