#include "gui/skinedit/SkinEditWindow.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/MakerTools.h"
#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/SkinsWindow.h"
#include "core/catalogue/TryOnWindow.h"
#include "core/catalogue/Windows.h"
#include "core/checks/CheckRegistry.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/editor/CmxText.h"
#include "core/editor/LiveCheck.h"
#include "core/textures/CheckBmpFile.h"
#include "core/textures/FitDecision.h"
#include "core/textures/SkinTextureRules.h"
#include "gui/app/Application.h"
#include "gui/app/BackgroundRun.h"
#include "gui/app/CloseBox.h"
#include "gui/app/WidgetNames.h"
#include "gui/browser/BrowserColumn.h"
#include "gui/browser/FileList.h"
#include "gui/checks/DirectoryCheckCommand.h"
#include "gui/checks/FileOperations.h"
#include "gui/fit/FitCommand.h"
#include "gui/install/InstallCommand.h"
#include "gui/report/SkinReportWindow.h"
#include "gui/skinedit/CmxEditor.h"
#include "gui/skinedit/LiveCheckRow.h"
#include "gui/tryon/TryOnWindow.h"
#include "gui/widgets/FittingSplitter.h"
#include "gui/widgets/PictureBox.h"
#include "platform/FileSystem.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vestimo::gui {

// The window's controls. Each widget's objectName is the name the program has always given it,
// so anything driving the window by name keeps working.
struct SkinEditWindow::Ui {
    BrowserColumn* column = nullptr;
    QRadioButton* cmxFilterButton = nullptr;
    QRadioButton* bmpFilterButton = nullptr;
    QPushButton* closeFileButton = nullptr;

    QGroupBox* viewerFrame = nullptr;
    PictureBox* viewer = nullptr;
    // Hidden: the directory-wide bitmap check measures each file in it.
    PictureBox* workingPicture = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* bitmapInfo = nullptr;
    QPushButton* moveFileButton = nullptr;
    QPushButton* checkBmpButton = nullptr;
    QPushButton* fitBmpButton = nullptr;
    QPushButton* deleteBmpButton = nullptr;
    QPushButton* tryOnButton = nullptr;

    QGroupBox* editorFrame = nullptr;
    CmxEditor* cmxTextBox = nullptr;
    LiveCheckRow* liveCheck = nullptr;
    QPushButton* saveCmxButton = nullptr;
    QPushButton* checkCmxButton = nullptr;
    QLineEdit* cmxNameBox = nullptr;
    QPushButton* closeProgramButton = nullptr;
    // The directory-wide checks' buttons, by their key in the check registry.
    QHash<QString, QPushButton*> checkButtons;
    QPushButton* historyButton = nullptr;
    QPushButton* aboutButton = nullptr;
    QPushButton* installButton = nullptr;
    QPushButton* skinReportButton = nullptr;
    QPushButton* skinsButton = nullptr;
};

SkinEditWindow::SkinEditWindow(Application& app)
    : app_(app), services_(app.services()), ui_(std::make_unique<Ui>()),
      state_(editor::initialSkinEditState()) {
    setObjectName(QStringLiteral("frmSkinEdit"));
    setWindowIcon(applicationIcon());
    build();
    connectControls();
    // The lists start at the process's current folder, without raising their change steps.
    ui_->column->startAt(platform::currentDirectory());
    state_ = editor::browsedTo(state_, ui_->column->folder());
    showWhere();
    render();
    closeThrough(this, ui_->closeProgramButton);
    assignMnemonics(this);
    captionAfterMnemonics(this, ui_->tryOnButton, texts::tryOnButton());
    captionAfterMnemonics(this, ui_->skinsButton, texts::skinsButton());
    // Ctrl+S as in every editor: "Save CMX Changes", refusals and all.
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, ui_->saveCmxButton, &QPushButton::click);
    ui_->column->takeDropsFor(this);
}

SkinEditWindow::~SkinEditWindow() {
    // The column's lists empty themselves as the controls are destroyed, after this window has
    // stopped being one.
    disconnect(ui_->column, nullptr, this, nullptr);
}

void SkinEditWindow::build() {
    Ui& ui = *ui_;
    // A directory-wide check's button, named and captioned as the registry has it.
    const auto checkButton = [&ui](QWidget* frame, const checks::RegisteredCheck& check) {
        QPushButton* made = button(frame, check.objectName, check.caption());
        ui.checkButtons.insert(check.key, made);
        return made;
    };
    const auto placedCheck = [&checkButton](QWidget* frame, const char* key) {
        return checkButton(frame, *checks::findCheck(QString::fromLatin1(key)));
    };
    // Skin Directory: the browser, as a column on the left, the full height of the window.
    ui.column = new BrowserColumn(
        this, texts::switchToBuyableButton(), services_.messages, services_.gameFolders,
        [this](QWidget* parent, const QString& start) { return app_.chooseDirectory(parent, start); });
    ui.cmxFilterButton = named(new RadioButton(texts::cmxFilesOnlyOption(), ui.column), "Option2");
    ui.bmpFilterButton = named(new RadioButton(texts::bmpFilesOnlyOption(), ui.column), "Option1");
    ui.bmpFilterButton->setChecked(true);
    // As wide as their captions: a click beside the caption is not a choice.
    ui.bmpFilterButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    ui.cmxFilterButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    ui.column->addControl(ui.cmxFilterButton);
    ui.column->addControl(ui.bmpFilterButton);
    ui.column->addDefaultButton();
    ui.closeFileButton = button(ui.column, "cmdCloseFile", texts::closeOpenFile());
    ui.closeFileButton->setVisible(false);
    keepPlaceWhenHidden(ui.closeFileButton);
    ui.column->addControl(ui.closeFileButton);

    // BMP Image Viewer: the picture with its line under it; the buttons and the progress bar beside.
    ui.viewerFrame = named(new QGroupBox(texts::bmpImageViewerFrame(), this), "Frame2");
    ui.viewer = named(new PictureBox(ui.viewerFrame), "Picture1");
    ui.workingPicture = named(new PictureBox(ui.viewer), "Picture2");
    ui.workingPicture->setVisible(false);
    ui.progressBar = named(new QProgressBar(ui.viewerFrame), "ProgressBar1");
    ui.progressBar->setMinimum(0);
    ui.progressBar->setVisible(false);
    keepPlaceWhenHidden(ui.progressBar);
    ui.bitmapInfo = named(new QLabel(ui.viewerFrame), "lblBitmapInfo");
    QPushButton* checkAllBmpButton = placedCheck(ui.viewerFrame, "bmp");
    ui.moveFileButton = button(ui.viewerFrame, "cmdMoveFile", texts::moveFileButton());
    ui.checkBmpButton = button(ui.viewerFrame, "cmdCheckBMP", texts::checkBmpButton());
    ui.fitBmpButton = button(ui.viewerFrame, "cmdFitBMP", texts::makeItFitButton());
    ui.deleteBmpButton = button(ui.viewerFrame, "cmdDeleteBMP", texts::deleteBmpButton());
    // Two columns, so the frame stays low on small screens.
    auto* viewerButtons = new QGridLayout;
    viewerButtons->addWidget(checkAllBmpButton, 0, 0);
    viewerButtons->addWidget(ui.moveFileButton, 0, 1);
    viewerButtons->addWidget(ui.checkBmpButton, 1, 0);
    viewerButtons->addWidget(ui.fitBmpButton, 1, 1);
    viewerButtons->addWidget(ui.deleteBmpButton, 2, 0);
    viewerButtons->setRowStretch(3, 1);
    // Captioned once the others have their Alt+letters, so they keep the ones they always had.
    ui.tryOnButton = button(ui.viewerFrame, "cmdTryOn", QString());
    viewerButtons->addWidget(ui.tryOnButton, 2, 1);
    setTabOrder(ui.deleteBmpButton, ui.tryOnButton);
    // Cancel beside the bar, shown only while a run goes on.
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(ui.progressBar, 1);
    runRow->addWidget(makeCancelButton(ui.viewerFrame));
    viewerButtons->addLayout(runRow, 4, 0, 1, 2);
    ui.viewer->setInfoLine(ui.bitmapInfo);
    auto* picture = new QVBoxLayout;
    picture->addWidget(ui.viewer, 1);
    picture->addWidget(ui.bitmapInfo);
    auto* viewerLayout = new QHBoxLayout(ui.viewerFrame);
    viewerLayout->addLayout(picture, 1);
    viewerLayout->addLayout(viewerButtons);

    // CMX Display and Editing: the text, with the room that is left, and the commands under it.
    ui.editorFrame = named(new QGroupBox(texts::cmxEditingFrame(), this), "Frame3");
    ui.cmxTextBox = named(new CmxEditor(ui.editorFrame), "Text1");
    ui.cmxTextBox->setPlainText(texts::cmxEditorPlaceholder());
    ui.cmxTextBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui.cmxTextBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui.cmxTextBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The CMX format has no use for tab characters: Tab moves on, so every button can be reached.
    ui.cmxTextBox->setTabChangesFocus(true);
    ui.liveCheck = new LiveCheckRow(*ui.cmxTextBox, *this, ui.editorFrame);
    QPushButton* checkAssociatedFilesButton = placedCheck(ui.editorFrame, "assoc");
    ui.saveCmxButton = button(ui.editorFrame, "cmdSaveCMX", texts::saveCmxButton());
    ui.checkCmxButton = button(ui.editorFrame, "cmdCMXError", texts::checkCmxButton());
    ui.cmxNameBox = named(new QLineEdit(ui.editorFrame), "Text3");
    // Shows the open file's name; never typed into.
    ui.cmxNameBox->setEnabled(false);
    QPushButton* checkAllCmxButton = placedCheck(ui.editorFrame, "cmx");
    ui.closeProgramButton = button(ui.editorFrame, "cmdClose", texts::closeThisProgram());
    ui.historyButton = button(ui.editorFrame, "cmdHistory", texts::historyButton());
    ui.aboutButton = button(ui.editorFrame, "cmdAbout", texts::aboutButton());
    // Made before the install button: every letter of its caption would be taken otherwise, and
    // Alt+letters go to the buttons in the order they are made.
    ui.skinReportButton = button(ui.editorFrame, "cmdSkinReport", texts::skinSetReportButton());
    ui.installButton = button(ui.editorFrame, "cmdInstall", texts::installButton());
    setTabOrder(ui.installButton, ui.skinReportButton);
    // Captioned once the others have their Alt+letters, so they keep the ones they always had.
    ui.skinsButton = button(ui.editorFrame, "cmdSkins", QString());
    setTabOrder(ui.skinReportButton, ui.skinsButton);
    auto* commands = new QGridLayout;
    commands->addWidget(checkAssociatedFilesButton, 0, 0);
    commands->addWidget(ui.saveCmxButton, 0, 1);
    commands->addWidget(ui.checkCmxButton, 0, 2);
    commands->addWidget(ui.aboutButton, 0, 3);
    commands->addWidget(ui.cmxNameBox, 1, 0);
    commands->addWidget(checkAllCmxButton, 1, 1);
    commands->addWidget(ui.closeProgramButton, 1, 2);
    commands->addWidget(ui.historyButton, 1, 3);
    commands->addWidget(ui.installButton, 2, 0);
    commands->addWidget(ui.skinReportButton, 2, 1);
    commands->addWidget(ui.skinsButton, 2, 2);
    // A check given no place above gets a button after the others, four to a row.
    int unplaced = 0;
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        if (!ui.checkButtons.contains(check.key)) {
            commands->addWidget(checkButton(ui.editorFrame, check), 3 + unplaced / 4, unplaced % 4);
            ++unplaced;
        }
    }
    // Room beyond the captions goes to the text above, not to wider buttons.
    commands->setColumnStretch(4, 1);
    auto* editorLayout = new QVBoxLayout(ui.editorFrame);
    editorLayout->addWidget(ui.cmxTextBox, 1);
    editorLayout->addWidget(ui.liveCheck);
    editorLayout->addLayout(commands);

    // The viewer over the editor, beside the browsing column; where room is short the editor
    // gives up lines first, and room to spare goes to the viewer and the editor.
    scrollingContent(this, browserBesideViewer(ui.column, ui.viewerFrame, ui.editorFrame, 1, true));
}

void SkinEditWindow::connectControls() {
    const Ui& ui = *ui_;
    const auto onClick = [this](QPushButton* clicked, void (SkinEditWindow::*handler)()) {
        connect(clicked, &QPushButton::clicked, this, handler);
    };
    connect(ui.column, &BrowserColumn::switchClicked, this, [this] { app_.switchToBuyable(); });
    connect(ui.column, &BrowserColumn::directoryChanged, this, &SkinEditWindow::onDirectoryChanged);
    connect(ui.column, &BrowserColumn::selectionChanged, this, &SkinEditWindow::onSelectionChanged);
    connect(ui.column, &BrowserColumn::fileClicked, this, &SkinEditWindow::onFileClicked);
    connect(ui.column, &BrowserColumn::patternChanged, this, &SkinEditWindow::onPatternChanged);
    connect(ui.column, &BrowserColumn::downloadsDropped, this, &SkinEditWindow::onDownloadsDropped);
    connect(ui.cmxNameBox, &QLineEdit::textChanged, this, &SkinEditWindow::onNameBoxChanged);
    connect(ui.bmpFilterButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            onFilterChosen(FileFilter::Bitmaps);
        }
    });
    connect(ui.cmxFilterButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            onFilterChosen(FileFilter::CmxFiles);
        }
    });
    onClick(ui.closeFileButton, &SkinEditWindow::onCloseFileClicked);
    onClick(ui.moveFileButton, &SkinEditWindow::onMoveFileClicked);
    onClick(ui.checkBmpButton, &SkinEditWindow::onCheckBmpClicked);
    onClick(ui.fitBmpButton, &SkinEditWindow::onFitBmpClicked);
    onClick(ui.skinReportButton, &SkinEditWindow::onSkinReportClicked);
    onClick(ui.tryOnButton, &SkinEditWindow::onTryOnClicked);
    onClick(ui.skinsButton, &SkinEditWindow::onSkinsClicked);
    // After the click's own handler: what it showed decides it anew.
    connect(ui.column, &BrowserColumn::fileClicked, this, &SkinEditWindow::updateFitButton);
    onClick(ui.deleteBmpButton, &SkinEditWindow::onDeleteBmpClicked);
    onClick(ui.saveCmxButton, &SkinEditWindow::onSaveCmxClicked);
    onClick(ui.checkCmxButton, &SkinEditWindow::onCheckCmxClicked);
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        connect(ui.checkButtons.value(check.key), &QPushButton::clicked, this,
                [this, made = check.make] { runCheck(made()); });
    }
    onClick(ui.closeProgramButton, &SkinEditWindow::onCloseProgramClicked);
    onClick(ui.historyButton, &SkinEditWindow::onHistoryClicked);
    connect(ui.aboutButton, &QPushButton::clicked, this, [this] { app_.showAbout(); });
    onClick(ui.installButton, &SkinEditWindow::onInstallClicked);
    connect(ui.cmxTextBox->document(), &QTextDocument::contentsChanged, this, &SkinEditWindow::onTextChanged);
    connect(ui.liveCheck, &LiveCheckRow::due, this, &SkinEditWindow::showLiveCheck);
}

void SkinEditWindow::render() {
    const bool editing = state_.browsingLocked();
    ui_->cmxNameBox->setText(state_.nameBox);
    setUserInteractionLock(editing);
    if (editing) {
        ui_->closeFileButton->setText(texts::closeSelectedCmxFileButton());
    }
    ui_->closeFileButton->setVisible(editing);
    updateFitButton();
}

void SkinEditWindow::setUserInteractionLock(bool locked) {
    for (QWidget* browsing :
         std::initializer_list<QWidget*>{&ui_->column->files(), ui_->bmpFilterButton, ui_->cmxFilterButton}) {
        browsing->setEnabled(!locked);
    }
    ui_->column->setUserInteractionLock(locked);
}

void SkinEditWindow::apply(const editor::Transition& next) {
    if (!next.message.isEmpty()) {
        services_.messages.show(next.message);
    }
    state_ = next.state;
    render();
}

bool SkinEditWindow::refused(const QString& refusal) {
    if (refusal.isEmpty()) {
        return false;
    }
    services_.messages.show(refusal);
    return true;
}

void SkinEditWindow::showSelectedBitmap() {
    QString why;
    PictureBox& viewer = *ui_->viewer;
    if (!viewer.loadFile(editor::selectedPath(state_), &why)) {
        // The previous picture must not be judged as this file's by "Check BMP File".
        clearViewer(texts::bitmapNotShown(state_.selected, why));
        services_.messages.show(texts::bmpFileCorrupt());
        return;
    }
    state_ = editor::shows(state_, editor::ShownBitmap{viewer.image().width(), viewer.image().height(),
                                                       viewer.fileBytes().size()});
}

void SkinEditWindow::clearViewer(const QString& note) {
    ui_->viewer->clear(note);
    state_ = editor::shows(state_, std::nullopt);
}

void SkinEditWindow::openSelectedCmx() {
    // The last bitmap has nothing to do with this file.
    clearViewer();
    const QString name = state_.selected;
    // Read before the notice, so a file that cannot be opened costs the user one message, not two.
    const platform::ReadResult read = platform::readFile(editor::selectedPath(state_), editor::CmxFileLimit);
    if (!read.ok) {
        services_.messages.show(texts::couldNotOpen(name, texts::fileError(read.error)));
        return;
    }
    const editor::Transition next = editor::opened(state_, name, read.identity);
    services_.messages.show(next.message);
    ui_->cmxTextBox->setPlainText(editor::decodeCmxText(read.bytes));
    ui_->cmxTextBox->document()->setModified(false);
    loadedText_ = ui_->cmxTextBox->toPlainText();
    state_ = next.state;
    render();
    showLiveCheck();
}

// Writes the editor's text over the open file; false (having said why) when nothing was written.
bool SkinEditWindow::writeEditorText() {
    const editor::OpenCmxFile& file = *state_.openFile;
    // The raw text, because toPlainText() turns no-break spaces (byte 0xA0) into spaces; blocks
    // come back separated by U+2029. The text already carries the file's own line ends.
    const QByteArray bytes = editor::bytesToSave(ui_->cmxTextBox->document()->toRawText());
    const QString path = platform::joinPath(state_.folder, file.name);
    // Another program's change is only overwritten when the user says so. A link is refused by
    // the save itself, and a file that went away is simply written again.
    const std::optional<platform::FileIdentity> now = platform::identifyFile(path);
    if (now && !platform::isSymbolicLink(path) && *now != file.identity &&
        !services_.messages.ask(texts::changedOnDiskSinceOpened(file.name))) {
        return false; // both the file and the editor's text stay as they are
    }
    const platform::FileResult written = saveCmxFile(path, bytes, services_.journal);
    if (!written.ok) {
        services_.messages.show(texts::couldNotSave(file.name, texts::fileError(written.error)));
        return false;
    }
    return true;
}

void SkinEditWindow::onDirectoryChanged(const QString& folder) {
    ui_->viewer->clear();
    state_ = editor::browsedTo(state_, folder);
    showWhere();
    updateFitButton();
}

void SkinEditWindow::onSelectionChanged(const QString& fileName) {
    state_ = editor::selects(state_, fileName);
    updateFitButton();
}

void SkinEditWindow::showWhere() {
    showDirectory(*this, ui_->column->pathLine(), state_.folder);
    if (state_.openFile && state_.openFile->edited) {
        setWindowTitle(texts::windowTitleEdited(windowTitle()));
    }
}

// Typing marks the document modified, and undoing back to the text as read clears the mark; text
// put in by other means is compared with what was read.
void SkinEditWindow::onTextChanged() {
    if (!state_.openFile) {
        return;
    }
    const QTextDocument* text = ui_->cmxTextBox->document();
    const bool wasEdited = state_.openFile->edited;
    state_ = editor::textEdited(state_, text->isModified() || text->toPlainText() != loadedText_);
    if (state_.openFile->edited != wasEdited) {
        showWhere();
    }
    ui_->liveCheck->restart();
}

// The status under the editor for its text as it stands; nothing while no file is open.
void SkinEditWindow::showLiveCheck() {
    ui_->liveCheck->display(state_.openFile ? editor::liveCheck(ui_->cmxTextBox->document()->toRawText(),
                                                                state_.nameBox, state_.openFile->edited)
                                            : editor::LiveCheckStatus{});
}

bool SkinEditWindow::settleEdits() {
    const QString question = editor::discardQuestion(state_);
    if (question.isEmpty()) {
        return true;
    }
    switch (services_.messages.askToSave(question)) {
    case MessageBoxes::SaveChoice::Save:
        return saveOpenFile();
    case MessageBoxes::SaveChoice::Discard:
        return true;
    case MessageBoxes::SaveChoice::Cancel:
        break;
    }
    return false;
}

void SkinEditWindow::onPatternChanged(const QString& pattern) {
    ui_->viewer->clear();
    state_ = editor::listShows(state_, pattern);
    updateFitButton();
}

// The name box is only written by render(), or by whatever drives the window by name: either way
// its text is the name "Check CMX For Errors" takes the class from.
void SkinEditWindow::onNameBoxChanged(const QString& text) {
    state_.nameBox = text;
    if (state_.openFile) {
        ui_->liveCheck->restart();
    }
}

void SkinEditWindow::onFilterChosen(FileFilter filter) {
    ui_->column->files().setPattern(patternOf(filter));
}

void SkinEditWindow::onFileClicked() {
    const editor::FileClick click = editor::clickFile(state_, state_.hasSelection());
    if (!click.message.isEmpty()) {
        services_.messages.show(click.message);
    }
    switch (click.action) {
    case editor::FileClickAction::ShowBitmap:
        showSelectedBitmap();
        break;
    case editor::FileClickAction::OpenCmx:
        openSelectedCmx();
        break;
    case editor::FileClickAction::Reread:
        ui_->column->files().refresh();
        break;
    case editor::FileClickAction::Nothing:
        break;
    }
}

void SkinEditWindow::onCloseFileClicked() {
    // A save closes the file itself.
    if (!settleEdits() || !state_.openFile) {
        return;
    }
    ui_->cmxTextBox->clear();
    state_ = editor::closed(state_);
    render();
    showWhere();
    showLiveCheck();
}

void SkinEditWindow::onSaveCmxClicked() {
    saveOpenFile();
}

bool SkinEditWindow::saveOpenFile() {
    if (refused(editor::refuseSave(state_, state_.hasSelection())) || !writeEditorText()) {
        return false;
    }
    const editor::Transition next = editor::saved(state_);
    services_.messages.show(next.message);
    ui_->cmxTextBox->clear();
    state_ = next.state;
    render();
    showLiveCheck();
    showWhere();
    // Back to browsing with nothing selected, the list read afresh; no click is raised.
    ui_->column->files().rereadUnselected();
    return true;
}

void SkinEditWindow::onCheckCmxClicked() {
    services_.messages.show(cmx::checkCmxFile(state_.hasSelection(), state_.filter, state_.folder,
                                              state_.selected, state_.nameBox));
}

// Judges the picture the viewer holds (as it was loaded when the file was selected) against the
// table, and the selected file's length against the row's limit. An empty viewer means the
// selected file did not load (a failed load clears it).
void SkinEditWindow::onCheckBmpClicked() {
    if (refused(editor::refuseSingleBitmapCommand(state_, state_.hasSelection()))) {
        return;
    }
    const textures::BmpCheckAnswer answer =
        textures::checkBmpFile(editor::shownPicture(state_), editor::selectedPath(state_), state_.selected);
    services_.messages.show(answer.message, answer.details);
}

void SkinEditWindow::onFitBmpClicked() {
    if (makeBitmapFit(editor::selectedPath(state_), services_,
                      [this](const FitPreview& preview) { return app_.confirmFit(this, preview); })) {
        showSelectedBitmap();
    }
    updateFitButton();
}

void SkinEditWindow::updateFitButton() {
    ui_->fitBmpButton->setEnabled(editor::fitPossible(state_));
    updateTryOn();
}

void SkinEditWindow::updateTryOn() {
    const bool wanted = state_.openFile || (state_.hasSelection() && state_.filter == FileFilter::Bitmaps);
    const std::optional<textures::SkinToTry> target =
        wanted ? editor::tryOnTarget(state_, cmxFiles_.in(state_.folder)) : std::nullopt;
    ui_->tryOnButton->setEnabled(target.has_value());
    if (target && tryOn_ && !target->bitmapName.isEmpty()) {
        const tryon::TryOnRequest request = tryOnRequest(state_.folder, *target);
        if (request.cmxPath == tryOn_->request().cmxPath) {
            tryOn_->showTexture(request.texturePath);
        }
    }
}

void SkinEditWindow::onTryOnClicked() {
    const std::optional<textures::SkinToTry> target =
        editor::tryOnTarget(state_, cmxFiles_.in(state_.folder));
    if (!target) {
        return;
    }
    showTryOn(tryOn_, this, tryOnRequest(state_.folder, *target), app_.tryOnBuilder(), services_.messages,
              [this](QWidget* window) { app_.showWindow(window); });
}

void SkinEditWindow::onSkinsClicked() {
    SkinsHooks hooks;
    hooks.tryOn = [this](const tryon::TryOnRequest& request) {
        showTryOn(tryOn_, this, request, app_.tryOnBuilder(), services_.messages,
                  [this](QWidget* window) { app_.showWindow(window); });
    };
    hooks.selectBitmap = [this](const QString& folder, const QString& bitmap) {
        selectFromSkins(folder, bitmap);
    };
    hooks.filesMoved = [this] { ui_->column->files().refresh(); };
    showSkins(skins_, this, state_.folder, services_, app_.skinsSetup(), hooks,
              [this](QWidget* window) { app_.showWindow(window); });
}

// Only bitmaps are ever selected from there: a CMX file would be opened, locking the browser.
void SkinEditWindow::selectFromSkins(const QString& folder, const QString& bitmap) {
    if (state_.browsingLocked() || folder != state_.folder) {
        return;
    }
    if (state_.filter != FileFilter::Bitmaps) {
        ui_->bmpFilterButton->setChecked(true);
        onFilterChosen(FileFilter::Bitmaps);
    }
    FileList& files = ui_->column->files();
    const int row = static_cast<int>(files.entries().indexOf(bitmap));
    if (row >= 0 && row != files.listIndex()) {
        files.setListIndex(row);
    }
}

void SkinEditWindow::onSkinReportClicked() {
    openSkinReport(
        state_.folder, services_.messages, this, [this](QWidget* window) { app_.showWindow(window); },
        ui_->progressBar);
}

void SkinEditWindow::onMoveFileClicked() {
    if (refused(editor::refuseSingleBitmapCommand(state_, state_.hasSelection()))) {
        return;
    }
    const QString name = state_.selected;
    const platform::FileResult moved =
        checks::moveToProgramDirectory(state_.folder, services_.programDirectory, name, services_.journal);
    if (!moved.ok) {
        services_.messages.show(texts::couldNotMove(name, texts::fileError(moved.error)));
    }
    ui_->column->files().refresh();
}

void SkinEditWindow::onDeleteBmpClicked() {
    if (refused(editor::refuseSingleBitmapCommand(state_, state_.hasSelection()))) {
        return;
    }
    recycle(services_.messages, editor::selectedPath(state_), services_.journal);
    ui_->column->files().refresh();
}

// The directory-wide checks are their own commands; the window hands them what it shows (a list
// of neither kind refuses nothing) and the controls they lend.
void SkinEditWindow::runCheck(const checks::DirectoryCheck& check) {
    runDirectoryCheckCommand(
        check, {state_.filter.value_or(check.filter), state_.folder, *ui_->progressBar, ui_->column->files()},
        services_);
}

void SkinEditWindow::onCloseProgramClicked() {
    app_.closeProgramAsked();
}

void SkinEditWindow::onHistoryClicked() {
    app_.showHistory();
}

void SkinEditWindow::onInstallClicked() {
    app_.installCommand().chooseAndInstall(ui_->column->installSite(ui_->progressBar));
}

void SkinEditWindow::onDownloadsDropped(const QStringList& paths) {
    app_.installCommand().install(paths, ui_->column->installSite(ui_->progressBar));
}

} // namespace vestimo::gui
