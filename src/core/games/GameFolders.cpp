#include "core/games/GameFolders.h"

namespace vestimo::core::games {

std::vector<GameFolder> gameFolders(const std::vector<GameInstall>& installs) {
    std::vector<GameFolder> folders;
    for (const GameInstall& install : installs) {
        folders.push_back({install.label, install.skins, true});
        if (!install.skinsBuy.isEmpty()) {
            folders.push_back(
                {install.label + QLatin1StringView(BuyableOutfitsSuffix), install.skinsBuy, true});
        }
    }
    if (folders.empty()) {
        folders.push_back({QString::fromLatin1(NoGameFound), QString(), false});
    }
    return folders;
}

} // namespace vestimo::core::games
