#include "platform/FileSystem.h"
#include "gui/browser/DirList.h"
#include "gui/skinedit/FileCommands.h"
#include "gui/browser/FileList.h"
#include "gui/widgets/PictureBox.h"
#include "gui/checks/BitmapCommands.h"
#include "core/textures/SkinTextureRules.h"
#include "core/textures/TextureMessages.h"

namespace vestimo::textures {

namespace {

const QString BmpCorrupt = QStringLiteral("It appears this bmp file is corrupt!");

} // namespace

// Judges the picture the viewer holds (as it was loaded when the file was selected) against the
// table, and the selected file's length against the row's limit. An empty viewer means the
// selected file did not load (a failed load clears it).
void checkBmp(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->listIndex() == -1) {
        services.messages.show(shell::selectFileFirst);
        return;
    }
    if (window.File1->pattern() == QStringLiteral("*.CMX")) {
        services.messages.show(
            QString::fromUtf8(notOnCmxFile.data(), static_cast<qsizetype>(notOnCmxFile.size())));
        return;
    }
    if (!window.Picture1->hasPicture()) {
        services.messages.show(BmpCorrupt);
        return;
    }
    const auto width = pixelsFromHiMetric(window.Picture1->widthHiMetric());
    const auto height = pixelsFromHiMetric(window.Picture1->heightHiMetric());
    const SkinTextureRule* rule = width && height ? findSkinTextureRule(*width, *height) : nullptr;
    if (rule == nullptr) {
        services.messages.show(QString::fromStdString(notRecognizedMessage()));
        return;
    }
    const QString name = window.File1->fileName();
    QString why;
    const auto length = platform::fileLength(platform::joinPath(window.Dir1->path(), name), &why);
    if (!length) {
        services.messages.show(QStringLiteral("Could not read the length of %1: %2").arg(name, why));
        return;
    }
    const std::string_view verdict = *length > rule->MaxFileSize ? NotValidSkinFile : ValidSkinFile;
    services.messages.show(QString::fromUtf8(verdict.data(), static_cast<qsizetype>(verdict.size())));
}

} // namespace vestimo::textures
