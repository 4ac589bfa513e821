#include "gui/checks/FileOperations.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/SkinEdit.h"
#include "core/journal/Journal.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace vestimo::gui {

namespace {

// One command's single change as a run of the journal, or the plain operation without one.
platform::FileResult asRun(journal::Journal* journal, const QString& command, const QString& path,
                           const std::function<platform::FileResult()>& plain,
                           const std::function<platform::FileResult(journal::Journal&)>& journaled) {
    if (journal == nullptr) {
        return plain();
    }
    journal->beginRun(command, QFileInfo(path).absolutePath());
    const platform::FileResult result = journaled(*journal);
    journal->endRun(result.ok ? texts::runFinished() : texts::runFailed(texts::fileError(result.error)));
    return result;
}

} // namespace

void recycle(MessageBoxes& messages, const QString& FileName, journal::Journal* journal) {
    const QString shown = QDir::toNativeSeparators(FileName);
    if (!messages.ask(QStringLiteral("Are you sure you want to send '%1' to the Trash?").arg(shown))) {
        return;
    }
    const platform::FileResult trashed = asRun(
        journal, texts::deleteBmpButton(), FileName, [&] { return platform::moveToTrash(FileName); },
        [&](journal::Journal& j) { return j.trash(FileName, texts::trashedByThePlayer()); });
    if (!trashed.ok) {
        messages.show(
            QStringLiteral("Could not send %1 to the Trash: %2").arg(shown, texts::fileError(trashed.error)));
    }
}

platform::FileResult saveCmxFile(const QString& path, const QByteArray& bytes, journal::Journal* journal) {
    return asRun(
        journal, texts::saveCmxButton(), path, [&] { return platform::saveFile(path, bytes); },
        [&](journal::Journal& j) { return j.save(path, bytes, texts::savedByThePlayer()); });
}

} // namespace vestimo::gui
