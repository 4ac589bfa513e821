#include "gui/checks/CmxCommands.h"

#include "gui/checks/CmxDirectoryCheck.h"
#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"
#include "core/textures/TextureMessages.h"

#include <QProgressBar>

namespace vestimo::cmx {

namespace {

const QString NotOnBmpFile = QStringLiteral("You cannot perform this action on a BMP file!");
const QString NoCmxFiles = QStringLiteral("There are no cmx files in this directory!");

QString closingMessage() {
    return QStringLiteral(
               "Problem Files were moved into the same directory as the program for you to check "
               "individually and fix, everything else was left where it was. If you have a cmx file "
               "that was moved but yet was a valid file, please email the file to ") +
           QString::fromUtf8(textures::MaintainerContact.data(),
                             static_cast<qsizetype>(textures::MaintainerContact.size()));
}

} // namespace

void checkAllCmx(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->pattern() == QStringLiteral("*.BMP")) {
        services.messages.show(NotOnBmpFile);
        return;
    }
    shell::ProgressBarProgress progress(*window.ProgressBar1);
    const shell::DirectoryReport report =
        checkCmxDirectory(window.Dir1->path(), services.programDirectory, progress);
    switch (report.outcome) {
    case shell::DirectoryReport::Outcome::Busy:
    case shell::DirectoryReport::Outcome::ListingFailed:
    case shell::DirectoryReport::Outcome::SameFolder:
    case shell::DirectoryReport::Outcome::FolderUnreadable:
        window.ProgressBar1->setVisible(false);
        services.messages.show(shell::stoppedMessage(report));
        return;
    case shell::DirectoryReport::Outcome::NothingListed:
        services.messages.show(NoCmxFiles, report.leftOut.isEmpty() && report.unnamable.isEmpty()
                                               ? QString()
                                               : report.details());
        return;
    case shell::DirectoryReport::Outcome::Completed:
        break;
    }
    services.messages.show(closingMessage(), report.details());
    window.File1->refresh();
    window.ProgressBar1->setVisible(false);
}

} // namespace vestimo::cmx
