#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Archives written by libarchive itself, and the before/after picture of a folder tree, for the
// installation tests.
namespace vestimo::test {

struct ArchiveEntry {
    enum class Type { File, Folder, Symlink, Hardlink, Fifo };
    std::string name; // raw bytes, as stored
    std::string data;
    Type type = Type::File;
    std::string link;        // Symlink and Hardlink: what it points at
    std::uint64_t zeros = 0; // File: this many zero bytes follow `data`, streamed
};

enum class ArchiveFormat { ZipDeflate, ZipStored, SevenZip, TarGz, UstarGz };

// Writes the archive to `path`; `passphrase` encrypts a zip (traditional PKWARE encryption).
// Fails the current test when libarchive refuses.
void WriteArchive(const QString& path, ArchiveFormat format, const std::vector<ArchiveEntry>& entries,
                  const char* passphrase = nullptr);

inline ArchiveEntry File(std::string name, std::string data) {
    return {std::move(name), std::move(data), ArchiveEntry::Type::File, {}, 0};
}

// Every file, folder and link below `root`: relative path -> content ("-> target" for links,
// "<folder>" for folders).
QMap<QString, QByteArray> Snapshot(const QString& root);

} // namespace vestimo::test
