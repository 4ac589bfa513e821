#include "core/textures/CheckBmpFile.h"
#include "core/textures/SkinTextureRules.h"

#include <gtest/gtest.h>

using vestimo::platform::PictureProblem;
using vestimo::platform::PictureSize;
using vestimo::textures::BitmapVerdict;
using vestimo::textures::judgeBitmap;

namespace {

PictureSize Measured(int width, int height, qint64 length) {
    return {true, width, height, length, {}};
}

// The limit of the 32 x 32 row, whichever it is.
const qint64 Limit = vestimo::textures::ruleForPicture(32, 32)->MaxFileSize;

} // namespace

TEST(BitmapVerdict, SizeThenLengthAgainstTheLimitOfItsRow) {
    const PictureProblem damaged{
        PictureProblem::Kind::Unread, {}, {}, vestimo::platform::FileError::system("gone")};
    const struct {
        PictureSize picture;
        BitmapVerdict::Kind kind;
        qint64 limit;
    } cases[] = {
        {{false, 0, 0, 0, damaged}, BitmapVerdict::Kind::NotAPicture, 0},
        {Measured(40, 40, 100), BitmapVerdict::Kind::SizeNotListed, 0},
        {Measured(32, 32, Limit), BitmapVerdict::Kind::WithinLimit, Limit},
        {Measured(32, 32, Limit + 1), BitmapVerdict::Kind::OverLimit, Limit},
    };
    for (const auto& c : cases) {
        const BitmapVerdict verdict = judgeBitmap(c.picture);
        EXPECT_EQ(verdict.kind, c.kind) << c.picture.width;
        EXPECT_EQ(verdict.limit, c.limit) << c.picture.width;
        EXPECT_EQ(verdict.length,
                  c.kind == BitmapVerdict::Kind::WithinLimit || c.kind == BitmapVerdict::Kind::OverLimit
                      ? c.picture.length
                      : 0);
    }
    EXPECT_EQ(judgeBitmap({false, 0, 0, 0, damaged}).problem, damaged);
}

TEST(BitmapVerdict, TheLengthIsReadOnlyForAListedSize) {
    int reads = 0;
    const auto unreadable = [&reads](QString* why) -> std::optional<qint64> {
        ++reads;
        *why = QStringLiteral("Permission denied");
        return std::nullopt;
    };
    EXPECT_EQ(judgeBitmap(Measured(40, 40, 0), unreadable).kind, BitmapVerdict::Kind::SizeNotListed);
    EXPECT_EQ(reads, 0);
    const BitmapVerdict verdict = judgeBitmap(Measured(32, 32, 0), unreadable);
    EXPECT_EQ(verdict.kind, BitmapVerdict::Kind::LengthUnread);
    EXPECT_EQ(verdict.why, "Permission denied");
    EXPECT_EQ(reads, 1);
}
