#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QImage>
#include <QPointer>

class QLabel;

namespace vestimo::gui {

// A picture box: shows a picture in device pixels so nothing blurs on a scaled screen. Unless
// zoomed, the picture is shown whole: a small one enlarged by the largest whole factor that fits,
// without smoothing (a texture's pixels stay sharp squares), a large one scaled down smoothly,
// keeping its proportions. The mouse wheel and Ctrl+plus/minus zoom by whole factors (scroll bars
// appear where the picture outgrows the box), Ctrl+0 shows it whole again. It reports its size in
// HiMetric units, as the texture checks measure it.
class PictureBox : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(int widthHiMetric READ widthHiMetric)
    Q_PROPERTY(int heightHiMetric READ heightHiMetric)

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads a picture file. On failure the old picture stays and `error` says why. A picture of
    // another size than the last one is shown whole; one of the same size keeps the zoom.
    bool loadFile(const QString& path, QString* error = nullptr);
    // Shows nothing; the line, if any, says `note` (that no bitmap is selected, unless given).
    void clear(const QString& note = {});
    // Keeps the picture, and the line says `note` until the next picture or clear().
    void showNote(const QString& note);
    bool hasPicture() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }
    // The bytes of the file the picture was loaded from.
    const QByteArray& fileBytes() const { return bytes_; }
    int widthHiMetric() const;
    int heightHiMetric() const;
    // "256 x 256, 8-bit, 66,614 bytes (limit 75,000), 200%" for the picture shown, or empty.
    QString summary() const;
    // Where the picture is drawn, in the viewport's coordinates (empty with no picture).
    QRectF pictureRect() const;
    // Whether the picture is drawn at its own size or larger (so without smoothing).
    bool enlarged() const;
    // Screen pixels per picture pixel, in percent (0 with no picture).
    int zoomPercent() const;
    // True while the picture is shown whole, sized to the box.
    bool fitted() const { return zoom_ == 0; }

    // The line under the viewer that tells what it shows; kept in step from now on.
    void setInfoLine(QLabel* line);

    void zoomIn();
    void zoomOut();
    void zoomToFit();

    // Room for a 256 x 256 texture at its own size.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The picture's size on the screen, in device pixels.
    QSizeF shownSize() const;
    // Screen pixels per picture pixel as shown now.
    qreal factor() const;
    // Zooms to `zoom` keeping the middle of the view where it was.
    void setZoom(int zoom);
    void updateScrollBars();
    // Redraws, and updates the line when the zoom it shows has changed.
    void shownMayHaveChanged();
    void showLine();

    QImage image_;
    QByteArray bytes_;
    // 0: shown whole; n > 0: enlarged n times; n < 0: reduced to 1/-n.
    int zoom_ = 0;
    int lastPercent_ = -1;
    int wheelTurn_ = 0;
    QPointer<QLabel> line_;
    QString note_;
};

} // namespace vestimo::gui
