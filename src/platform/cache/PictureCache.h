#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Finished pictures kept on disk between openings, so a folder seen before shows every picture at
// once. An entry is found by its key and is good only while every file it was drawn from still has
// the identity (path, size, modification time, inode) it had when the entry was written: the entry
// lists them, and a lookup compares them without reading the files. Entries hold encoded pictures
// (bytes), never decoded images. The folder never grows past its limit: the least recently used
// entries go first. A damaged entry (short, wrong checksum, unreadable) is a miss and is removed.
// Safe to use from several threads at once; several programs may share the folder.
namespace vestimo::platform {

class PictureCache {
public:
    static constexpr qint64 DefaultLimitBytes = 500LL * 1024 * 1024;

    // `folder` is created on first store when missing.
    explicit PictureCache(QString folder, qint64 limitBytes = DefaultLimitBytes);
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The cache folder for the user: $XDG_CACHE_HOME (default ~/.cache)/<application id>/skins.
    static QString defaultFolder();

    // The picture stored under `key`, when every file it was drawn from is unchanged.
    std::optional<QByteArray> find(const QString& key);
    // Stores `picture`, drawn from the files at `sources` (their identities are taken now). False
    // when it could not be written; the cache stays usable.
    bool store(const QString& key, const QStringList& sources, const QByteArray& picture);

    // Entries past a new limit are dropped at once.
    void setLimit(qint64 limitBytes);
    qint64 limit() const;
    qint64 sizeOnDisk() const;
    // Removes every entry; false when one could not be removed.
    bool clear();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vestimo::platform
