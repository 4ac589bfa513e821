#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vestimo::textures {

// A loaded picture's size as a picture box reports it: in HiMetric units.
struct ShownPicture {
    std::int32_t widthHiMetric = 0;
    std::int32_t heightHiMetric = 0;
};

// The size a picture box reports for a picture of `width` x `height` pixels.
ShownPicture shownPictureOf(int width, int height);

// What "Check BMP File" shows: its one message and, once the file was measured, the details.
struct BmpCheckAnswer {
    QString message;
    QString details;
};

// The one message "Check BMP File" shows for the file `name` at `path`, whose picture loaded with
// the size `picture` (nothing: it did not load). The size is taken back to pixels and looked up
// in the texture table; only then is the file's length read and held against the row's limit.
BmpCheckAnswer checkBmpFile(const std::optional<ShownPicture>& picture, const QString& path,
                            const QString& name);

} // namespace vestimo::textures
