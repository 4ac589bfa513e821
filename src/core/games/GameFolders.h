#pragma once

#include "core/games/Discovery.h"

#include <QString>

#include <vector>

// The choices of game folders offered to the player.
namespace vestimo::core::games {

struct GameFolder {
    QString label;
    QString path;        // empty for the "No game found" entry
    bool enabled = true; // false only for the "No game found" entry
};

// Each install's Skins folder, labelled with the install, then its SkinsBuy folder where it has
// one (the label followed by " buyable outfits"). With no install, the one disabled entry
// "No game found".
std::vector<GameFolder> gameFolders(const std::vector<GameInstall>& installs);

// The SkinsBuy folder of the install whose GameData/Skins is `skinDirectory` (the same folder,
// however reached); empty when it is no install's Skins folder or that install has none.
QString skinsBuyOf(const std::vector<GameInstall>& installs, const QString& skinDirectory);

} // namespace vestimo::core::games
