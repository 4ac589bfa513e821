#pragma once

#include <filesystem>
#include <string>

namespace vestimo::samples {

// Where WriteDemoHome put things, relative to the home.
inline constexpr const char* DemoClassicInstall = ".wine/drive_c/Program Files/Maxis/The Sims";
inline constexpr const char* DemoSteamLibrary = "SteamLibrary";
inline constexpr const char* DemoCollectionInstall =
    "SteamLibrary/steamapps/common/The Sims Legacy Collection";

// Builds a player's home in `home` (which must be missing or empty, so that nothing is written
// through a link already there) for trying the game folders on: a Wine prefix ~/.wine with the
// classic install (GameData/Skins holding the demo skin directory, an empty
// ExpansionShared/SkinsBuy and Downloads, and the install path in the prefix's registry), and a
// second Steam library ~/SteamLibrary holding the Legacy Collection with a few valid skins, listed
// in ~/.local/share/Steam/steamapps/libraryfolders.vdf (~/.steam/steam links there, as Steam
// sets it up). The library list holds absolute paths, so the home cannot be moved afterwards.
// Returns how many skin files were written. Throws std::runtime_error when something cannot be
// made.
std::size_t WriteDemoHome(const std::filesystem::path& home);

} // namespace vestimo::samples
