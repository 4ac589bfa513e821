#include "gui/buyable/frmBuyableSkins.h"

#include "gui/buyable/BuyableMaker.h"
#include "platform/FileSystem.h"
#include "gui/app/CloseBox.h"
#include "gui/app/Application.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/widgets/PictureBox.h"
#include "gui/app/WidgetNames.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vestimo::shell {

namespace {

QRadioButton* Category(QWidget* parent, const char* name, const QString& caption) {
    auto* option = named(new QRadioButton(caption, parent), name);
    option->setEnabled(false);
    return option;
}

QLineEdit* nameBox(QWidget* parent, const char* name, const QString& text) {
    auto* box = named(new QLineEdit(text, parent), name);
    box->setEnabled(false);
    return box;
}

} // namespace

frmBuyableSkins::frmBuyableSkins(Application& app)
    : app_(app), services_{app.messages(), app.programDirectory()} {
    setObjectName(QStringLiteral("frmBuyableSkins"));
    setWindowTitle(QStringLiteral("Vestimo - Make Skins Buyable - From Quillbrook"));
    build();
    Form_Load();
}

void frmBuyableSkins::build() {
    Frame1 = named(new QGroupBox(QStringLiteral("Skin Directory"), this), "Frame1");
    cmdSwitch = button(Frame1, "cmdSwitch", QStringLiteral("Switch to Skin Editing Mode"));
    Drive1 = named(new DriveList(Frame1), "Drive1");
    Dir1 = named(new DirList(Frame1), "Dir1");
    File1 = named(new FileList(Frame1), "File1");
    cmdDefault = button(Frame1, "cmdDefault", QStringLiteral("Set to Default Game Directory"));
    cmdLoadFile = button(Frame1, "cmdLoadFile", QStringLiteral("Load BMP File to Change"));
    cmdCloseFile = button(Frame1, "cmdCloseFile", QStringLiteral("Close Open File"));
    cmdCloseFile->setVisible(false);
    auto* browserLayout = new QVBoxLayout(Frame1);
    browserLayout->addWidget(cmdSwitch);
    browserLayout->addWidget(Drive1);
    browserLayout->addWidget(Dir1, 2);
    browserLayout->addWidget(File1, 3);
    browserLayout->addWidget(cmdDefault);
    browserLayout->addWidget(cmdLoadFile);
    browserLayout->addWidget(cmdCloseFile);

    Frame2 = named(new QGroupBox(QStringLiteral("BMP Image Viewer"), this), "Frame2");
    Picture1 = named(new PictureBox(Frame2), "Picture1");
    auto* viewerLayout = new QVBoxLayout(Frame2);
    viewerLayout->addWidget(Picture1);

    Frame3 = named(new QGroupBox(QStringLiteral("Export as Buyable"), this), "Frame3");
    Option2 = Category(Frame3, "Option2", QStringLiteral("Formal"));
    Option3 = Category(Frame3, "Option3", QStringLiteral("Swimwear"));
    Option4 = Category(Frame3, "Option4", QStringLiteral("Sleepwear"));
    Option5 = Category(Frame3, "Option5", QStringLiteral("Winterwear"));
    Option6 = Category(Frame3, "Option6", QStringLiteral("High Fashion"));
    cmdExport = button(Frame3, "cmdExport", QStringLiteral("Export As Buyable"));
    cmdExport->setEnabled(false);
    cmdLoadCMX = button(Frame3, "cmdLoadCMX", QStringLiteral("Load CMX File"));
    cmdLoadCMX->setEnabled(false);
    Text1 = nameBox(Frame3, "Text1", QStringLiteral("BMPFileName"));
    Text2 = nameBox(Frame3, "Text2", QStringLiteral("SKNFileName"));
    Text3 = nameBox(Frame3, "Text3", QStringLiteral("CMXFileName"));
    cmdClose = button(Frame3, "cmdClose", QStringLiteral("Close This Program"));
    auto* categories = new QHBoxLayout;
    for (QRadioButton* option : {Option2, Option3, Option4, Option5, Option6}) {
        categories->addWidget(option);
    }
    categories->addStretch();
    auto* names = new QVBoxLayout;
    names->addWidget(Text1);
    names->addWidget(Text2);
    names->addWidget(Text3);
    auto* commands = new QVBoxLayout;
    commands->addWidget(cmdExport);
    commands->addWidget(cmdLoadCMX);
    commands->addWidget(cmdClose);
    auto* row = new QHBoxLayout;
    row->addLayout(names, 1);
    row->addLayout(commands);
    auto* exportLayout = new QVBoxLayout(Frame3);
    exportLayout->addLayout(categories);
    exportLayout->addLayout(row);

    // Tab goes as the eye does: the categories, the names, then the buttons beside them.
    QWidget::setTabOrder(Option6, Text1);
    QWidget::setTabOrder(Text1, Text2);
    QWidget::setTabOrder(Text2, Text3);
    QWidget::setTabOrder(Text3, cmdExport);
    QWidget::setTabOrder(cmdExport, cmdLoadCMX);
    QWidget::setTabOrder(cmdLoadCMX, cmdClose);

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1, 2);
    top->addWidget(Frame2, 3);
    auto* window = new QVBoxLayout(this);
    window->addLayout(top, 3);
    window->addWidget(Frame3, 1);
    resize(664, 513);

    connect(cmdSwitch, &QPushButton::clicked, this, &frmBuyableSkins::cmdSwitch_Click);
    connect(Drive1, &DriveList::driveChanged, this, &frmBuyableSkins::Drive1_Change);
    connect(Dir1, &DirList::pathChanged, this, &frmBuyableSkins::Dir1_Change);
    connect(File1, &FileList::fileClicked, this, &frmBuyableSkins::File1_Click);
    connect(cmdDefault, &QPushButton::clicked, this, &frmBuyableSkins::cmdDefault_Click);
    connect(cmdLoadFile, &QPushButton::clicked, this, &frmBuyableSkins::cmdLoadFile_Click);
    connect(cmdLoadCMX, &QPushButton::clicked, this, &frmBuyableSkins::cmdLoadCMX_Click);
    connect(cmdCloseFile, &QPushButton::clicked, this, &frmBuyableSkins::cmdCloseFile_Click);
    connect(Option2, &QRadioButton::clicked, this, &frmBuyableSkins::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &frmBuyableSkins::Option3_Click);
    connect(Option4, &QRadioButton::clicked, this, &frmBuyableSkins::Option4_Click);
    connect(Option5, &QRadioButton::clicked, this, &frmBuyableSkins::Option5_Click);
    connect(Option6, &QRadioButton::clicked, this, &frmBuyableSkins::Option6_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmBuyableSkins::cmdExport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmBuyableSkins::cmdClose_Click);

    browser_ = std::make_unique<Browser>(Browser{Drive1, Dir1, File1, services_.messages});
    browser_->startAt(platform::currentDirectory());
}

void frmBuyableSkins::Form_Load() {
    ++formLoads_;
    removeCloseBox(this);
}

void frmBuyableSkins::cmdSwitch_Click() { app_.switchToSkinEdit(); }
void frmBuyableSkins::Drive1_Change() { browser_->Drive1_Change(); }
void frmBuyableSkins::Dir1_Change() { browser_->Dir1_Change(); }
void frmBuyableSkins::File1_Click() { buyable::File1_Click(*this, services_); }
void frmBuyableSkins::cmdDefault_Click() { browser_->cmdDefault_Click(); }
void frmBuyableSkins::cmdLoadFile_Click() { buyable::cmdLoadFile_Click(*this, services_); }
void frmBuyableSkins::cmdLoadCMX_Click() { buyable::cmdLoadCMX_Click(*this, services_); }
void frmBuyableSkins::cmdCloseFile_Click() { buyable::cmdCloseFile_Click(*this); }
void frmBuyableSkins::Option2_Click() { buyable::chooseCategory(*this, buyable::Category::Formal); }
void frmBuyableSkins::Option3_Click() { buyable::chooseCategory(*this, buyable::Category::Swimwear); }
void frmBuyableSkins::Option4_Click() { buyable::chooseCategory(*this, buyable::Category::Sleepwear); }
void frmBuyableSkins::Option5_Click() { buyable::chooseCategory(*this, buyable::Category::Winterwear); }
void frmBuyableSkins::Option6_Click() { buyable::chooseCategory(*this, buyable::Category::HighFashion); }
void frmBuyableSkins::cmdExport_Click() { buyable::cmdExport_Click(*this, services_); }
void frmBuyableSkins::cmdClose_Click() { app_.closeProgram(); }

} // namespace vestimo::shell
