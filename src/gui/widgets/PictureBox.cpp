#include "gui/widgets/PictureBox.h"

#include "core/catalogue/Verdicts.h"
#include "core/catalogue/Windows.h"
#include "core/textures/SkinTextureRules.h"
#include "platform/BmpStructure.h"
#include "platform/PictureImages.h"

#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vestimo::gui {

namespace {

// No zoom makes the picture wider or taller than this many screen pixels, nor shrinks it by more.
constexpr qreal LargestShown = 16384;
constexpr int MostReduced = 16;
// One notch of an ordinary mouse wheel.
constexpr int WheelNotch = 120;

} // namespace

PictureBox::PictureBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFrameShape(QFrame::NoFrame);
    // The keys work wherever the focus is in the window, so Tab need not stop here.
    setFocusPolicy(Qt::NoFocus);
    const auto key = [this](QKeyCombination combination, void (PictureBox::*zoom)()) {
        auto* shortcut = new QShortcut(QKeySequence(combination), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, zoom);
    };
    key(Qt::CTRL | Qt::Key_Plus, &PictureBox::zoomIn);
    // Plus without Shift, where it shares a key with "=".
    key(Qt::CTRL | Qt::Key_Equal, &PictureBox::zoomIn);
    key(Qt::CTRL | Qt::Key_Minus, &PictureBox::zoomOut);
    key(Qt::CTRL | Qt::Key_0, &PictureBox::zoomToFit);
}

bool PictureBox::loadFile(const QString& path, QString* error) {
    platform::PictureLoad load = platform::loadPicture(path);
    if (!load.ok) {
        if (error != nullptr) {
            *error = texts::pictureProblem(load.problem);
        }
        return false;
    }
    if (load.image.size() != image_.size()) {
        zoom_ = 0;
    }
    image_ = std::move(load.image);
    bytes_ = std::move(load.bytes);
    note_.clear();
    lastPercent_ = -1;
    updateScrollBars();
    shownMayHaveChanged();
    return true;
}

void PictureBox::clear(const QString& note) {
    image_ = QImage();
    bytes_.clear();
    note_ = note;
    lastPercent_ = -1;
    updateScrollBars();
    shownMayHaveChanged();
}

void PictureBox::showNote(const QString& note) {
    note_ = note;
    showLine();
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
                             rule != nullptr ? texts::withThousands(rule->MaxFileSize) : QString(),
                             texts::withThousands(zoomPercent()));
}

QSizeF PictureBox::shownSize() const {
    if (image_.isNull()) {
        return {};
    }
    const QSizeF picture(image_.size());
    if (zoom_ > 0) {
        return picture * zoom_;
    }
    if (zoom_ < 0) {
        return {std::max(1.0, std::floor(picture.width() / -zoom_)),
                std::max(1.0, std::floor(picture.height() / -zoom_))};
    }
    // Worked out in device pixels, so the picture's pixels land on whole screen pixels.
    const auto available = QSizeF(viewport()->size()) * devicePixelRatioF();
    if (picture.width() <= available.width() && picture.height() <= available.height()) {
        const qreal factor = std::max(1.0, std::floor(std::min(available.width() / picture.width(),
                                                               available.height() / picture.height())));
        return picture * factor;
    }
    const QSizeF shown = picture.scaled(available, Qt::KeepAspectRatio);
    return {std::max(1.0, std::floor(shown.width())), std::max(1.0, std::floor(shown.height()))};
}

QRectF PictureBox::pictureRect() const {
    if (image_.isNull()) {
        return {};
    }
    const qreal ratio = devicePixelRatioF();
    const auto available = QSizeF(viewport()->size()) * ratio;
    const QSizeF shown = shownSize();
    // Centred where it fits; where it does not, the scroll bars say which part is in view.
    const qreal x = shown.width() <= available.width() ? std::floor((available.width() - shown.width()) / 2)
                                                       : -std::floor(horizontalScrollBar()->value() * ratio);
    const qreal y = shown.height() <= available.height()
                        ? std::floor((available.height() - shown.height()) / 2)
                        : -std::floor(verticalScrollBar()->value() * ratio);
    return {QPointF(x, y) / ratio, shown / ratio};
}

qreal PictureBox::factor() const {
    return image_.isNull() ? 0.0 : shownSize().width() / image_.width();
}

bool PictureBox::enlarged() const {
    return !image_.isNull() && shownSize().width() >= image_.width();
}

int PictureBox::zoomPercent() const {
    return static_cast<int>(std::lround(factor() * 100));
}

void PictureBox::setInfoLine(QLabel* line) {
    line_ = line;
    // A long note must not widen the window; the tool tip holds it whole.
    line->setSizePolicy(QSizePolicy::Ignored, line->sizePolicy().verticalPolicy());
    showLine();
}

void PictureBox::zoomIn() {
    if (image_.isNull()) {
        return;
    }
    int next = 0;
    if (zoom_ > 0) {
        next = zoom_ + 1;
    } else if (zoom_ < 0) {
        next = zoom_ == -2 ? 1 : zoom_ + 1;
    } else if (const qreal f = factor(); f >= 1) {
        next = static_cast<int>(std::lround(f)) + 1;
    } else {
        // The smallest whole reduction larger than the fitted size: 1/k with 1/k > f.
        const int k = static_cast<int>(std::ceil(1.0 / f - 1e-9)) - 1;
        next = k <= 1 ? 1 : -k;
    }
    if (next > 0 && qreal(std::max(image_.width(), image_.height())) * next > LargestShown) {
        return;
    }
    setZoom(next);
}

void PictureBox::zoomOut() {
    if (image_.isNull()) {
        return;
    }
    int next = 0;
    if (zoom_ == 1) {
        next = -2; // from the picture's own size to half of it
    } else if (zoom_ != 0) {
        next = zoom_ - 1;
    } else if (const qreal f = factor(); f > 1) {
        next = static_cast<int>(std::lround(f)) - 1;
    } else {
        // The largest whole reduction smaller than the fitted size: 1/k with 1/k < f.
        next = -(static_cast<int>(std::floor(1.0 / f + 1e-9)) + 1);
    }
    if (next < -MostReduced || (next < 0 && std::min(image_.width(), image_.height()) < -next)) {
        return;
    }
    setZoom(next);
}

void PictureBox::zoomToFit() {
    setZoom(0);
}

void PictureBox::setZoom(int zoom) {
    const qreal ratio = devicePixelRatioF();
    const QSizeF before = shownSize() / ratio;
    const QSize view = viewport()->size();
    // Which point of the picture is in the middle of the view, as a fraction of its size.
    const auto middle = [](const QScrollBar* bar, qreal shown, int seen) {
        return shown > seen ? (bar->value() + seen / 2.0) / shown : 0.5;
    };
    const qreal across = middle(horizontalScrollBar(), before.width(), view.width());
    const qreal down = middle(verticalScrollBar(), before.height(), view.height());
    zoom_ = zoom;
    updateScrollBars();
    const QSizeF after = shownSize() / ratio;
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(across * after.width() - view.width() / 2.0)));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(down * after.height() - view.height() / 2.0)));
    shownMayHaveChanged();
}

void PictureBox::updateScrollBars() {
    const QSizeF shown = shownSize() / devicePixelRatioF();
    const QSize view = viewport()->size();
    const auto fit = [](QScrollBar* bar, qreal length, int seen) {
        bar->setRange(0, std::max(0, static_cast<int>(std::ceil(length)) - seen));
        bar->setPageStep(std::max(1, seen));
        bar->setSingleStep(std::max(1, seen / 10));
    };
    fit(horizontalScrollBar(), shown.width(), view.width());
    fit(verticalScrollBar(), shown.height(), view.height());
}

void PictureBox::shownMayHaveChanged() {
    viewport()->update();
    const int percent = zoomPercent();
    if (percent != lastPercent_) {
        lastPercent_ = percent;
        showLine();
    }
}

void PictureBox::showLine() {
    if (line_.isNull()) {
        return;
    }
    QString text = note_;
    if (text.isEmpty()) {
        text = hasPicture() ? summary() : texts::noBitmapSelected();
    }
    line_->setText(text);
    line_->setToolTip(text);
}

QSize PictureBox::sizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(256, 256) + QSize(frame, frame);
}

QSize PictureBox::minimumSizeHint() const {
    return {64, 64};
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    shownMayHaveChanged();
}

void PictureBox::wheelEvent(QWheelEvent* event) {
    if (image_.isNull()) {
        event->ignore();
        return;
    }
    wheelTurn_ += event->angleDelta().y();
    for (; wheelTurn_ >= WheelNotch; wheelTurn_ -= WheelNotch) {
        zoomIn();
    }
    for (; wheelTurn_ <= -WheelNotch; wheelTurn_ += WheelNotch) {
        zoomOut();
    }
    event->accept();
}

void PictureBox::scrollContentsBy(int, int) {
    viewport()->update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    if (image_.isNull()) {
        return;
    }
    // Enlarged pictures keep hard pixel edges; only a picture made smaller is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !enlarged());
    painter.drawImage(pictureRect(), image_);
}

} // namespace vestimo::gui
