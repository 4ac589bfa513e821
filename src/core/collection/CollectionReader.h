#pragma once

#include "core/collection/Collection.h"

#include <QString>

#include <memory>

// Reads a folder's collection in two steps, so a big folder shows its cards before its badges:
// cards() lists the folder and reads the CMX files (names, kinds, meshes, and the badges the CMX
// files and the names alone decide); judged() then measures the bitmaps and compares contents, and
// gives every badge. Reading again after a change reuses the facts of every file whose identity
// (size, modification time) is unchanged. Uses every core. One reader is used by one thread at a time.
namespace vestimo::collection {

class CollectionReader {
public:
    explicit CollectionReader(QString folder);
    ~CollectionReader();
    CollectionReader(const CollectionReader&) = delete;
    CollectionReader& operator=(const CollectionReader&) = delete;

    const QString& folder() const;

    // The cards, with the badges the CMX files and the names decide; `complete` false.
    Collection cards();
    // Every badge; reads cards() first when it was not read.
    Collection judged();
    // Whether the folder's listing or a file's size or modification time differs from the last read
    // (one lstat per file, no reading). True before the first read.
    bool changed() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vestimo::collection
