#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vestimo::platform {

// A picture file as loaded: the decoded image and the file's bytes (so a copy can be written
// that is exactly the file that was shown), or why it could not be loaded.
struct PictureLoad {
    bool ok = false;
    QImage image;
    QByteArray bytes;
    QString error;
};

// Skin textures are a few hundred kilobytes; anything past this is not a texture to show.
inline constexpr qint64 PictureFileLimit = qint64{64} * 1024 * 1024;

// Reads the file once and decodes it as a BMP, and only when its headers agree with its length
// (see CheckBmpStructure); anything else fails with the reason.
PictureLoad loadPicture(const QString& path);

// Only the dimensions, without keeping the bytes; decodes the file once.
struct PictureSize {
    bool ok = false;
    int width = 0;
    int height = 0;
    QString error;
};
PictureSize measurePicture(const QString& path);

} // namespace vestimo::platform
