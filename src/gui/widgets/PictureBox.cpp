#include "gui/widgets/PictureBox.h"

#include "core/catalogue/Windows.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/BmpStructure.h"
#include "platform/PictureImages.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

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

QString PictureBox::summary() const {
    if (image_.isNull()) {
        return {};
    }
    const platform::BmpStructure header = platform::checkBmpStructure(
        std::string_view(bytes_.constData(), static_cast<std::size_t>(bytes_.size())));
    const textures::SkinTextureRule* rule = textures::ruleForPicture(image_.width(), image_.height());
    return texts::bitmapInfo(QString::number(image_.width()), QString::number(image_.height()),
                             header.bitsPerPixel > 0 ? QString::number(header.bitsPerPixel) : QString(),
                             texts::withThousands(bytes_.size()),
                             rule != nullptr ? texts::withThousands(rule->MaxFileSize) : QString());
}

QRectF PictureBox::pictureRect() const {
    if (image_.isNull()) {
        return {};
    }
    // Worked out in device pixels, so the picture's pixels land on whole screen pixels.
    const qreal ratio = devicePixelRatioF();
    const auto available = QSizeF(size()) * ratio;
    const QSizeF picture(image_.size());
    QSizeF shown;
    if (picture.width() <= available.width() && picture.height() <= available.height()) {
        const qreal factor = std::max(1.0, std::floor(std::min(available.width() / picture.width(),
                                                               available.height() / picture.height())));
        shown = picture * factor;
    } else {
        shown = picture.scaled(available, Qt::KeepAspectRatio);
        shown = QSizeF(std::max(1.0, std::floor(shown.width())), std::max(1.0, std::floor(shown.height())));
    }
    const QPointF corner(std::floor((available.width() - shown.width()) / 2),
                         std::floor((available.height() - shown.height()) / 2));
    return {corner / ratio, shown / ratio};
}

bool PictureBox::enlarged() const {
    const QRectF shown = pictureRect();
    return shown.width() * devicePixelRatioF() >= image_.width();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (image_.isNull()) {
        return;
    }
    // Enlarged pictures keep hard pixel edges; only a picture made smaller is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !enlarged());
    painter.drawImage(pictureRect(), image_);
}

} // namespace vestimo::gui
