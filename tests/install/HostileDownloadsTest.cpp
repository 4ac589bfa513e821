#include "install/InstallFixture.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace vestimo::test {
namespace {

using install::InstallReport;

const QString SkinsIn = QStringLiteral("game/GameData/Skins/");

QMap<QString, QByteArray> GoodSkinAdded(const std::string& base) {
    return {{SkinsIn + QString::fromStdString(base) + ".cmx",
             QByteArray::fromStdString(samples::ValidBodyCmx(base))},
            {SkinsIn + QString::fromStdString(samples::BodyBitmapFile(base, "lgt")),
             QByteArray::fromStdString(InstallFixture::Bmp(1))},
            {SkinsIn + QString::fromStdString(samples::BodyMeshFile(base)),
             QByteArray::fromStdString(samples::MeshBytes())}};
}

TEST_F(InstallFixture, EntriesThatPointOutsideAreRefusedAndTheGoodSkinBesideThemInstalled) {
    auto entries = BodySkin("Skin/", "B060FAFit_ok");
    entries.push_back(File("../x.cmx", samples::ValidBodyCmx("x")));
    entries.push_back(
        File("../../game/GameData/Skins/B061FAFit_up.cmx", samples::ValidBodyCmx("B061FAFit_up")));
    entries.push_back(File("/etc/x", "root"));
    entries.push_back(
        {"Skin/B062FAFitlgt_l.bmp", "", ArchiveEntry::Type::Symlink, "../../../outside/keep.cmx", 0});
    entries.push_back(File("Skin/B063FA\nFit_n.cmx", samples::ValidBodyCmx("B063FA")));
    const QString zip = Download(QStringLiteral("hostile.zip"), ArchiveFormat::ZipDeflate, entries);
    const bool etcBefore = QFileInfo::exists(QStringLiteral("/etc/x"));
    const auto before = Snapshot(dir.path());

    const InstallReport report = Run({zip}, Game());
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({"../../game/GameData/Skins/B061FAFit_up.cmx: a \"..\" in its path",
                           "../x.cmx: a \"..\" in its path", "/etc/x: an absolute path",
                           "Skin/B062FAFitlgt_l.bmp: a symbolic link",
                           "Skin/B063FA\\x0AFit_n.cmx: its name holds a control character"}));
    EXPECT_EQ(report.closing(), QStringLiteral("Installed 3 files from 1 downloads."));
    ExpectOnlyAdded(before, GoodSkinAdded("B060FAFit_ok"));
    EXPECT_EQ(QFileInfo::exists(QStringLiteral("/etc/x")), etcBefore);
}

TEST_F(InstallFixture, AFolderDownloadDoesNotFollowItsLinks) {
    for (const auto& entry : BodySkin("", "B064FAFit_ok")) {
        dir.write(QStringLiteral("downloads/folder/") + QString::fromStdString(entry.name),
                  Bytes(entry.data));
    }
    dir.write(QStringLiteral("outside/B065FAFit_x.cmx"), Bytes(samples::ValidBodyCmx("B065FAFit_x")));
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("outside/B065FAFit_x.cmx")).constData(),
                        QFile::encodeName(dir.filePath("downloads/folder/B065FAFit_x.cmx")).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("outside")).constData(),
                        QFile::encodeName(dir.filePath("downloads/folder/More")).constData()),
              0);
    const auto before = Snapshot(dir.path());
    const InstallReport report = Run({dir.filePath("downloads/folder")}, Game());
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({"B065FAFit_x.cmx: a symbolic link", "More: a symbolic link"}));
    ExpectOnlyAdded(before, GoodSkinAdded("B064FAFit_ok"));
}

TEST_F(InstallFixture, ALinkInTheSkinFolderIsNeitherFollowedNorReplaced) {
    const QString zip =
        Download(QStringLiteral("skin.zip"), ArchiveFormat::ZipDeflate, BodySkin("", "B066FAFit_k"));
    ASSERT_EQ(::symlink(QFile::encodeName(dir.filePath("outside/keep.cmx")).constData(),
                        QFile::encodeName(skins + "/B066FAFit_k.cmx").constData()),
              0);
    const auto before = Snapshot(dir.path());
    const InstallReport report = Run({zip}, Game());
    ASSERT_EQ(report.downloads[0].conflicts.size(), 1);
    EXPECT_EQ(report.downloads[0].conflicts[0].other, skins + QStringLiteral("/B066FAFit_k.cmx"));
    EXPECT_EQ(report.installedCount(), 0);
    ExpectOnlyAdded(before, {});
}

TEST_F(InstallFixture, ABombADamagedArchiveAndAPasswordStopTheirWholeDownload) {
    auto bombEntries = BodySkin("", "B070FAFit_b");
    bombEntries.push_back({"zeros.bmp", "", ArchiveEntry::Type::File, {}, 4 * 1024 * 1024});
    const QString bomb = Download(QStringLiteral("bomb.zip"), ArchiveFormat::ZipDeflate, bombEntries);
    const QString whole =
        Download(QStringLiteral("whole.7z"), ArchiveFormat::SevenZip, BodySkin("", "B071FAFit_d"));
    const QByteArray bytes = readAll(whole);
    const QString cut = dir.write(QStringLiteral("downloads/cut.7z"), bytes.left(bytes.size() / 2));
    QFile::remove(whole);
    const QString locked = Download(QStringLiteral("locked.zip"), ArchiveFormat::ZipDeflate,
                                    BodySkin("", "B072FAFit_p"), "secret");
    const QString empty = Download(QStringLiteral("empty.zip"), ArchiveFormat::ZipDeflate, {});
    const auto before = Snapshot(dir.path());

    platform::archive::Limits limits;
    limits.entryBytes = 1024 * 1024;
    const InstallReport report = Run({bomb, cut, locked, empty}, Game(), false, {}, limits);
    ASSERT_EQ(report.downloads.size(), 4);
    EXPECT_EQ(report.downloads[0].stopped,
              QStringLiteral("bomb.zip: zeros.bmp unpacks to more than 1 MiB; unpacking stopped"));
    EXPECT_TRUE(report.downloads[1].stopped.startsWith(QStringLiteral("cut.7z: ")))
        << report.downloads[1].stopped.toStdString();
    EXPECT_TRUE(
        report.downloads[2].stopped.startsWith(QStringLiteral("locked.zip: it is protected by a password (")))
        << report.downloads[2].stopped.toStdString();
    EXPECT_EQ(report.downloads[3].stopped, QString());
    for (const auto& download : report.downloads) {
        EXPECT_TRUE(download.installed.isEmpty());
        EXPECT_TRUE(download.refused.isEmpty());
    }
    EXPECT_EQ(report.closing(), QStringLiteral("Installed 0 files from 4 downloads."));
    ExpectOnlyAdded(before, {});
}

} // namespace
} // namespace vestimo::test
