#include "core/catalogue/Verdicts.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"

#include <QCoreApplication>

namespace vestimo::texts {

namespace {

using Fault = platform::BmpFault;
using CmxKind = cmx::CmxVerdict::Kind;
using BitmapKind = textures::BitmapVerdict::Kind;

QString cutShortPart(Fault::Part part) {
    switch (part) {
    case Fault::Part::Headers:
        return QCoreApplication::translate("Vestimo", "headers");
    case Fault::Part::ColourTable:
        return QCoreApplication::translate("Vestimo", "colour table");
    case Fault::Part::PixelData:
        break;
    }
    return QCoreApplication::translate("Vestimo", "pixel data");
}

// A picture that did not load: said plainly when there is no more to say.
QString unreadablePicture(const platform::PictureProblem& problem, bool forInstall) {
    const bool plain = problem.kind == platform::PictureProblem::Kind::None ||
                       (problem.kind != platform::PictureProblem::Kind::Damaged && problem.reason.isEmpty());
    if (plain) {
        return notAReadablePicture();
    }
    return forInstall ? installPictureFault(notAReadablePicture(), pictureProblem(problem))
                      : notAReadablePicture(pictureProblem(problem));
}

} // namespace

QString bmpFault(const platform::BmpFault& fault) {
    switch (fault.kind) {
    case Fault::Kind::None:
        return {};
    case Fault::Kind::NotBmp:
        return QCoreApplication::translate("Vestimo", "not a BMP file");
    case Fault::Kind::CutShort:
        return QCoreApplication::translate("Vestimo", "%1 cut short at byte %2 of %3")
            .arg(cutShortPart(fault.part))
            .arg(fault.have)
            .arg(fault.need);
    case Fault::Kind::UnknownHeaderSize:
        return QCoreApplication::translate("Vestimo", "unknown bitmap header size %1").arg(fault.value);
    case Fault::Kind::ImpossibleSize:
        return QCoreApplication::translate("Vestimo", "impossible picture size %1 x %2")
            .arg(fault.width)
            .arg(fault.height);
    case Fault::Kind::PlaneCount:
        return QCoreApplication::translate("Vestimo", "plane count %1 instead of 1").arg(fault.value);
    case Fault::Kind::UnsupportedCompression:
        return QCoreApplication::translate("Vestimo", "unsupported compression %1 with %2 bits per pixel")
            .arg(fault.value)
            .arg(fault.bits);
    case Fault::Kind::RleTopDown:
        return QCoreApplication::translate("Vestimo", "a run-length encoded bitmap stored top-down");
    case Fault::Kind::ColourTableTooLong:
        return QCoreApplication::translate("Vestimo", "colour table of %1 entries for %2 bits per pixel")
            .arg(fault.value)
            .arg(fault.bits);
    case Fault::Kind::OffsetPastEnd:
        return QCoreApplication::translate("Vestimo",
                                           "pixel-data offset %1 lies past the end of the file (%2 bytes)")
            .arg(fault.value)
            .arg(fault.have);
    case Fault::Kind::OffsetInsideHeaders:
        return QCoreApplication::translate(
                   "Vestimo", "pixel-data offset %1 lies inside the headers, which end at byte %2")
            .arg(fault.value)
            .arg(fault.need);
    case Fault::Kind::RleUnterminated:
        break;
    }
    return QCoreApplication::translate("Vestimo",
                                       "run-length data ends at byte %1 without its end-of-bitmap marker")
        .arg(fault.have);
}

QString pictureProblem(const platform::PictureProblem& problem) {
    switch (problem.kind) {
    case platform::PictureProblem::Kind::Damaged:
        return bmpFault(problem.fault);
    case platform::PictureProblem::Kind::NotDecoded:
        return problem.reason.isEmpty() ? notAReadablePicture() : problem.reason;
    case platform::PictureProblem::Kind::Unread:
        return fileError(problem.file);
    case platform::PictureProblem::Kind::None:
        break;
    }
    return problem.reason;
}

QString couldNotReadFile(const QString& fileName, const QString& why) {
    return QCoreApplication::translate("Vestimo", "Could not read %1: %2").arg(fileName, why);
}

QString cmxCheckMessage(const cmx::CmxVerdict& verdict, const QString& fileName) {
    switch (verdict.kind) {
    case CmxKind::Passed:
        return noErrorsFound();
    case CmxKind::Animation:
        return animationNotChecked();
    case CmxKind::Fault:
        return cmxFaultAtLine(verdict.line);
    case CmxKind::OtherClass:
        return notCheckableCmxType();
    case CmxKind::TooLarge:
    case CmxKind::NotOpened:
    case CmxKind::ReadFailed:
        break;
    }
    return couldNotReadFile(fileName, verdict.why);
}

QString cmxCheckReason(const cmx::CmxVerdict& verdict) {
    switch (verdict.kind) {
    case CmxKind::Passed:
        return noErrorsFound();
    case CmxKind::Animation:
        return animationNotChecked();
    case CmxKind::Fault:
        return faultyLine(verdict.line);
    case CmxKind::OtherClass:
        return notASkinDescription();
    case CmxKind::TooLarge:
        return verdict.why;
    case CmxKind::NotOpened:
        return couldNotBeOpened(verdict.why);
    case CmxKind::ReadFailed:
        break;
    }
    return couldNotBeRead(verdict.why);
}

QString cmxInstallRefusal(const cmx::CmxVerdict& verdict) {
    switch (verdict.kind) {
    case CmxKind::Passed:
    case CmxKind::Animation:
        return {};
    case CmxKind::Fault:
        return installFaultyLine(verdict.line);
    case CmxKind::OtherClass:
        return installNotASkinDescription();
    case CmxKind::TooLarge:
    case CmxKind::NotOpened:
        return couldNotBeOpened(verdict.why);
    case CmxKind::ReadFailed:
        break;
    }
    return couldNotBeRead(verdict.why);
}

QString bmpCheckMessage(const textures::BitmapVerdict& verdict, const QString& fileName) {
    switch (verdict.kind) {
    case BitmapKind::NotAPicture:
        return bmpFileCorrupt();
    case BitmapKind::SizeNotListed:
        return dimensionsNotRecognized();
    case BitmapKind::LengthUnread:
        return couldNotReadLength(fileName, verdict.why);
    case BitmapKind::WithinLimit:
        return aValidSkinFile();
    case BitmapKind::OverLimit:
        break;
    }
    return notAValidSkinFile();
}

QString bmpCheckDetails(const textures::BitmapVerdict& verdict) {
    const bool measured = verdict.kind == BitmapKind::WithinLimit || verdict.kind == BitmapKind::OverLimit;
    return measured ? bitmapMeasured(verdict.width, verdict.height, verdict.length, verdict.limit)
                    : QString();
}

QString bitmapCheckReason(const textures::BitmapVerdict& verdict) {
    switch (verdict.kind) {
    case BitmapKind::NotAPicture:
    case BitmapKind::LengthUnread:
        return unreadablePicture(verdict.problem, false);
    case BitmapKind::SizeNotListed:
        return sizeNotListed(verdict.width, verdict.height);
    case BitmapKind::WithinLimit:
        return withinTheLimit(verdict.width, verdict.height, verdict.length, verdict.limit);
    case BitmapKind::OverLimit:
        break;
    }
    return overTheLimit(verdict.width, verdict.height, verdict.length, verdict.limit);
}

QString bitmapInstallRefusal(const textures::BitmapVerdict& verdict) {
    switch (verdict.kind) {
    case BitmapKind::NotAPicture:
    case BitmapKind::LengthUnread:
        return unreadablePicture(verdict.problem, true);
    case BitmapKind::SizeNotListed:
    case BitmapKind::WithinLimit:
        return {};
    case BitmapKind::OverLimit:
        break;
    }
    return overTheLimit(verdict.width, verdict.height, verdict.length, verdict.limit);
}

} // namespace vestimo::texts
