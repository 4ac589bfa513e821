// A disk that fills up under an installation: each skin goes in whole or not at all, and the
// report says why one stayed out.
#include "install/InstallFixture.h"
#include "support/HostileFiles.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <optional>

namespace vestimo::test {
namespace {

using install::InstallReport;
using install::InstallStep;

class FaultInjectionInstall : public InstallFixture {};

TEST_F(FaultInjectionInstall, ASkinThatNoLongerFitsIsNotBegunAndTheSkinsThatFitGoIn) {
    auto entries = BodySkin("Big/", "B001FAFit_big");
    entries[1].data = std::string(200000, 'm'); // its mesh
    const auto small = BodySkin("Small/", "B002FAFit_small");
    entries.insert(entries.end(), small.begin(), small.end());
    const QString zip = Download(QStringLiteral("two.zip"), ArchiveFormat::ZipDeflate, entries);
    const auto before = Snapshot(dir.path());

    // A nearly full disk: 100 KB free, less what this run has written so far.
    install::Options options;
    options.stagingParent = program;
    options.freeSpace = [&](const QString& folder) -> std::optional<qint64> {
        qint64 used = 0;
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
            used += file.size();
        }
        return 100000 - used;
    };
    const InstallReport report = install::installDownloads({zip}, Game(), options);

    const QString why = QStringLiteral(": not installed: no space left on device");
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({"Big/B001FAFit_big.cmx" + why, "Big/B001FAFitlgt_big.bmp" + why,
                           "Big/xskin-B001FAFit_big-PELVIS-BODY.skn" + why}));
    EXPECT_EQ(report.installedCount(), 3);
    QMap<QString, QByteArray> added;
    for (const ArchiveEntry& entry : small) {
        added.insert("game/GameData/Skins/" + QFileInfo(QString::fromStdString(entry.name)).fileName(),
                     Bytes(entry.data));
    }
    ExpectOnlyAdded(before, added);
}

TEST_F(FaultInjectionInstall, AWriteThatFailsHalfwayThroughASkinTakesItsPlacedFilesOutAgain) {
    auto entries = BodySkin("", "B003FAFit_half");
    entries[1].data = std::string(200000, 'm'); // its mesh, written after the bitmap
    const QString zip = Download(QStringLiteral("half.zip"), ArchiveFormat::ZipDeflate, entries);
    const auto before = Snapshot(dir.path());

    // The disk fills up just as the mesh is written.
    std::optional<FileSizeLimit> full;
    QStringList heard;
    const auto hook = [&](const InstallStep& step) {
        if (step.stage == InstallStep::Stage::Intent && step.name.endsWith(QStringLiteral(".skn"))) {
            full.emplace(100000);
        }
        heard.append(QStringLiteral("%1 %2 %3")
                         .arg(step.stage == InstallStep::Stage::Intent ? "intent" : "done", step.name,
                              step.ok ? QStringLiteral("ok") : step.error));
        return true;
    };
    const InstallReport report = Run({zip}, Game(), false, hook);
    full.reset();

    const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
    EXPECT_EQ(heard,
              QStringList(
                  {"intent B003FAFitlgt_half.bmp ok", "intent xskin-B003FAFit_half-PELVIS-BODY.skn ok",
                   "done xskin-B003FAFit_half-PELVIS-BODY.skn " + tooLarge,
                   "done B003FAFitlgt_half.bmp removed again, as its skin was not installed: " + tooLarge}));
    const QString why = QStringLiteral(": not installed: ") + tooLarge;
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({"B003FAFit_half.cmx" + why, "B003FAFitlgt_half.bmp" + why,
                           "xskin-B003FAFit_half-PELVIS-BODY.skn" + why}));
    EXPECT_EQ(report.installedCount(), 0);
    ExpectOnlyAdded(before, {});
}

} // namespace
} // namespace vestimo::test
