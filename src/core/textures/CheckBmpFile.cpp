#include "core/textures/CheckBmpFile.h"

#include "core/catalogue/Verdicts.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/FileSystem.h"

namespace vestimo::textures {

ShownPicture shownPictureOf(int width, int height) {
    return {hiMetricFromPixels(width), hiMetricFromPixels(height)};
}

BitmapVerdict judgeBitmap(const platform::PictureSize& picture, const LengthReader& readLength) {
    BitmapVerdict verdict;
    if (!picture.ok) {
        verdict.problem = picture.problem;
        return verdict;
    }
    verdict.width = picture.width;
    verdict.height = picture.height;
    const SkinTextureRule* rule = ruleForPicture(picture.width, picture.height);
    if (rule == nullptr) {
        verdict.kind = BitmapVerdict::Kind::SizeNotListed;
        return verdict;
    }
    verdict.limit = rule->MaxFileSize;
    if (readLength) {
        const std::optional<qint64> length = readLength(&verdict.why);
        if (!length) {
            verdict.kind = BitmapVerdict::Kind::LengthUnread;
            return verdict;
        }
        verdict.length = *length;
    } else {
        verdict.length = picture.length;
    }
    verdict.kind =
        verdict.length <= verdict.limit ? BitmapVerdict::Kind::WithinLimit : BitmapVerdict::Kind::OverLimit;
    return verdict;
}

BitmapVerdict judgeBitmapFile(const QString& path) {
    return judgeBitmap(platform::measurePicture(path));
}

BmpCheckAnswer checkBmpFile(const std::optional<ShownPicture>& picture, const QString& path,
                            const QString& name) {
    platform::PictureSize size;
    if (picture) {
        // A length out of range matches no row of the table, as no size in it is negative.
        size.ok = true;
        size.width = pixelsFromHiMetric(picture->widthHiMetric).value_or(-1);
        size.height = pixelsFromHiMetric(picture->heightHiMetric).value_or(-1);
    }
    const BitmapVerdict verdict =
        judgeBitmap(size, [&path](QString* why) { return platform::fileLength(path, why); });
    return {texts::bmpCheckMessage(verdict, name), texts::bmpCheckDetails(verdict), verdict};
}

} // namespace vestimo::textures
