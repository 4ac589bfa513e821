#pragma once

#include "core/cmx/CheckCmxFile.h"
#include "core/textures/CheckBmpFile.h"
#include "platform/BmpStructure.h"
#include "platform/Pictures.h"

#include <QString>

// The words for the verdicts on one CMX file or bitmap, as each place that judges one says them:
// the single-file checks (the window and check-file), the directory checks' reasons and the
// install's refusals. The verdicts are facts; only here do they become text.
namespace vestimo::texts {

// Why a file is not a sound BMP.
QString bmpFault(const platform::BmpFault& fault);
// Why a picture did not load: the system's or decoder's words, or the fault in its structure.
QString pictureProblem(const platform::PictureProblem& problem);

// A file "Check CMX For Errors" could not read.
QString couldNotReadFile(const QString& fileName, const QString& why);

// "Check CMX For Errors" on `fileName`.
QString cmxCheckMessage(const cmx::CmxVerdict& verdict, const QString& fileName);
// Why the directory check moves, keeps, passes over or cannot judge a CMX file.
QString cmxCheckReason(const cmx::CmxVerdict& verdict);
// Why the install refuses a CMX file; empty when it does not.
QString cmxInstallRefusal(const cmx::CmxVerdict& verdict);

// "Check BMP File" on `fileName`: the message, and the details once the file was measured.
QString bmpCheckMessage(const textures::BitmapVerdict& verdict, const QString& fileName);
QString bmpCheckDetails(const textures::BitmapVerdict& verdict);
// Why the directory check moves, keeps or passes over a bitmap.
QString bitmapCheckReason(const textures::BitmapVerdict& verdict);
// Why the install refuses a bitmap; empty when it does not.
QString bitmapInstallRefusal(const textures::BitmapVerdict& verdict);

} // namespace vestimo::texts
