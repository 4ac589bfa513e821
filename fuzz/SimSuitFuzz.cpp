// Feeds arbitrary text to the suit reader: it must never crash, and a fault must name a line.
#include "core/sim/Character.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto suit = vestimo::sim::parseSuit(text);
    if (!suit.ok() && suit.error().kind != vestimo::sim::SimErrorKind::NoSuit &&
        (suit.error().place != vestimo::sim::Place::Line || suit.error().at < 1)) {
        std::abort();
    }
    return 0;
}
