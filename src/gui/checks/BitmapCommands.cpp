#include "gui/checks/BitmapCommands.h"

#include "gui/browser/DirList.h"
#include "gui/browser/FileList.h"
#include "gui/checks/AssociatedFilesCheck.h"
#include "gui/checks/BitmapDirectoryCheck.h"
#include "core/textures/TextureMessages.h"

#include <QProgressBar>
#include <QSignalBlocker>

namespace vestimo::textures {

namespace {

const QString NotOnBmpFile = QStringLiteral("You cannot perform this action on a BMP file!");
const QString NoBmpFiles = QStringLiteral("There are no bmp files in this directory!");
const QString NoCmxFiles = QStringLiteral("There are no cmx files in this directory!");
const QString OrphansMoved = QStringLiteral("CMX and SKN Files that have no BMP files associated with them "
                                            "were moved into the same directory as the program.");

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString bitmapsMoved() {
    return QStringLiteral(
               "Problem Files were moved into the same directory as the program for you to fix, everything "
               "else was left where it was. If you encounter a file that was moved that is valid, please "
               "email the dimensions and file size to ") +
           Text(MaintainerContact);
}

// Shows the message of a run that ended before its closing message; true when it did.
bool stoppedEarly(shell::SkinEditControls& window, const shell::Services& services,
                  const shell::DirectoryReport& report, const QString& nothingListed) {
    switch (report.outcome) {
    case shell::DirectoryReport::Outcome::Busy:
    case shell::DirectoryReport::Outcome::ListingFailed:
    case shell::DirectoryReport::Outcome::SameFolder:
    case shell::DirectoryReport::Outcome::FolderUnreadable:
        window.ProgressBar1->setVisible(false);
        services.messages.show(shell::stoppedMessage(report));
        return true;
    case shell::DirectoryReport::Outcome::NothingListed:
        services.messages.show(nothingListed, report.leftOut.isEmpty() && report.unnamable.isEmpty()
                                                  ? QString()
                                                  : report.details());
        return true;
    case shell::DirectoryReport::Outcome::Completed:
        break;
    }
    return false;
}

} // namespace

void checkAllBmp(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->pattern() == QStringLiteral("*.CMX")) {
        services.messages.show(Text(notOnCmxFile));
        return;
    }
    // Each bitmap is measured by loading it into the hidden working picture, which keeps the last
    // one that loaded; the viewer is not touched.
    shell::ProgressBarProgress progress(*window.ProgressBar1);
    const shell::DirectoryReport report = checkBitmapDirectory(window.Dir1->path(), services.programDirectory,
                                                               progress, measureIn(*window.Picture2));
    if (stoppedEarly(window, services, report, NoBmpFiles)) {
        return;
    }
    services.messages.show(bitmapsMoved(), report.details());
    window.File1->refresh();
    window.ProgressBar1->setVisible(false);
}

void checkAssociatedFiles(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->pattern() == QStringLiteral("*.BMP")) {
        services.messages.show(NotOnBmpFile);
        return;
    }
    shell::ProgressBarProgress progress(*window.ProgressBar1);
    const shell::DirectoryReport report =
        checkAssociatedFilesIn(window.Dir1->path(), services.programDirectory, progress);
    if (stoppedEarly(window, services, report, NoCmxFiles)) {
        return;
    }
    services.messages.show(OrphansMoved, report.details());
    window.ProgressBar1->setVisible(false);
    // The list ends on the CMX files that are left, nothing selected. The prefixes were answered
    // without it, so it may still be on "*.CMX"; it is read afresh either way.
    window.File1->rereadWith(QStringLiteral("*.CMX"));
}

} // namespace vestimo::textures
