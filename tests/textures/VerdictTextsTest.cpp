#include "core/catalogue/Checks.h"
#include "core/catalogue/Install.h"
#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/catalogue/Verdicts.h"

#include <gtest/gtest.h>

using namespace vestimo;
using cmx::CmxVerdict;
using platform::PictureProblem;

// Each place words one verdict in its own way: the window and check-file name the file, the
// directory check and the install give the reason alone.
TEST(VerdictTexts, EachPlaceWordsTheSameVerdictItsOwnWay) {
    const CmxVerdict closed = CmxVerdict::unreadable(CmxVerdict::Kind::NotOpened, "Permission denied");
    EXPECT_EQ(texts::cmxCheckMessage(closed, "a.cmx"), texts::couldNotReadFile("a.cmx", "Permission denied"));
    EXPECT_EQ(texts::cmxCheckReason(closed), texts::couldNotBeOpened("Permission denied"));
    EXPECT_EQ(texts::cmxInstallRefusal(closed), texts::couldNotBeOpened("Permission denied"));
    const CmxVerdict large = CmxVerdict::unreadable(CmxVerdict::Kind::TooLarge, "too large");
    EXPECT_EQ(texts::cmxCheckReason(large), "too large");
    EXPECT_EQ(texts::cmxInstallRefusal(large), texts::couldNotBeOpened("too large"));
    EXPECT_EQ(texts::cmxInstallRefusal(CmxVerdict::of(CmxVerdict::Kind::Animation)), "");
    EXPECT_EQ(texts::cmxCheckReason(CmxVerdict::fault(9)), texts::faultyLine(9));
    EXPECT_EQ(texts::cmxInstallRefusal(CmxVerdict::fault(9)), texts::installFaultyLine(9));

    platform::BmpFault notBmp;
    notBmp.kind = platform::BmpFault::Kind::NotBmp;
    textures::BitmapVerdict damaged;
    damaged.problem = {PictureProblem::Kind::Damaged, {}, notBmp, {}};
    EXPECT_EQ(texts::bmpCheckMessage(damaged, "a.bmp"), texts::bmpFileCorrupt());
    EXPECT_EQ(texts::bitmapCheckReason(damaged), texts::notAReadablePicture("not a BMP file"));
    EXPECT_EQ(texts::bitmapInstallRefusal(damaged),
              texts::installPictureFault(texts::notAReadablePicture(), "not a BMP file"));
    // A decoder with nothing to say leaves the plain words.
    damaged.problem = {PictureProblem::Kind::NotDecoded, {}, {}, {}};
    EXPECT_EQ(texts::bitmapCheckReason(damaged), texts::notAReadablePicture());
    EXPECT_EQ(texts::bitmapInstallRefusal(damaged), texts::notAReadablePicture());
    EXPECT_EQ(texts::bmpCheckDetails(damaged), "");
}
