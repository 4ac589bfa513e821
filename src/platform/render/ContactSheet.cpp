#include "platform/render/ContactSheet.h"

#include "platform/render/RenderError.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vestimo::platform::render {

namespace {

constexpr int NameHeight = 18;
constexpr int NamePixels = 11;
constexpr QRgb SheetColour = 0xffffffff;
constexpr QRgb NameColour = 0xff202020;

} // namespace

SheetLayout sheetLayout(qsizetype pictures, int pictureSide) {
    SheetLayout layout;
    // An empty folder still gets a sheet: one blank cell.
    pictures = std::max<qsizetype>(pictures, 1);
    layout.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(pictures))));
    layout.rows = static_cast<int>((pictures + layout.columns - 1) / layout.columns);
    layout.nameHeight = NameHeight;
    layout.side = std::max(1, std::min({pictureSide, MaxPictureSide / layout.columns,
                                        MaxPictureSide / layout.rows - NameHeight}));
    return layout;
}

QByteArray contactSheet(const std::vector<SheetPicture>& pictures, int pictureSide) {
    const SheetLayout layout = sheetLayout(static_cast<qsizetype>(pictures.size()), pictureSide);
    if (pictureSide <= 0) {
        return {};
    }
    QImage sheet(layout.width(), layout.height(), QImage::Format_RGB32);
    sheet.fill(SheetColour);
    // Fonts exist only with a QGuiApplication; the pictures are drawn either way.
    const bool names = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    {
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        if (names) {
            QFont font = painter.font();
            font.setPixelSize(NamePixels);
            painter.setFont(font);
            painter.setPen(QColor::fromRgb(NameColour));
        }
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const int x = static_cast<int>(i % static_cast<std::size_t>(layout.columns)) * layout.side;
            const int y = static_cast<int>(i / static_cast<std::size_t>(layout.columns)) *
                          (layout.side + layout.nameHeight);
            const QImage picture = QImage::fromData(pictures[i].png, "PNG");
            if (!picture.isNull()) {
                painter.drawImage(QRect(x, y, layout.side, layout.side), picture);
            }
            if (names) {
                const QRect band(x + 2, y + layout.side, layout.side - 4, layout.nameHeight);
                painter.drawText(
                    band, Qt::AlignCenter,
                    painter.fontMetrics().elidedText(pictures[i].name, Qt::ElideRight, band.width()));
            }
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !sheet.save(&buffer, "PNG")) {
        return {};
    }
    return png;
}

} // namespace vestimo::platform::render
