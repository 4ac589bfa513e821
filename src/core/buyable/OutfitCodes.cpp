#include "core/buyable/OutfitCodes.h"

namespace vestimo::buyable {

std::optional<std::string_view> findBuyableCode(std::string_view sourceCode) {
    for (const OutfitCode& code : OutfitCodes) {
        if (code.source == sourceCode) {
            return code.buyable;
        }
    }
    return std::nullopt;
}

} // namespace vestimo::buyable
