#include "core/collection/CardPictures.h"

#include "core/catalogue/Collection.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/PlatformErrors.h"
#include "platform/FileSystem.h"
#include "platform/render/RenderPng.h"

#include <utility>

namespace vestimo::collection {

namespace {

// Raised whenever the way a card is drawn changes, so that older pictures are never shown.
constexpr int PictureVersion = 1;
// Cards show the Sim a little turned: a face seen straight on looks flat.
constexpr float CardTurnDegrees = 20;
constexpr qint64 MaxTextureBytes = qint64{16} * 1024 * 1024;

// The file a card is known by: its CMX file, else its one texture or mesh.
QString subjectOf(const Card& card) {
    if (!card.cmxFile.isEmpty()) {
        return card.cmxFile;
    }
    return card.kind.card == CardKind::OrphanTexture ? card.textures.value(0) : card.meshes.value(0);
}

} // namespace

struct CardPictures::State {
    QString folder;
    tryon::TryOnPlaces places;
    platform::PictureCache* cache = nullptr;
    QSize size;
    tryon::TryOnMemo memo;

    QString key(const Card& card) const {
        return QStringLiteral("card %1\n%2\n%3\n%4\n%5x%6")
            .arg(PictureVersion)
            .arg(folder, subjectOf(card), card.textures.value(0))
            .arg(size.width())
            .arg(size.height());
    }

    platform::render::RenderView view() const {
        platform::render::RenderView view;
        view.width = size.width();
        view.height = size.height();
        view.turnDegrees = CardTurnDegrees;
        return view;
    }

    // The picture and the files it was drawn from; an empty picture with the reason otherwise.
    std::pair<CardPicture, QStringList> draw(const Card& card) {
        if (card.kind.card == CardKind::OrphanMesh || subjectOf(card).isEmpty()) {
            return {{{}, texts::cardMeshWithoutCmx(), false}, {}};
        }
        if (card.kind.card == CardKind::OrphanTexture) {
            return texture(platform::joinPath(folder, card.textures.value(0)));
        }
        tryon::TryOnRequest request;
        request.cmxPath = platform::joinPath(folder, card.cmxFile);
        if (!card.textures.isEmpty()) {
            request.texturePath = platform::joinPath(folder, card.textures.front());
        }
        // A head or a hand is shown alone: the card is about that piece.
        request.alone = card.kind.card == CardKind::Head || card.kind.card == CardKind::Hand;
        const tryon::TryOnScene scene = tryon::buildTryOnScene(request, places, &memo);
        if (!scene.drawable) {
            return {{{}, scene.failure, false}, {}};
        }
        platform::render::RenderError error = platform::render::RenderError::None;
        QByteArray png = platform::render::renderPng(scene.sceneMeshes(), view(), &error);
        if (png.isEmpty()) {
            return {{{}, texts::renderError(error), false}, {}};
        }
        return {{std::move(png), {}, false}, scene.sources};
    }

    std::pair<CardPicture, QStringList> texture(const QString& path) const {
        const platform::ReadResult read = platform::readFile(path, MaxTextureBytes);
        if (!read.ok) {
            return {{{}, texts::cardTextureNotPicture(texts::fileErrorReason(read.error)), false}, {}};
        }
        QByteArray png = platform::render::texturePng(read.bytes, size.width(), size.height());
        if (png.isEmpty()) {
            return {{{}, texts::cardTextureNotPicture(texts::cardNotAPicture()), false}, {}};
        }
        return {{std::move(png), {}, false}, {path}};
    }
};

CardPictures::CardPictures(QString folder, tryon::TryOnPlaces places, platform::PictureCache* cache,
                           QSize size)
    : state_(std::make_unique<State>()) {
    state_->folder = std::move(folder);
    state_->places = std::move(places);
    state_->cache = cache;
    state_->size = size;
}

CardPictures::~CardPictures() = default;

CardPicture CardPictures::picture(const Card& card) {
    const QString key = state_->key(card);
    if (state_->cache != nullptr) {
        if (std::optional<QByteArray> found = state_->cache->find(key)) {
            return {std::move(*found), {}, true};
        }
    }
    auto [picture, sources] = state_->draw(card);
    // A card that cannot be drawn is not kept: its reason is cheap to find again and may change.
    if (state_->cache != nullptr && !picture.png.isEmpty() && !sources.isEmpty()) {
        state_->cache->store(key, sources, picture.png);
    }
    return picture;
}

} // namespace vestimo::collection
