#pragma once

#include "platform/BmpStructure.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

// Rewrites a texture as an uncompressed 8-bit palette BMP, which every accepted texture size fits
// into: 256 x 256 comes to 66,614 bytes.
namespace vestimo::platform {

enum class FitOutcome {
    Fitted,      // `bytes` holds the new file
    NotDecoded,  // the input is not a sound BMP; `fault` says how, or else `error` why
    SizeRefused, // the picture decoded, but its size is not one of the accepted sizes
    NotReduced,  // the quantiser failed; `error` says why
};

// Why a picture was not fitted; the catalogue makes the text.
struct FitError {
    enum class Kind {
        None,
        Structure,   // `fault` says what is wrong with the file's headers
        FarTooLarge, // more pixels than any texture has
        NotDecoded,  // reason: the picture reader's words, when it gave any
        NotATextureSize,
        NoMemoryToConvert,
        NoMemoryToReduce,
        QualityTooLow,
        NotReduced, // number: the quantiser's error code
    };
    Kind kind = Kind::None;
    int number = 0;
    QString reason;
    bool operator==(const FitError&) const = default;
};

struct FitResult {
    FitOutcome outcome = FitOutcome::NotDecoded;
    QByteArray bytes; // the 8-bit BMP, when fitted
    int width = 0;    // of the decoded picture, whenever it decoded
    int height = 0;
    FitError error;
    BmpFault fault; // Structure: why the file is not a sound BMP
};

// Decodes `bmpBytes` as a BMP (and nothing else) and writes it with a 256-colour palette chosen by
// libimagequant, dithered at the level it recommends. `acceptedSizes`, when not empty, is the list
// of sizes that may be converted; any other size is refused before any work is done.
//
// Alpha is ignored: every pixel keeps the colour it stores and becomes opaque, as the game draws
// skins (a 32-bit texture's fourth byte never blends with anything there).
//
// The output is bottom-up, BITMAPINFOHEADER, 256-entry colour table, rows padded to 4 bytes,
// 96 dots per inch.
FitResult fitTexture(const QByteArray& bmpBytes, const QList<QSize>& acceptedSizes = {});

// The length of the file fitTexture writes for a picture of this size.
qint64 fittedFileSize(int width, int height);

} // namespace vestimo::platform
