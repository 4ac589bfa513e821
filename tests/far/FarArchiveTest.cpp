#include "platform/archive/FarArchive.h"

#include "FarWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <utility>
#include <vector>

using namespace vestimo::platform::archive;
using Kind = FarError::Kind;

namespace {

using Files = vestimo::test::FarFiles;
using vestimo::test::farOf;

// The real skin descriptions where they are at hand, and bytes of every value besides.
Files sampleFiles() {
    Files files;
    for (const char* name : {"adult-skeleton.cmx", "HMLO.cmx"}) {
        QFile file(QDir(vestimo::test::realWorldDir()).filePath(QStringLiteral("bodies/%1").arg(name)));
        if (file.open(QIODevice::ReadOnly)) {
            files.emplace_back(QByteArray("Skins\\") + name, file.readAll());
        }
    }
    QByteArray all(256, '\0');
    for (int i = 0; i < all.size(); ++i) {
        all[i] = static_cast<char>(i);
    }
    files.emplace_back("every-byte.bin", all);
    files.emplace_back("empty.txt", QByteArray());
    return files;
}

TEST(FarArchive, ReadsBackWhatWasStored) {
    const vestimo::test::TempDir dir;
    const Files files = sampleFiles();
    FarError error;
    const auto far = FarArchive::open(dir.write("skins.far", farOf(files)), &error);
    ASSERT_TRUE(far) << int(error.kind);
    ASSERT_EQ(far->entries().size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(far->names()[static_cast<qsizetype>(i)], QString::fromLatin1(files[i].first));
        // Case ignored, as the game ignores it.
        EXPECT_EQ(far->read(files[i].first.toUpper(), 1 << 20, &error), files[i].second);
    }
    EXPECT_FALSE(far->read("every-byte.bin", 255, &error));
    EXPECT_EQ(error, (FarError{Kind::EntryTooLarge, QStringLiteral("every-byte.bin"), 255, {}}));
    EXPECT_FALSE(far->read("missing.bmp", 1 << 20, &error));
    EXPECT_EQ(error.kind, Kind::NoSuchEntry);
}

TEST(FarArchive, DamagedArchivesAreRefused) {
    const QByteArray good = farOf({{"a.cmx", "0123456789"}, {"b.cmx", "abc"}});
    const int manifest = 16 + 13;
    const auto with = [&good](int at, quint32 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    const struct {
        const char* what;
        QByteArray bytes;
        Kind kind;
    } cases[] = {
        {"empty", QByteArray(), Kind::Truncated},
        {"header cut", good.left(12), Kind::Truncated},
        {"signature", QByteArray(good).replace(0, 3, "RAF"), Kind::NotAFar},
        {"version", with(8, 3), Kind::UnknownVersion},
        {"manifest past the end", with(12, static_cast<quint32>(good.size())), Kind::ManifestOutside},
        {"manifest inside the header", with(12, 4), Kind::ManifestOutside},
        {"manifest cut", good.chopped(8), Kind::Truncated},
        {"count too large", with(manifest, 2000), Kind::TooManyEntries},
        {"count far too large", with(manifest, 0xffffffff), Kind::TooManyEntries},
        {"entry past the end", with(manifest + 4 + 8, 1000), Kind::EntryOutside},
        {"entry size past the end", with(manifest + 4 + 4, 0xfffffff0), Kind::EntryOutside},
        {"name past the end", with(manifest + 4 + 12, 5000), Kind::NameOutside},
    };
    const vestimo::test::TempDir dir;
    for (const auto& c : cases) {
        FarError error;
        EXPECT_FALSE(FarArchive::open(dir.write(QString::fromLatin1(c.what), c.bytes), &error)) << c.what;
        EXPECT_EQ(error.kind, c.kind) << c.what;
    }
}

TEST(FarArchive, CompressedEntriesAndLinksAreNotRead) {
    const vestimo::test::TempDir dir;
    QByteArray bytes = farOf({{"a.cmx", "0123456789"}});
    qToLittleEndian(quint32{4}, bytes.data() + 26 + 4 + 4); // stored in fewer bytes than it unpacks to
    FarError error;
    const auto far = FarArchive::open(dir.write("packed.far", bytes), &error);
    ASSERT_TRUE(far);
    EXPECT_FALSE(far->read("a.cmx", 100, &error));
    EXPECT_EQ(error.kind, Kind::Compressed);
    ASSERT_TRUE(QFile::link(dir.filePath("packed.far"), dir.filePath("link.far")));
    EXPECT_FALSE(FarArchive::open(dir.filePath("link.far"), &error));
    EXPECT_EQ(error.kind, Kind::NotOpened);
}

} // namespace
