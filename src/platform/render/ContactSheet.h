#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Many finished pictures on one sheet, each with its name under it, for sharing a collection.
namespace vestimo::platform::render {

struct SheetPicture {
    QByteArray png; // empty or undecodable: the cell stays blank
    QString name;
};

// Cells in rows of SheetLayout::columns, each a square picture over a band for its name. The
// pictures shrink (never grow past `pictureSide`) so that the sheet stays within MaxPictureSide.
struct SheetLayout {
    int columns = 0;
    int rows = 0;
    int side = 0;       // of each cell's picture
    int nameHeight = 0; // the band under it
    int width() const { return columns * side; }
    int height() const { return rows * (side + nameHeight); }
};
SheetLayout sheetLayout(qsizetype pictures, int pictureSide);

// The sheet as a PNG file's bytes; empty when it could not be encoded. The names need a
// QGuiApplication (the offscreen platform will do); without one the band stays empty.
QByteArray contactSheet(const std::vector<SheetPicture>& pictures, int pictureSide);

} // namespace vestimo::platform::render
