#pragma once

#include "core/games/GameFolders.h"

#include <QComboBox>
#include <QStringList>

#include <vector>

namespace vestimo::gui {

// "Game folders": each discovered install's Skins folder and SkinsBuy folder, one entry each.
// Choosing an entry (by the player or through listIndex) raises folderChosen with its path; the
// window then browses there through its ordinary change steps. The box follows the browser: it
// shows the entry of the folder browsed, or "Other folder" (no entry chosen) for any other.
class GameFoldersBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QStringList entries READ entries)
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex)
    Q_PROPERTY(int listCount READ listCount)

public:
    explicit GameFoldersBox(QWidget* parent = nullptr);

    // Replaces the entries without choosing any of them.
    void setFolders(std::vector<core::games::GameFolder> folders);

    QStringList entries() const;
    int listIndex() const { return currentIndex(); }
    void setListIndex(int index);
    int listCount() const { return count(); }
    // The path of an entry, empty for the "No game found" entry or an index out of range.
    QString pathAt(int index) const;
    // The browser is now in `folder`: its entry (however the folder is reached) is shown, or
    // "Other folder" when it has none. Raises nothing.
    void showFolder(const QString& folder);
    // The folder of the entry shown; empty for "Other folder" and "No game found".
    QString shownPath() const { return pathAt(currentIndex()); }
    // Locked with the rest of the browser; never enabled without a folder to offer.
    void setUserInteractionLock(bool locked);

signals:
    void folderChosen(const QString& path);

private:
    std::vector<core::games::GameFolder> folders_;
};

} // namespace vestimo::gui
