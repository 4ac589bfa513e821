#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The accepted skin texture sizes, their file-size limits, and the conversion of a picture's
// physical size back into pixels.
namespace vestimo::textures {

struct SkinTextureRule {
    std::int16_t Width;
    std::int16_t Height;
    std::int32_t MaxFileSize; // the largest file length in bytes that is still valid
};

// Searched in this order; width comes first, so 256x512 and 128x256 are not listed.
inline constexpr std::array<SkinTextureRule, 6> SkinTextureRules = {{
    {256, 256, 75000},
    {512, 256, 140000},
    {256, 128, 38000},
    {128, 128, 22000},
    {64, 64, 9000},
    {32, 32, 3000},
}};

// HiMetric units (hundredths of a millimetre) counted as one pixel. Slightly less than the exact
// 2540 / 96, so a length rounded up to whole units still converts back to its pixel count.
inline constexpr double HiMetricPerPixel = 26.457031;

// Rounds to the nearest whole number, a value exactly halfway going to the even neighbour,
// independently of the floating-point rounding mode in force.
double roundHalfToEven(double value);

// Pixels of a HiMetric length: divided by HiMetricPerPixel and rounded half to even. A result
// outside the 16-bit range gives nullopt; such a size matches no rule.
std::optional<std::int16_t> pixelsFromHiMetric(std::int32_t himetric);

// The HiMetric length that a picture box reports for `pixels` pixels at 96 dots per inch:
// pixels * 2540 / 96 rounded to the nearest unit, halves away from zero (as Windows' MulDiv does),
// so 32 pixels measure 847. Results beyond the 32-bit range saturate.
std::int32_t hiMetricFromPixels(int pixels);

// The first rule listing width x height, or nullptr.
const SkinTextureRule* findSkinTextureRule(std::int16_t width, std::int16_t height);

// The same for a picture's measured size, which may be beyond the table's range.
const SkinTextureRule* ruleForPicture(int width, int height);

} // namespace vestimo::textures
