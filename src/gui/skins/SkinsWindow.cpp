#include "gui/skins/SkinsWindow.h"

#include "core/catalogue/Collection.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/SkinsWindow.h"
#include "core/collection/CardPictures.h"
#include "core/journal/Journal.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"
#include "gui/skins/SkinsList.h"
#include "platform/FileSystem.h"
#include "platform/cache/PictureCache.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace vestimo::gui {

namespace {

constexpr int PollMs = 1000;
constexpr int ReprioritiseMs = 40;
constexpr qint64 Megabyte = 1024LL * 1024;
// Pictures kept in memory: this many times the cards in view, and never fewer than the floor.
constexpr int ViewsKept = 3;
constexpr int LeastKept = 256;

using collection::CardKind;
using collection::SortKey;

} // namespace

SkinsSetup SkinsSetup::system(std::vector<core::games::GameInstall> installs) {
    SkinsSetup setup;
    setup.painter = [installs = std::move(installs)](const QString& folder, platform::PictureCache* cache) {
        auto pictures = std::make_shared<collection::CardPictures>(
            folder, tryon::placesFor(folder, installs), cache,
            QSize(CardDelegate::PictureSide, CardDelegate::PictureSide));
        return CardPainter([pictures](const collection::Card& card) { return pictures->picture(card); });
    };
    setup.cacheFolder = platform::PictureCache::defaultFolder();
    setup.openUrl = [](const QUrl& folder) { return QDesktopServices::openUrl(folder); };
    return setup;
}

struct SkinsWindow::Ui {
    QLabel* counts = nullptr;
    QComboBox* kind = nullptr;
    QCheckBox* problemsOnly = nullptr;
    QLineEdit* search = nullptr;
    QComboBox* sort = nullptr;
    SkinsList* list = nullptr;
    SkinsModel* model = nullptr;
    QSpinBox* cacheLimit = nullptr;
    QPushButton* clearCache = nullptr;
    QAction* move = nullptr;
    QAction* openFolder = nullptr;
};

SkinsWindow::SkinsWindow(const QString& folder, Services services, SkinsSetup setup, SkinsHooks hooks,
                         QWidget* owner)
    : QWidget(owner, Qt::Window), services_(std::move(services)), setup_(std::move(setup)),
      hooks_(std::move(hooks)), ui_(std::make_unique<Ui>()) {
    setObjectName(QStringLiteral("frmSkins"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    reprioritise_ = new QTimer(this);
    reprioritise_->setSingleShot(true);
    reprioritise_->setInterval(ReprioritiseMs);
    build();
    connectControls();
    assignMnemonics(this);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    pictures_.setMaxCost(LeastKept);
    cache_ =
        std::make_unique<platform::PictureCache>(setup_.cacheFolder, setup_.cacheLimitMegabytes * Megabyte);
    // Results come back to this window's thread; the workers are stopped before the window goes,
    // and what they posted meanwhile goes with it.
    loader_ = std::make_unique<CollectionLoader>([this](CollectionLoader::Read read) {
        QMetaObject::invokeMethod(
            this, [this, read = std::move(read)]() mutable { onRead(std::move(read)); },
            Qt::QueuedConnection);
    });
    const auto painter = setup_.painter;
    platform::PictureCache* cache = cache_.get();
    workers_ = std::make_unique<PictureWorkers>(
        [painter, cache](const QString& at) { return painter(at, cache); }, QThread::idealThreadCount(),
        [this](PictureWorkers::Done done) {
            QMetaObject::invokeMethod(
                this, [this, done = std::move(done)]() mutable { onPicture(std::move(done)); },
                Qt::QueuedConnection);
        });
    watcher_ = new QFileSystemWatcher(this);
    poll_ = new QTimer(this);
    poll_->setInterval(PollMs);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { loader_->check(); });
    connect(poll_, &QTimer::timeout, this, [this] { loader_->check(); });
    connect(reprioritise_, &QTimer::timeout, this, &SkinsWindow::askForPictures);
    poll_->start();
    showFolder(folder);
}

SkinsWindow::~SkinsWindow() {
    // The workers first: nothing of theirs may reach a window half gone.
    workers_.reset();
    loader_.reset();
}

void SkinsWindow::build() {
    Ui& ui = *ui_;
    ui.counts = named(new QLabel(this), "lblSkinsCounts");
    ui.kind = named(new QComboBox(this), "cboSkinsKind");
    ui.kind->addItem(texts::skinsAllKinds(), -1);
    const std::pair<CardKind, QString> kinds[] = {
        {CardKind::Body, texts::collectionBody()},
        {CardKind::Head, texts::collectionHead()},
        {CardKind::Hand, texts::collectionHand()},
        {CardKind::Pet, texts::collectionPet()},
        {CardKind::Buyable, texts::skinsBuyables()},
        {CardKind::Other, texts::collectionOtherPiece()},
        {CardKind::OrphanTexture, texts::collectionOrphanTexture()},
        {CardKind::OrphanMesh, texts::collectionOrphanMesh()},
    };
    for (const auto& [kind, caption] : kinds) {
        ui.kind->addItem(caption, static_cast<int>(kind));
    }
    ui.problemsOnly = named(new QCheckBox(texts::skinsProblemsOnly(), this), "chkSkinsProblems");
    ui.search = named(new QLineEdit(this), "txtSkinsSearch");
    ui.search->setPlaceholderText(texts::skinsSearchHint());
    ui.search->setClearButtonEnabled(true);
    ui.sort = named(new QComboBox(this), "cboSkinsSort");
    const std::pair<SortKey, QString> sorts[] = {
        {SortKey::Name, texts::skinsSortName()},
        {SortKey::Kind, texts::skinsSortKind()},
        {SortKey::Problems, texts::skinsSortProblems()},
        {SortKey::Date, texts::skinsSortDate()},
    };
    for (const auto& [key, caption] : sorts) {
        ui.sort->addItem(caption, static_cast<int>(key));
    }
    ui.list = new SkinsList(this);
    ui.model = new SkinsModel([this](const QString& key) { return pictures_.object(key); },
                              [this](const QString& key) { return failures_.value(key); }, this);
    ui.list->setModel(ui.model);
    ui.cacheLimit = named(new QSpinBox(this), "spnSkinsCacheLimit");
    ui.cacheLimit->setRange(1, 1000000);
    ui.cacheLimit->setValue(setup_.cacheLimitMegabytes);
    ui.cacheLimit->setSuffix(texts::skinsCacheLimitUnit());
    ui.clearCache = button(this, "cmdClearPictureCache", texts::skinsClearCache());

    menu_ = named(new QMenu(this), "mnuSkinsCard");
    ui.move = menu_->addAction(texts::skinsMoveToProblemFolder());
    ui.move->setObjectName(QStringLiteral("actSkinsMoveToProblemFolder"));
    ui.openFolder = menu_->addAction(texts::skinsOpenFolder());
    ui.openFolder->setObjectName(QStringLiteral("actSkinsOpenFolder"));

    auto* filters = new QHBoxLayout;
    const auto labelled = [this, filters](const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(control);
        filters->addWidget(label);
        filters->addWidget(control);
    };
    labelled(texts::skinsKindLabel(), ui.kind);
    filters->addWidget(ui.problemsOnly);
    labelled(texts::skinsSearchLabel(), ui.search);
    labelled(texts::skinsSortLabel(), ui.sort);
    auto* cacheRow = new QHBoxLayout;
    cacheRow->addStretch(1);
    auto* limitLabel = new QLabel(texts::skinsCacheLimitLabel(), this);
    limitLabel->setBuddy(ui.cacheLimit);
    cacheRow->addWidget(limitLabel);
    cacheRow->addWidget(ui.cacheLimit);
    cacheRow->addWidget(ui.clearCache);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui.counts);
    layout->addLayout(filters);
    layout->addWidget(ui.list, 1);
    layout->addLayout(cacheRow);
    resize(900, 640);
}

void SkinsWindow::connectControls() {
    const Ui& ui = *ui_;
    connect(ui.kind, &QComboBox::activated, this, [this](int index) {
        const int kind = ui_->kind->itemData(index).toInt();
        setView(collection::withKind(view_, kind < 0 ? std::nullopt
                                                     : std::optional<CardKind>(static_cast<CardKind>(kind))));
    });
    connect(ui.problemsOnly, &QCheckBox::toggled, this,
            [this](bool on) { setView(collection::withProblemsOnly(view_, on)); });
    connect(ui.search, &QLineEdit::textChanged, this,
            [this](const QString& text) { setView(collection::withSearch(view_, text)); });
    connect(ui.sort, &QComboBox::activated, this, [this](int index) {
        setView(collection::withSort(view_, static_cast<SortKey>(ui_->sort->itemData(index).toInt())));
    });
    connect(ui.list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onSelected(current.row()); });
    connect(ui.list, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { onActivated(index.row()); });
    connect(ui.list, &SkinsList::cardActivated, this, &SkinsWindow::onActivated);
    connect(ui.list, &SkinsList::menuRequested, this, &SkinsWindow::onMenu);
    connect(ui.list->verticalScrollBar(), &QScrollBar::valueChanged, reprioritise_,
            [this] { reprioritise_->start(); });
    connect(ui.move, &QAction::triggered, this, &SkinsWindow::onMoveToProblemFolder);
    connect(ui.openFolder, &QAction::triggered, this, &SkinsWindow::onOpenFolder);
    connect(ui.cacheLimit, &QSpinBox::valueChanged, this, &SkinsWindow::onCacheLimit);
    connect(ui.clearCache, &QPushButton::clicked, this, &SkinsWindow::onClearCache);
}

void SkinsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    reprioritise_->start();
}

void SkinsWindow::showFolder(const QString& folder) {
    if (folder == folder_ && generation_ > 0) {
        return;
    }
    folder_ = folder;
    setWindowTitle(texts::skinsTitle(shownDirectory(folder)));
    ++generation_;
    // Whatever was wanted of the last folder is dropped; its reading, when one goes on, is ignored.
    workers_->want(folder_, generation_, {});
    pictures_.clear();
    failures_.clear();
    stamps_.clear();
    visible_.clear();
    ui_->model->show(&collection_, &keys_, {});
    collection_ = collection::Collection{};
    keys_.clear();
    collection_.complete = false;
    showCards(false, {});
    if (!watcher_->directories().isEmpty()) {
        watcher_->removePaths(watcher_->directories());
    }
    watcher_->addPath(folder_);
    loader_->open(folder_, generation_);
}

void SkinsWindow::onRead(CollectionLoader::Read read) {
    if (read.generation != generation_) {
        return;
    }

    // A card whose files changed has its picture drawn anew.
    const bool sameCards = read.keys == keys_;
    for (auto was = stamps_.cbegin(); was != stamps_.cend(); ++was) {
        if (read.stamps.value(was.key()) != was.value()) {
            pictures_.remove(was.key());
            failures_.remove(was.key());
        }
    }
    // Where the view was, found before the cards it names are replaced.
    const Place was = place();
    // The reading it replaces is let go on the reading thread: freeing 10,000 cards takes a while.
    auto replaced = std::make_shared<CollectionLoader::Read>(
        CollectionLoader::Read{0, std::move(collection_), std::move(keys_), std::move(stamps_)});
    loader_->post([replaced = std::move(replaced)]() mutable { replaced.reset(); });
    stamps_ = std::move(read.stamps);
    collection_ = std::move(read.collection);
    keys_ = std::move(read.keys);
    showCards(sameCards, was);

    emit collectionShown();
}

void SkinsWindow::onPicture(PictureWorkers::Done done) {
    if (done.generation != generation_) {
        return;
    }
    workers_->received(done.key);
    if (stamps_.value(done.key) != done.stamp) {
        return;
    }
    if (done.image.isNull()) {
        failures_.insert(done.key, done.failure);
    } else {
        failures_.remove(done.key);
        pictures_.insert(done.key, new QImage(std::move(done.image)));
    }
    ui_->model->pictureChanged(done.key);
    emit pictureShown(done.key);
}

void SkinsWindow::setView(const collection::ViewState& view) {
    if (view == view_) {
        return;
    }
    const Place was = place();
    view_ = view;
    showCards(false, was);
}

SkinsWindow::Place SkinsWindow::place() const {
    const SkinsList& list = *ui_->list;
    const QModelIndex current = list.currentIndex();
    return {current.isValid() ? ui_->model->keyAt(current.row()) : QString(),
            ui_->model->keyAt(list.rowsInView().first)};
}

void SkinsWindow::showCards(bool sameCards, const Place& place) {
    SkinsList& list = *ui_->list;
    std::vector<qsizetype> visible = collection::visibleCards(collection_, view_);
    if (sameCards && visible == visible_) {
        // The same cards in the same order: the view, its selection and its scrolling stay.
        ui_->model->refresh(&collection_);
    } else {
        visible_ = std::move(visible);
        ui_->model->show(&collection_, &keys_, visible_);
        const int topRow = ui_->model->rowOf(place.top);
        if (topRow >= 0) {
            list.scrollTo(ui_->model->index(topRow), QAbstractItemView::PositionAtTop);
        }
        const int selectedRow = ui_->model->rowOf(place.selected);
        if (selectedRow >= 0) {
            // Back where it was, without telling the main window again.
            restoring_ = true;
            list.setCurrentIndex(ui_->model->index(selectedRow));
            restoring_ = false;
        }
    }
    showCounts();
    askForPictures();
}

void SkinsWindow::showCounts() {
    const collection::ViewCounts counts = collection::viewCounts(collection_, visible_);
    ui_->list->setCounts(static_cast<int>(counts.shown), static_cast<int>(counts.problems));
    QString text = texts::skinsCounts(counts.shown, counts.problems);
    if (!collection_.ok) {
        text = texts::skinsFolderUnreadable(collection_.error);
    } else if (!collection_.complete) {
        text = texts::skinsStillChecking(text);
    }
    ui_->counts->setText(text);
}

// The cards in view first, then those near it, nearest first; none already held.
void SkinsWindow::askForPictures() {
    const auto [first, last] = ui_->list->rowsInView();
    std::vector<PictureJob> jobs;
    if (first >= 0) {
        const int inView = last - first + 1;
        pictures_.setMaxCost(std::max(LeastKept, ViewsKept * inView));
        const int rows = ui_->model->rowCount();
        const auto want = [&](int row) {
            if (row < 0 || row >= rows) {
                return;
            }
            const collection::Card& card = *ui_->model->cardAt(row);
            const QString& key = ui_->model->keyAt(row);
            if (!pictures_.contains(key) && !failures_.contains(key)) {
                jobs.push_back({key, stamps_.value(key), card});
            }
        };
        for (int row = first; row <= last; ++row) {
            want(row);
        }
        for (int step = 1; step <= inView; ++step) {
            want(last + step);
            want(first - step);
        }
    }
    workers_->want(folder_, generation_, std::move(jobs));
}

bool SkinsWindow::picturesInViewReady() const {
    const auto [first, last] = ui_->list->rowsInView();
    for (int row = std::max(0, first); row <= last; ++row) {
        const QString& key = ui_->model->keyAt(row);
        if (!pictures_.contains(key) && !failures_.contains(key)) {
            return false;
        }
    }
    return true;
}

const collection::Card* SkinsWindow::currentCard() const {
    const QModelIndex current = ui_->list->currentIndex();
    return current.isValid() ? ui_->model->cardAt(current.row()) : nullptr;
}

void SkinsWindow::onSelected(int row) {
    if (restoring_) {
        return;
    }
    const collection::Card* card = ui_->model->cardAt(row);
    if (card != nullptr && !card->textures.isEmpty() && hooks_.selectBitmap) {
        hooks_.selectBitmap(folder_, card->textures.first());
    }
}

void SkinsWindow::onActivated(int row) {
    const collection::Card* card = ui_->model->cardAt(row);
    if (card == nullptr || card->cmxFile.isEmpty() || !hooks_.tryOn) {
        return;
    }
    tryon::TryOnRequest request;
    request.cmxPath = platform::joinPath(folder_, card->cmxFile);
    if (!card->textures.isEmpty()) {
        request.texturePath = platform::joinPath(folder_, card->textures.first());
    }
    hooks_.tryOn(request);
}

void SkinsWindow::onMenu(int row, const QPoint& globalPos) {
    const collection::Card* card = ui_->model->cardAt(row);
    ui_->move->setEnabled(card != nullptr);
    menu_->popup(globalPos);
}

// The card's files but those another card still claims go to the problem folder together, as one
// run of the journal.
void SkinsWindow::onMoveToProblemFolder() {
    const collection::Card* card = currentCard();
    if (card == nullptr) {
        return;
    }
    const QStringList names =
        collection::filesToMove(collection_, ui_->model->cardIndexAt(ui_->list->currentIndex().row()));
    if (names.isEmpty()) {
        return;
    }
    journal::Journal* journal = services_.journal;
    if (journal != nullptr) {
        journal->beginRun(texts::skinsMoveToProblemFolder(), folder_);
    }
    QStringList trouble;
    for (const QString& name : names) {
        const QString from = platform::joinPath(folder_, name);
        const QString to = platform::joinPath(services_.programDirectory, name);
        const platform::FileResult moved = journal != nullptr
                                               ? journal->move(from, to, texts::skinsMovedByThePlayer())
                                               : platform::moveFile(from, to);
        if (!moved.ok) {
            trouble.append(texts::couldNotMove(name, texts::fileError(moved.error)));
        }
    }
    if (journal != nullptr) {
        journal->endRun(texts::runMoved(names.size() - trouble.size(), trouble.size()));
    }
    if (!trouble.isEmpty()) {
        services_.messages.show(trouble.join(QLatin1Char('\n')));
    }
    if (hooks_.filesMoved) {
        hooks_.filesMoved();
    }
    loader_->check();
}

void SkinsWindow::onOpenFolder() {
    if (!setup_.openUrl(QUrl::fromLocalFile(folder_))) {
        services_.messages.show(texts::skinsFolderNotOpened(folder_));
    }
}

// The cache's upkeep touches the disk, so it runs on the reading thread.
void SkinsWindow::onCacheLimit(int megabytes) {
    if (setup_.rememberCacheLimit) {
        setup_.rememberCacheLimit(megabytes);
    }
    platform::PictureCache* cache = cache_.get();
    loader_->post([cache, megabytes] { cache->setLimit(megabytes * Megabyte); });
}

void SkinsWindow::onClearCache() {
    platform::PictureCache* cache = cache_.get();
    loader_->post([this, cache] {
        if (!cache->clear()) {
            QMetaObject::invokeMethod(
                this, [this] { services_.messages.show(texts::skinsCacheNotCleared()); },
                Qt::QueuedConnection);
        }
    });
}

SkinsWindow* showSkins(QPointer<SkinsWindow>& open, QWidget* owner, const QString& folder,
                       const Services& services, const SkinsSetup& setup, const SkinsHooks& hooks,
                       const std::function<void(QWidget*)>& showWindow) {
    if (open.isNull()) {
        open = new SkinsWindow(folder, services, setup, hooks, owner);
    } else {
        open->showFolder(folder);
    }
    showWindow(open);
    return open;
}

} // namespace vestimo::gui
