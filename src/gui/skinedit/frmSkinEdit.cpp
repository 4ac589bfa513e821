#include "gui/skinedit/frmSkinEdit.h"

#include "core/cmx/CheckCmxFile.h"
#include "core/checks/SkinChecks.h"
#include "gui/skinedit/CmxEditor.h"
#include "platform/FileSystem.h"
#include "gui/app/NoMoreX.h"
#include "gui/app/Application.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/skinedit/FileCommands.h"
#include "gui/browser/FileList.h"
#include "gui/checks/FileOperations.h"
#include "gui/widgets/PictureBox.h"
#include "gui/app/WidgetNames.h"
#include "gui/checks/BitmapCommands.h"
#include "gui/checks/DirectoryCheckCommand.h"

#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vestimo::shell {

frmSkinEdit::frmSkinEdit(Application& app)
    : app_(app), services_{app.messages(), app.programDirectory()} {
    setObjectName(QStringLiteral("frmSkinEdit"));
    setWindowTitle(QStringLiteral("Vestimo - Skin Editing - From Quillbrook"));
    build();
    Form_Load();
}

void frmSkinEdit::build() {
    // Skin Directory: the browser, as a column on the left.
    Frame1 = named(new QGroupBox(QStringLiteral("Skin Directory"), this), "Frame1");
    cmdSwitch = button(Frame1, "cmdSwitch", QStringLiteral("Switch to Buyable Skin Maker"));
    Drive1 = named(new DriveList(Frame1), "Drive1");
    Dir1 = named(new DirList(Frame1), "Dir1");
    File1 = named(new FileList(Frame1), "File1");
    Option2 = named(new QRadioButton(QStringLiteral(".CMX Files Only"), Frame1), "Option2");
    Option1 = named(new QRadioButton(QStringLiteral(".BMP Files Only"), Frame1), "Option1");
    Option1->setChecked(true);
    // As wide as their captions: a click beside the caption is not a choice.
    Option1->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    Option2->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    cmdDefault = button(Frame1, "cmdDefault", QStringLiteral("Set to Default Game Directory"));
    cmdCloseFile = button(Frame1, "cmdCloseFile", QStringLiteral("Close Open File"));
    cmdCloseFile->setVisible(false);
    auto* browserLayout = new QVBoxLayout(Frame1);
    browserLayout->addWidget(cmdSwitch);
    browserLayout->addWidget(Drive1);
    browserLayout->addWidget(Dir1, 2);
    browserLayout->addWidget(File1, 3);
    browserLayout->addWidget(Option2);
    browserLayout->addWidget(Option1);
    browserLayout->addWidget(cmdDefault);
    browserLayout->addWidget(cmdCloseFile);

    // BMP Image Viewer: the picture, the progress bar, then one row of four buttons.
    Frame2 = named(new QGroupBox(QStringLiteral("BMP Image Viewer"), this), "Frame2");
    Picture1 = named(new PictureBox(Frame2), "Picture1");
    Picture2 = named(new PictureBox(Picture1), "Picture2");
    Picture2->setVisible(false);
    ProgressBar1 = named(new QProgressBar(Frame2), "ProgressBar1");
    ProgressBar1->setMinimum(0);
    ProgressBar1->setVisible(false);
    cmdCheckAllBMP = button(Frame2, "cmdCheckAllBMP", QStringLiteral("Check All BMP Files in Directory"));
    cmdMoveFile = button(Frame2, "cmdMoveFile", QStringLiteral("Move this file"));
    cmdCheckBMP = button(Frame2, "cmdCheckBMP", QStringLiteral("Check BMP File"));
    cmdDeleteBMP = button(Frame2, "cmdDeleteBMP", QStringLiteral("Delete Current BMP File"));
    auto* viewerButtons = new QGridLayout;
    viewerButtons->addWidget(cmdCheckAllBMP, 0, 0);
    viewerButtons->addWidget(cmdMoveFile, 0, 1);
    viewerButtons->addWidget(cmdCheckBMP, 1, 0);
    viewerButtons->addWidget(cmdDeleteBMP, 1, 1);
    auto* viewerLayout = new QVBoxLayout(Frame2);
    viewerLayout->addWidget(Picture1, 1);
    viewerLayout->addWidget(ProgressBar1);
    viewerLayout->addLayout(viewerButtons);

    // CMX Display and Editing: the text, then two columns of commands.
    Frame3 = named(new QGroupBox(QStringLiteral("CMX Display and Editing"), this), "Frame3");
    Text1 = named(new QPlainTextEdit(Frame3), "Text1");
    Text1->setPlainText(QStringLiteral("A CMX File's contents will be displayed here."));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdAssocFiles = button(Frame3, "cmdAssocFiles", QStringLiteral("Check Associated Files For All CMX Files"));
    cmdSaveCMX = button(Frame3, "cmdSaveCMX", QStringLiteral("Save CMX Changes"));
    cmdCMXError = button(Frame3, "cmdCMXError", QStringLiteral("Check CMX For Errors"));
    Text3 = named(new QLineEdit(QStringLiteral("CMX File Name"), Frame3), "Text3");
    Text3->setEnabled(false);
    cmdCheckAllCMX = button(Frame3, "cmdCheckAllCMX", QStringLiteral("Check All CMX Files in Directory"));
    cmdClose = button(Frame3, "cmdClose", QStringLiteral("Close This Program"));
    auto* middle = new QVBoxLayout;
    middle->addWidget(cmdAssocFiles);
    middle->addWidget(cmdSaveCMX);
    middle->addWidget(cmdCMXError);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(Text3);
    right->addWidget(cmdCheckAllCMX);
    right->addWidget(cmdClose);
    right->addStretch();
    auto* editorLayout = new QHBoxLayout(Frame3);
    editorLayout->addWidget(Text1, 1);
    editorLayout->addLayout(middle);
    editorLayout->addLayout(right);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 2);
    top->addWidget(Frame2, 3);
    auto* window = new QVBoxLayout(this);
    window->addLayout(top, 2);
    window->addWidget(Frame3, 1);
    Text1->setMinimumWidth(220);
    resize(720, 560);

    connect(cmdSwitch, &QPushButton::clicked, this, &frmSkinEdit::cmdSwitch_Click);
    connect(Drive1, &DriveList::driveChanged, this, &frmSkinEdit::Drive1_Change);
    connect(Dir1, &DirList::pathChanged, this, &frmSkinEdit::Dir1_Change);
    connect(File1, &FileList::fileClicked, this, &frmSkinEdit::File1_Click);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Option1_Click();
        }
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Option2_Click();
        }
    });
    connect(cmdDefault, &QPushButton::clicked, this, &frmSkinEdit::cmdDefault_Click);
    connect(cmdCloseFile, &QPushButton::clicked, this, &frmSkinEdit::cmdCloseFile_Click);
    connect(cmdCheckAllBMP, &QPushButton::clicked, this, &frmSkinEdit::cmdCheckAllBMP_Click);
    connect(cmdMoveFile, &QPushButton::clicked, this, &frmSkinEdit::cmdMoveFile_Click);
    connect(cmdCheckBMP, &QPushButton::clicked, this, &frmSkinEdit::cmdCheckBMP_Click);
    connect(cmdDeleteBMP, &QPushButton::clicked, this, &frmSkinEdit::cmdDeleteBMP_Click);
    connect(cmdAssocFiles, &QPushButton::clicked, this, &frmSkinEdit::cmdAssocFiles_Click);
    connect(cmdSaveCMX, &QPushButton::clicked, this, &frmSkinEdit::cmdSaveCMX_Click);
    connect(cmdCMXError, &QPushButton::clicked, this, &frmSkinEdit::cmdCMXError_Click);
    connect(cmdCheckAllCMX, &QPushButton::clicked, this, &frmSkinEdit::cmdCheckAllCMX_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSkinEdit::cmdClose_Click);

    // The lists start at the process's current folder, without raising their change steps.
    browser_ = std::make_unique<Browser>(Browser{Drive1, Dir1, File1, services_.messages});
    browser_->startAt(platform::currentDirectory());
}

void frmSkinEdit::Form_Load() {
    ++formLoads_;
    platform::noMoreX(this);
}

void frmSkinEdit::recycle(const QString& FileName) { shell::recycle(services_.messages, FileName); }

void frmSkinEdit::cmdSwitch_Click() { app_.switchToBuyable(); }
void frmSkinEdit::Drive1_Change() { browser_->Drive1_Change(); }
void frmSkinEdit::Dir1_Change() { browser_->Dir1_Change(); }
void frmSkinEdit::File1_Click() { editor::openSelectedFile(*this, services_); }
void frmSkinEdit::Option1_Click() { File1->setPattern(QStringLiteral("*.BMP")); }
void frmSkinEdit::Option2_Click() { File1->setPattern(QStringLiteral("*.CMX")); }
void frmSkinEdit::cmdDefault_Click() { browser_->cmdDefault_Click(); }
void frmSkinEdit::cmdCloseFile_Click() { editor::closeOpenFile(*this); }
void frmSkinEdit::cmdCheckAllBMP_Click() {
    runDirectoryCheckCommand(checks::bitmapCheck(), {File1->pattern() == patternOf(FileFilter::Bitmaps) ? FileFilter::Bitmaps : FileFilter::CmxFiles, Dir1->path(), *ProgressBar1, *File1}, services_);
}
void frmSkinEdit::cmdMoveFile_Click() { moveSelectedFile(*this, services_); }
void frmSkinEdit::cmdCheckBMP_Click() { textures::checkBmp(*this, services_); }
void frmSkinEdit::cmdDeleteBMP_Click() {
    if (refuseSingleBitmapCommand(*this, services_)) {
        return;
    }
    recycle(platform::joinPath(Dir1->path(), File1->fileName()));
    File1->refresh();
}
void frmSkinEdit::cmdAssocFiles_Click() {
    runDirectoryCheckCommand(checks::associatedFilesCheck(), {File1->pattern() == patternOf(FileFilter::Bitmaps) ? FileFilter::Bitmaps : FileFilter::CmxFiles, Dir1->path(), *ProgressBar1, *File1}, services_);
}
void frmSkinEdit::cmdSaveCMX_Click() { editor::saveCmx(*this, services_); }

void frmSkinEdit::cmdCMXError_Click() {
    const std::string message =
        cmx::checkCmxFile(File1->listIndex() != -1, QFile::encodeName(File1->fileName()).toStdString(),
                          File1->pattern().toStdString(), QFile::encodeName(Dir1->path()).toStdString(),
                          Text3->text().toStdString());
    services_.messages.show(QString::fromStdString(message));
}

void frmSkinEdit::cmdCheckAllCMX_Click() {
    runDirectoryCheckCommand(checks::cmxCheck(), {File1->pattern() == patternOf(FileFilter::Bitmaps) ? FileFilter::Bitmaps : FileFilter::CmxFiles, Dir1->path(), *ProgressBar1, *File1}, services_);
}
void frmSkinEdit::cmdClose_Click() { app_.closeProgram(); }

} // namespace vestimo::shell
