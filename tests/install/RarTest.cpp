#include "install/InstallFixture.h"
#include "platform/archive/Unpack.h"

#include <QFile>

#include <cstdint>

// libarchive reads RAR but cannot write it, so these archives are put together byte by byte:
// files stored without compression, which both RAR versions allow.
namespace vestimo::test {
namespace {

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

struct StoredFile {
    std::string name; // RAR 4 separates folders with backslashes
    std::string data;
};

// RAR 1.5 to 4.x: marker block, archive header, one file header per file (data stored), end block.
std::string Rar4(const std::vector<StoredFile>& files) {
    std::string out("Rar!\x1a\x07\x00", 7);
    const auto block = [&out](std::string afterCrc) {
        Put16(out, Crc32(afterCrc) & 0xFFFF);
        out += afterCrc;
    };
    std::string main;
    main += '\x73';
    Put16(main, 0);  // flags
    Put16(main, 13); // header size
    Put16(main, 0);  // reserved
    put32(main, 0);
    block(main);
    for (const StoredFile& file : files) {
        std::string header;
        header += '\x74';
        Put16(header, 0x8000);
        Put16(header, static_cast<std::uint32_t>(32 + file.name.size()));
        put32(header, static_cast<std::uint32_t>(file.data.size())); // packed
        put32(header, static_cast<std::uint32_t>(file.data.size())); // unpacked
        header += '\x02';                                            // made on Windows
        put32(header, Crc32(file.data));
        put32(header, 0x50210000); // 1 January 2020, DOS time
        header += '\x1d';          // version 2.9 to unpack
        header += '\x30';          // stored
        Put16(header, static_cast<std::uint32_t>(file.name.size()));
        put32(header, 0x20); // archive attribute
        header += file.name;
        block(header);
        out += file.data;
    }
    std::string end;
    end += '\x7b';
    Put16(end, 0x4000);
    Put16(end, 7);
    block(end);
    return out;
}

void PutVint(std::string& out, std::uint64_t value) {
    do {
        const auto low = static_cast<char>(value & 0x7F);
        value >>= 7;
        out += value != 0 ? static_cast<char>(low | '\x80') : low;
    } while (value != 0);
}

// RAR 5: signature, main header, one stored file header per file, end of archive.
std::string Rar5(const std::vector<StoredFile>& files) {
    std::string out("Rar!\x1a\x07\x01\x00", 8);
    const auto block = [&out](const std::string& header) {
        std::string sized;
        PutVint(sized, header.size());
        sized += header;
        put32(out, Crc32(sized));
        out += sized;
    };
    std::string main;
    PutVint(main, 1); // main archive header
    PutVint(main, 0); // header flags
    PutVint(main, 0); // archive flags
    block(main);
    for (const StoredFile& file : files) {
        std::string header;
        PutVint(header, 2);      // file header
        PutVint(header, 0x0002); // a data area follows
        PutVint(header, file.data.size());
        PutVint(header, 0x0004); // data CRC32 present
        PutVint(header, file.data.size());
        PutVint(header, 0x20); // archive attribute
        put32(header, Crc32(file.data));
        PutVint(header, 0); // compression: version 0, stored
        PutVint(header, 0); // made on Windows
        PutVint(header, file.name.size());
        header += file.name;
        block(header);
        out += file.data;
    }
    std::string end;
    PutVint(end, 5);
    PutVint(end, 0);
    PutVint(end, 0);
    block(end);
    return out;
}

std::vector<StoredFile> Skin(const std::string& folder, const std::string& separator) {
    const std::string base = "B080FAFit_r";
    return {{folder + separator + base + ".cmx", samples::ValidBodyCmx(base)},
            {folder + separator + samples::BodyBitmapFile(base, "lgt"), InstallFixture::Bmp(5)},
            {folder + separator + samples::BodyMeshFile(base), samples::MeshBytes()},
            {"readme.txt", "hand made"},
            {"..\\x.cmx", "up and out"}};
}

class RarFixture : public InstallFixture, public ::testing::WithParamInterface<int> {};

TEST_P(RarFixture, AStoredRarInstallsLikeAnyOtherDownload) {
    const bool five = GetParam() == 5;
    const std::string bytes = five ? Rar5(Skin("Skin", "/")) : Rar4(Skin("Skin", "\\"));
    const QString rar = dir.write(QStringLiteral("downloads/skin.rar"), QByteArray::fromStdString(bytes));
    const auto before = Snapshot(dir.path());
    const install::InstallReport report = Run({rar}, Game());
    ASSERT_EQ(report.downloads.size(), 1);
    ASSERT_EQ(report.downloads[0].stopped, QString());
    EXPECT_EQ(report.closing(), QStringLiteral("Installed 3 files from 1 downloads."));
    EXPECT_EQ(report.downloads[0].notSkinFiles, QStringList({"readme.txt"}));
    // RAR 4 names made on Windows come out of libarchive with forward slashes.
    EXPECT_EQ(Reasons(report.downloads[0].refused),
              QStringList({five ? "..\\x.cmx: a \"..\" in its path" : "../x.cmx: a \"..\" in its path"}));
    ExpectOnlyAdded(before,
                    {{"game/GameData/Skins/B080FAFit_r.cmx", Bytes(samples::ValidBodyCmx("B080FAFit_r"))},
                     {"game/GameData/Skins/B080FAFitlgt_r.bmp", Bytes(Bmp(5))},
                     {"game/GameData/Skins/xskin-B080FAFit_r-PELVIS-BODY.skn", Bytes(samples::MeshBytes())}});
}

TEST_P(RarFixture, ACutOrDamagedRarIsReportedAndNothingOfItInstalled) {
    const std::string bytes = GetParam() == 5 ? Rar5(Skin("Skin", "/")) : Rar4(Skin("Skin", "\\"));
    // Cut inside the bitmap's data; and a header whose check sum no longer fits (a byte of the
    // bitmap's name, after the CMX file's data).
    std::string damaged = bytes;
    const std::size_t name = damaged.find("B080FAFitlgt_r.bmp");
    ASSERT_NE(name, std::string::npos);
    damaged[name] = 'X';
    const QString cut = dir.write(QStringLiteral("downloads/cut.rar"),
                                  QByteArray::fromStdString(bytes.substr(0, bytes.size() / 2)));
    const QString broken =
        dir.write(QStringLiteral("downloads/broken.rar"), QByteArray::fromStdString(damaged));
    const auto before = Snapshot(dir.path());
    const install::InstallReport report = Run({cut, broken}, Game());
    EXPECT_TRUE(report.downloads[0].stopped.startsWith(QStringLiteral("cut.rar: ")))
        << report.downloads[0].stopped.toStdString();
    EXPECT_TRUE(report.downloads[1].stopped.startsWith(QStringLiteral("broken.rar: ")))
        << report.downloads[1].stopped.toStdString();
    EXPECT_EQ(report.installedCount(), 0);
    ExpectOnlyAdded(before, {});
}

INSTANTIATE_TEST_SUITE_P(Versions, RarFixture, ::testing::Values(4, 5));

} // namespace
} // namespace vestimo::test
