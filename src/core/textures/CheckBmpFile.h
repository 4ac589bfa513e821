#pragma once

#include "platform/Pictures.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace vestimo::textures {

// A loaded picture's size as a picture box reports it: in HiMetric units.
struct ShownPicture {
    std::int32_t widthHiMetric = 0;
    std::int32_t heightHiMetric = 0;
};

// The size a picture box reports for a picture of `width` x `height` pixels.
ShownPicture shownPictureOf(int width, int height);

// The one verdict on a bitmap, with what it was found on. Every place that judges a bitmap (the
// directory check, "Check BMP File", the install, the command line) takes it from judgeBitmap or
// judgeBitmapFile and words it through the catalogue (core/catalogue/Verdicts.h).
struct BitmapVerdict {
    enum class Kind {
        NotAPicture,   // it did not load; `problem` says why
        SizeNotListed, // width x height is not in the texture table
        LengthUnread,  // the size is listed, but the file's length could not be read; `why` says why
        WithinLimit,   // length is not more than the limit of its size
        OverLimit,     // length is more than the limit of its size
    };
    Kind kind = Kind::NotAPicture;
    int width = 0;
    int height = 0;
    qint64 length = 0;
    qint64 limit = 0;
    platform::PictureProblem problem;
    QString why;

    bool operator==(const BitmapVerdict&) const = default;
};

// Gives the file's length, or nothing with why it could not be read.
using LengthReader = std::function<std::optional<qint64>(QString* why)>;

// The one judgement of a bitmap: a picture that did not load, then its size looked up in the
// texture table, then (only for a listed size) its length held against the row's limit. The
// length is the measure's own unless `readLength` is given.
BitmapVerdict judgeBitmap(const platform::PictureSize& picture, const LengthReader& readLength = {});
// The same on the file at `path`, measured once: the measure reads the whole file, so the length
// comes with it.
BitmapVerdict judgeBitmapFile(const QString& path);

// What "Check BMP File" shows: its one message and, once the file was measured, the details;
// with the verdict they say.
struct BmpCheckAnswer {
    QString message;
    QString details;
    BitmapVerdict verdict;
};

// "Check BMP File" for the file `name` at `path`, whose picture loaded with the size `picture`
// (nothing: it did not load). The size is taken back to pixels and judged; only then is the
// file's length read.
BmpCheckAnswer checkBmpFile(const std::optional<ShownPicture>& picture, const QString& path,
                            const QString& name);

} // namespace vestimo::textures
