#include "platform/cache/PictureCache.h"

#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

using vestimo::platform::PictureCache;
using vestimo::test::TempDir;

namespace {

// The entry files in the cache folder.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.pic")}, QDir::Files | QDir::System);
}

void setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

class Cache : public ::testing::Test {
protected:
    QString folder() const { return dir.filePath(QStringLiteral("cache")); }
    TempDir dir;
    const QString texture = dir.write(QStringLiteral("skin/a.bmp"), "texture bytes");
    const QString mesh = dir.write(QStringLiteral("skin/a.skn"), "mesh bytes");
    const QByteArray picture = QByteArray("\x89PNG picture").repeated(10);
};

TEST_F(Cache, AStoredPictureIsFoundWhileItsFilesAreUnchanged) {
    PictureCache cache(folder());
    EXPECT_FALSE(cache.find(QStringLiteral("card a")));
    ASSERT_TRUE(cache.store(QStringLiteral("card a"), {texture, mesh}, picture));
    EXPECT_EQ(cache.find(QStringLiteral("card a")), picture);
    EXPECT_FALSE(cache.find(QStringLiteral("card b")));
    // Another program (or the next opening) finds it too.
    EXPECT_EQ(PictureCache(folder()).find(QStringLiteral("card a")), picture);
    EXPECT_GT(cache.sizeOnDisk(), picture.size());
}

TEST_F(Cache, AChangedSourceIsAMiss) {
    const std::vector<std::pair<const char*, std::function<void(const QString&)>>> changes = {
        {"rewritten with another length",
         [](const QString& path) {
             ASSERT_TRUE(QFile::remove(path));
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("other texture");
         }},
        {"modification time moved",
         [](const QString& path) { setModified(path, QDateTime::currentDateTime().addSecs(-3600)); }},
        {"replaced by another file",
         [](const QString& path) {
             ASSERT_TRUE(QFile::copy(path, path + ".new"));
             ASSERT_TRUE(QFile::remove(path));
             ASSERT_TRUE(QFile::rename(path + ".new", path));
         }},
        {"removed", [](const QString& path) { ASSERT_TRUE(QFile::remove(path)); }},
    };
    for (const auto& [what, change] : changes) {
        TempDir skin;
        const QString file = skin.write(QStringLiteral("a.bmp"), "texture bytes");
        PictureCache cache(skin.filePath(QStringLiteral("cache")));
        ASSERT_TRUE(cache.store(QStringLiteral("key"), {file}, picture));
        ASSERT_TRUE(cache.find(QStringLiteral("key"))) << what;
        change(file);
        EXPECT_FALSE(cache.find(QStringLiteral("key"))) << what;
    }
}

TEST_F(Cache, ADamagedEntryIsAMissAndIsRemoved) {
    const std::vector<std::pair<const char*, std::function<QByteArray(QByteArray)>>> damages = {
        {"cut short", [](QByteArray b) { return b.left(b.size() / 2); }},
        {"one byte changed",
         [](QByteArray b) {
             b[b.size() / 2] = static_cast<char>(b[b.size() / 2] ^ 0x20);
             return b;
         }},
        {"emptied", [](const QByteArray&) { return QByteArray(); }},
        {"another program's file", [](const QByteArray&) { return QByteArray("not an entry at all"); }},
    };
    for (const auto& [what, damage] : damages) {
        PictureCache cache(folder());
        ASSERT_TRUE(cache.store(QStringLiteral("key"), {texture}, picture));
        const QString entry = QDir(folder()).filePath(entries(folder()).value(0));
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray damaged = damage(file.readAll());
        file.close();
        ASSERT_TRUE(QFile::remove(entry));
        dir.write(QStringLiteral("cache/") + QFileInfo(entry).fileName(), damaged);
        EXPECT_FALSE(cache.find(QStringLiteral("key"))) << what;
        EXPECT_FALSE(QFile::exists(entry)) << what;
        // Drawn again, it is stored again.
        ASSERT_TRUE(cache.store(QStringLiteral("key"), {texture}, picture));
        EXPECT_EQ(cache.find(QStringLiteral("key")), picture) << what;
    }
}

// Stores `key` and returns the name of the entry file it made.
QString storeNamed(PictureCache& cache, const QString& folder, const QString& key, const QStringList& sources,
                   const QByteArray& picture) {
    const QStringList before = entries(folder);
    EXPECT_TRUE(cache.store(key, sources, picture));
    for (const QString& name : entries(folder)) {
        if (!before.contains(name)) {
            return QDir(folder).filePath(name);
        }
    }
    return {};
}

TEST_F(Cache, PastTheLimitTheLeastRecentlyUsedGoFirst) {
    QStringList files;
    {
        PictureCache cache(folder());
        for (int i = 0; i < 4; ++i) {
            files.append(storeNamed(cache, folder(), QStringLiteral("key %1").arg(i), {texture}, picture));
        }
    }
    // Last used 4, 3, 2 and 1 hours ago.
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < 4; ++i) {
        setModified(files[i], now.addSecs(qint64{-3600} * (4 - i)));
    }
    PictureCache cache(folder());
    const qint64 entry = cache.sizeOnDisk() / 4;
    ASSERT_EQ(cache.sizeOnDisk(), entry * 4);
    // Using "key 0" makes it the newest: "key 1" is now the least recently used.
    ASSERT_TRUE(cache.find(QStringLiteral("key 0")));
    cache.setLimit(entry * 7 / 2);
    EXPECT_EQ(cache.limit(), entry * 7 / 2);
    EXPECT_EQ(cache.sizeOnDisk(), entry * 3);
    EXPECT_FALSE(QFile::exists(files[1]));
    for (const char* kept : {"key 0", "key 2", "key 3"}) {
        EXPECT_TRUE(cache.find(QString::fromLatin1(kept))) << kept;
    }
    // A store past the limit makes room the same way.
    ASSERT_TRUE(cache.store(QStringLiteral("key 4"), {texture}, picture));
    EXPECT_LE(cache.sizeOnDisk(), cache.limit());
    EXPECT_TRUE(cache.find(QStringLiteral("key 4")));
    cache.setLimit(0);
    EXPECT_EQ(cache.sizeOnDisk(), 0);
    EXPECT_TRUE(entries(folder()).isEmpty());
}

TEST_F(Cache, ALinkInPlaceOfAnEntryIsNeverReadNorWrittenThrough) {
    PictureCache cache(folder());
    const QString entry = storeNamed(cache, folder(), QStringLiteral("key"), {texture}, picture);
    const QString outside = dir.write(QStringLiteral("outside.txt"), "precious");
    ASSERT_TRUE(QFile::remove(entry));
    ASSERT_TRUE(QFile::link(outside, entry));
    EXPECT_FALSE(cache.find(QStringLiteral("key")));
    ASSERT_TRUE(cache.store(QStringLiteral("key"), {texture}, picture));
    EXPECT_EQ(vestimo::test::readAll(outside), "precious");
    EXPECT_FALSE(QFileInfo(entry).isSymLink());
    EXPECT_EQ(cache.find(QStringLiteral("key")), picture);
}

TEST_F(Cache, ClearingEmptiesTheFolderAndAPictureOfAMissingFileIsNotKept) {
    PictureCache cache(folder());
    ASSERT_TRUE(cache.store(QStringLiteral("key"), {texture, mesh}, picture));
    EXPECT_FALSE(
        cache.store(QStringLiteral("gone"), {dir.filePath(QStringLiteral("skin/gone.bmp"))}, picture));
    EXPECT_TRUE(cache.clear());
    EXPECT_EQ(cache.sizeOnDisk(), 0);
    EXPECT_TRUE(entries(folder()).isEmpty());
    EXPECT_FALSE(cache.find(QStringLiteral("key")));
}

TEST_F(Cache, SeveralThreadsShareOneCache) {
    PictureCache cache(folder(), qint64{20} * 1024);
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                const QString key = QStringLiteral("key %1").arg(i % 20);
                if (!cache.store(key, {texture}, picture + key.toUtf8())) {
                    ++wrong;
                }
                const auto found = cache.find(QStringLiteral("key %1").arg((i + t) % 20));
                if (found && !found->startsWith(picture)) {
                    ++wrong;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_LE(cache.sizeOnDisk(), cache.limit());
}

TEST(CacheFolder, TheUsersCacheFolderHoldsTheProgramsSkinPictures) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
    const QString ownFolder = u'/' + vestimo::platform::applicationId() + QStringLiteral("/skins");
    const struct {
        const char* cacheHome;
        QString expected;
    } cases[] = {
        {"/var/tmp/cache", QStringLiteral("/var/tmp/cache") + ownFolder},
        {"", QStringLiteral("/home/someone/.cache") + ownFolder},
        // A relative setting is no setting.
        {"relative/cache", QStringLiteral("/home/someone/.cache") + ownFolder},
    };
    qputenv("HOME", "/home/someone");
    for (const auto& c : cases) {
        qputenv("XDG_CACHE_HOME", c.cacheHome);
        EXPECT_EQ(PictureCache::defaultFolder(), c.expected) << c.cacheHome;
    }
    qputenv("HOME", home);
    qputenv("XDG_CACHE_HOME", cacheHome);
}

} // namespace
