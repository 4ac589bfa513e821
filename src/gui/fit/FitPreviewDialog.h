#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;

namespace vestimo::gui {

// What "Make It Fit" shows before it writes anything: the texture as it is and as it would be.
struct FitPreview {
    QString name;
    QImage original; // may be null when only the fitting could read the file
    QImage result;
    qint64 originalBytes = 0;
    qint64 resultBytes = 0;
    int width = 0;
    int height = 0;
    qint64 limit = 0; // the largest valid file length for this size
};

// The preview (objectName frmFitPreview): original and result side by side, each at 1:1 and
// enlarged 2:1 without smoothing so single pixels and dithering can be judged, both file lengths
// and the limit, and Yes/No with No the default. Accepted means Yes.
class FitPreviewDialog : public QDialog {
    Q_OBJECT

public:
    explicit FitPreviewDialog(const FitPreview& preview, QWidget* parent = nullptr);

    // `image` enlarged `factor` times, each pixel a square of factor x factor.
    static QImage enlarged(const QImage& image, int factor);
};

// Shows the preview modally; true when the player chose Yes.
bool askFitPreview(QWidget* parent, const FitPreview& preview);

} // namespace vestimo::gui
