#include "gui/buyable/BuyableMakerWindow.h"

#include "core/buyable/ExportWriter.h"
#include "core/buyable/SkinsBuy.h"
#include "core/catalogue/Buyable.h"
#include "core/catalogue/Common.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/catalogue/TryOnWindow.h"
#include "core/catalogue/Windows.h"
#include "core/journal/Journal.h"
#include "gui/app/Application.h"
#include "gui/app/CloseBox.h"
#include "gui/app/WidgetNames.h"
#include "gui/browser/BrowserColumn.h"
#include "gui/browser/FileList.h"
#include "gui/install/InstallCommand.h"
#include "gui/tryon/TryOnWindow.h"
#include "gui/widgets/FittingSplitter.h"
#include "gui/widgets/PictureBox.h"
#include "platform/FileSystem.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <array>

namespace vestimo::gui {

using buyable::BuyableStep;
using buyable::Category;

namespace {

QRadioButton* categoryButton(QWidget* parent, const char* name, const QString& caption) {
    return named(new RadioButton(caption, parent), name);
}

// Display only: the program writes the names, the user reads them.
QLineEdit* nameBox(QWidget* parent, const char* name) {
    auto* box = named(new QLineEdit(parent), name);
    box->setEnabled(false);
    return box;
}

// What a file list's pattern shows, or none for a pattern this window never sets. Compared as
// text, exactly.
std::optional<FileFilter> listingOf(const QString& pattern) {
    for (const FileFilter filter : {FileFilter::Bitmaps, FileFilter::CmxFiles}) {
        if (pattern == patternOf(filter)) {
            return filter;
        }
    }
    return std::nullopt;
}

// The shop categories, in the order of their buttons.
constexpr std::array<Category, 5> Categories = {Category::Formal, Category::Swimwear, Category::Sleepwear,
                                                Category::Winterwear, Category::HighFashion};

} // namespace

// The window's controls, by the names the program has always given them.
struct BuyableMakerWindow::Ui {
    BrowserColumn* column = nullptr;
    QPushButton* loadBmpButton = nullptr;
    QPushButton* closeFileButton = nullptr;

    QGroupBox* viewerFrame = nullptr;
    PictureBox* viewer = nullptr;
    QLabel* bitmapInfo = nullptr;

    QGroupBox* exportFrame = nullptr;
    QRadioButton* formalButton = nullptr;
    QRadioButton* swimwearButton = nullptr;
    QRadioButton* sleepwearButton = nullptr;
    QRadioButton* winterwearButton = nullptr;
    QRadioButton* highFashionButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* loadCmxButton = nullptr;
    QLineEdit* bitmapNameBox = nullptr;
    QLineEdit* meshNameBox = nullptr;
    QLineEdit* cmxNameBox = nullptr;
    QPushButton* closeProgramButton = nullptr;
    QPushButton* aboutButton = nullptr;
    QPushButton* tryOnButton = nullptr;

    // In the order of Categories.
    std::array<QRadioButton*, 5> categoryButtons() const {
        return {formalButton, swimwearButton, sleepwearButton, winterwearButton, highFashionButton};
    }
};

BuyableMakerWindow::BuyableMakerWindow(Application& app)
    : app_(app), services_(app.services()), ui_(std::make_unique<Ui>()) {
    setObjectName(QStringLiteral("frmBuyableSkins"));
    setWindowIcon(applicationIcon());
    build();
    render(ListReading::Keep);
    closeThrough(this, ui_->closeProgramButton, [this] { onCloseRefused(); });
    assignMnemonics(this);
    captionAfterMnemonics(this, ui_->tryOnButton, texts::tryOnButton());
    // The window has no bar of its own: the message at the end tells what came of a drop.
    ui_->column->takeDropsFor(this);
    connect(ui_->column, &BrowserColumn::downloadsDropped, this, [this](const QStringList& paths) {
        app_.installCommand().install(paths, ui_->column->installSite(nullptr));
    });
}

BuyableMakerWindow::~BuyableMakerWindow() {
    // The column's lists empty themselves as the controls are destroyed, after this window has
    // stopped being one.
    disconnect(ui_->column, nullptr, this, nullptr);
}

void BuyableMakerWindow::build() {
    Ui& ui = *ui_;
    ui.column = new BrowserColumn(
        this, texts::switchToSkinEditing(), services_.messages, services_.gameFolders,
        [this](QWidget* parent, const QString& start) { return app_.chooseDirectory(parent, start); });
    ui.column->addDefaultButton();
    ui.loadBmpButton = button(ui.column, "cmdLoadFile", texts::loadBmpFileToChange());
    ui.closeFileButton = button(ui.column, "cmdCloseFile", texts::closeOpenFile());
    keepPlaceWhenHidden(ui.closeFileButton);
    ui.column->addControl(ui.loadBmpButton);
    ui.column->addControl(ui.closeFileButton);

    ui.viewerFrame = named(new QGroupBox(texts::bmpImageViewerFrame(), this), "Frame2");
    ui.viewer = named(new PictureBox(ui.viewerFrame), "Picture1");
    ui.bitmapInfo = named(new QLabel(ui.viewerFrame), "lblBitmapInfo");
    ui.viewer->setInfoLine(ui.bitmapInfo);
    auto* viewerLayout = new QVBoxLayout(ui.viewerFrame);
    viewerLayout->addWidget(ui.viewer, 1);
    viewerLayout->addWidget(ui.bitmapInfo);

    ui.exportFrame = named(new QGroupBox(texts::exportAsBuyableFrame(), this), "Frame3");
    ui.formalButton = categoryButton(ui.exportFrame, "Option2", texts::formal());
    ui.swimwearButton = categoryButton(ui.exportFrame, "Option3", texts::swimwear());
    ui.sleepwearButton = categoryButton(ui.exportFrame, "Option4", texts::sleepwear());
    ui.winterwearButton = categoryButton(ui.exportFrame, "Option5", texts::winterwear());
    ui.highFashionButton = categoryButton(ui.exportFrame, "Option6", texts::highFashion());
    ui.exportButton = button(ui.exportFrame, "cmdExport", texts::exportAsBuyable());
    ui.loadCmxButton = button(ui.exportFrame, "cmdLoadCMX", texts::loadCmxFile());
    ui.bitmapNameBox = nameBox(ui.exportFrame, "Text1");
    ui.meshNameBox = nameBox(ui.exportFrame, "Text2");
    ui.cmxNameBox = nameBox(ui.exportFrame, "Text3");
    ui.closeProgramButton = button(ui.exportFrame, "cmdClose", texts::closeThisProgram());
    ui.aboutButton = button(ui.exportFrame, "cmdAbout", texts::aboutButton());
    // Captioned once the others have their Alt+letters, so they keep the ones they always had.
    ui.tryOnButton = button(ui.exportFrame, "cmdTryOn", QString());
    auto* categories = new QHBoxLayout;
    for (QRadioButton* option : ui.categoryButtons()) {
        categories->addWidget(option);
    }
    categories->addStretch();
    auto* names = new QVBoxLayout;
    names->addWidget(ui.bitmapNameBox);
    names->addWidget(ui.meshNameBox);
    names->addWidget(ui.cmxNameBox);
    auto* commands = new QVBoxLayout;
    commands->addWidget(ui.exportButton);
    commands->addWidget(ui.loadCmxButton);
    commands->addWidget(ui.tryOnButton);
    commands->addWidget(ui.closeProgramButton);
    commands->addWidget(ui.aboutButton);
    auto* row = new QHBoxLayout;
    row->addLayout(names, 1);
    row->addLayout(commands);
    auto* exportLayout = new QVBoxLayout(ui.exportFrame);
    exportLayout->addLayout(categories);
    exportLayout->addLayout(row);

    // Tab goes as the eye does: the categories, the names, then the buttons beside them.
    QWidget::setTabOrder(ui.highFashionButton, ui.bitmapNameBox);
    QWidget::setTabOrder(ui.bitmapNameBox, ui.meshNameBox);
    QWidget::setTabOrder(ui.meshNameBox, ui.cmxNameBox);
    QWidget::setTabOrder(ui.cmxNameBox, ui.exportButton);
    QWidget::setTabOrder(ui.exportButton, ui.loadCmxButton);
    QWidget::setTabOrder(ui.loadCmxButton, ui.tryOnButton);
    QWidget::setTabOrder(ui.tryOnButton, ui.closeProgramButton);
    QWidget::setTabOrder(ui.closeProgramButton, ui.aboutButton);

    // The browser on the left, the full height; the picture and the export commands beside it.
    // Where room is short the picture gives up room first; room to spare goes to it.
    scrollingContent(this, browserBesideViewer(ui.column, ui.viewerFrame, ui.exportFrame, 0, false));

    connect(ui.column, &BrowserColumn::switchClicked, this, [this] { app_.switchToSkinEdit(); });
    connect(ui.column, &BrowserColumn::directoryChanged, ui.viewer, [this] { ui_->viewer->clear(); });
    connect(ui.column, &BrowserColumn::fileClicked, this, &BuyableMakerWindow::onFileClicked);
    connect(ui.loadBmpButton, &QPushButton::clicked, this, &BuyableMakerWindow::onLoadBmpClicked);
    connect(ui.loadCmxButton, &QPushButton::clicked, this, &BuyableMakerWindow::onLoadCmxClicked);
    connect(ui.closeFileButton, &QPushButton::clicked, this, &BuyableMakerWindow::onCloseFileClicked);
    for (std::size_t k = 0; k < Categories.size(); ++k) {
        connect(ui.categoryButtons()[k], &QRadioButton::clicked, this,
                [this, category = Categories[k]] { onCategoryClicked(category); });
    }
    connect(ui.exportButton, &QPushButton::clicked, this, &BuyableMakerWindow::onExportClicked);
    connect(ui.closeProgramButton, &QPushButton::clicked, this, &BuyableMakerWindow::onCloseProgramClicked);
    connect(ui.aboutButton, &QPushButton::clicked, this, [this] { app_.showAbout(); });
    connect(ui.tryOnButton, &QPushButton::clicked, this, &BuyableMakerWindow::onTryOnClicked);
    ui.column->startAt(platform::currentDirectory());
}

void BuyableMakerWindow::render(ListReading reading) {
    const buyable::BuyableDraft& draft = draft_;
    FileList& files = ui_->column->files();
    setUserInteractionLock(draft.step != BuyableStep::Browsing);
    files.setEnabled(draft.step == BuyableStep::Browsing || draft.step == BuyableStep::PickingCmx);
    ui_->loadCmxButton->setEnabled(draft.step != BuyableStep::Browsing);
    // A picked CMX file makes the skin exportable, also while another CMX file is being chosen.
    // The draft says which category button shows chosen.
    for (std::size_t k = 0; k < Categories.size(); ++k) {
        QRadioButton* option = ui_->categoryButtons()[k];
        option->setEnabled(draft.hasCmx());
        const bool chosen = draft.categoryButton == Categories[k];
        if (option->isChecked() != chosen) {
            // An exclusive button cannot be unchecked on its own.
            option->setAutoExclusive(false);
            option->setChecked(chosen);
            option->setAutoExclusive(true);
        }
    }
    ui_->exportButton->setEnabled(draft.hasCmx());
    ui_->tryOnButton->setEnabled(draft.hasBitmap() &&
                                 buyable::tryOnTarget(draft, cmxFiles_.in(ui_->column->folder())));
    ui_->bitmapNameBox->setText(buyable::bitmapBoxText(draft));
    ui_->meshNameBox->setText(buyable::meshBoxText(draft));
    ui_->cmxNameBox->setText(buyable::cmxBoxText(draft));
    if (reading == ListReading::Reread) {
        // Back to browsing, nothing is selected: the viewer shows nothing. While a skin is loaded
        // it keeps showing the skin's bitmap.
        if (draft.step == BuyableStep::Browsing) {
            ui_->viewer->clear();
        }
        // A listing made here is not the user's click.
        const QSignalBlocker quiet(files);
        files.rereadWith(patternOf(draft.listing()));
    }
}

void BuyableMakerWindow::setUserInteractionLock(bool locked) {
    ui_->closeFileButton->setVisible(locked);
    ui_->closeProgramButton->setEnabled(!locked);
    ui_->column->setUserInteractionLock(locked);
    ui_->loadBmpButton->setEnabled(!locked);
}

void BuyableMakerWindow::apply(const buyable::DraftChange& change, ListReading reading) {
    if (change.isRefused()) {
        services_.messages.show(change.message);
        return;
    }
    draft_ = *change.draft;
    render(reading);
}

void BuyableMakerWindow::onCloseProgramClicked() {
    app_.closeProgramAsked();
}
// The button stays disabled while a skin is being made; a close request asks instead.
void BuyableMakerWindow::onCloseRefused() {
    if (services_.messages.ask(texts::closeWithSkinNotExported(draft_.bitmapName))) {
        app_.closeProgramAsked();
    }
}

void BuyableMakerWindow::onFileClicked() {
    // A selection cleared from outside also raises the click; nothing was clicked then.
    if (ui_->column->files().listIndex() == -1) {
        return;
    }
    const QString name = ui_->column->files().fileName();
    const buyable::FileClick click =
        buyable::clickFile(draft_, listingOf(ui_->column->files().pattern()), name);
    if (click.previewBitmap) {
        // A bitmap that does not decode gets no message box and leaves the last picture shown; the
        // line under the viewer says why.
        showBitmap(name);
        return;
    }
    apply(click.change, ListReading::Keep);
}

void BuyableMakerWindow::onLoadBmpClicked() {
    const QString name = ui_->column->files().fileName();
    const buyable::DraftChange change = buyable::loadBitmap(draft_, name);
    if (!change.isRefused() && *change.draft != draft_) {
        // The export copies the loaded bitmap, so it must be this one and not one shown before.
        QString why;
        if (!showBitmap(name, &why)) {
            services_.messages.show(texts::bitmapCannotBeShown(name, why));
            return;
        }
        loadedBitmap_ = ui_->viewer->fileBytes();
    }
    apply(change, ListReading::Keep);
}

bool BuyableMakerWindow::showBitmap(const QString& name, QString* error) {
    QString why;
    if (!ui_->viewer->loadFile(platform::joinPath(ui_->column->folder(), name), &why)) {
        // The last picture stays (the export copies only a loaded bitmap); the line says why.
        ui_->viewer->showNote(texts::bitmapNotShown(name, why));
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }
    return true;
}

void BuyableMakerWindow::onLoadCmxClicked() {
    apply(buyable::loadCmxFile(draft_), ListReading::Reread);
}

void BuyableMakerWindow::onCloseFileClicked() {
    draft_ = buyable::closeOpenFile(draft_);
    render(ListReading::Reread);
}

void BuyableMakerWindow::onCategoryClicked(Category category) {
    draft_ = buyable::chooseCategory(draft_, category);
    render(ListReading::Keep);
}

void BuyableMakerWindow::onExportClicked() {
    const buyable::ExportDecision decision = buyable::planExport(draft_);
    if (!decision.plan) {
        services_.messages.show(decision.message);
        return;
    }
    const QString failure =
        buyable::writeExport(ui_->column->folder(), *decision.plan, loadedBitmap_, services_.journal);
    if (!failure.isEmpty()) {
        // The draft stays as it was, so the user can pick another category and retry.
        services_.messages.show(failure);
        return;
    }
    // The message is the same either way; its details say when the journal could not keep it.
    const QString unrecorded = services_.journal != nullptr ? services_.journal->problem() : QString();
    const QString directory = ui_->column->folder();
    const QString skinsBuy = core::games::skinsBuyOf(services_.installs, directory);
    if (skinsBuy.isEmpty() || !unrecorded.isEmpty()) {
        services_.messages.show(texts::successfullyExported(),
                                unrecorded.isEmpty() ? QString() : texts::exportNotRecorded(unrecorded));
    } else if (services_.messages.offer(texts::successfullyExported() + u' ' +
                                            texts::gameReadsBuyableFrom(skinsBuy),
                                        texts::putThemInSkinsBuy())) {
        services_.messages.show(
            buyable::moveIntoSkinsBuy(directory, *decision.plan, skinsBuy, services_.journal));
    }
    onCloseFileClicked();
}

void BuyableMakerWindow::onTryOnClicked() {
    const QString folder = ui_->column->folder();
    const std::optional<textures::SkinToTry> target = buyable::tryOnTarget(draft_, cmxFiles_.in(folder));
    if (!target) {
        return;
    }
    showTryOn(tryOn_, this, tryOnRequest(folder, *target), app_.tryOnBuilder(), services_.messages,
              [this](QWidget* window) { app_.showWindow(window); });
}

} // namespace vestimo::gui
