// Temporary: the picture cache is written on another branch; this one only links.
#include "platform/cache/PictureCache.h"

#include <QDir>

namespace vestimo::platform {

struct PictureCache::State {
    qint64 limit = 0;
};

PictureCache::PictureCache(QString /*folder*/, qint64 limitBytes) : state_(std::make_unique<State>()) {
    state_->limit = limitBytes;
}

PictureCache::~PictureCache() = default;

QString PictureCache::defaultFolder() {
    return QDir::tempPath();
}

std::optional<QByteArray> PictureCache::find(const QString& /*key*/) {
    return std::nullopt;
}

bool PictureCache::store(const QString& /*key*/, const QStringList& /*sources*/,
                         const QByteArray& /*picture*/) {
    return true;
}

void PictureCache::setLimit(qint64 limitBytes) {
    state_->limit = limitBytes;
}

qint64 PictureCache::limit() const {
    return state_->limit;
}

qint64 PictureCache::sizeOnDisk() const {
    return 0;
}

bool PictureCache::clear() {
    return true;
}

} // namespace vestimo::platform
