#pragma once

#include "platform/BmpStructure.h"
#include "platform/FileError.h"

#include <QString>

// What the floors above learn of a picture file: its size and whether it is a sound BMP, never
// the decoded image (that is the windows' business, see PictureImages.h).
namespace vestimo::platform {

// Skin textures are a few hundred kilobytes; anything past this is not a texture to show.
inline constexpr qint64 PictureFileLimit = qint64{64} * 1024 * 1024;

// Why a picture file did not load, as facts; the words are the catalogue's (texts::pictureProblem).
struct PictureProblem {
    enum class Kind {
        None,
        Unread,     // the file could not be read; `file` says why
        Damaged,    // not a sound BMP; `fault` says how
        NotDecoded, // the decoder refused it; `reason` in its words, possibly none
    };
    Kind kind = Kind::None;
    QString reason;
    BmpFault fault;
    FileError file;

    bool operator==(const PictureProblem&) const = default;
};

// A picture file as measured: its size in pixels and the file's length in bytes, or why it is
// not a readable BMP (empty when the picture reader gave no reason: it is simply not one).
struct PictureSize {
    bool ok = false;
    int width = 0;
    int height = 0;
    qint64 length = 0;
    PictureProblem problem;
};

// Reads the file once and decodes it as a BMP, and only when its headers agree with its length
// (see checkBmpStructure); keeps nothing of it.
PictureSize measurePicture(const QString& path);

} // namespace vestimo::platform
