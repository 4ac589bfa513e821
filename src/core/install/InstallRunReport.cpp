#include "core/install/InstallRunReport.h"

#include "core/catalogue/History.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/RunReport.h"

#include <QDir>
#include <QFileInfo>

namespace vestimo::install {

using report::RunRow;
using report::RunVerdict;

report::RunReport installRunReport(const RecordedInstall& done, const Destination& destination) {
    const InstallReport& installed = done.report;
    report::RunReport run;
    run.kind = report::RunKind::Install;
    run.closing = installed.closing();
    run.facts.append({texts::factDownloads(), QString::number(installed.downloads.size())});
    run.facts.append({texts::factInstalledInto(), QDir::toNativeSeparators(destination.skins)});
    if (!destination.skinsBuy.isEmpty()) {
        run.facts.append({texts::factBuyableInto(), QDir::toNativeSeparators(destination.skinsBuy)});
    }
    run.facts.append({texts::factHistory(), installed.checkOnly ? texts::installCheckedOnlyNothingChanged()
                                            : done.recorded     ? texts::runCanBeUndone()
                                                                : texts::runNotRecorded(done.notRecorded)});

    const RunVerdict written = installed.checkOnly ? RunVerdict::WouldBeInstalled : RunVerdict::Installed;
    for (const DownloadReport& download : installed.downloads) {
        const QString from = QFileInfo(download.download).fileName();
        const auto file = [&from](const QString& name) { return texts::installRowFile(from, name); };
        if (!download.stopped.isEmpty()) {
            run.rows.append(
                {from, RunVerdict::Refused, texts::installRowNotRead(download.stopped), download.download});
        }
        for (const InstalledFile& entry : download.installed) {
            run.rows.append({file(entry.name), written, {}, entry.target});
        }
        for (const InstalledFile& entry : download.alreadyInstalled) {
            run.rows.append({file(entry.name), RunVerdict::AlreadyInstalled, {}, entry.target});
        }
        for (const RefusedFile& entry : download.refused) {
            run.rows.append({file(entry.name), RunVerdict::Refused, entry.reason, {}});
        }
        for (const ConflictingFile& entry : download.conflicts) {
            run.rows.append({file(entry.name),
                             RunVerdict::Refused,
                             texts::installRowConflict(QDir::toNativeSeparators(entry.other)),
                             {}});
        }
        for (const QString& name : download.notSkinFiles) {
            run.rows.append({file(name), RunVerdict::PassedOver, texts::installRowNotSkinFile(), {}});
        }
    }
    return run;
}

} // namespace vestimo::install
