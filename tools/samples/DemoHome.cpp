#include "samples/DemoHome.h"

#include "samples/DemoSkins.h"
#include "samples/SkinSamples.h"

#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace vestimo::samples {

namespace fs = std::filesystem;

namespace {

void MakeFolders(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error) {
        throw std::runtime_error("cannot create " + path.string() + ": " + error.message());
    }
}

void MakeLink(const fs::path& target, const fs::path& link) {
    MakeFolders(link.parent_path());
    std::error_code error;
    fs::create_directory_symlink(target, link, error);
    if (error) {
        throw std::runtime_error("cannot link " + link.string() + ": " + error.message());
    }
}

// KeyValues strings escape backslashes and quotes.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

} // namespace

std::size_t WriteDemoHome(const fs::path& given) {
    const fs::path home = fs::absolute(given);
    std::error_code error;
    if (fs::exists(fs::symlink_status(home, error)) &&
        (!fs::is_directory(fs::symlink_status(home, error)) || !fs::is_empty(home, error) || error)) {
        throw std::runtime_error(home.string() + " is not an empty folder");
    }
    MakeFolders(home);
    std::size_t written = 0;

    // The classic install in the default Wine prefix, also named by the installer's registry value.
    const fs::path prefix = home / ".wine";
    MakeFolders(prefix / "drive_c");
    MakeLink("../drive_c", prefix / "dosdevices" / "c:");
    WriteFile(prefix / "system.reg", "WINE REGISTRY Version 2\n"
                                     ";; All keys relative to \\\\Machine\n"
                                     "\n"
                                     "#arch=win64\n"
                                     "\n"
                                     "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1700000000\n"
                                     "#time=1da0b1c2d3e4f50\n"
                                     "\"InstallPath\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n"
                                     "\"Language\"=dword:00000409\n");
    const fs::path classic = home / DemoClassicInstall;
    written += WriteDemoSkinDirectory(classic / "GameData" / "Skins");
    MakeFolders(classic / "ExpansionShared" / "SkinsBuy");
    MakeFolders(classic / "Downloads");

    // Steam in its usual place, listing itself and a second library that holds the collection.
    const fs::path steam = home / ".local" / "share" / "Steam";
    MakeFolders(steam / "steamapps" / "common");
    MakeLink("../.local/share/Steam", home / ".steam" / "steam");
    const fs::path library = home / DemoSteamLibrary;
    WriteFile(steam / "steamapps" / "libraryfolders.vdf",
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t" + Quoted(steam.string()) +
                  "\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t}\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t" +
                  Quoted(library.string()) +
                  "\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t}"
                  "\n\t}\n}\n");
    const fs::path skins = home / DemoCollectionInstall / "GameData" / "Skins";
    MakeFolders(skins);
    std::uint32_t seed = 100;
    for (const std::string base : {"B110FAFit_legacy", "B111MAFit_legacy", "B112FCFit_legacy"}) {
        WriteFile(skins / (base + ".cmx"), ValidBodyCmx(base));
        WriteFile(skins / BodyMeshFile(base), MeshBytes());
        BmpOptions bitmap;
        bitmap.seed = seed++;
        WriteFile(skins / BodyBitmapFile(base), MakeBmp(bitmap));
        written += 3;
    }
    return written;
}

} // namespace vestimo::samples
