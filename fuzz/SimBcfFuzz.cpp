// Feeds arbitrary bytes to the binary character reader: it must never crash, a fault must name a
// byte inside the input, and every skeleton it reads must pose.
#include "core/sim/Character.h"
#include "core/sim/Pose.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto file = vestimo::sim::parseBcf(bytes);
    if (!file.ok()) {
        if (file.error().at < 0 || file.error().at > static_cast<std::int64_t>(size)) {
            std::abort();
        }
        return 0;
    }
    for (const vestimo::sim::Skeleton& skeleton : file.value().skeletons) {
        if (!vestimo::sim::poseSkeleton(skeleton).ok()) {
            std::abort();
        }
    }
    return 0;
}
