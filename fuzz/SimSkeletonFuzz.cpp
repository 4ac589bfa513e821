// Feeds arbitrary text to the skeleton reader: it must never crash, a fault must name a line, and
// a skeleton it reads must pose.
#include "core/sim/Character.h"
#include "core/sim/Pose.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto skeleton = vestimo::sim::parseSkeleton(text);
    if (!skeleton.ok()) {
        const auto& e = skeleton.error();
        if (e.kind != vestimo::sim::SimErrorKind::NoSkeleton &&
            (e.place != vestimo::sim::Place::Line || e.at < 1)) {
            std::abort();
        }
    } else if (!vestimo::sim::poseSkeleton(skeleton.value()).ok()) {
        std::abort();
    }
    return 0;
}
