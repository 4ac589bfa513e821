#include "gui/browser/GameFoldersBox.h"

#include "core/catalogue/Games.h"

#include <QFileInfo>
#include <QStandardItemModel>

#include <algorithm>

namespace vestimo::gui {

GameFoldersBox::GameFoldersBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("cboGames"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    // What the box shows while no entry is chosen.
    setPlaceholderText(texts::otherFolder());
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString path = pathAt(index);
        if (!path.isEmpty()) {
            emit folderChosen(path);
        }
    });
}

void GameFoldersBox::setFolders(std::vector<core::games::GameFolder> folders) {
    const QSignalBlocker block(this);
    folders_ = std::move(folders);
    clear();
    for (const core::games::GameFolder& folder : folders_) {
        addItem(folder.label, folder.path);
        setItemData(count() - 1, folder.path, Qt::ToolTipRole);
        if (!folder.enabled) {
            // A disabled entry cannot be chosen, with the mouse or the keyboard.
            if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
                items->item(count() - 1)->setEnabled(false);
            }
        }
    }
    // With no install the one entry says so; otherwise nothing is chosen until the player does.
    const bool nothingFound = folders_.size() == 1 && !folders_.front().enabled;
    setCurrentIndex(nothingFound ? 0 : -1);
    setUserInteractionLock(false);
}

QStringList GameFoldersBox::entries() const {
    QStringList labels;
    for (const core::games::GameFolder& folder : folders_) {
        labels.append(folder.label);
    }
    return labels;
}

void GameFoldersBox::setListIndex(int index) {
    setCurrentIndex(index);
    const QString path = pathAt(index);
    if (!path.isEmpty()) {
        emit folderChosen(path);
    }
}

void GameFoldersBox::showFolder(const QString& folder) {
    if (folders_.size() == 1 && !folders_.front().enabled) {
        return; // "No game found" stays
    }
    const QString browsed = QFileInfo(folder).canonicalFilePath();
    int shown = -1;
    for (std::size_t k = 0; k < folders_.size() && !browsed.isEmpty(); ++k) {
        if (folders_[k].enabled && QFileInfo(folders_[k].path).canonicalFilePath() == browsed) {
            shown = static_cast<int>(k);
            break;
        }
    }
    const QSignalBlocker block(this);
    setCurrentIndex(shown);
}

void GameFoldersBox::setUserInteractionLock(bool locked) {
    const bool anyFolder = std::any_of(folders_.begin(), folders_.end(),
                                       [](const core::games::GameFolder& folder) { return folder.enabled; });
    setEnabled(!locked && anyFolder);
}

QString GameFoldersBox::pathAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= folders_.size() ||
        !folders_[static_cast<std::size_t>(index)].enabled) {
        return {};
    }
    return folders_[static_cast<std::size_t>(index)].path;
}

} // namespace vestimo::gui
