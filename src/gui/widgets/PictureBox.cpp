#include "gui/widgets/PictureBox.h"

#include "core/textures/SkinTextureRules.h"
#include "platform/PictureImages.h"

#include <QPainter>

namespace vestimo::gui {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(64, 64);
}

bool PictureBox::loadFile(const QString& path, QString* error) {
    platform::PictureLoad load = platform::loadPicture(path);
    if (!load.ok) {
        if (error != nullptr) {
            *error = load.error;
        }
        return false;
    }
    image_ = std::move(load.image);
    bytes_ = std::move(load.bytes);
    update();
    return true;
}

void PictureBox::clear() {
    image_ = QImage();
    bytes_.clear();
    update();
}

int PictureBox::widthHiMetric() const {
    return textures::hiMetricFromPixels(image_.width());
}
int PictureBox::heightHiMetric() const {
    return textures::hiMetricFromPixels(image_.height());
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (image_.isNull()) {
        return;
    }
    QSize size = image_.size();
    if (size.width() > width() || size.height() > height()) {
        size.scale(this->size(), Qt::KeepAspectRatio);
    }
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}

} // namespace vestimo::gui
