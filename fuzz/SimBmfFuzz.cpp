// Feeds arbitrary bytes to the binary mesh reader: it must never crash, and a fault must name a
// byte inside the input.
#include "core/sim/Mesh.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto mesh = vestimo::sim::parseBmf(bytes);
    if (!mesh.ok() && (mesh.error().at < 0 || mesh.error().at > static_cast<std::int64_t>(size))) {
        std::abort();
    }
    return 0;
}
