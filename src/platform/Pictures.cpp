#include "platform/Pictures.h"
#include "platform/PictureImages.h"

#include "platform/BmpStructure.h"
#include "platform/FileSystem.h"

#include <QBuffer>
#include <QImageReader>

namespace vestimo::platform {

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype V4HeaderSize = 108;

void put32(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

quint32 get32(const QByteArray& bytes, qsizetype at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// Qt's reader knows the 12-, 40-, 108- and 124-byte headers but not the V2 (52) and V3 (56) ones,
// which are the first fields of a V4 header: the copy it is given carries them widened to V4,
// everything after moved along and the offsets with it. Only called on a checked file.
QByteArray widenedToV4(const QByteArray& file) {
    const auto headerSize = static_cast<qsizetype>(get32(file, FileHeaderSize));
    const qsizetype growth = V4HeaderSize - headerSize;
    QByteArray wide;
    wide.reserve(file.size() + growth);
    wide.append(file.constData(), FileHeaderSize + headerSize);
    wide.append(QByteArray(growth, '\0'));
    wide.append(file.constData() + FileHeaderSize + headerSize, file.size() - FileHeaderSize - headerSize);
    put32(wide, 2, static_cast<quint32>(wide.size()));
    put32(wide, 10, get32(file, 10) + static_cast<quint32>(growth));
    put32(wide, FileHeaderSize, static_cast<quint32>(V4HeaderSize));
    return wide;
}

// Decodes a file as a BMP and nothing else (the game reads nothing else), once its headers are
// known to agree with its length; Qt's reader would make up whatever part is missing.
bool decodeBmp(const QByteArray& bytes, QImage* image, PictureProblem* why) {
    const BmpStructure structure =
        checkBmpStructure(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!structure.ok) {
        why->kind = PictureProblem::Kind::Damaged;
        why->fault = structure.fault;
        return false;
    }
    const quint32 headerSize = get32(bytes, FileHeaderSize);
    QByteArray decoded = headerSize == 52 || headerSize == 56 ? widenedToV4(bytes) : bytes;
    QBuffer buffer(&decoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    if (!reader.read(image)) {
        why->kind = PictureProblem::Kind::NotDecoded;
        why->reason = reader.errorString();
        *image = QImage();
        return false;
    }
    return true;
}

} // namespace

PictureLoad loadPicture(const QString& path) {
    PictureLoad load;
    ReadResult read = readFile(path, PictureFileLimit);
    if (!read.ok) {
        load.problem = {PictureProblem::Kind::Unread, {}, {}, read.error};
        return load;
    }
    if (!decodeBmp(read.bytes, &load.image, &load.problem)) {
        return load;
    }
    load.bytes = std::move(read.bytes);
    load.ok = true;
    return load;
}

PictureSize measurePicture(const QString& path) {
    PictureSize size;
    ReadResult read = readFile(path, PictureFileLimit);
    if (!read.ok) {
        size.problem = {PictureProblem::Kind::Unread, {}, {}, read.error};
        return size;
    }
    QImage image;
    // Decoding the whole picture is what tells a sound bitmap from a damaged one.
    if (!decodeBmp(read.bytes, &image, &size.problem)) {
        return size;
    }
    size.ok = true;
    size.length = read.bytes.size();
    size.width = image.width();
    size.height = image.height();
    return size;
}

} // namespace vestimo::platform
