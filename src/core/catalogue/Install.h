#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

// The texts of installing skins from downloads: why a file stays out, how a run ends, and the
// window's button, dialog and details.
namespace vestimo::texts {

// Why a file of a download is not installed.
inline QString installFaultyLine(int line) {
    return QCoreApplication::translate("Vestimo", "line %1").arg(line);
}
inline QString installPictureFault(const QString& unreadable, const QString& why) {
    return QStringLiteral("%1 (%2)").arg(unreadable, why);
}
inline QString installNotASkinDescription() {
    return QCoreApplication::translate(
        "Vestimo", "not a skin description this check reads (an animation or another kind)");
}
inline QString installSameSkinConflicts(const QString& cause, const QString& other) {
    return QCoreApplication::translate("Vestimo", "belongs to the same skin as %1, which conflicts with %2")
        .arg(cause, other);
}
inline QString installNoBitmapFor(const QString& prefix) {
    return QCoreApplication::translate("Vestimo", "no bitmap begins with \"%1\"").arg(prefix);
}
inline QString installMeshLeftBehind(const QString& owner) {
    return QCoreApplication::translate("Vestimo", "the mesh of %1, which is not installed").arg(owner);
}
inline QString installBelongsToRefused(const QString& cmx) {
    return QCoreApplication::translate("Vestimo", "belongs to %1, which was refused").arg(cmx);
}
// A skin goes in whole or not at all: every file of one that could not is "not installed".
inline QString installNotInstalled(const QString& why) {
    return QCoreApplication::translate("Vestimo", "not installed: %1").arg(why);
}
inline QString installNotRecorded() {
    return QCoreApplication::translate("Vestimo", "it could not be recorded in the history");
}
inline QString installNoSpace() {
    return QCoreApplication::translate("Vestimo", "no space left on device");
}
// For the journal: a file of a skin that could not be installed whole, taken out again.
inline QString installRemovedAgain(const QString& why) {
    return QCoreApplication::translate("Vestimo", "removed again, as its skin was not installed: %1")
        .arg(why);
}
inline QString installNoTemporaryName() {
    return QCoreApplication::translate("Vestimo", "no temporary name was free");
}
inline QString installNameAppeared() {
    return QCoreApplication::translate("Vestimo", "a file of that name appeared meanwhile");
}
inline QString installDownloadEmpty(const QString& fileName) {
    return QCoreApplication::translate("Vestimo", "%1 is empty").arg(fileName);
}
// A download that could not be read: its file name and libarchive's reason.
inline QString installDownloadStopped(const QString& fileName, const QString& why) {
    return QStringLiteral("%1: %2").arg(fileName, why);
}

// How a run ends.
inline QString installClosing(int installed, qsizetype downloads) {
    return QCoreApplication::translate("Vestimo", "Installed %1 files from %2 downloads.")
        .arg(installed)
        .arg(downloads);
}
inline QString installClosingCheckOnly(int installed, qsizetype downloads) {
    return QCoreApplication::translate("Vestimo",
                                       "Checked only: %1 files would be installed from %2 downloads.")
        .arg(installed)
        .arg(downloads);
}
inline QString installStoppedAfter(int installed, qsizetype downloads, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Installed %1 files from %2 downloads. %3")
        .arg(installed)
        .arg(downloads)
        .arg(why);
}
// An installation the player cancelled: what was installed before it stopped.
inline QString installCancelled(int installed, qsizetype downloads) {
    return QCoreApplication::translate(
               "Vestimo",
               "Cancelled: installed %1 files from the first %2 downloads; the rest were not read.")
        .arg(installed)
        .arg(downloads);
}
inline QString installNoSkinFolder(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "Nothing was installed: the skin folder %1 is not there.")
        .arg(QDir::toNativeSeparators(folder));
}
inline QString installNoStagingParent(const QString& folder) {
    return QCoreApplication::translate("Vestimo",
                                       "Nothing was installed: the folder for unpacking %1 is not there.")
        .arg(QDir::toNativeSeparators(folder));
}
inline QString installNoStagingFolder(const QString& why) {
    return QCoreApplication::translate("Vestimo",
                                       "Nothing more was installed: no staging folder could be made (%1).")
        .arg(why);
}
inline QString installNoFreeName() {
    return QCoreApplication::translate("Vestimo", "no free name");
}

// The journal: the run's command as History lists it, and why each file changed.
inline QString installCommandName() {
    return QCoreApplication::translate("Vestimo", "Install Skins from Download");
}
inline QString installedFrom(const QString& download, const QString& name) {
    return QCoreApplication::translate("Vestimo", "installed from %1 (%2)").arg(download, name);
}
inline QString installRunOutcome(int installed, int refused) {
    return refused == 0 ? QCoreApplication::translate("Vestimo", "finished; %1 installed").arg(installed)
                        : QCoreApplication::translate("Vestimo", "finished; %1 installed, %2 refused")
                              .arg(installed)
                              .arg(refused);
}

// The window: the button, the file dialog and the dialog that confirms where the skins go.
inline QString installButton() {
    return QCoreApplication::translate("Vestimo", "Install Skins from Download...");
}
inline QString chooseDownloads() {
    return QCoreApplication::translate("Vestimo", "Install Skins from Download");
}
inline QString downloadsFilter() {
    return QCoreApplication::translate("Vestimo",
                                       "Downloads (*.zip *.rar *.7z *.tar.gz *.tgz);;All files (*)");
}
inline QString installOptionsCaption() {
    return QCoreApplication::translate("Vestimo", "Vestimo - Install Skins");
}
inline QString installWhereLabel(qsizetype downloads) {
    return downloads == 1 ? QCoreApplication::translate("Vestimo", "Install the skins of 1 download into:")
                          : QCoreApplication::translate("Vestimo", "Install the skins of %1 downloads into:")
                                .arg(downloads);
}
inline QString installCurrentFolder(const QString& folder) {
    return QCoreApplication::translate("Vestimo", "The current skin folder (%1)")
        .arg(QDir::toNativeSeparators(folder));
}
inline QString installGameChoice(const QString& label, const QString& skins) {
    return QStringLiteral("%1 (%2)").arg(label, QDir::toNativeSeparators(skins));
}
inline QString checkOnlyOption() {
    return QCoreApplication::translate("Vestimo", "Check only");
}

// The report of a run: its facts and, for each file, the download it came from and why it was not
// installed.
inline QString factDownloads() {
    return QCoreApplication::translate("Vestimo", "Downloads");
}
inline QString factInstalledInto() {
    return QCoreApplication::translate("Vestimo", "Skins into");
}
inline QString factBuyableInto() {
    return QCoreApplication::translate("Vestimo", "Buyable outfits into");
}
inline QString installRowFile(const QString& download, const QString& name) {
    return QStringLiteral("%1: %2").arg(download, name);
}
inline QString installRowNotRead(const QString& why) {
    return QCoreApplication::translate("Vestimo", "the download could not be read: %1").arg(why);
}
inline QString installRowConflict(const QString& other) {
    return QCoreApplication::translate("Vestimo", "in conflict with %1").arg(other);
}
inline QString installRowNotSkinFile() {
    return QCoreApplication::translate("Vestimo", "not a skin file");
}
inline QString installCheckedOnlyNothingChanged() {
    return QCoreApplication::translate("Vestimo", "Checked only: nothing was written.");
}

} // namespace vestimo::texts
