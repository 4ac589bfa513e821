#include "gui/fit/FitCommand.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/History.h"
#include "core/catalogue/MakerTools.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Verdicts.h"
#include "core/journal/Journal.h"
#include "core/textures/FitDecision.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/FileSystem.h"
#include "platform/fit/TextureFit.h"

#include <QFileInfo>
#include <QImage>

namespace vestimo::gui {

namespace {

// The refusal for a picture the fitting would not rewrite, or empty.
QString refusal(const QString& name, const platform::FitResult& fit, qint64 fileLength) {
    switch (fit.outcome) {
    case platform::FitOutcome::NotDecoded:
        return texts::fitNotDecoded(name, texts::fitError(fit));
    case platform::FitOutcome::SizeRefused:
        return texts::fitSizeNotListed(name, fit.width, fit.height);
    case platform::FitOutcome::NotReduced:
        return texts::fitNotReduced(name, texts::fitError(fit));
    case platform::FitOutcome::Fitted:
        break;
    }
    // The file may have been replaced by a valid one since the viewer showed it.
    return textures::fitWanted(fit.width, fit.height, fileLength) ? QString()
                                                                  : texts::fitAlreadyWithinLimit(name);
}

platform::FileResult replace(const QString& path, const QByteArray& bytes, journal::Journal* journal) {
    if (journal == nullptr) {
        return platform::saveFile(path, bytes);
    }
    journal->beginRun(texts::makeItFitButton(), QFileInfo(path).absolutePath());
    const platform::FileResult saved = journal->save(path, bytes, texts::madeToFitByThePlayer());
    journal->endRun(saved.ok ? texts::runFinished() : texts::runFailed(texts::fileError(saved.error)));
    return saved;
}

} // namespace

bool makeBitmapFit(const QString& path, const Services& services, const FitConfirm& confirm) {
    const QString name = QFileInfo(path).fileName();
    const platform::ReadResult read = platform::readFile(path, FitReadLimit);
    if (!read.ok) {
        services.messages.show(texts::couldNotOpen(name, texts::fileError(read.error)));
        return false;
    }
    const platform::FitResult fit = platform::fitTexture(read.bytes, textures::fittableSizes());
    const QString refused = refusal(name, fit, read.bytes.size());
    if (!refused.isEmpty()) {
        services.messages.show(refused);
        return false;
    }

    const textures::SkinTextureRule* rule = textures::ruleForPicture(fit.width, fit.height);
    const FitPreview preview{name,
                             QImage::fromData(read.bytes, "BMP"),
                             QImage::fromData(fit.bytes, "BMP"),
                             read.bytes.size(),
                             fit.bytes.size(),
                             fit.width,
                             fit.height,
                             rule != nullptr ? rule->MaxFileSize : 0};
    if (!confirm || !confirm(preview)) {
        return false;
    }
    // What the player saw is what gets replaced: a file changed meanwhile stays. A link is refused
    // by the save itself.
    const std::optional<platform::FileIdentity> now = platform::identifyFile(path);
    if (now && !platform::isSymbolicLink(path) && *now != read.identity) {
        services.messages.show(texts::fitChangedMeanwhile(name));
        return false;
    }
    const platform::FileResult saved = replace(path, fit.bytes, services.journal);
    if (!saved.ok) {
        services.messages.show(texts::couldNotSave(name, texts::fileError(saved.error)));
        return false;
    }
    return true;
}

} // namespace vestimo::gui
