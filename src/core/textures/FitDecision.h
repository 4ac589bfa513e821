#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QtGlobal>

// When "Make It Fit" has something to do, decided from what the viewer holds.
namespace vestimo::textures {

// True for a picture whose size the texture table lists and whose file is longer than that
// size's limit: only then can rewriting it as an 8-bit palette file bring it under the limit.
bool fitWanted(int width, int height, qint64 fileLength);

// What the skin editing window shows when it decides whether "Make It Fit" may be pressed.
struct FitSelection {
    bool listShowsBitmaps = false; // the list's filter is the bitmaps'
    QString selectedName;          // empty when nothing is selected
    bool pictureShown = false;     // the viewer holds the selected file's picture
    int width = 0;
    int height = 0;
    qint64 fileLength = 0; // of the file the picture was loaded from
};

// True for a bitmap selected in a list of bitmaps, shown, and worth fitting (see fitWanted).
bool fitEnabled(const FitSelection& selection);

// Every size the texture table lists, in its order: the sizes a texture may be fitted at.
QList<QSize> fittableSizes();

} // namespace vestimo::textures
