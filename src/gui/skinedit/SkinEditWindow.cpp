#include "gui/skinedit/SkinEditWindow.h"

#include "core/catalogue/Games.h"
#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/MakerTools.h"
#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Windows.h"
#include "core/checks/CheckRegistry.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/editor/CmxText.h"
#include "core/editor/LiveCheck.h"
#include "core/textures/CheckBmpFile.h"
#include "core/textures/FitDecision.h"
#include "core/textures/SkinTextureRules.h"
#include "gui/app/Application.h"
#include "gui/app/CloseBox.h"
#include "gui/app/WidgetNames.h"
#include "gui/browser/BrowserControls.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/browser/GameFoldersBox.h"
#include "gui/checks/DirectoryCheckCommand.h"
#include "gui/checks/FileOperations.h"
#include "gui/fit/FitCommand.h"
#include "gui/install/InstallCommand.h"
#include "gui/report/SkinReportWindow.h"
#include "gui/skinedit/CmxEditor.h"
#include "gui/skinedit/LiveCheckRow.h"
#include "gui/widgets/FittingSplitter.h"
#include "gui/widgets/PictureBox.h"
#include "platform/FileSystem.h"

#include <QDropEvent>
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
    BrowserControls browser;
    QRadioButton* cmxFilterButton = nullptr;
    QRadioButton* bmpFilterButton = nullptr;
    QPushButton* defaultDirectoryButton = nullptr;
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
};

SkinEditWindow::SkinEditWindow(Application& app)
    : m_app(app), m_services(app.services()), m_ui(std::make_unique<Ui>()),
      m_state(editor::initialSkinEditState()) {
    setObjectName(QStringLiteral("frmSkinEdit"));
    setWindowIcon(applicationIcon());
    build();
    connectControls();
    // The lists start at the process's current folder, without raising their change steps.
    m_browser = std::make_unique<Browser>(Browser{m_ui->browser.driveList, m_ui->browser.directoryList,
                                                  m_ui->browser.fileList, m_services.messages,
                                                  m_services.gameFolders, m_ui->browser.gamesBox});
    m_browser->startAt(platform::currentDirectory());
    showWhere();
    render();
    closeThrough(this, m_ui->closeProgramButton);
    assignMnemonics(this);
    // Ctrl+S as in every editor: "Save CMX Changes", refusals and all.
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    connect(save, &QShortcut::activated, m_ui->saveCmxButton, &QPushButton::click);
    setAcceptDrops(true);
}

SkinEditWindow::~SkinEditWindow() {
    // The file list empties its model as the controls are destroyed, after this window has
    // stopped being one.
    disconnect(m_ui->browser.fileList->model(), nullptr, this, nullptr);
}

void SkinEditWindow::build() {
    Ui& ui = *m_ui;
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
    ui.browser = buildBrowserControls(this, texts::switchToBuyableButton(), m_services.gameFolders);
    ui.cmxFilterButton = named(new RadioButton(texts::cmxFilesOnlyOption(), ui.browser.frame), "Option2");
    ui.bmpFilterButton = named(new RadioButton(texts::bmpFilesOnlyOption(), ui.browser.frame), "Option1");
    ui.bmpFilterButton->setChecked(true);
    // As wide as their captions: a click beside the caption is not a choice.
    ui.bmpFilterButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    ui.cmxFilterButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    ui.defaultDirectoryButton = button(ui.browser.frame, "cmdDefault", texts::setToDefaultGameDirectory());
    ui.closeFileButton = button(ui.browser.frame, "cmdCloseFile", texts::closeOpenFile());
    ui.closeFileButton->setVisible(false);
    keepPlaceWhenHidden(ui.closeFileButton);
    QVBoxLayout* browserLayout = ui.browser.layout;
    browserLayout->addWidget(ui.cmxFilterButton);
    browserLayout->addWidget(ui.bmpFilterButton);
    browserLayout->addWidget(ui.defaultDirectoryButton);
    browserLayout->addWidget(ui.closeFileButton);

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
    viewerButtons->addWidget(ui.progressBar, 4, 0, 1, 2);
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
    scrollingContent(this, browserBesideViewer(ui.browser.frame, ui.viewerFrame, ui.editorFrame, 1, true));
}

void SkinEditWindow::connectControls() {
    const Ui& ui = *m_ui;
    const auto onClick = [this](QPushButton* clicked, void (SkinEditWindow::*handler)()) {
        connect(clicked, &QPushButton::clicked, this, handler);
    };
    onClick(ui.browser.switchButton, &SkinEditWindow::onSwitchClicked);
    connect(ui.browser.driveList, &DriveList::driveChanged, this, &SkinEditWindow::onDriveChanged);
    connect(ui.browser.directoryList, &DirList::pathChanged, this, &SkinEditWindow::onDirectoryChanged);
    connect(ui.browser.fileList, &FileList::fileClicked, this, &SkinEditWindow::onFileClicked);
    connect(ui.browser.fileList, &FileList::patternChanged, this, &SkinEditWindow::onPatternChanged);
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
    onClick(ui.defaultDirectoryButton, &SkinEditWindow::onDefaultDirectoryClicked);
    onClick(ui.closeFileButton, &SkinEditWindow::onCloseFileClicked);
    onClick(ui.moveFileButton, &SkinEditWindow::onMoveFileClicked);
    onClick(ui.checkBmpButton, &SkinEditWindow::onCheckBmpClicked);
    onClick(ui.fitBmpButton, &SkinEditWindow::onFitBmpClicked);
    onClick(ui.skinReportButton, &SkinEditWindow::onSkinReportClicked);
    // After the click's own handler: a new selection, or the list read afresh, decides it anew.
    connect(ui.browser.fileList, &FileList::fileClicked, this, &SkinEditWindow::updateFitButton);
    connect(ui.browser.fileList->model(), &QAbstractItemModel::modelReset, this,
            &SkinEditWindow::updateFitButton);
    onClick(ui.deleteBmpButton, &SkinEditWindow::onDeleteBmpClicked);
    onClick(ui.saveCmxButton, &SkinEditWindow::onSaveCmxClicked);
    onClick(ui.checkCmxButton, &SkinEditWindow::onCheckCmxClicked);
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        connect(ui.checkButtons.value(check.key), &QPushButton::clicked, this,
                [this, made = check.make] { runCheck(made()); });
    }
    onClick(ui.closeProgramButton, &SkinEditWindow::onCloseProgramClicked);
    onClick(ui.historyButton, &SkinEditWindow::onHistoryClicked);
    onClick(ui.aboutButton, &SkinEditWindow::onAboutClicked);
    onClick(ui.installButton, &SkinEditWindow::onInstallClicked);
    onClick(ui.browser.browseButton, &SkinEditWindow::onBrowseClicked);
    connect(ui.browser.gamesBox, &GameFoldersBox::folderChosen, this,
            [this](const QString& folder) { m_browser->goTo(folder); });
    connect(ui.cmxTextBox->document(), &QTextDocument::contentsChanged, this, &SkinEditWindow::onTextChanged);
    connect(ui.liveCheck, &LiveCheckRow::due, this, &SkinEditWindow::showLiveCheck);
}

void SkinEditWindow::render() {
    const bool editing = m_state.browsingLocked();
    m_ui->cmxNameBox->setText(m_state.nameBox);
    setUserInteractionLock(editing);
    if (editing) {
        m_ui->closeFileButton->setText(texts::closeSelectedCmxFileButton());
    }
    m_ui->closeFileButton->setVisible(editing);
    updateFitButton();
}

void SkinEditWindow::setUserInteractionLock(bool locked) {
    for (QWidget* browsing : std::initializer_list<QWidget*>{
             m_ui->browser.fileList, m_ui->browser.directoryList, m_ui->browser.driveList,
             m_ui->bmpFilterButton, m_ui->cmxFilterButton, m_ui->browser.browseButton}) {
        browsing->setEnabled(!locked);
    }
    m_ui->browser.gamesBox->setUserInteractionLock(locked);
}

void SkinEditWindow::apply(const editor::Transition& next) {
    if (!next.message.isEmpty()) {
        m_services.messages.show(next.message);
    }
    m_state = next.state;
    render();
}

bool SkinEditWindow::refused(const QString& refusal) {
    if (refusal.isEmpty()) {
        return false;
    }
    m_services.messages.show(refusal);
    return true;
}

bool SkinEditWindow::fileSelected() const {
    return m_ui->browser.fileList->listIndex() != -1;
}

QString SkinEditWindow::selectedPath() const {
    return platform::joinPath(m_ui->browser.directoryList->path(), m_ui->browser.fileList->fileName());
}

void SkinEditWindow::showSelectedBitmap() {
    QString why;
    if (!m_ui->viewer->loadFile(selectedPath(), &why)) {
        // The previous picture must not be judged as this file's by "Check BMP File".
        m_ui->viewer->clear(texts::bitmapNotShown(m_ui->browser.fileList->fileName(), why));
        m_services.messages.show(texts::bmpFileCorrupt());
    }
}

void SkinEditWindow::openSelectedCmx() {
    // The last bitmap has nothing to do with this file.
    m_ui->viewer->clear();
    const QString name = m_ui->browser.fileList->fileName();
    // Read before the notice, so a file that cannot be opened costs the user one message, not two.
    const platform::ReadResult read = platform::readFile(selectedPath(), editor::CmxFileLimit);
    if (!read.ok) {
        m_services.messages.show(texts::couldNotOpen(name, read.error));
        return;
    }
    const editor::Transition next = editor::opened(m_state, name, read.identity);
    m_services.messages.show(next.message);
    m_ui->cmxTextBox->setPlainText(editor::decodeCmxText(read.bytes));
    m_ui->cmxTextBox->document()->setModified(false);
    m_loadedText = m_ui->cmxTextBox->toPlainText();
    m_state = next.state;
    render();
    showLiveCheck();
}

// Writes the editor's text over the open file; false (having said why) when nothing was written.
bool SkinEditWindow::writeEditorText() {
    const editor::OpenCmxFile& file = *m_state.openFile;
    // The raw text, because toPlainText() turns no-break spaces (byte 0xA0) into spaces; blocks
    // come back separated by U+2029. The text already carries the file's own line ends.
    const QByteArray bytes = editor::bytesToSave(m_ui->cmxTextBox->document()->toRawText());
    const QString path = platform::joinPath(m_ui->browser.directoryList->path(), file.name);
    // Another program's change is only overwritten when the user says so. A link is refused by
    // the save itself, and a file that went away is simply written again.
    const std::optional<platform::FileIdentity> now = platform::identifyFile(path);
    if (now && !platform::isSymbolicLink(path) && *now != file.identity &&
        !m_services.messages.ask(texts::changedOnDiskSinceOpened(file.name))) {
        return false; // both the file and the editor's text stay as they are
    }
    const platform::FileResult written = saveCmxFile(path, bytes, m_services.journal);
    if (!written.ok) {
        m_services.messages.show(texts::couldNotSave(file.name, written.error));
        return false;
    }
    return true;
}

void SkinEditWindow::onSwitchClicked() {
    m_app.switchToBuyable();
}
void SkinEditWindow::onDriveChanged() {
    m_browser->onDriveChanged();
}
void SkinEditWindow::onDirectoryChanged() {
    m_ui->viewer->clear();
    m_browser->onDirectoryChanged();
    showWhere();
}

void SkinEditWindow::showWhere() {
    showDirectory(*this, *m_ui->browser.pathLine, m_ui->browser.directoryList->path());
    if (m_state.openFile && m_state.openFile->edited) {
        setWindowTitle(texts::windowTitleEdited(windowTitle()));
    }
}

void SkinEditWindow::onBrowseClicked() {
    const QString chosen = m_app.chooseDirectory(this, m_ui->browser.directoryList->path());
    if (!chosen.isEmpty()) {
        m_browser->goTo(chosen);
    }
}

void SkinEditWindow::onAboutClicked() {
    m_app.showAbout();
}

// Typing marks the document modified, and undoing back to the text as read clears the mark; text
// put in by other means is compared with what was read.
void SkinEditWindow::onTextChanged() {
    if (!m_state.openFile) {
        return;
    }
    const QTextDocument* text = m_ui->cmxTextBox->document();
    const bool wasEdited = m_state.openFile->edited;
    m_state = editor::textEdited(m_state, text->isModified() || text->toPlainText() != m_loadedText);
    if (m_state.openFile->edited != wasEdited) {
        showWhere();
    }
    m_ui->liveCheck->restart();
}

// The status under the editor for its text as it stands; nothing while no file is open.
void SkinEditWindow::showLiveCheck() {
    m_ui->liveCheck->display(m_state.openFile ? editor::liveCheck(m_ui->cmxTextBox->document()->toRawText(),
                                                                  m_state.nameBox, m_state.openFile->edited)
                                              : editor::LiveCheckStatus{});
}

bool SkinEditWindow::settleEdits() {
    const QString question = editor::discardQuestion(m_state);
    if (question.isEmpty()) {
        return true;
    }
    switch (m_services.messages.askToSave(question)) {
    case platform::MessageBoxes::SaveChoice::Save:
        return saveOpenFile();
    case platform::MessageBoxes::SaveChoice::Discard:
        return true;
    case platform::MessageBoxes::SaveChoice::Cancel:
        break;
    }
    return false;
}
void SkinEditWindow::onDefaultDirectoryClicked() {
    m_browser->onDefaultClicked();
}

void SkinEditWindow::onPatternChanged() {
    m_ui->viewer->clear();
    m_state = editor::listShows(m_state, m_ui->browser.fileList->pattern());
}

// The name box is only written by render(), or by whatever drives the window by name: either way
// its text is the name "Check CMX For Errors" takes the class from.
void SkinEditWindow::onNameBoxChanged(const QString& text) {
    m_state.nameBox = text;
    if (m_state.openFile) {
        m_ui->liveCheck->restart();
    }
}

void SkinEditWindow::onFilterChosen(FileFilter filter) {
    m_ui->browser.fileList->setPattern(patternOf(filter));
}

void SkinEditWindow::onFileClicked() {
    const editor::FileClick click = editor::clickFile(m_state, fileSelected());
    if (!click.message.isEmpty()) {
        m_services.messages.show(click.message);
    }
    switch (click.action) {
    case editor::FileClickAction::ShowBitmap:
        showSelectedBitmap();
        break;
    case editor::FileClickAction::OpenCmx:
        openSelectedCmx();
        break;
    case editor::FileClickAction::Reread:
        m_ui->browser.fileList->refresh();
        break;
    case editor::FileClickAction::Nothing:
        break;
    }
}

void SkinEditWindow::onCloseFileClicked() {
    // A save closes the file itself.
    if (!settleEdits() || !m_state.openFile) {
        return;
    }
    m_ui->cmxTextBox->clear();
    m_state = editor::closed(m_state);
    render();
    showWhere();
    showLiveCheck();
}

void SkinEditWindow::onSaveCmxClicked() {
    saveOpenFile();
}

bool SkinEditWindow::saveOpenFile() {
    if (refused(editor::refuseSave(m_state, fileSelected())) || !writeEditorText()) {
        return false;
    }
    const editor::Transition next = editor::saved(m_state);
    m_services.messages.show(next.message);
    m_ui->cmxTextBox->clear();
    m_state = next.state;
    render();
    showLiveCheck();
    showWhere();
    // Back to browsing with nothing selected, the list read afresh; no click is raised.
    m_ui->browser.fileList->rereadUnselected();
    return true;
}

void SkinEditWindow::onCheckCmxClicked() {
    m_services.messages.show(cmx::checkCmxFile(fileSelected(), m_state.filter,
                                               m_ui->browser.directoryList->path(),
                                               m_ui->browser.fileList->fileName(), m_state.nameBox));
}

// Judges the picture the viewer holds (as it was loaded when the file was selected) against the
// table, and the selected file's length against the row's limit. An empty viewer means the
// selected file did not load (a failed load clears it).
void SkinEditWindow::onCheckBmpClicked() {
    if (refused(editor::refuseSingleBitmapCommand(m_state, fileSelected()))) {
        return;
    }
    std::optional<textures::ShownPicture> picture;
    if (m_ui->viewer->hasPicture()) {
        picture = textures::ShownPicture{m_ui->viewer->widthHiMetric(), m_ui->viewer->heightHiMetric()};
    }
    const textures::BmpCheckAnswer answer =
        textures::checkBmpFile(picture, selectedPath(), m_ui->browser.fileList->fileName());
    m_services.messages.show(answer.message, answer.details);
}

void SkinEditWindow::onFitBmpClicked() {
    if (makeBitmapFit(selectedPath(), m_services,
                      [this](const FitPreview& preview) { return m_app.confirmFit(this, preview); })) {
        showSelectedBitmap();
    }
    updateFitButton();
}

void SkinEditWindow::updateFitButton() {
    const PictureBox& shown = *m_ui->viewer;
    m_ui->fitBmpButton->setEnabled(textures::fitEnabled(
        {m_state.filter == FileFilter::Bitmaps && fileSelected(), m_ui->browser.fileList->fileName(),
         shown.hasPicture(), shown.image().width(), shown.image().height(), shown.fileBytes().size()}));
}

void SkinEditWindow::onSkinReportClicked() {
    openSkinReport(m_ui->browser.directoryList->path(), m_services.messages, this,
                   [this](QWidget* window) { m_app.showWindow(window); });
}

void SkinEditWindow::onMoveFileClicked() {
    if (refused(editor::refuseSingleBitmapCommand(m_state, fileSelected()))) {
        return;
    }
    const QString name = m_ui->browser.fileList->fileName();
    const platform::FileResult moved = checks::moveToProgramDirectory(
        m_ui->browser.directoryList->path(), m_services.programDirectory, name, m_services.journal);
    if (!moved.ok) {
        m_services.messages.show(texts::couldNotMove(name, moved.error));
    }
    m_ui->browser.fileList->refresh();
}

void SkinEditWindow::onDeleteBmpClicked() {
    if (refused(editor::refuseSingleBitmapCommand(m_state, fileSelected()))) {
        return;
    }
    recycle(m_services.messages, selectedPath(), m_services.journal);
    m_ui->browser.fileList->refresh();
}

// The directory-wide checks are their own commands; the window hands them what it shows (a list
// of neither kind refuses nothing) and the controls they lend.
void SkinEditWindow::runCheck(const checks::DirectoryCheck& check) {
    runDirectoryCheckCommand(check,
                             {m_state.filter.value_or(check.filter), m_ui->browser.directoryList->path(),
                              *m_ui->progressBar, *m_ui->browser.fileList},
                             m_services);
}

void SkinEditWindow::onCloseProgramClicked() {
    m_app.closeProgramAsked();
}

void SkinEditWindow::onHistoryClicked() {
    m_app.showHistory();
}

void SkinEditWindow::onInstallClicked() {
    m_app.installCommand().chooseAndInstall({this, m_ui->browser.directoryList->path(), m_ui->progressBar,
                                             m_ui->browser.fileList, m_ui->browser.gamesBox->shownPath()});
}

void SkinEditWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (InstallCommand::accepts(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void SkinEditWindow::dropEvent(QDropEvent* event) {
    const QStringList dropped = InstallCommand::droppedPaths(event->mimeData());
    if (dropped.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    m_app.installCommand().install(dropped, {this, m_ui->browser.directoryList->path(), m_ui->progressBar,
                                             m_ui->browser.fileList, m_ui->browser.gamesBox->shownPath()});
}

} // namespace vestimo::gui
