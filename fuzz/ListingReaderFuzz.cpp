// Writes arbitrary bytes as a scratch listing and walks it: no crash, every byte accounted for,
// and no name handed out holds a carriage return.
#include "gui/checks/ScratchListing.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Temp.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const vestimo::shell::ScratchListing listing(dir.path());
    qint64 characters = 0;
    listing.walk([&](int count) { characters += count; },
                 [&](const QString& name) {
                     if (name.contains(u'\r')) {
                         std::abort();
                     }
                 });
    if (characters > static_cast<qint64>(size)) {
        std::abort();
    }
    return 0;
}
