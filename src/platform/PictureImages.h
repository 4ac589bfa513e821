#pragma once

#include "platform/Pictures.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Loading a picture to show it. Only the windows include this: it needs QtGui, which the platform
// library links privately.
namespace vestimo::platform {

// A picture file as loaded: the decoded image and the file's bytes (so a copy can be written
// that is exactly the file that was shown), or why it could not be loaded (empty: the picture
// reader gave no reason).
struct PictureLoad {
    bool ok = false;
    QImage image;
    QByteArray bytes;
    PictureProblem problem;
};

// Reads the file once and decodes it as a BMP, under the same rules as measurePicture.
PictureLoad loadPicture(const QString& path);

} // namespace vestimo::platform
