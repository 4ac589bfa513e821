#include "core/games/GameFolders.h"

#include "core/catalogue/Games.h"

#include <QFileInfo>

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

QString skinsBuyOf(const std::vector<GameInstall>& installs, const QString& skinDirectory) {
    const QString folder = QFileInfo(skinDirectory).canonicalFilePath();
    if (folder.isEmpty()) {
        return {};
    }
    for (const GameInstall& install : installs) {
        if (!install.skinsBuy.isEmpty() && QFileInfo(install.skins).canonicalFilePath() == folder) {
            return install.skinsBuy;
        }
    }
    return {};
}

} // namespace vestimo::core::games
