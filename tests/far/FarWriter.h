#pragma once

#include <QByteArray>
#include <QtEndian>

#include <utility>
#include <vector>

// FAR archives written by the documented layout, for the tests of the program that only reads them.
namespace vestimo::test {

using FarFiles = std::vector<std::pair<QByteArray, QByteArray>>;

inline QByteArray farNumber(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// Header, the files one after another, then the manifest, as the game's archives are laid out.
inline QByteArray farOf(const FarFiles& files) {
    QByteArray data;
    QByteArray manifest = farNumber(static_cast<quint32>(files.size()));
    for (const auto& [name, bytes] : files) {
        const auto size = static_cast<quint32>(bytes.size());
        manifest += farNumber(size) + farNumber(size) + farNumber(static_cast<quint32>(16 + data.size())) +
                    farNumber(static_cast<quint32>(name.size())) + name;
        data += bytes;
    }
    return "FAR!byAZ" + farNumber(1) + farNumber(static_cast<quint32>(16 + data.size())) + data + manifest;
}

} // namespace vestimo::test
