#pragma once

#include "core/install/Install.h"
#include "install/ArchiveWriter.h"
#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"
#include "samples/SkinSamples.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace vestimo::test {

// A game install with both skin folders, a program folder for staging, a downloads folder and a
// folder that nothing may touch, all in one temporary tree whose content is compared before and after.
class InstallFixture : public ::testing::Test {
protected:
    void SetUp() override {
        skins = dir.mkdir(QStringLiteral("game/GameData/Skins"));
        buy = dir.mkdir(QStringLiteral("game/ExpansionShared/SkinsBuy"));
        program = dir.mkdir(QStringLiteral("program"));
        dir.mkdir(QStringLiteral("downloads"));
        dir.write(QStringLiteral("outside/keep.cmx"), "not to be touched");
    }

    install::Destination Game() const {
        return install::Destination::ofGame(dir.filePath(QStringLiteral("game")));
    }

    QString Download(const QString& name, ArchiveFormat format, const std::vector<ArchiveEntry>& entries,
                     const char* passphrase = nullptr) const {
        const QString path = dir.filePath(QStringLiteral("downloads/") + name);
        WriteArchive(path, format, entries, passphrase);
        return path;
    }

    install::InstallReport Run(const QStringList& downloads, const install::Destination& destination,
                               bool checkOnly = false, const install::InstallHook& hook = {},
                               const platform::archive::Limits& limits = {}) const {
        install::Options options;
        options.stagingParent = program;
        options.checkOnly = checkOnly;
        options.limits = limits;
        return install::installDownloads(downloads, destination, options, {}, hook);
    }

    // The tree now is the tree `before` plus exactly `added` (relative path -> content): nothing
    // else appeared, changed or went, and the staging folders are gone.
    void ExpectOnlyAdded(const QMap<QString, QByteArray>& before,
                         const QMap<QString, QByteArray>& added) const {
        QMap<QString, QByteArray> expected = before;
        for (auto it = added.begin(); it != added.end(); ++it) {
            EXPECT_FALSE(before.contains(it.key())) << it.key().toStdString() << " was there before";
            expected.insert(it.key(), it.value());
        }
        const QMap<QString, QByteArray> now = Snapshot(dir.path());
        for (auto it = now.begin(); it != now.end(); ++it) {
            EXPECT_TRUE(expected.contains(it.key())) << "unexpected " << it.key().toStdString();
        }
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            EXPECT_TRUE(now.contains(it.key())) << "missing " << it.key().toStdString();
            if (now.contains(it.key())) {
                EXPECT_TRUE(now.value(it.key()) == it.value()) << "changed " << it.key().toStdString();
            }
        }
        EXPECT_TRUE(
            QDir(program).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }

public:
    static std::string Bmp(std::uint32_t seed, std::size_t fileSize = 0) {
        samples::BmpOptions options;
        options.seed = seed;
        options.fileSize = fileSize;
        return samples::MakeBmp(options);
    }

    // A body skin: CMX file, mesh and one bitmap per tone, in `folder` of the download.
    static std::vector<ArchiveEntry> BodySkin(const std::string& folder, const std::string& base,
                                              std::vector<std::string> tones = {"lgt"}) {
        std::vector<ArchiveEntry> entries = {
            File(folder + base + ".cmx", samples::ValidBodyCmx(base)),
            File(folder + samples::BodyMeshFile(base), samples::MeshBytes())};
        std::uint32_t seed = 1;
        for (const std::string& tone : tones) {
            entries.push_back(File(folder + samples::BodyBitmapFile(base, tone), Bmp(seed++)));
        }
        return entries;
    }

protected:
    static QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

    static QStringList Names(const QList<install::InstalledFile>& files) {
        QStringList names;
        for (const auto& file : files) {
            names.append(file.name + QStringLiteral(" -> ") + file.target);
        }
        return names;
    }

    static QStringList Reasons(const QList<install::RefusedFile>& files) {
        QStringList names;
        for (const auto& file : files) {
            names.append(file.name + QStringLiteral(": ") + file.reason);
        }
        names.sort();
        return names;
    }

    TempDir dir;
    QString skins;
    QString buy;
    QString program;
};

} // namespace vestimo::test
