#pragma once

#include "gui/checks/DirectoryRun.h"

#include <QString>

#include <functional>

namespace vestimo::shell {
class PictureBox;
}

namespace vestimo::textures {

// One bitmap as loaded for measuring: its size in HiMetric units, as a picture box reports it.
struct MeasuredPicture {
    bool ok = false;
    int widthHiMetric = 0;
    int heightHiMetric = 0;
    qint64 length = -1; // the file's length in bytes, when the load read it whole; else -1
    QString error;      // why it did not load
};
using PictureMeasure = std::function<MeasuredPicture(const QString& path)>;

// Reads and decodes the file once, keeping nothing of it.
MeasuredPicture measureBitmapFile(const QString& path);
// Loads each file into `box` and measures it there, as the window does with its working picture:
// the box keeps the last picture that loaded.
PictureMeasure measureIn(shell::PictureBox& box);

// Judges every bitmap of `skinDirectory` against the texture table and moves each problem bitmap
// (one that does not load, or is longer than the limit of its listed size) into
// `programDirectory`. Each file is loaded once, through `measure` (MeasureBitmapFile when empty).
// The listing is deleted afterwards.
shell::DirectoryReport checkBitmapDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            shell::RunProgress& progress, const PictureMeasure& measure = {},
                                            int lockWaitMs = shell::ProgramLockWaitMs);

} // namespace vestimo::textures
