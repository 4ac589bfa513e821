#include "core/checks/ScratchListing.h"

#include "core/catalogue/Checks.h"
#include "core/catalogue/FileErrors.h"
#include "platform/OrdinaryFile.h"
#include "platform/Wildcard.h"
#include "platform/journal/FileDigest.h"
#include "platform/journal/JournalStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <optional>

namespace vestimo::checks {

namespace {

using platform::ListingFingerprint;

// What the listing at `path` is now; nothing when it is not an ordinary file that can be read.
std::optional<ListingFingerprint> fingerprintOf(const QString& path) {
    const platform::FileDigest digest = platform::digestFile(path);
    if (!digest.ok) {
        return std::nullopt;
    }
    return ListingFingerprint{digest.device, digest.inode, digest.size, digest.modified, digest.sha256};
}

// Whether the file at `path` is still the one `fingerprint` describes. Its status is compared
// first, so a file of anyone else is never read through.
bool unchanged(const QString& path, const ListingFingerprint& fingerprint) {
    const std::optional<platform::FileIdentity> now = platform::identifyOrdinaryFile(path);
    if (!now || now->device != fingerprint.device || now->inode != fingerprint.inode ||
        now->size != fingerprint.size) {
        return false;
    }
    return fingerprintOf(path) == fingerprint;
}

QString key(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Listings written by this copy, by the listing's path. The checks run one at a time, but the
// record is the program's, so it is guarded all the same.
class WrittenListings {
public:
    void remember(const QString& path, const ListingFingerprint& fingerprint) {
        const QMutexLocker lock(&mutex_);
        listings_.insert(key(path), fingerprint);
    }
    void forget(const QString& path) {
        const QMutexLocker lock(&mutex_);
        listings_.remove(key(path));
    }
    std::optional<ListingFingerprint> find(const QString& path) const {
        const QMutexLocker lock(&mutex_);
        const auto it = listings_.constFind(key(path));
        return it == listings_.constEnd() ? std::nullopt : std::optional<ListingFingerprint>(*it);
    }

private:
    mutable QMutex mutex_;
    QHash<QString, ListingFingerprint> listings_;
};

WrittenListings& ownListings() {
    static WrittenListings listings;
    return listings;
}

// A name that names something other than a file of the folder itself.
bool reachesOutside(const QString& name) {
    return name.isEmpty() || name == u'.' || name == QStringLiteral("..") || name.contains(u'/');
}

} // namespace

ScratchListing::ScratchListing(QString programDirectory, platform::JournalStore* keeper)
    : programDirectory_(std::move(programDirectory)),
      keeper_(keeper != nullptr && keeper->isOpen() ? keeper : nullptr) {}

QString ScratchListing::path() const {
    return platform::joinPath(programDirectory_, fileName);
}

void ScratchListing::remove() const {
    if (platform::lookUpFile(path()) == fileName) {
        forget();
        platform::removeFile(path());
    }
}

bool ScratchListing::isOwn() const {
    const std::optional<ListingFingerprint> remembered = ownListings().find(path());
    if (remembered && unchanged(path(), *remembered)) {
        return true;
    }
    if (keeper_ == nullptr) {
        return false;
    }
    const auto kept = keeper_->listing(key(path()));
    return kept.ok && kept.value && unchanged(path(), *kept.value);
}

void ScratchListing::forget() const {
    ownListings().forget(path());
    if (keeper_ != nullptr) {
        keeper_->forgetListing(key(path()));
    }
}

void ScratchListing::deleteIfOwn() const {
    if (platform::lookUpFile(path()) == fileName && isOwn()) {
        platform::removeFile(path());
        forget();
    }
}

ScratchListing::Written ScratchListing::enumerate(const platform::SkinFolder& skinFolder, FileFilter kind,
                                                  bool keepAll, QByteArray* bytes) {
    Written result;
    const QString filter = patternOf(kind);
    platform::FileNames listed = skinFolder.list(keepAll ? QStringLiteral("*") : filter);
    if (!listed.ok) {
        result.folderUnreadable = true;
        result.error = listed.error;
        return result;
    }
    for (qsizetype i = 0; i < listed.unnamable.size(); ++i) {
        if (platform::wildcardMatch(filter, listed.unnamable[i])) {
            result.unnamable.append(listed.unnamable[i]);
            result.unnamableBytes.append(listed.unnamableBytes.value(i));
        }
    }
    QByteArray content;
    for (const QString& name : listed.names) {
        if (keepAll && !platform::wildcardMatch(filter, name)) {
            continue;
        }
        if (name.contains(u'\r') || name.contains(u'\n')) {
            result.leftOut.append(name);
            continue;
        }
        content += QFile::encodeName(name);
        content += "\r\n";
        result.names.append(name);
    }
    if (keepAll) {
        result.everything = std::move(listed);
    }
    result.ok = true;
    result.size = content.size();
    if (bytes != nullptr) {
        *bytes = std::move(content);
    }
    return result;
}

ScratchListing::Written ScratchListing::write(const QString& skinDirectory, FileFilter kind,
                                              bool keepAll) const {
    return write(platform::SkinFolder(skinDirectory), kind, keepAll);
}

ScratchListing::Written ScratchListing::write(const platform::SkinFolder& skinFolder, FileFilter kind,
                                              bool keepAll) const {
    // The folder first: one that cannot be read leaves everything as it was.
    QByteArray bytes;
    Written result = enumerate(skinFolder, kind, keepAll, &bytes);
    if (!result.ok) {
        return result;
    }
    result.ok = false;
    // Never write through a link someone left under the listing's name, and never delete a file
    // the program did not write: the program's own old listing goes, anything else to the trash.
    if (platform::lookUpFile(path()) == fileName || QFileInfo(path()).isSymLink()) {
        const bool own = isOwn();
        const platform::FileResult removed =
            own ? platform::removeFile(path()) : platform::moveToTrash(path());
        if (!removed.ok) {
            const QString why = texts::fileError(removed.error);
            result.error = !QFileInfo(programDirectory_).isWritable()
                               ? texts::oldListingNotReplaced(fileName, why)
                           : own ? texts::oldListingNotDeleted(fileName, why)
                                 : texts::earlierListingNotTrashed(why);
            result.names.clear();
            result.everything = {};
            result.size = 0;
            return result;
        }
        result.earlierTrashed = !own;
        forget();
    }
    // A scratch file: written fresh (never through a link), without waiting for the disk.
    const platform::FileResult saved = platform::writeNewFile(path(), bytes);
    if (!saved.ok) {
        result.error = texts::fileError(saved.error);
        result.names.clear();
        result.everything = {};
        result.size = 0;
        return result;
    }
    if (const std::optional<ListingFingerprint> written = fingerprintOf(path())) {
        ownListings().remember(path(), *written);
        if (keeper_ != nullptr) {
            // A journal that cannot keep it only means a later copy of the program takes the
            // listing for someone else's, and sends it to the trash rather than deleting it.
            keeper_->keepListing(key(path()), *written);
        }
    }
    result.ok = true;
    return result;
}

void ScratchListing::walk(const Written& written, const std::function<void(int)>& advance,
                          const std::function<void(const QString&)>& visit) {
    for (const QString& name : written.names) {
        advance(static_cast<int>(name.toUcs4().size()));
        if (!reachesOutside(name)) {
            visit(name);
        }
    }
}

} // namespace vestimo::checks
