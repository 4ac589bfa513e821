#include "gui/tryon/TryOnWindow.h"

#include "core/FileFilter.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/TryOnWindow.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>

namespace vestimo::gui {

namespace {

constexpr float DegreesPerPixel = 0.5F;
constexpr float ZoomPerStep = 1.15F;
constexpr float LeastZoom = 0.25F;
constexpr float MostZoom = 8.0F;
constexpr int WheelStep = 120; // one notch of a common wheel, in eighths of a degree
// A folder's change is looked at once the writing has settled; files written in place raise none,
// so the shown files are looked at twice a second as well.
constexpr int SettleMs = 100;
constexpr int PollMs = 500;

// The file on disk a shown name stands for: the archive for "archive.far: name".
QString fileOnDisk(const QString& shown) {
    const qsizetype colon = shown.lastIndexOf(QStringLiteral(": "));
    if (colon > 0 && shown.left(colon).endsWith(QStringLiteral(".far"), Qt::CaseInsensitive)) {
        return shown.left(colon);
    }
    return shown;
}

// Every file the scene was made from, once each.
QStringList filesOf(const tryon::TryOnScene& scene) {
    QStringList files;
    const auto add = [&files](const QString& shown) {
        if (!shown.isEmpty() && !files.contains(fileOnDisk(shown))) {
            files.append(fileOnDisk(shown));
        }
    };
    add(scene.skeletonFile);
    for (const tryon::TryOnPiece& piece : scene.pieces) {
        add(piece.cmxFile);
        add(piece.meshFile);
        add(piece.textureFile);
    }
    return files;
}

std::vector<std::optional<platform::FileIdentity>> stampsOf(const QStringList& files) {
    std::vector<std::optional<platform::FileIdentity>> stamps;
    stamps.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        stamps.push_back(platform::identifyFile(file));
    }
    return stamps;
}

QString filesText(const tryon::TryOnScene& scene) {
    QStringList lines;
    if (!scene.drawable) {
        lines.append(texts::tryOnNotDrawn(scene.failure));
    }
    if (!scene.rule.isEmpty()) {
        lines.append(scene.rule);
    }
    if (!scene.skeletonFile.isEmpty()) {
        lines.append(texts::tryOnSkeletonLine(scene.skeletonFile));
    }
    for (const tryon::TryOnPiece& piece : scene.pieces) {
        lines.append(piece.textureFile.isEmpty()
                         ? texts::tryOnUntexturedPieceLine(piece.cmxFile, piece.meshFile)
                         : texts::tryOnPieceLine(piece.cmxFile, piece.meshFile, piece.textureFile));
    }
    for (const QString& missing : scene.missing) {
        lines.append(texts::tryOnMissingLine(missing));
    }
    return lines.join(u'\n');
}

QString defaultSaveChooser(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, texts::tryOnSaveDialogTitle(), suggested,
                                        texts::tryOnSaveDialogFilter());
}

} // namespace

TryOnBuilder defaultTryOnBuilder(std::vector<core::games::GameInstall> installs) {
    return [installs = std::move(installs)](const tryon::TryOnRequest& request) {
        return tryon::buildTryOnScene(request,
                                      tryon::placesFor(QFileInfo(request.cmxPath).absolutePath(), installs));
    };
}

const QStringList& FolderCmxFiles::in(const QString& folder) {
    const std::optional<platform::FileIdentity> identity = platform::identifyFile(folder);
    if (folder != folder_ || !identity || identity != identity_) {
        folder_ = folder;
        identity_ = identity;
        names_ = platform::listFiles(folder, patternOf(FileFilter::CmxFiles)).names;
    }
    return names_;
}

tryon::TryOnRequest tryOnRequest(const QString& folder, const textures::SkinToTry& skin) {
    tryon::TryOnRequest request;
    request.cmxPath = platform::joinPath(folder, skin.cmxName);
    if (!skin.bitmapName.isEmpty()) {
        request.texturePath = platform::joinPath(folder, skin.bitmapName);
    }
    return request;
}

// ---- the view

TryOnView::TryOnView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 320);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::ClickFocus);
    setToolTip(texts::tryOnHowToTurn());
}

void TryOnView::setScene(std::vector<platform::render::SceneMesh> meshes) {
    meshes_ = std::move(meshes);
    redraw();
}

void TryOnView::setNote(const QString& note) {
    note_ = note;
    update();
}

void TryOnView::reset() {
    view_.turnDegrees = 0;
    view_.zoom = 1;
    view_.panX = 0;
    view_.panY = 0;
    redraw();
}

void TryOnView::redraw() {
    view_.width = std::max(1, width());
    view_.height = std::max(1, height());
    error_ = renderer_.draw(meshes_, view_);
    update();
}

void TryOnView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(platform::render::BackgroundColour));
    painter.drawImage(0, 0, renderer_.picture());
    QString shown = note_;
    if (error_ != platform::render::RenderError::None) {
        shown += (shown.isEmpty() ? QString() : QStringLiteral("\n")) + texts::renderError(error_);
    }
    if (!shown.isEmpty()) {
        const QRect box = rect().adjusted(8, 8, -8, -8);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, shown);
    }
}

void TryOnView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    redraw();
}

void TryOnView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position().toPoint();
    }
}

void TryOnView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QPoint at = event->position().toPoint();
    view_.turnDegrees =
        std::fmod(view_.turnDegrees + static_cast<float>(at.x() - dragFrom_->x()) * DegreesPerPixel, 360.0F);
    dragFrom_ = at;
    redraw();
}

void TryOnView::mouseReleaseEvent(QMouseEvent* /*event*/) {
    dragFrom_.reset();
}

void TryOnView::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    reset();
}

void TryOnView::wheelEvent(QWheelEvent* event) {
    const float steps = static_cast<float>(event->angleDelta().y()) / WheelStep;
    if (steps == 0) {
        return;
    }
    view_.zoom = std::clamp(view_.zoom * std::pow(ZoomPerStep, steps), LeastZoom, MostZoom);
    redraw();
    event->accept();
}

// ---- the window

struct TryOnWindow::Ui {
    TryOnView* view = nullptr;
    QLabel* files = nullptr;
    std::array<QPushButton*, 3> tones{};
    QListWidget* textures = nullptr;
    QComboBox* heads = nullptr;
    QPushButton* save = nullptr;
};

// One build on the worker: what it was asked, and what it made.
struct TryOnWindow::Build {
    tryon::TryOnRequest request;
    bool force = false;
    QStringList files; // as last built, with their stamps; after a build, the new scene's
    std::vector<std::optional<platform::FileIdentity>> stamps;
    bool built = false;
    tryon::TryOnScene scene;
};

namespace {

// The tones' names in the files, in the order of their buttons.
const std::array<QString, 3>& toneNames() {
    static const std::array<QString, 3> names = {QStringLiteral("lgt"), QStringLiteral("med"),
                                                 QStringLiteral("drk")};
    return names;
}

} // namespace

TryOnWindow::TryOnWindow(tryon::TryOnRequest request, TryOnBuilder builder, MessageBoxes& messages,
                         QWidget* owner)
    : QWidget(owner, Qt::Window), ui_(std::make_unique<Ui>()), request_(std::move(request)),
      builder_(std::move(builder)), messages_(messages), chooseSave_(defaultSaveChooser) {
    setObjectName(QStringLiteral("frmTryOn"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    build();
    assignMnemonics(this);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(SettleMs);
    poll_ = new QTimer(this);
    poll_->setInterval(PollMs);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, [this] { startBuild(false); });
    connect(poll_, &QTimer::timeout, this, [this] { startBuild(false); });
    poll_->start();
    showRequest(request_);
}

TryOnWindow::~TryOnWindow() {
    if (worker_ != nullptr) {
        // The build reads only; it ends on its own, and its result goes nowhere.
        worker_->wait();
    }
}

void TryOnWindow::build() {
    Ui& ui = *ui_;
    ui.view = named(new TryOnView(this), "viewTryOn");
    ui.files = named(new QLabel(this), "lblTryOnFiles");
    ui.files->setWordWrap(true);
    ui.files->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* hint = new QLabel(texts::tryOnHowToTurn(), this);
    hint->setWordWrap(true);
    const std::array<QString, 3> captions = {texts::tryOnToneLight(), texts::tryOnToneMedium(),
                                             texts::tryOnToneDark()};
    const std::array<const char*, 3> names = {"cmdToneLgt", "cmdToneMed", "cmdToneDrk"};
    auto* side = new QVBoxLayout;
    for (std::size_t k = 0; k < ui.tones.size(); ++k) {
        ui.tones[k] = button(this, names[k], captions[k]);
        ui.tones[k]->setVisible(false);
        side->addWidget(ui.tones[k]);
        connect(ui.tones[k], &QPushButton::clicked, this, [this, k] { onToneClicked(toneNames()[k]); });
    }
    side->addWidget(new QLabel(texts::tryOnTexturesLabel(), this));
    ui.textures = named(new QListWidget(this), "lstTryOnTextures");
    side->addWidget(ui.textures, 1);
    side->addWidget(new QLabel(texts::tryOnHeadLabel(), this));
    ui.heads = named(new QComboBox(this), "cboTryOnHead");
    side->addWidget(ui.heads);
    ui.save = button(this, "cmdSaveTryOn", texts::tryOnSavePicture());
    side->addWidget(ui.save);
    auto* picture = new QVBoxLayout;
    picture->addWidget(ui.view, 1);
    picture->addWidget(ui.files);
    picture->addWidget(hint);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(picture, 1);
    layout->addLayout(side);

    const auto chooseTexture = [this](const QListWidgetItem* item) {
        showTexture(item->data(Qt::UserRole).toString());
    };
    connect(ui.textures, &QListWidget::itemClicked, this, chooseTexture);
    connect(ui.textures, &QListWidget::itemActivated, this, chooseTexture);
    connect(ui.heads, &QComboBox::activated, this, &TryOnWindow::onHeadChosen);
    connect(ui.save, &QPushButton::clicked, this, &TryOnWindow::onSaveClicked);
}

void TryOnWindow::showRequest(tryon::TryOnRequest request) {
    request_ = std::move(request);
    setWindowTitle(texts::tryOnTitle(QFileInfo(request_.cmxPath).fileName()));
    if (shownFiles_.isEmpty()) {
        ui_->view->setNote(texts::tryOnBuilding());
    }
    startBuild(true);
}

void TryOnWindow::showTexture(const QString& path) {
    if (path == request_.texturePath) {
        return;
    }
    tryon::TryOnRequest next = request_;
    next.texturePath = path;
    showRequest(std::move(next));
}

void TryOnWindow::startBuild(bool force) {
    if (worker_ != nullptr) {
        pending_ = true;
        pendingForce_ = pendingForce_ || force;
        return;
    }
    auto job = std::make_shared<Build>();
    job->request = request_;
    job->force = force;
    job->files = shownFiles_;
    job->stamps = stamps_;
    worker_ = QThread::create([job, builder = builder_] {
        if (!job->force && stampsOf(job->files) == job->stamps) {
            return;
        }
        job->scene = builder(job->request);
        job->built = true;
        job->files = filesOf(job->scene);
        job->stamps = stampsOf(job->files);
    });
    worker_->setParent(this);
    connect(worker_, &QThread::finished, this, [this, job] { onBuilt(*job); });
    worker_->start();
}

void TryOnWindow::onBuilt(const Build& done) {
    worker_->deleteLater();
    worker_ = nullptr;
    if (pending_) {
        // What was built is already out of date: build what is asked for now instead.
        const bool force = pendingForce_ || done.built;
        pending_ = false;
        pendingForce_ = false;
        startBuild(force);
        return;
    }
    if (!done.built) {
        return;
    }
    shownFiles_ = done.files;
    stamps_ = done.stamps;
    watchFolders(shownFiles_);
    showScene(done.scene);
    emit sceneShown();
}

void TryOnWindow::showScene(const tryon::TryOnScene& scene) {
    Ui& ui = *ui_;
    ui.view->setNote(scene.drawable ? QString() : texts::tryOnNotDrawn(scene.failure));
    ui.view->setScene(scene.sceneMeshes());
    ui.files->setText(filesText(scene));
    for (std::size_t k = 0; k < ui.tones.size(); ++k) {
        ui.tones[k]->setVisible(scene.tones.contains(toneNames()[k]));
    }
    QString worn;
    for (const tryon::TryOnPiece& piece : scene.pieces) {
        if (piece.role == tryon::TryOnPiece::Role::Skin) {
            worn = piece.textureFile;
            break;
        }
    }
    {
        const QSignalBlocker quiet(ui.textures);
        ui.textures->clear();
        for (const QString& texture : scene.textures) {
            auto* item = new QListWidgetItem(QFileInfo(texture).fileName(), ui.textures);
            item->setData(Qt::UserRole, texture);
            item->setToolTip(texture);
            if (texture == worn) {
                ui.textures->setCurrentItem(item);
            }
        }
    }
    const QSignalBlocker quiet(ui.heads);
    ui.heads->clear();
    ui.heads->addItem(texts::tryOnRulesHead(), QString());
    for (const QString& head : scene.heads) {
        ui.heads->addItem(head, head);
    }
    ui.heads->setCurrentIndex(std::max(0, ui.heads->findData(request_.head)));
}

void TryOnWindow::watchFolders(const QStringList& files) {
    QStringList folders;
    for (const QString& file : files) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!folders.contains(folder)) {
            folders.append(folder);
        }
    }
    const QStringList watched = watcher_->directories();
    for (const QString& folder : watched) {
        if (!folders.contains(folder)) {
            watcher_->removePath(folder);
        }
    }
    for (const QString& folder : folders) {
        if (!watched.contains(folder)) {
            // A folder that cannot be watched is still looked at by the timer.
            watcher_->addPath(folder);
        }
    }
}

void TryOnWindow::onToneClicked(const QString& tone) {
    tryon::TryOnRequest next = request_;
    next.tone = tone;
    next.texturePath.clear();
    showRequest(std::move(next));
}

void TryOnWindow::onHeadChosen(int index) {
    tryon::TryOnRequest next = request_;
    next.head = ui_->heads->itemData(index).toString();
    if (next.head != request_.head) {
        showRequest(std::move(next));
    }
}

void TryOnWindow::onSaveClicked() {
    const QImage& picture = ui_->view->picture();
    if (picture.isNull()) {
        messages_.show(texts::tryOnNothingToSave());
        return;
    }
    const QFileInfo skin(request_.cmxPath);
    QString path = chooseSave_(
        this, platform::joinPath(skin.absolutePath(), texts::tryOnPictureName(skin.completeBaseName())));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".png");
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        messages_.show(texts::tryOnPictureNotSaved(path, texts::tryOnPictureNotEncoded()));
        return;
    }
    const platform::FileResult written = platform::saveFile(path, bytes);
    if (!written.ok) {
        messages_.show(texts::tryOnPictureNotSaved(path, texts::fileError(written.error)));
    }
}

TryOnWindow* showTryOn(QPointer<TryOnWindow>& open, QWidget* owner, const tryon::TryOnRequest& request,
                       const TryOnBuilder& builder, MessageBoxes& messages,
                       const std::function<void(QWidget*)>& showWindow) {
    if (open.isNull()) {
        open = new TryOnWindow(request, builder, messages, owner);
    } else if (open->request().cmxPath != request.cmxPath ||
               open->request().texturePath != request.texturePath) {
        open->showRequest(request);
    }
    showWindow(open);
    return open;
}

} // namespace vestimo::gui
