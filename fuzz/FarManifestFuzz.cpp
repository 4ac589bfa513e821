// Hands arbitrary bytes to the FAR header and manifest parsers as a whole archive: no crash, and
// every entry they accept lies inside the bytes given, with its name inside the manifest.
#include "platform/archive/FarArchive.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vestimo::platform::archive;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    FarError error;
    const std::optional<quint32> offset = parseFarHeader(bytes, bytes.size(), &error);
    if (!offset) {
        return 0;
    }
    const QByteArrayView manifest = bytes.sliced(*offset);
    const std::optional<std::vector<FarEntry>> entries = parseFarManifest(manifest, bytes.size(), &error);
    if (!entries) {
        return 0;
    }
    qint64 names = 0;
    for (const FarEntry& entry : *entries) {
        names += entry.name.size() + 16;
        if (qint64{entry.offset} + entry.storedSize > bytes.size() || names + 4 > manifest.size()) {
            std::abort();
        }
    }
    return 0;
}
