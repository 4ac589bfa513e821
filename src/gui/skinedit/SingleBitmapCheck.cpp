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
void CheckBmp(shell::SkinEditControls& window, const shell::Services& services) {
    if (window.File1->listIndex() == -1) {
        services.messages.Show(shell::SelectFileFirst);
        return;
    }
    if (window.File1->pattern() == QStringLiteral("*.CMX")) {
        services.messages.Show(
            QString::fromUtf8(NotOnCmxFile.data(), static_cast<qsizetype>(NotOnCmxFile.size())));
        return;
    }
    if (!window.Picture1->hasPicture()) {
        services.messages.Show(BmpCorrupt);
        return;
    }
    const auto width = PixelsFromHiMetric(window.Picture1->widthHiMetric());
    const auto height = PixelsFromHiMetric(window.Picture1->heightHiMetric());
    const SkinTextureRule* rule = width && height ? FindSkinTextureRule(*width, *height) : nullptr;
    if (rule == nullptr) {
        services.messages.Show(QString::fromStdString(NotRecognizedMessage()));
        return;
    }
    const QString name = window.File1->fileName();
    QString why;
    const auto length = platform::FileLength(platform::JoinPath(window.Dir1->path(), name), &why);
    if (!length) {
        services.messages.Show(QStringLiteral("Could not read the length of %1: %2").arg(name, why));
        return;
    }
    const std::string_view verdict = *length > rule->MaxFileSize ? NotValidSkinFile : ValidSkinFile;
    services.messages.Show(QString::fromUtf8(verdict.data(), static_cast<qsizetype>(verdict.size())));
}

} // namespace vestimo::textures
