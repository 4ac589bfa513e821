#pragma once

#include "core/collection/Collection.h"
#include "core/collection/CollectionView.h"
#include "core/games/Discovery.h"
#include "core/tryon/TryOn.h"
#include "gui/app/Services.h"
#include "gui/skins/SkinsWorkers.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QFileSystemWatcher;
class QMenu;
class QTimer;

namespace vestimo::platform {
class PictureCache;
} // namespace vestimo::platform

namespace vestimo::gui {

class SkinsList;
class SkinsModel;

// What the Skins window draws its pictures with and asks of the desktop; tests put their own in.
struct SkinsSetup {
    // Makes one worker thread's painter for a folder, over the shared cache.
    std::function<CardPainter(const QString& folder, platform::PictureCache* cache)> painter;
    // Where the picture cache lives.
    QString cacheFolder;
    // Opens a folder in the desktop's file manager; false when nothing could.
    std::function<bool(const QUrl& folder)> openUrl;
    // The picture cache's limit in megabytes, as the player last set it, and where a new one is kept.
    int cacheLimitMegabytes = 500;
    std::function<void(int megabytes)> rememberCacheLimit;

    // The program's own: cards drawn as Try It On draws them, completed from `installs`, cached in
    // the user's cache folder, folders opened by the desktop.
    static SkinsSetup system(std::vector<core::games::GameInstall> installs);
};

// What the Skins window asks of the skin editing window.
struct SkinsHooks {
    // "Try It On" for a card.
    std::function<void(const tryon::TryOnRequest& request)> tryOn;
    // A card was selected: its first bitmap in the main window's list (nothing for a card without one).
    std::function<void(const QString& folder, const QString& bitmap)> selectBitmap;
    // Files left the folder for the problem folder.
    std::function<void()> filesMoved;
};

// The Skins window (frmSkins): a card for every skin of a folder, with its picture, kind, tones and
// problems; filtered, searched and sorted as the player asks. The folder is read and the pictures
// drawn on worker threads; the window's thread only shows what they hand back. It follows the
// folder: files added, removed or changed update their cards.
class SkinsWindow : public QWidget {
    Q_OBJECT

public:
    SkinsWindow(const QString& folder, Services services, SkinsSetup setup, SkinsHooks hooks, QWidget* owner);
    ~SkinsWindow() override;
    SkinsWindow(const SkinsWindow&) = delete;
    SkinsWindow& operator=(const SkinsWindow&) = delete;

    const QString& folder() const { return folder_; }
    // Shows the cards of `folder` instead; nothing when it is the one shown.
    void showFolder(const QString& folder);

    const collection::Collection& collection() const { return collection_; }
    const collection::ViewState& viewState() const { return view_; }
    // Whether every card in view has its picture (or is known not to have one).
    bool picturesInViewReady() const;
    // How many pictures are held in memory.
    qsizetype picturesInMemory() const { return pictures_.count(); }

signals:
    // A reading of the folder is shown (cards first, then once judged: collection().complete).
    void collectionShown();
    void pictureShown(const QString& key);

protected:
    // More or fewer cards come into view.
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Ui;

    void build();
    void connectControls();
    void startReading();
    void onRead(CollectionLoader::Read read);
    void onPicture(PictureWorkers::Done done);
    // The selected card and the card at the top, by identity.
    struct Place {
        QString selected;
        QString top;
    };
    Place place() const;
    // Shows collection_ through view_, keeping the selected card and the card at the top.
    void showCards(bool sameCards, const Place& place);
    void showCounts();
    void askForPictures();
    void setView(const collection::ViewState& view);
    void onSelected(int row);
    void onActivated(int row);
    void onMenu(int row, const QPoint& globalPos);
    void onMoveToProblemFolder();
    void onOpenFolder();
    void onCacheLimit(int megabytes);
    void onClearCache();
    const collection::Card* currentCard() const;

    QString folder_;
    Services services_;
    SkinsSetup setup_;
    SkinsHooks hooks_;
    std::unique_ptr<Ui> ui_;
    collection::ViewState view_;
    collection::Collection collection_;
    std::vector<QString> keys_; // of collection_.cards, in their order
    std::vector<qsizetype> visible_;
    quint64 generation_ = 0;
    // The pictures near the view, least recently shown dropped first; why a card has none.
    QCache<QString, QImage> pictures_;
    QHash<QString, QString> failures_;
    // Each card's stamp when it was last read, to drop the pictures of cards whose files changed.
    QHash<QString, QString> stamps_;
    std::unique_ptr<platform::PictureCache> cache_;
    std::unique_ptr<CollectionLoader> loader_;
    std::unique_ptr<PictureWorkers> workers_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* poll_ = nullptr;         // in-place writes raise no folder change, and some folders none
    QTimer* reprioritise_ = nullptr; // the pictures asked for once scrolling pauses
    QMenu* menu_ = nullptr;
    bool restoring_ = false; // the selection is put back after a reading, not chosen
};

// Opens the Skins window for `folder` with `owner` over it, or turns the one `open` to it.
SkinsWindow* showSkins(QPointer<SkinsWindow>& open, QWidget* owner, const QString& folder,
                       const Services& services, const SkinsSetup& setup, const SkinsHooks& hooks,
                       const std::function<void(QWidget*)>& showWindow);

} // namespace vestimo::gui
