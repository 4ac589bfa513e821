#include "core/games/GameFolders.h"

#include "core/catalogue/Games.h"

namespace vestimo::core::games {

std::vector<GameFolder> gameFolders(const std::vector<GameInstall>& installs) {
    std::vector<GameFolder> folders;
    for (const GameInstall& install : installs) {
        folders.push_back({install.label, install.skins, true});
        if (!install.skinsBuy.isEmpty()) {
            folders.push_back({texts::buyableOutfits(install.label), install.skinsBuy, true});
        }
    }
    if (folders.empty()) {
        folders.push_back({texts::noGameFound(), QString(), false});
    }
    return folders;
}

} // namespace vestimo::core::games
