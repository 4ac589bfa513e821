#include "platform/Pictures.h"

#include "platform/FileSystem.h"

#include <QBuffer>
#include <QImageReader>

namespace vestimo::platform {

namespace {

QString Reason(const QImageReader& reader) {
    const QString why = reader.errorString();
    return why.isEmpty() ? QStringLiteral("not a readable picture") : why;
}

} // namespace

PictureLoad LoadPicture(const QString& path) {
    PictureLoad load;
    ReadResult read = ReadFile(path, PictureFileLimit);
    if (!read.ok) {
        load.error = read.error;
        return load;
    }
    QBuffer buffer(&read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.read(&load.image)) {
        load.error = Reason(reader);
        load.image = QImage();
        return load;
    }
    load.bytes = std::move(read.bytes);
    load.ok = true;
    return load;
}

PictureSize MeasurePicture(const QString& path) {
    PictureSize size;
    ReadResult read = ReadFile(path, PictureFileLimit);
    if (!read.ok) {
        size.error = read.error;
        return size;
    }
    QBuffer buffer(&read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QImage image;
    // Decoding the whole picture is what tells a sound bitmap from a damaged one.
    if (!reader.read(&image)) {
        size.error = Reason(reader);
        return size;
    }
    size.ok = true;
    size.width = image.width();
    size.height = image.height();
    return size;
}

} // namespace vestimo::platform
