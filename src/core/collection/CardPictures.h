#pragma once

#include "core/collection/Collection.h"
#include "core/tryon/TryOn.h"
#include "platform/cache/PictureCache.h"

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>

// The picture on a skin's card: the Sim wearing the skin's first texture (a body or a buyable), the
// head alone (a head), the hand alone (a hand), the texture itself (a texture no skin claims); drawn
// by the same renderer as Try It On, and kept in the picture cache. One CardPictures per worker
// thread: it remembers the pieces it has read (skeletons, heads, hands) while their files stay
// unchanged, so ten thousand cards read the skeleton once. The cache may be shared.
namespace vestimo::collection {

struct CardPicture {
    QByteArray png;      // empty when the card cannot be drawn
    QString failure;     // why not, as the view shows it
    bool cached = false; // came from the cache without reading the card's files
};

class CardPictures {
public:
    CardPictures(QString folder, tryon::TryOnPlaces places, platform::PictureCache* cache, QSize size);
    ~CardPictures();
    CardPictures(const CardPictures&) = delete;
    CardPictures& operator=(const CardPictures&) = delete;

    CardPicture picture(const Card& card);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vestimo::collection
