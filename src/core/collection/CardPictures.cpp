// Temporary: the card pictures are drawn by another branch; this one only links.
#include "core/collection/CardPictures.h"

namespace vestimo::collection {

struct CardPictures::State {};

CardPictures::CardPictures(QString /*folder*/, tryon::TryOnPlaces /*places*/,
                           platform::PictureCache* /*cache*/, QSize /*size*/)
    : state_(std::make_unique<State>()) {}

CardPictures::~CardPictures() = default;

CardPicture CardPictures::picture(const Card& /*card*/) {
    return {QByteArray(), QString(), false};
}

} // namespace vestimo::collection
