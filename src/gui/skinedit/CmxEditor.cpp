#include "gui/skinedit/CmxEditor.h"

#include "gui/app/WindowLooks.h"

#include <QPainter>
#include <QTextBlock>

#include <algorithm>

namespace vestimo::gui {

// The strip left of the text where the line numbers are painted; the editor does the work.
class LineNumberGutter : public QWidget {
public:
    explicit LineNumberGutter(CmxEditor& editor) : QWidget(&editor), editor_(editor) {}
    QSize sizeHint() const override { return {editor_.gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_.paintGutter(event->rect()); }

private:
    CmxEditor& editor_;
};

namespace {

// Room left and right of the numbers, in pixels.
constexpr int GutterPadding = 4;

} // namespace

CmxEditor::CmxEditor(QWidget* parent) : QPlainTextEdit(parent), gutter_(new LineNumberGutter(*this)) {
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { fitGutter(); });
    connect(this, &QPlainTextEdit::updateRequest, this, &CmxEditor::followScroll);
    fitGutter();
}

QSize CmxEditor::sizeHint() const {
    return editorSizeFor(*this, 80, WishedEditorLines) + QSize(gutterWidth(), 0);
}

QSize CmxEditor::minimumSizeHint() const {
    return editorSizeFor(*this, 20, LeastEditorLines) + QSize(gutterWidth(), 0);
}

// As wide as the largest number the text has, and never narrower than two digits.
int CmxEditor::gutterWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) {
        ++digits;
    }
    digits = std::max(digits, 2);
    return 2 * GutterPadding + digits * fontMetrics().horizontalAdvance(u'9');
}

void CmxEditor::fitGutter() {
    setViewportMargins(gutterWidth(), 0, 0, 0);
    const QRect inside = contentsRect();
    gutter_->setGeometry(QRect(inside.left(), inside.top(), gutterWidth(), inside.height()));
}

void CmxEditor::followScroll(const QRect& area, int dy) {
    if (dy != 0) {
        gutter_->scroll(0, dy);
    } else {
        gutter_->update(0, area.y(), gutter_->width(), area.height());
    }
    if (area.contains(viewport()->rect())) {
        fitGutter();
    }
}

void CmxEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    fitGutter();
}

void CmxEditor::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitGutter();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        recolourMark(); // the mark's colour follows the theme
    }
}

void CmxEditor::paintGutter(const QRect& area) {
    QPainter painter(gutter_);
    painter.fillRect(area, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    const int right = gutter_->width() - GutterPadding;
    const int height = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= area.bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        if (block.isVisible() && bottom >= area.top()) {
            painter.drawText(0, static_cast<int>(top), right, height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

// The highlight colour laid thinly over the text's background: the theme chose both to go with its
// text colour, so the mix reads in light and dark themes alike.
QColor CmxEditor::markColour() const {
    const QColor base = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    constexpr float Share = 0.35f;
    return QColor::fromRgbF(base.redF() + (highlight.redF() - base.redF()) * Share,
                            base.greenF() + (highlight.greenF() - base.greenF()) * Share,
                            base.blueF() + (highlight.blueF() - base.blueF()) * Share);
}

void CmxEditor::markLineAt(qsizetype position) {
    QList<QTextEdit::ExtraSelection> marks;
    if (position >= 0) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(markColour());
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        // The cursor follows later edits, so the mark stays on its line until the next check.
        mark.cursor = QTextCursor(document());
        mark.cursor.setPosition(
            static_cast<int>(std::min<qsizetype>(position, document()->characterCount() - 1)));
        marks.append(mark);
    }
    setExtraSelections(marks);
}

void CmxEditor::recolourMark() {
    QList<QTextEdit::ExtraSelection> marks = extraSelections();
    for (QTextEdit::ExtraSelection& mark : marks) {
        mark.format.setBackground(markColour());
    }
    setExtraSelections(marks);
}

void CmxEditor::goTo(qsizetype position) {
    QTextCursor cursor(document());
    cursor.setPosition(
        static_cast<int>(std::clamp<qsizetype>(position, 0, document()->characterCount() - 1)));
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);
}

} // namespace vestimo::gui
