#include "core/catalogue/Install.h"
#include "install/InstallFixture.h"

#include <QFileInfo>

namespace vestimo::test {
namespace {

using install::InstallReport;
using install::InstallStep;

const QString SkinsIn = QStringLiteral("game/GameData/Skins/");
const QString BuyIn = QStringLiteral("game/ExpansionShared/SkinsBuy/");

TEST_F(InstallFixture, AGoodSkinInASubfolderLandsFlatInTheSkinsFolder) {
    auto entries = BodySkin("My Skin/", "B001FAFit_x");
    entries.push_back(File("My Skin/readme.txt", "thanks for downloading"));
    entries.push_back(File("My Skin/preview.jpg", "jpeg"));
    const QString zip = Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, entries);
    const auto before = Snapshot(dir.path());

    const InstallReport report = Run({zip}, Game());

    ASSERT_EQ(report.downloads.size(), 1);
    const auto& download = report.downloads[0];
    EXPECT_EQ(download.stopped, QString());
    EXPECT_EQ(Names(download.installed),
              QStringList({"My Skin/B001FAFit_x.cmx -> " + skins + "/B001FAFit_x.cmx",
                           "My Skin/B001FAFitlgt_x.bmp -> " + skins + "/B001FAFitlgt_x.bmp",
                           "My Skin/xskin-B001FAFit_x-PELVIS-BODY.skn -> " + skins +
                               "/xskin-B001FAFit_x-PELVIS-BODY.skn"}));
    EXPECT_EQ(download.notSkinFiles, QStringList({"My Skin/preview.jpg", "My Skin/readme.txt"}));
    EXPECT_TRUE(download.refused.isEmpty());
    EXPECT_TRUE(download.conflicts.isEmpty());
    EXPECT_EQ(report.closing(), QStringLiteral("Installed 3 files from 1 downloads."));
    ExpectOnlyAdded(before, {{SkinsIn + "B001FAFit_x.cmx", Bytes(samples::ValidBodyCmx("B001FAFit_x"))},
                             {SkinsIn + "B001FAFitlgt_x.bmp", Bytes(Bmp(1))},
                             {SkinsIn + "xskin-B001FAFit_x-PELVIS-BODY.skn", Bytes(samples::MeshBytes())}});

    // The same download again finds every file in place.
    const auto again = Snapshot(dir.path());
    const InstallReport second = Run({zip}, Game());
    EXPECT_EQ(second.downloads[0].alreadyInstalled.size(), 3);
    EXPECT_TRUE(second.downloads[0].installed.isEmpty());
    EXPECT_EQ(second.closing(), QStringLiteral("Installed 0 files from 1 downloads."));
    ExpectOnlyAdded(again, {});
}

std::vector<ArchiveEntry> TonesAndOutfit() {
    std::vector<ArchiveEntry> entries =
        InstallFixture::BodySkin("Tones/", "B002MAFit_t", {"lgt", "med", "drk"});
    entries.push_back(File("Head/C002MA_face.cmx", samples::ValidHeadCmx("C002MA_face")));
    entries.push_back(File("Head/C002MAlgt_face.bmp", InstallFixture::Bmp(7)));
    entries.push_back(File("Head/xskin-C002MA_face-HEAD-HEAD.skn", samples::MeshBytes()));
    entries.push_back(File("Buyable/F002MAFit_t.cmx", samples::ValidBodyCmx("F002MAFit_t")));
    entries.push_back(File("Buyable/f002mafitlgt_t.BMP", InstallFixture::Bmp(8)));
    entries.push_back(File("Buyable/XSKIN-F002MAFit_t-PELVIS-BODY.SKN", samples::MeshBytes()));
    entries.push_back(File("xskin-Nobody-PELVIS-BODY.skn", samples::MeshBytes()));
    entries.push_back(File("Objects/chair.iff", "iff"));
    return entries;
}

QStringList Targets(const install::DownloadReport& download, const QString& base) {
    QStringList targets;
    for (const auto& file : download.installed) {
        targets.append(QDir(base).relativeFilePath(file.target));
    }
    targets.sort();
    return targets;
}

TEST_F(InstallFixture, ThreeTonesAndABuyableOutfitAreRoutedByTheirFirstLetter) {
    const QString archive = Download(QStringLiteral("tones.7z"), ArchiveFormat::SevenZip, TonesAndOutfit());
    const auto before = Snapshot(dir.path());
    const InstallReport report = Run({archive}, Game());
    ASSERT_EQ(report.downloads.size(), 1);
    EXPECT_EQ(report.downloads[0].stopped, QString());
    EXPECT_EQ(Reasons(report.downloads[0].refused), QStringList());
    EXPECT_EQ(
        Targets(report.downloads[0], dir.filePath("game")),
        QStringList({"ExpansionShared/SkinsBuy/F002MAFit_t.cmx",
                     "ExpansionShared/SkinsBuy/XSKIN-F002MAFit_t-PELVIS-BODY.SKN",
                     "ExpansionShared/SkinsBuy/f002mafitlgt_t.BMP", "GameData/Skins/B002MAFit_t.cmx",
                     "GameData/Skins/B002MAFitdrk_t.bmp", "GameData/Skins/B002MAFitlgt_t.bmp",
                     "GameData/Skins/B002MAFitmed_t.bmp", "GameData/Skins/C002MA_face.cmx",
                     "GameData/Skins/C002MAlgt_face.bmp", "GameData/Skins/xskin-B002MAFit_t-PELVIS-BODY.skn",
                     "GameData/Skins/xskin-C002MA_face-HEAD-HEAD.skn",
                     "GameData/Skins/xskin-Nobody-PELVIS-BODY.skn"}));
    EXPECT_EQ(report.downloads[0].notSkinFiles, QStringList({"Objects/chair.iff"}));
    QMap<QString, QByteArray> added;
    for (const auto& file : report.downloads[0].installed) {
        added.insert(QDir(dir.path()).relativeFilePath(file.target), readAll(file.target));
    }
    EXPECT_EQ(added.value(BuyIn + "f002mafitlgt_t.BMP"), Bytes(Bmp(8)));
    ExpectOnlyAdded(before, added);
}

TEST_F(InstallFixture, WithoutSkinsBuyOrWithOneFolderEverythingGoesIntoOneFolder) {
    ASSERT_TRUE(QDir(buy).removeRecursively());
    const QString tar = Download(QStringLiteral("tones.tar.gz"), ArchiveFormat::TarGz, TonesAndOutfit());
    InstallReport report = Run({tar}, Game());
    EXPECT_EQ(report.installedCount(), 12);
    for (const auto& file : report.downloads[0].installed) {
        EXPECT_TRUE(file.target.startsWith(skins + u'/')) << file.target.toStdString();
    }
    const QString current = dir.mkdir(QStringLiteral("current"));
    report = Run({tar}, install::Destination::Folder(current));
    EXPECT_EQ(report.installedCount(), 12);
    EXPECT_EQ(QDir(current).entryList(QDir::Files).size(), 12);
}

TEST_F(InstallFixture, FilesThatFailTheChecksStayOutWithTheDirectoryWideReasons) {
    std::vector<ArchiveEntry> entries = {
        // A faulty line: the CMX file stays out, and its mesh and sound bitmap with it.
        File("B010FAFit_bad.cmx", samples::CmxWithFaultAt("B010FAFit_bad", 8)),
        File("B010FAFitlgt_bad.bmp", Bmp(1)),
        File("xskin-B010FAFit_bad-PELVIS-BODY.skn", samples::MeshBytes()),
        // An oversized bitmap, the skin's only one: the CMX file is then without a bitmap.
        File("B011FAFit_big.cmx", samples::ValidBodyCmx("B011FAFit_big")),
        File("B011FAFitlgt_big.bmp", Bmp(2, 80000)),
        // A bitmap that is no picture, beside a sound one.
        File("B012FAFit_two.cmx", samples::ValidBodyCmx("B012FAFit_two")),
        File("B012FAFitlgt_two.bmp", Bmp(3)),
        File("B012FAFitdrk_two.bmp", "just text"),
        // Orphaned, and one whose bitmap is already installed.
        File("B013FAFit_lost.cmx", samples::ValidBodyCmx("B013FAFit_lost")),
        File("B014FAFit_home.cmx", samples::ValidBodyCmx("B014FAFit_home")),
        // A description that is not a skin.
        File("a2o-walk.cmx", samples::AnimationCmx()),
        File("Bsmall.cmx", samples::ValidBodyCmx("Bsmall")),
    };
    dir.write(SkinsIn + "b014fafitLGT_home.bmp", Bytes(Bmp(4)));
    const QString zip = Download(QStringLiteral("mixed.zip"), ArchiveFormat::ZipDeflate, entries);
    const auto before = Snapshot(dir.path());
    const InstallReport report = Run({zip}, Game());
    const auto& download = report.downloads[0];
    const QStringList refused = Reasons(download.refused);
    ASSERT_EQ(refused.size(), 8) << refused.join(u'\n').toStdString();
    EXPECT_EQ(report.totals().refused, 8);
    EXPECT_EQ(report.totals().notSkinFiles, 1);
    EXPECT_EQ(refused[0], QStringLiteral("B010FAFit_bad.cmx: line 8"));
    EXPECT_EQ(refused[1],
              QStringLiteral("B010FAFitlgt_bad.bmp: belongs to B010FAFit_bad.cmx, which was refused"));
    EXPECT_EQ(refused[2], QStringLiteral("B011FAFit_big.cmx: no bitmap begins with \"B011FAFit\""));
    EXPECT_EQ(refused[3], QStringLiteral("B011FAFitlgt_big.bmp: 256 x 256, 80000 bytes, more than 75000"));
    EXPECT_TRUE(refused[4].startsWith(QStringLiteral("B012FAFitdrk_two.bmp: not a readable picture")))
        << refused[4].toStdString();
    EXPECT_EQ(refused[5], QStringLiteral("B013FAFit_lost.cmx: no bitmap begins with \"B013FAFit\""));
    EXPECT_EQ(
        refused[6],
        QStringLiteral("Bsmall.cmx: not a skin description this check reads (an animation or another kind)"));
    EXPECT_EQ(
        refused[7],
        QStringLiteral(
            "xskin-B010FAFit_bad-PELVIS-BODY.skn: the mesh of B010FAFit_bad.cmx, which is not installed"));
    EXPECT_EQ(download.notSkinFiles, QStringList({"a2o-walk.cmx"}));
    EXPECT_EQ(Targets(download, skins),
              QStringList({"B012FAFit_two.cmx", "B012FAFitlgt_two.bmp", "B014FAFit_home.cmx"}));
    ExpectOnlyAdded(before,
                    {{SkinsIn + "B012FAFit_two.cmx", Bytes(samples::ValidBodyCmx("B012FAFit_two"))},
                     {SkinsIn + "B012FAFitlgt_two.bmp", Bytes(Bmp(3))},
                     {SkinsIn + "B014FAFit_home.cmx", Bytes(samples::ValidBodyCmx("B014FAFit_home"))}});
}

TEST_F(InstallFixture, AConflictKeepsItsWholeSkinOutAndAnIdenticalFileIsAlreadyInstalled) {
    auto entries = BodySkin("", "B020FAFit_c", {"lgt", "med"}); // lgt differs from the installed one
    auto same = BodySkin("Same/", "B021FAFit_s", {"lgt"});      // its bitmap is installed already
    entries.insert(entries.end(), same.begin(), same.end());
    entries.push_back(File("One/B022FAFit_d.cmx", samples::ValidBodyCmx("B022FAFit_d")));
    entries.push_back(File("Two/b022fafit_d.CMX", samples::ValidBodyCmx("b022fafit_d")));
    entries.push_back(File("B022FAFitlgt_d.bmp", Bmp(9)));
    dir.write(SkinsIn + "b020fafitLGT_c.BMP", "the player's own bitmap");
    dir.write(SkinsIn + "B021FAFITLGT_S.BMP", Bytes(Bmp(1)));
    const QString zip = Download(QStringLiteral("conflict.zip"), ArchiveFormat::ZipStored, entries);
    const auto before = Snapshot(dir.path());

    const InstallReport report = Run({zip}, Game());
    const auto& download = report.downloads[0];
    ASSERT_EQ(download.conflicts.size(), 3);
    EXPECT_EQ(download.conflicts[0].name, QStringLiteral("B020FAFitlgt_c.bmp"));
    EXPECT_EQ(download.conflicts[0].other, skins + QStringLiteral("/b020fafitLGT_c.BMP"));
    EXPECT_EQ(download.conflicts[1].name, QStringLiteral("One/B022FAFit_d.cmx"));
    EXPECT_EQ(download.conflicts[1].other, QStringLiteral("Two/b022fafit_d.CMX"));
    EXPECT_EQ(download.conflicts[2].name, QStringLiteral("Two/b022fafit_d.CMX"));
    EXPECT_EQ(download.conflicts[2].other, QStringLiteral("One/B022FAFit_d.cmx"));
    const QString why =
        QStringLiteral(": belongs to the same skin as B020FAFitlgt_c.bmp, which conflicts with ") + skins +
        QStringLiteral("/b020fafitLGT_c.BMP");
    const QString why22 =
        QStringLiteral(": belongs to the same skin as One/B022FAFit_d.cmx, which conflicts with "
                       "Two/b022fafit_d.CMX");
    EXPECT_EQ(Reasons(download.refused),
              QStringList({"B020FAFit_c.cmx" + why, "B020FAFitmed_c.bmp" + why, "B022FAFitlgt_d.bmp" + why22,
                           "xskin-B020FAFit_c-PELVIS-BODY.skn" + why}));
    ASSERT_EQ(download.alreadyInstalled.size(), 1);
    EXPECT_EQ(download.alreadyInstalled[0].name, QStringLiteral("Same/B021FAFitlgt_s.bmp"));
    EXPECT_EQ(download.alreadyInstalled[0].target, skins + QStringLiteral("/B021FAFITLGT_S.BMP"));
    EXPECT_EQ(Targets(download, skins),
              QStringList({"B021FAFit_s.cmx", "xskin-B021FAFit_s-PELVIS-BODY.skn"}));
    ExpectOnlyAdded(before, {{SkinsIn + "B021FAFit_s.cmx", Bytes(samples::ValidBodyCmx("B021FAFit_s"))},
                             {SkinsIn + "xskin-B021FAFit_s-PELVIS-BODY.skn", Bytes(samples::MeshBytes())}});
}

TEST_F(InstallFixture, CheckOnlyGivesTheSameReportAndWritesNothing) {
    const QString zip = Download(QStringLiteral("tones.zip"), ArchiveFormat::ZipDeflate, TonesAndOutfit());
    const auto before = Snapshot(dir.path());
    int calls = 0;
    const auto hook = [&](const InstallStep&) { return ++calls > 0; };
    const InstallReport checked = Run({zip}, Game(), true, hook);
    EXPECT_EQ(checked.closing(),
              QStringLiteral("Checked only: 12 files would be installed from 1 downloads."));
    EXPECT_EQ(calls, 0);
    ExpectOnlyAdded(before, {});
    const InstallReport real = Run({zip}, Game(), false, hook);
    EXPECT_EQ(Names(real.downloads[0].installed), Names(checked.downloads[0].installed));
    EXPECT_EQ(Reasons(real.downloads[0].refused), Reasons(checked.downloads[0].refused));
    EXPECT_EQ(calls, 24);
}

TEST_F(InstallFixture, TheHookHearsOfEachFileAndHoldingOneBackKeepsItsWholeSkinOut) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B030FAFit_h"));
    const auto before = Snapshot(dir.path());
    QStringList heard;
    const auto hook = [&](const InstallStep& step) {
        const bool there = QFileInfo::exists(step.target);
        heard.append(QStringLiteral("%1 %2 %3 %4")
                         .arg(step.stage == InstallStep::Stage::Intent ? "intent" : "done", step.name,
                              there ? "there" : "absent", step.ok ? "ok" : "failed"));
        EXPECT_EQ(step.download, zip);
        return !step.name.endsWith(QStringLiteral(".skn"));
    };
    const InstallReport report = Run({zip}, Game(), false, hook);
    // The bitmap went in first and came out again; the CMX file, last in line, was never begun.
    EXPECT_EQ(heard, QStringList({"intent B030FAFitlgt_h.bmp absent ok",
                                  "intent xskin-B030FAFit_h-PELVIS-BODY.skn absent ok",
                                  "done B030FAFitlgt_h.bmp absent failed"}));
    const QString why = QStringLiteral(": not installed: it could not be recorded in the history");
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({"B030FAFit_h.cmx" + why, "B030FAFitlgt_h.bmp" + why,
                           "xskin-B030FAFit_h-PELVIS-BODY.skn" + why}));
    ExpectOnlyAdded(before, {});
}

TEST_F(InstallFixture, TwoEntriesOfOneNameInAnyCaseAreAConflictThatKeepsTheirSkinOut) {
    // Good, then faulty: which copy was meant cannot be told (extracting tools keep either).
    auto twice = BodySkin("", "B114FAFit_du");
    twice.push_back(File("B114FAFit_du.cmx", samples::CmxWithFaultAt("B114FAFit_du", 8)));
    auto cased = BodySkin("", "B115FAFit_ca");
    cased.push_back(File("b115fafit_CA.cmx", samples::ValidBodyCmx("B115FAFit_ca")));
    const QString zip = Download(QStringLiteral("twice.zip"), ArchiveFormat::ZipDeflate, twice);
    const QString tar = Download(QStringLiteral("cased.tar.gz"), ArchiveFormat::TarGz, cased);
    const auto before = Snapshot(dir.path());

    const InstallReport report = Run({zip, tar}, Game());
    EXPECT_EQ(report.installedCount(), 0);
    ASSERT_EQ(report.downloads.size(), 2);
    const auto& exact = report.downloads[0];
    ASSERT_EQ(exact.conflicts.size(), 1);
    EXPECT_EQ(exact.conflicts[0].name, QStringLiteral("B114FAFit_du.cmx"));
    EXPECT_EQ(exact.conflicts[0].other, QStringLiteral("B114FAFit_du.cmx"));
    const QString why = QStringLiteral(
        ": belongs to the same skin as B114FAFit_du.cmx, which conflicts with B114FAFit_du.cmx");
    EXPECT_EQ(Reasons(exact.refused),
              QStringList({"B114FAFitlgt_du.bmp" + why, "xskin-B114FAFit_du-PELVIS-BODY.skn" + why}));
    EXPECT_EQ(report.downloads[1].conflicts.size(), 2);
    EXPECT_EQ(report.downloads[1].refused.size(), 2);
    ExpectOnlyAdded(before, {});
}

TEST_F(InstallFixture, OneBadDownloadAmongSeveralStopsOnlyItself) {
    const QString good =
        Download(QStringLiteral("good.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B040FAFit_g"));
    const QString folder = dir.filePath(QStringLiteral("downloads/unpacked"));
    for (const auto& entry : BodySkin("", "B041FAFit_f")) {
        dir.write(QStringLiteral("downloads/unpacked/") + QString::fromStdString(entry.name),
                  Bytes(entry.data));
    }
    const QString whole =
        Download(QStringLiteral("whole.zip"), ArchiveFormat::ZipStored, BodySkin("", "B042FAFit_w"));
    const QByteArray bytes = readAll(whole);
    const QString cut = dir.write(QStringLiteral("downloads/cut.zip"), bytes.left(bytes.size() / 2));
    QFile::remove(whole);
    const auto before = Snapshot(dir.path());
    qint64 lastProgress = 0;
    install::Options options;
    options.stagingParent = program;
    const InstallReport report = install::installDownloads(
        {good, cut, folder, dir.filePath("downloads/missing.zip")}, Game(), options, [&](qint64 read) {
            EXPECT_GT(read, lastProgress);
            lastProgress = read;
        });
    ASSERT_EQ(report.downloads.size(), 4);
    EXPECT_EQ(report.downloads[0].installed.size(), 3);
    EXPECT_TRUE(report.downloads[1].stopped.startsWith(QStringLiteral("cut.zip: ")))
        << report.downloads[1].stopped.toStdString();
    EXPECT_TRUE(report.downloads[1].installed.isEmpty());
    EXPECT_EQ(report.downloads[2].installed.size(), 3);
    EXPECT_EQ(report.downloads[3].stopped, QStringLiteral("missing.zip: No such file or directory"));
    EXPECT_EQ(report.closing(), QStringLiteral("Installed 6 files from 4 downloads."));
    const InstallReport::Totals totals = report.totals();
    EXPECT_EQ(totals.installed, 6);
    EXPECT_EQ(totals.stoppedDownloads, 2);
    EXPECT_EQ(totals.refused + totals.conflicts + totals.alreadyInstalled + totals.notSkinFiles, 0);
    EXPECT_GE(lastProgress, 6);
    QMap<QString, QByteArray> added;
    for (const auto& download : report.downloads) {
        for (const auto& file : download.installed) {
            added.insert(QDir(dir.path()).relativeFilePath(file.target), readAll(file.target));
        }
    }
    EXPECT_EQ(added.size(), 6);
    ExpectOnlyAdded(before, added);
}

TEST_F(InstallFixture, AMissingSkinOrUnpackingFolderStopsBeforeAnything) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B050FAFit_m"));
    const auto before = Snapshot(dir.path());
    const InstallReport report = Run({zip}, install::Destination::ofGame(dir.filePath("nowhere")));
    EXPECT_TRUE(report.downloads.isEmpty());
    EXPECT_EQ(report.closing(), QStringLiteral("Nothing was installed: the skin folder  is not there."));
    install::Options options; // no folder to unpack in
    const InstallReport unstaged = install::installDownloads({zip}, Game(), options);
    EXPECT_EQ(unstaged.closing(),
              QStringLiteral("Nothing was installed: the folder for unpacking  is not there."));
    ExpectOnlyAdded(before, {});
}

TEST_F(InstallFixture, AStopAskedForEndsBeforeTheNextDownload) {
    const QString first =
        Download(QStringLiteral("first.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B051FAFit_a"));
    const QString second =
        Download(QStringLiteral("second.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B052FAFit_b"));
    install::Options options;
    options.stagingParent = program;
    int asked = 0;
    options.stopRequested = [&asked] { return ++asked > 1; };
    const InstallReport report = install::installDownloads({first, second}, Game(), options);
    ASSERT_EQ(report.downloads.size(), 1);
    EXPECT_TRUE(report.stoppedEarly);
    EXPECT_EQ(report.installedCount(), 3);
    EXPECT_EQ(report.closing(), texts::installCancelled(3, 1));
    EXPECT_FALSE(QFileInfo::exists(skins + "/B052FAFit_b.cmx"));
}

} // namespace
} // namespace vestimo::test
