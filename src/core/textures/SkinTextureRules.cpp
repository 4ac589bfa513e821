#include "core/textures/SkinTextureRules.h"

#include <cmath>
#include <limits>

namespace vestimo::textures {

double roundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below; // exact for doubles of this magnitude
    if (fraction < 0.5) {
        return below;
    }
    if (fraction > 0.5) {
        return below + 1.0;
    }
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<std::int16_t> pixelsFromHiMetric(std::int32_t himetric) {
    const double pixels = roundHalfToEven(static_cast<double>(himetric) / HiMetricPerPixel);
    if (pixels < std::numeric_limits<std::int16_t>::min() ||
        pixels > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(pixels);
}

std::int32_t hiMetricFromPixels(int pixels) {
    const std::int64_t scaled = static_cast<std::int64_t>(pixels) * 2540;
    const std::int64_t rounded = scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
    if (rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (rounded < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(rounded);
}

const SkinTextureRule* findSkinTextureRule(std::int16_t width, std::int16_t height) {
    for (const SkinTextureRule& rule : SkinTextureRules) {
        if (rule.Width == width && rule.Height == height) {
            return &rule;
        }
    }
    return nullptr;
}

const SkinTextureRule* ruleForPicture(int width, int height) {
    constexpr int Largest = std::numeric_limits<std::int16_t>::max();
    if (width < 0 || height < 0 || width > Largest || height > Largest) {
        return nullptr;
    }
    return findSkinTextureRule(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height));
}

} // namespace vestimo::textures
