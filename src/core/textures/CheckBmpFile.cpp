#include "core/textures/CheckBmpFile.h"

#include "core/catalogue/SingleChecks.h"
#include "core/catalogue/SkinEdit.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/FileSystem.h"

namespace vestimo::textures {

ShownPicture shownPictureOf(int width, int height) {
    return {hiMetricFromPixels(width), hiMetricFromPixels(height)};
}

BmpCheckAnswer checkBmpFile(const std::optional<ShownPicture>& picture, const QString& path,
                            const QString& name) {
    if (!picture) {
        return {texts::bmpFileCorrupt(), {}};
    }
    const auto width = pixelsFromHiMetric(picture->widthHiMetric);
    const auto height = pixelsFromHiMetric(picture->heightHiMetric);
    const SkinTextureRule* rule = width && height ? findSkinTextureRule(*width, *height) : nullptr;
    if (rule == nullptr) {
        return {texts::dimensionsNotRecognized(), {}};
    }
    QString why;
    const auto length = platform::fileLength(path, &why);
    if (!length) {
        return {texts::couldNotReadLength(name, why), {}};
    }
    return {*length > rule->MaxFileSize ? texts::notAValidSkinFile() : texts::aValidSkinFile(),
            texts::bitmapMeasured(*width, *height, *length, rule->MaxFileSize)};
}

} // namespace vestimo::textures
