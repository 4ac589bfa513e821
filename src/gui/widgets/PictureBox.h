#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

namespace vestimo::gui {

// A picture box: shows a picture whole, in device pixels so nothing blurs on a scaled screen. A
// small picture is enlarged by the largest whole factor that fits, without smoothing (a texture's
// pixels stay sharp squares); a large one is scaled down smoothly, keeping its proportions. It
// reports its size in HiMetric units, as the texture checks measure it.
class PictureBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int widthHiMetric READ widthHiMetric)
    Q_PROPERTY(int heightHiMetric READ heightHiMetric)

public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads a picture file. On failure the old picture stays and `error` says why.
    bool loadFile(const QString& path, QString* error = nullptr);
    // Shows nothing, as after a load that failed where the old picture must not stand in for the file.
    void clear();
    bool hasPicture() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }
    // The bytes of the file the picture was loaded from.
    const QByteArray& fileBytes() const { return bytes_; }
    int widthHiMetric() const;
    int heightHiMetric() const;
    // "256 x 256, 8-bit, 66,614 bytes (limit 75,000)" for the picture shown, or empty.
    QString summary() const;
    // Where the picture is drawn, in the widget's coordinates (empty with no picture).
    QRectF pictureRect() const;
    // Whether the picture is drawn at its own size or larger (so without smoothing).
    bool enlarged() const;

    // Small: the viewer takes whatever room the editor leaves.
    QSize sizeHint() const override { return {160, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QByteArray bytes_;
};

} // namespace vestimo::gui
