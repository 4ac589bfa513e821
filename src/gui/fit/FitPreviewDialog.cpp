#include "gui/fit/FitPreviewDialog.h"

#include "core/catalogue/MakerTools.h"
#include "core/catalogue/Windows.h"
#include "gui/app/WidgetNames.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vestimo::gui {

namespace {

QLabel* textLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The picture at `factor` times its size in device pixels, so 1:1 is one texture pixel per screen
// pixel on a scaled screen too.
QLabel* pictureLabel(QWidget* parent, const char* name, const QImage& image, int factor) {
    auto* label = named(new QLabel(parent), name);
    if (!image.isNull()) {
        QPixmap pixmap = QPixmap::fromImage(FitPreviewDialog::enlarged(image, factor));
        pixmap.setDevicePixelRatio(parent->devicePixelRatioF());
        label->setPixmap(pixmap);
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

QImage FitPreviewDialog::enlarged(const QImage& image, int factor) {
    if (factor <= 1 || image.isNull()) {
        return image;
    }
    // FastTransformation is nearest-neighbour: every texture pixel stays one flat square.
    return image.convertToFormat(QImage::Format_RGB32)
        .scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

FitPreviewDialog::FitPreviewDialog(const FitPreview& preview, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmFitPreview"));
    setWindowTitle(texts::fitPreviewTitle(preview.name));
    setSizeGripEnabled(true);

    auto* pictures = new QWidget;
    auto* grid = new QGridLayout(pictures);
    grid->addWidget(textLabel(pictures, "lblFitOriginalSize",
                              texts::fitOriginalCaption(texts::withThousands(preview.originalBytes))),
                    0, 1);
    grid->addWidget(textLabel(pictures, "lblFitResultSize",
                              texts::fitResultCaption(texts::withThousands(preview.resultBytes))),
                    0, 2);
    grid->addWidget(textLabel(pictures, "lblFitZoom1", texts::fitActualSize()), 1, 0, Qt::AlignTop);
    grid->addWidget(pictureLabel(pictures, "picFitOriginal1", preview.original, 1), 1, 1);
    grid->addWidget(pictureLabel(pictures, "picFitResult1", preview.result, 1), 1, 2);
    grid->addWidget(textLabel(pictures, "lblFitZoom2", texts::fitDoubleSize()), 2, 0, Qt::AlignTop);
    grid->addWidget(pictureLabel(pictures, "picFitOriginal2", preview.original, 2), 2, 1);
    grid->addWidget(pictureLabel(pictures, "picFitResult2", preview.result, 2), 2, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);

    // 2:1 of the widest texture is 1024 pixels a side: the pictures scroll on a small screen.
    auto* scroll = named(new QScrollArea(this), "scrFitPictures");
    scroll->setWidget(pictures);
    scroll->setWidgetResizable(false);

    auto* limit =
        textLabel(this, "lblFitLimit",
                  texts::fitLimitLine(preview.width, preview.height, texts::withThousands(preview.limit)));
    auto* question = textLabel(this, "lblFitQuestion", texts::fitQuestion(preview.name));
    question->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
    QPushButton* yes = named(buttons->button(QDialogButtonBox::Yes), "cmdFitYes");
    QPushButton* no = named(buttons->button(QDialogButtonBox::No), "cmdFitNo");
    // Replacing the file is the step to think twice about: Enter says No.
    yes->setAutoDefault(false);
    no->setAutoDefault(true);
    no->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(limit);
    layout->addWidget(question);
    layout->addWidget(buttons);

    QSize wanted = pictures->sizeHint() + QSize(40, 140);
    if (const QScreen* screen =
            this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(wanted);
    no->setFocus();
}

bool askFitPreview(QWidget* parent, const FitPreview& preview) {
    FitPreviewDialog dialog(preview, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace vestimo::gui
