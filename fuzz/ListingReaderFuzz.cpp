// Hands arbitrary names to the listing's walk: no crash, every name's characters counted, and no
// name visited that could reach outside the skin folder.
#include "core/checks/ScratchListing.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Names as an enumeration could give them, one per NUL-separated part of the input.
    vestimo::checks::ScratchListing::Written written;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qint64 expected = 0;
    for (const QByteArray& part : bytes.split('\0')) {
        const QString name = QString::fromUtf8(part);
        written.names.append(name);
        expected += name.toUcs4().size();
    }
    qint64 characters = 0;
    vestimo::checks::ScratchListing::walk(
        written, [&](int count) { characters += count; },
        [&](const QString& name) {
            if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral(".") ||
                name == QStringLiteral("..")) {
                std::abort();
            }
        });
    if (characters != expected) {
        std::abort();
    }
    return 0;
}
