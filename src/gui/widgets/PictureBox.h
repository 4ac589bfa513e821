#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

namespace vestimo::gui {

// A picture box: shows a picture whole (1:1 when it fits, scaled down keeping its proportions when
// it does not) and reports its size in HiMetric units, as the texture checks measure it.
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

    QSize sizeHint() const override { return {320, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QByteArray bytes_;
};

} // namespace vestimo::gui
