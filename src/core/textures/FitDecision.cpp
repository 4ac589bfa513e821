#include "core/textures/FitDecision.h"

#include "core/textures/SkinTextureRules.h"

namespace vestimo::textures {

bool fitWanted(int width, int height, qint64 fileLength) {
    const SkinTextureRule* rule = ruleForPicture(width, height);
    return rule != nullptr && fileLength > rule->MaxFileSize;
}

bool fitEnabled(const FitSelection& selection) {
    return selection.listShowsBitmaps && selection.pictureShown &&
           selection.selectedName.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) &&
           fitWanted(selection.width, selection.height, selection.fileLength);
}

QList<QSize> fittableSizes() {
    QList<QSize> sizes;
    for (const SkinTextureRule& rule : SkinTextureRules) {
        sizes.append(QSize(rule.Width, rule.Height));
    }
    return sizes;
}

} // namespace vestimo::textures
