#include "core/checks/SkinChecks.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
#include "core/textures/AssociatedFiles.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/Pictures.h"
#include "platform/SkinFolder.h"
#include "platform/Wildcard.h"

#include <limits>
#include <memory>
#include <optional>

namespace vestimo::checks {

namespace {

Verdict judgeCmx(const platform::SkinFolder& skinFolder, const QString& name) {
    if (!cmx::isSkinClass(cmx::classKey(name.toStdString()))) {
        return Verdict::passOver(texts::notASkinDescription());
    }
    // Closed again before the file is moved.
    cmx::CmxFileSource source(skinFolder.descriptor(), skinFolder.entry(name).toStdString());
    const QString error = QString::fromStdString(source.error());
    if (source.tooLarge()) {
        return Verdict::trouble(error);
    }
    if (!source.isOpen()) {
        return Verdict::trouble(texts::couldNotBeOpened(error));
    }
    const cmx::WalkVerdict verdict = cmx::walkCmxLines(source, true);
    if (!source.error().empty()) {
        // A verdict on part of the file is no verdict.
        return Verdict::trouble(texts::couldNotBeRead(QString::fromStdString(source.error())));
    }
    switch (verdict.kind) {
    case cmx::WalkVerdict::Kind::Fault:
        return Verdict::move(texts::faultyLine(verdict.line));
    case cmx::WalkVerdict::Kind::Animation:
        return Verdict::keep(texts::animationNotChecked());
    case cmx::WalkVerdict::Kind::Passed:
        break;
    }
    return Verdict::keep(texts::noErrorsFound());
}

Verdict judgeBitmap(const platform::SkinFolder& skinFolder, const QString& name) {
    const platform::PictureSize picture = platform::measurePicture(skinFolder.pathOf(name));
    if (!picture.ok) {
        const bool plain = picture.error.isEmpty() || picture.error == texts::notAReadablePicture();
        return Verdict::move(plain ? texts::notAReadablePicture()
                                   : texts::notAReadablePicture(picture.error));
    }
    const textures::SkinTextureRule* rule = textures::ruleForPicture(picture.width, picture.height);
    if (rule == nullptr) {
        return Verdict::passOver(texts::sizeNotListed(picture.width, picture.height));
    }
    // The measure read the whole file, so its length comes with it.
    if (picture.length <= rule->MaxFileSize) {
        return Verdict::keep(
            texts::withinTheLimit(picture.width, picture.height, picture.length, rule->MaxFileSize));
    }
    const QString reason =
        texts::overTheLimit(picture.width, picture.height, picture.length, rule->MaxFileSize);
    // Only the file judged goes: not one that took its place under another case of the name.
    if (skinFolder.lookUp(name) != name) {
        return Verdict::trouble(texts::noLongerThere(reason));
    }
    return Verdict::move(reason);
}

} // namespace

DirectoryCheck cmxCheck() {
    DirectoryCheck check;
    check.command = texts::checkAllCmxButton();
    check.filter = FileFilter::CmxFiles;
    check.judge = judgeCmx;
    check.passedOverLabel = texts::notSkinDescriptionsLeft();
    check.closingMessage = texts::cmxFilesChecked();
    return check;
}

DirectoryCheck bitmapCheck() {
    DirectoryCheck check;
    check.command = texts::checkAllBmpButton();
    check.filter = FileFilter::Bitmaps;
    check.judge = judgeBitmap;
    check.passedOverLabel = texts::sizesNotListedLeft();
    check.closingMessage = texts::bitmapsChecked();
    return check;
}

DirectoryCheck associatedFilesCheck() {
    // Bitmaps never move during this run, so the folder's one enumeration (the same that lists
    // the CMX files) answers every prefix.
    auto bitmaps = std::make_shared<std::optional<textures::BitmapIndex>>();
    const QString bitmapPattern = patternOf(FileFilter::Bitmaps);
    DirectoryCheck check;
    check.command = texts::checkAssociatedFilesButton();
    check.filter = FileFilter::CmxFiles;
    check.keepsListing = true;
    check.prepare = [bitmaps, bitmapPattern](const platform::FileNames& allFiles, DirectoryReport& report) {
        QStringList names;
        for (const QString& name : allFiles.names) {
            if (platform::wildcardMatch(bitmapPattern, name)) {
                names.append(name);
            }
        }
        // A bitmap whose name is not valid text still belongs to its CMX file; the player is told
        // to rename it all the same.
        QList<QByteArray> storedOnly;
        for (qsizetype i = 0; i < allFiles.unnamable.size(); ++i) {
            if (platform::wildcardMatch(bitmapPattern, allFiles.unnamable[i])) {
                storedOnly.append(allFiles.unnamableBytes[i]);
                report.unnamable.append(allFiles.unnamable[i]);
                report.unnamableBytes.append(allFiles.unnamableBytes.value(i));
            }
        }
        bitmaps->emplace(std::move(names), storedOnly);
    };
    check.judge = [bitmaps](const platform::SkinFolder&, const QString& name) {
        const QString prefix = textures::bitmapPrefix(name);
        if (prefix.isEmpty()) {
            return Verdict::passOver(texts::notASkinDescription());
        }
        if ((*bitmaps)->hasBitmapFor(prefix)) {
            return Verdict::keep(texts::bitmapBeginsWith(prefix));
        }
        return Verdict::move(texts::noBitmapBeginsWith(prefix),
                             {{textures::meshFileName(name), texts::meshRole()}});
    };
    check.passedOverLabel = texts::notSkinDescriptionsLeft();
    check.companionsLabel = texts::meshesMovedWithThem();
    check.closingMessage = texts::orphansMoved();
    check.rereadsItsKind = true;
    return check;
}

} // namespace vestimo::checks
