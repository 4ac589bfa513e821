#include "gui/buyable/BuyableMaker.h"

#include "gui/buyable/BuyableMessages.h"
#include "core/cmx/CmxLayout.h"
#include "platform/FileSystem.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/widgets/PictureBox.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <optional>

namespace vestimo::buyable {

namespace {

const QString BitmapPattern = QStringLiteral("*.BMP");
const QString CmxPattern = QStringLiteral("*.CMX");

// An outfit code: the category letter and three more characters.
constexpr std::size_t CodeLength = 4;

std::array<QRadioButton*, 5> Categories(const shell::BuyableControls& window) {
    return {window.Option2, window.Option3, window.Option4, window.Option5, window.Option6};
}

QString withLetter(const QString& name, char letter) {
    return QString::fromStdString(replaceFirstCharacter(name.toStdString(), letter));
}

// The stored name of a file (not a folder) in `directory` called `name` without regard to case,
// as the game's platform sees names; empty when there is none. Folders are left to the write,
// which refuses them.
QString fileCalled(const QString& directory, const QString& name) {
    const QFileInfo exact(platform::joinPath(directory, name));
    if ((exact.exists() && !exact.isDir()) || exact.isSymLink()) {
        return name;
    }
    const QStringList names =
        QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& stored : names) {
        if (stored.compare(name, Qt::CaseInsensitive) == 0) {
            return stored;
        }
    }
    return {};
}

} // namespace

void File1_Click(shell::BuyableControls& window, const shell::Services& services) {
    // A selection cleared from code also raises the click; there is nothing to open then.
    if (window.File1->listIndex() == -1) {
        return;
    }
    const QString pattern = window.File1->pattern();
    if (pattern == BitmapPattern) {
        // A bitmap that does not decode leaves the last picture shown; the window has no word for it.
        window.Picture1->loadFile(platform::joinPath(window.Dir1->path(), window.File1->fileName()));
        return;
    }
    if (pattern == CmxPattern) {
        pickCmxFile(window, services, window.File1->fileName());
        return;
    }
    services.messages.show(NotABitmapPattern);
}

void pickCmxFile(shell::BuyableControls& window, const shell::Services& services, const QString& fileName) {
    const std::string name = fileName.toStdString();
    const QString base = QString::fromStdString(std::string(cmx::dropLastCharacters(name, 4)));
    if (base.isEmpty()) {
        services.messages.show(cmxNameEmpty(fileName));
        return;
    }
    window.Text2->setText(QStringLiteral("xskin-") + base + QStringLiteral("-PELVIS-BODY"));
    window.Text3->setText(base);
    window.cmdExport->setEnabled(true);
    for (QRadioButton* category : Categories(window)) {
        category->setEnabled(true);
    }
    window.File1->setEnabled(false);
    // Every freshly picked skin starts as Formal, whatever category button still shows selected.
    window.Text1->setText(withLetter(window.Text1->text(), 'F'));
    window.Text3->setText(withLetter(window.Text3->text(), 'F'));
}

void cmdLoadFile_Click(shell::BuyableControls& window, const shell::Services& services) {
    if (window.File1->listIndex() == -1) {
        services.messages.show(selectFileFirst);
        return;
    }
    const QString name = window.File1->fileName();
    // The export writes the viewer's picture, so it must be this bitmap and not one shown before.
    QString why;
    if (!window.Picture1->loadFile(platform::joinPath(window.Dir1->path(), name), &why)) {
        services.messages.show(bitmapNotShown(name, why));
        return;
    }
    window.Text1->setText(name);
    window.cmdCloseFile->setVisible(true);
    window.cmdLoadCMX->setEnabled(true);
    window.cmdClose->setEnabled(false);
    window.File1->setEnabled(false);
    window.Dir1->setEnabled(false);
    window.Drive1->setEnabled(false);
    window.cmdLoadFile->setEnabled(false);
}

void cmdLoadCMX_Click(shell::BuyableControls& window, const shell::Services& services) {
    if (window.Text1->text().isEmpty()) {
        services.messages.show(selectFileFirst);
        return;
    }
    window.File1->rereadWith(CmxPattern);
    window.File1->setEnabled(true);
}

void cmdCloseFile_Click(shell::BuyableControls& window) {
    for (QRadioButton* category : Categories(window)) {
        category->setEnabled(false);
    }
    window.cmdCloseFile->setVisible(false);
    window.cmdExport->setEnabled(false);
    window.cmdClose->setEnabled(true);
    window.File1->setEnabled(true);
    window.Dir1->setEnabled(true);
    window.Drive1->setEnabled(true);
    window.Text1->setText(QString());
    window.cmdLoadCMX->setEnabled(false);
    window.File1->rereadWith(BitmapPattern);
    window.Text2->setText(QString());
    window.Text3->setText(QString());
    window.cmdLoadFile->setEnabled(true);
}

void chooseCategory(shell::BuyableControls& window, Category category) {
    const char letter = letterOf(category);
    window.Text1->setText(withLetter(window.Text1->text(), letter));
    window.Text3->setText(withLetter(window.Text3->text(), letter));
}

void cmdExport_Click(shell::BuyableControls& window, const shell::Services& services) {
    if (!window.cmdExport->isEnabled()) {
        services.messages.show(LoadCmxBeforeExport);
        return;
    }
    const QString bitmapName = window.Text1->text();
    if (bitmapName.startsWith(u'B') || bitmapName.startsWith(u'b')) {
        services.messages.show(SelectCategoryFirst);
        return;
    }
    const QString cmxName = window.Text3->text();
    if (cmx::characterCount(cmxName.toStdString()) < CodeLength) {
        services.messages.show(cmxNameTooShort(cmxName));
        return;
    }

    const ExportedNames names = exportNames(bitmapName.toStdString(), cmxName.toStdString());
    window.Text3->setText(QString::fromStdString(names.newCmxName));
    window.Text1->setText(QString::fromStdString(names.newBitmapName));
    // A failed export leaves the source names, so the user can pick another category and retry.
    const auto refuse = [&](const QString& message) {
        window.Text1->setText(bitmapName);
        window.Text3->setText(cmxName);
        services.messages.show(message);
    };

    // Both names go into the CMX text, one per line, in the players' code page.
    for (const QString& name : {window.Text3->text(), window.Text2->text()}) {
        const std::optional<NameFault> fault = findNameFault(name.toStdString());
        if (!fault) {
            continue;
        }
        switch (fault->kind) {
        case NameFault::Kind::ControlCharacter:
            refuse(nameHasControlCharacter(name, fault->character));
            return;
        case NameFault::Kind::NotInCodePage:
            refuse(nameOutsideCodePage(name, fault->character));
            return;
        case NameFault::Kind::NotText:
            refuse(nameNotText(name));
            return;
        }
    }

    const QString directory = window.Dir1->path();
    const QString cmxFile = window.Text3->text() + QStringLiteral(".CMX");
    const QString bitmapFile = window.Text1->text();
    // Never replace a file, not even the source skin's own when the names come out unchanged.
    for (const QString& file : {cmxFile, bitmapFile}) {
        const QString inTheWay = fileCalled(directory, file);
        if (!inTheWay.isEmpty()) {
            refuse(fileInTheWay(inTheWay));
            return;
        }
    }

    const std::string text =
        buyableCmxText(window.Text3->text().toStdString(), window.Text2->text().toStdString());
    const QString cmxPath = platform::joinPath(directory, cmxFile);
    const platform::FileResult cmxWritten = platform::saveNewFile(cmxPath, QByteArray::fromStdString(text));
    if (!cmxWritten.ok) {
        refuse(writeFailed(cmxFile, cmxWritten.error));
        return;
    }
    const platform::FileResult bitmapWritten =
        platform::saveNewFile(platform::joinPath(directory, bitmapFile), window.Picture1->fileBytes());
    if (!bitmapWritten.ok) {
        // Half an outfit is no outfit: take the CMX file back.
        const platform::FileResult removed = platform::removeFile(cmxPath);
        refuse(removed.ok ? writeFailed(bitmapFile, bitmapWritten.error)
                          : writeFailedCmxLeft(bitmapFile, bitmapWritten.error, cmxFile, removed.error));
        return;
    }

    services.messages.show(SuccessfullyExported);
    cmdCloseFile_Click(window);
}

} // namespace vestimo::buyable
