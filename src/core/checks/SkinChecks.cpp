#include "core/checks/SkinChecks.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Verdicts.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/textures/AssociatedFiles.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/SkinFolder.h"
#include "platform/Wildcard.h"

#include <memory>
#include <optional>

namespace vestimo::checks {

namespace {

Verdict judgeCmx(const platform::SkinFolder& skinFolder, const QString& name) {
    cmx::CmxVerdict verdict = cmx::CmxVerdict::of(cmx::CmxVerdict::Kind::OtherClass);
    if (cmx::namesSkinClass(name)) {
        // Read relative to the folder opened once; closed again before the file is moved.
        cmx::CmxFileSource source(skinFolder.descriptor(), skinFolder.entry(name).toStdString());
        verdict = cmx::judgeOpenedCmx(source, name, true);
    }
    const QString reason = texts::cmxCheckReason(verdict);
    switch (verdict.kind) {
    case cmx::CmxVerdict::Kind::OtherClass:
        return Verdict::passOver(reason);
    case cmx::CmxVerdict::Kind::TooLarge:
    case cmx::CmxVerdict::Kind::NotOpened:
    case cmx::CmxVerdict::Kind::ReadFailed:
        return Verdict::trouble(reason);
    case cmx::CmxVerdict::Kind::Fault:
        return Verdict::move(reason);
    case cmx::CmxVerdict::Kind::Animation:
    case cmx::CmxVerdict::Kind::Passed:
        break;
    }
    return Verdict::keep(reason);
}

Verdict judgeBitmap(const platform::SkinFolder& skinFolder, const QString& name) {
    const textures::BitmapVerdict verdict = textures::judgeBitmapFile(skinFolder.pathOf(name));
    const QString reason = texts::bitmapCheckReason(verdict);
    switch (verdict.kind) {
    case textures::BitmapVerdict::Kind::SizeNotListed:
        return Verdict::passOver(reason);
    case textures::BitmapVerdict::Kind::WithinLimit:
        return Verdict::keep(reason);
    case textures::BitmapVerdict::Kind::NotAPicture:
    case textures::BitmapVerdict::Kind::LengthUnread:
        return Verdict::move(reason);
    case textures::BitmapVerdict::Kind::OverLimit:
        break;
    }
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
