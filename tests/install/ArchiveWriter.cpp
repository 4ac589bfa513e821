#include "install/ArchiveWriter.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace vestimo::test {

namespace {

void Check(struct archive* a, int status, const char* what) {
    EXPECT_GE(status, ARCHIVE_WARN) << what << ": "
                                    << (archive_error_string(a) ? archive_error_string(a) : "");
}

} // namespace

void WriteArchive(const QString& path, ArchiveFormat format, const std::vector<ArchiveEntry>& entries,
                  const char* passphrase) {
    struct archive* a = archive_write_new();
    switch (format) {
    case ArchiveFormat::ZipDeflate:
    case ArchiveFormat::ZipStored:
        Check(a, archive_write_set_format_zip(a), "zip");
        Check(a,
              archive_write_set_options(a, format == ArchiveFormat::ZipStored ? "zip:compression=store"
                                                                              : "zip:compression=deflate"),
              "compression");
        break;
    case ArchiveFormat::SevenZip:
        Check(a, archive_write_set_format_7zip(a), "7z");
        break;
    case ArchiveFormat::TarGz:
        Check(a, archive_write_set_format_pax_restricted(a), "tar");
        Check(a, archive_write_add_filter_gzip(a), "gzip");
        break;
    case ArchiveFormat::UstarGz:
        Check(a, archive_write_set_format_ustar(a), "ustar");
        Check(a, archive_write_add_filter_gzip(a), "gzip");
        break;
    }
    if (passphrase != nullptr) {
        Check(a, archive_write_set_options(a, "zip:encryption=zipcrypt"), "encryption");
        Check(a, archive_write_set_passphrase(a, passphrase), "passphrase");
    }
    Check(a, archive_write_open_filename(a, QFile::encodeName(path).constData()), "open");
    const std::string zeros(1 << 16, '\0');
    for (const ArchiveEntry& item : entries) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        archive_entry_set_mtime(entry, 1000000000, 0);
        switch (item.type) {
        case ArchiveEntry::Type::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, static_cast<la_int64_t>(item.data.size() + item.zeros));
            break;
        case ArchiveEntry::Type::Folder:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            break;
        case ArchiveEntry::Type::Symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_set_symlink(entry, item.link.c_str());
            break;
        case ArchiveEntry::Type::Hardlink:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_hardlink(entry, item.link.c_str());
            break;
        case ArchiveEntry::Type::Fifo:
            archive_entry_set_filetype(entry, AE_IFIFO);
            archive_entry_set_perm(entry, 0644);
            break;
        }
        Check(a, archive_write_header(a, entry), item.name.c_str());
        if (item.type == ArchiveEntry::Type::File) {
            if (!item.data.empty()) {
                EXPECT_EQ(archive_write_data(a, item.data.data(), item.data.size()),
                          static_cast<la_ssize_t>(item.data.size()));
            }
            for (std::uint64_t left = item.zeros; left > 0;) {
                const std::size_t chunk =
                    static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
                ASSERT_EQ(archive_write_data(a, zeros.data(), chunk), static_cast<la_ssize_t>(chunk));
                left -= chunk;
            }
        }
        archive_entry_free(entry);
    }
    Check(a, archive_write_close(a), "close");
    archive_write_free(a);
}

QMap<QString, QByteArray> Snapshot(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = QDir(root).relativeFilePath(path);
        if (info.isSymLink()) {
            files.insert(relative, "-> " + QFile::encodeName(info.symLinkTarget()));
        } else if (info.isDir()) {
            files.insert(relative, "<folder>");
        } else {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            files.insert(relative, file.readAll());
        }
    }
    return files;
}

} // namespace vestimo::test
