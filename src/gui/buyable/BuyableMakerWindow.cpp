#include "gui/buyable/BuyableMakerWindow.h"

#include "core/buyable/ExportWriter.h"
#include "core/buyable/SkinsBuy.h"
#include "core/catalogue/Buyable.h"
#include "core/catalogue/Common.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/catalogue/Windows.h"
#include "core/journal/Journal.h"
#include "gui/app/Application.h"
#include "gui/app/CloseBox.h"
#include "gui/app/WidgetNames.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/browser/GameFoldersBox.h"
#include "gui/install/InstallCommand.h"
#include "gui/widgets/FittingSplitter.h"
#include "gui/widgets/PictureBox.h"
#include "platform/FileSystem.h"

#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

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

} // namespace

BuyableMakerWindow::BuyableMakerWindow(Application& app) : m_app(app), m_services(app.services()) {
    setObjectName(QStringLiteral("frmBuyableSkins"));
    setWindowIcon(applicationIcon());
    build();
    render(ListReading::Keep);
    closeThrough(this, m_ui.closeProgramButton, [this] { onCloseRefused(); });
    assignMnemonics(this);
    setAcceptDrops(true);
}

BuyableMakerWindow::~BuyableMakerWindow() = default;

void BuyableMakerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (InstallCommand::accepts(event->mimeData())) {
        event->acceptProposedAction();
    }
}

// The window has no bar of its own: the message at the end tells what came of it.
void BuyableMakerWindow::dropEvent(QDropEvent* event) {
    const QStringList dropped = InstallCommand::droppedPaths(event->mimeData());
    if (dropped.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    m_app.installCommand().install(dropped, {this, m_ui.browser.directoryList->path(), nullptr,
                                             m_ui.browser.fileList, m_ui.browser.gamesBox->shownPath()});
}

void BuyableMakerWindow::build() {
    Ui& ui = m_ui;
    ui.browser = buildBrowserControls(this, texts::switchToSkinEditing(), m_services.gameFolders);
    ui.defaultDirectoryButton = button(ui.browser.frame, "cmdDefault", texts::setToDefaultGameDirectory());
    ui.loadBmpButton = button(ui.browser.frame, "cmdLoadFile", texts::loadBmpFileToChange());
    ui.closeFileButton = button(ui.browser.frame, "cmdCloseFile", texts::closeOpenFile());
    keepPlaceWhenHidden(ui.closeFileButton);
    QVBoxLayout* browserLayout = ui.browser.layout;
    browserLayout->addWidget(ui.defaultDirectoryButton);
    browserLayout->addWidget(ui.loadBmpButton);
    browserLayout->addWidget(ui.closeFileButton);

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
    QWidget::setTabOrder(ui.loadCmxButton, ui.closeProgramButton);
    QWidget::setTabOrder(ui.closeProgramButton, ui.aboutButton);

    // The browser on the left, the full height; the picture and the export commands beside it.
    // Where room is short the picture gives up room first; room to spare goes to it.
    scrollingContent(this, browserBesideViewer(ui.browser.frame, ui.viewerFrame, ui.exportFrame, 0, false));

    connect(ui.browser.switchButton, &QPushButton::clicked, this, &BuyableMakerWindow::onSwitchClicked);
    connect(ui.browser.driveList, &DriveList::driveChanged, this, &BuyableMakerWindow::onDriveChanged);
    connect(ui.browser.directoryList, &DirList::pathChanged, this, &BuyableMakerWindow::onDirectoryChanged);
    connect(ui.browser.fileList, &FileList::fileClicked, this, &BuyableMakerWindow::onFileClicked);
    connect(ui.defaultDirectoryButton, &QPushButton::clicked, this,
            &BuyableMakerWindow::onDefaultDirectoryClicked);
    connect(ui.loadBmpButton, &QPushButton::clicked, this, &BuyableMakerWindow::onLoadBmpClicked);
    connect(ui.loadCmxButton, &QPushButton::clicked, this, &BuyableMakerWindow::onLoadCmxClicked);
    connect(ui.closeFileButton, &QPushButton::clicked, this, &BuyableMakerWindow::onCloseFileClicked);
    const std::array<Category, 5> letters = {Category::Formal, Category::Swimwear, Category::Sleepwear,
                                             Category::Winterwear, Category::HighFashion};
    for (std::size_t k = 0; k < letters.size(); ++k) {
        connect(ui.categoryButtons()[k], &QRadioButton::clicked, this,
                [this, category = letters[k]] { onCategoryClicked(category); });
    }
    connect(ui.exportButton, &QPushButton::clicked, this, &BuyableMakerWindow::onExportClicked);
    connect(ui.closeProgramButton, &QPushButton::clicked, this, &BuyableMakerWindow::onCloseProgramClicked);
    connect(ui.aboutButton, &QPushButton::clicked, this, [this] { m_app.showAbout(); });
    connect(ui.browser.browseButton, &QPushButton::clicked, this, &BuyableMakerWindow::onBrowseClicked);
    connect(ui.browser.gamesBox, &GameFoldersBox::folderChosen, this,
            [this](const QString& folder) { m_browser->goTo(folder); });

    m_browser =
        std::make_unique<Browser>(Browser{ui.browser.driveList, ui.browser.directoryList, ui.browser.fileList,
                                          m_services.messages, m_services.gameFolders, ui.browser.gamesBox});
    m_browser->startAt(platform::currentDirectory());
    showDirectory(*this, *ui.browser.pathLine, ui.browser.directoryList->path());
}

void BuyableMakerWindow::render(ListReading reading) {
    const buyable::BuyableDraft& draft = m_draft;
    setUserInteractionLock(draft.step != BuyableStep::Browsing);
    m_ui.browser.fileList->setEnabled(draft.step == BuyableStep::Browsing ||
                                      draft.step == BuyableStep::PickingCmx);
    m_ui.loadCmxButton->setEnabled(draft.step != BuyableStep::Browsing);
    // A picked CMX file makes the skin exportable, also while another CMX file is being chosen.
    for (QRadioButton* category : m_ui.categoryButtons()) {
        category->setEnabled(draft.hasCmx());
    }
    m_ui.exportButton->setEnabled(draft.hasCmx());
    m_ui.bitmapNameBox->setText(buyable::bitmapBoxText(draft));
    m_ui.meshNameBox->setText(buyable::meshBoxText(draft));
    m_ui.cmxNameBox->setText(buyable::cmxBoxText(draft));
    if (reading == ListReading::Reread) {
        // Back to browsing, nothing is selected: the viewer shows nothing. While a skin is loaded
        // it keeps showing the skin's bitmap.
        if (draft.step == BuyableStep::Browsing) {
            m_ui.viewer->clear();
        }
        // A listing made here is not the user's click.
        const QSignalBlocker quiet(m_ui.browser.fileList);
        m_ui.browser.fileList->rereadWith(patternOf(draft.listing()));
    }
}

void BuyableMakerWindow::setUserInteractionLock(bool locked) {
    m_ui.closeFileButton->setVisible(locked);
    m_ui.closeProgramButton->setEnabled(!locked);
    m_ui.browser.directoryList->setEnabled(!locked);
    m_ui.browser.driveList->setEnabled(!locked);
    m_ui.browser.browseButton->setEnabled(!locked);
    m_ui.browser.gamesBox->setUserInteractionLock(locked);
    m_ui.loadBmpButton->setEnabled(!locked);
}

void BuyableMakerWindow::apply(const buyable::DraftChange& change, ListReading reading) {
    if (change.isRefused()) {
        m_services.messages.show(change.message);
        return;
    }
    m_draft = *change.draft;
    render(reading);
}

void BuyableMakerWindow::onSwitchClicked() {
    m_app.switchToSkinEdit();
}
void BuyableMakerWindow::onDriveChanged() {
    m_browser->onDriveChanged();
}
void BuyableMakerWindow::onDirectoryChanged() {
    m_ui.viewer->clear();
    m_browser->onDirectoryChanged();
    showDirectory(*this, *m_ui.browser.pathLine, m_ui.browser.directoryList->path());
}
void BuyableMakerWindow::onBrowseClicked() {
    const QString chosen = m_app.chooseDirectory(this, m_ui.browser.directoryList->path());
    if (!chosen.isEmpty()) {
        m_browser->goTo(chosen);
    }
}
void BuyableMakerWindow::onDefaultDirectoryClicked() {
    m_browser->onDefaultClicked();
}
void BuyableMakerWindow::onCloseProgramClicked() {
    m_app.closeProgramAsked();
}
// The button stays disabled while a skin is being made; a close request asks instead.
void BuyableMakerWindow::onCloseRefused() {
    if (m_services.messages.ask(texts::closeWithSkinNotExported(m_draft.bitmapName))) {
        m_app.closeProgramAsked();
    }
}

void BuyableMakerWindow::onFileClicked() {
    // A selection cleared from outside also raises the click; nothing was clicked then.
    if (m_ui.browser.fileList->listIndex() == -1) {
        return;
    }
    const QString name = m_ui.browser.fileList->fileName();
    const buyable::FileClick click =
        buyable::clickFile(m_draft, listingOf(m_ui.browser.fileList->pattern()), name);
    if (click.previewBitmap) {
        // A bitmap that does not decode gets no message box and leaves the last picture shown; the
        // line under the viewer says why.
        showBitmap(name);
        return;
    }
    apply(click.change, ListReading::Keep);
}

void BuyableMakerWindow::onLoadBmpClicked() {
    const QString name = m_ui.browser.fileList->fileName();
    const buyable::DraftChange change = buyable::loadBitmap(m_draft, name);
    if (!change.isRefused() && *change.draft != m_draft) {
        // The export copies the loaded bitmap, so it must be this one and not one shown before.
        QString why;
        if (!showBitmap(name, &why)) {
            m_services.messages.show(texts::bitmapCannotBeShown(name, why));
            return;
        }
        m_loadedBitmap = m_ui.viewer->fileBytes();
    }
    apply(change, ListReading::Keep);
}

bool BuyableMakerWindow::showBitmap(const QString& name, QString* error) {
    QString why;
    if (!m_ui.viewer->loadFile(platform::joinPath(m_ui.browser.directoryList->path(), name), &why)) {
        // The last picture stays (the export copies only a loaded bitmap); the line says why.
        m_ui.viewer->showNote(texts::bitmapNotShown(name, why));
        if (error != nullptr) {
            *error = why;
        }
        return false;
    }
    return true;
}

void BuyableMakerWindow::onLoadCmxClicked() {
    apply(buyable::loadCmxFile(m_draft), ListReading::Reread);
}

void BuyableMakerWindow::onCloseFileClicked() {
    m_draft = buyable::closeOpenFile(m_draft);
    render(ListReading::Reread);
}

void BuyableMakerWindow::onCategoryClicked(Category category) {
    m_draft = buyable::chooseCategory(m_draft, category);
    render(ListReading::Keep);
}

void BuyableMakerWindow::onExportClicked() {
    const buyable::ExportDecision decision = buyable::planExport(m_draft);
    if (!decision.plan) {
        m_services.messages.show(decision.message);
        return;
    }
    const QString failure = buyable::writeExport(m_ui.browser.directoryList->path(), *decision.plan,
                                                 m_loadedBitmap, m_services.journal);
    if (!failure.isEmpty()) {
        // The draft stays as it was, so the user can pick another category and retry.
        m_services.messages.show(failure);
        return;
    }
    // The message is the same either way; its details say when the journal could not keep it.
    const QString unrecorded = m_services.journal != nullptr ? m_services.journal->problem() : QString();
    const QString directory = m_ui.browser.directoryList->path();
    const QString skinsBuy = core::games::skinsBuyOf(m_services.installs, directory);
    if (skinsBuy.isEmpty() || !unrecorded.isEmpty()) {
        m_services.messages.show(texts::successfullyExported(),
                                 unrecorded.isEmpty() ? QString() : texts::exportNotRecorded(unrecorded));
    } else if (m_services.messages.offer(texts::successfullyExported() + u' ' +
                                             texts::gameReadsBuyableFrom(skinsBuy),
                                         texts::putThemInSkinsBuy())) {
        m_services.messages.show(
            buyable::moveIntoSkinsBuy(directory, *decision.plan, skinsBuy, m_services.journal));
    }
    onCloseFileClicked();
}

} // namespace vestimo::gui
