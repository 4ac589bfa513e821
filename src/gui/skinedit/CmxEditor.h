#pragma once

#include <QPlainTextEdit>

namespace vestimo::gui {

// The CMX editor: plain text with the line numbers in a gutter on its left, and one line that can
// be marked across the whole width (the first faulty one).
class CmxEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CmxEditor(QWidget* parent = nullptr);

    // 80 columns by 25 lines of its font beside the gutter, where the window has room.
    QSize sizeHint() const override;
    // Where room is short it gives up lines down to 8, and columns down to 20.
    QSize minimumSizeHint() const override;
    int gutterWidth() const;

    // Marks the line holding document position `position`; -1 takes the mark away.
    void markLineAt(qsizetype position);
    // Puts the cursor at `position` (at most the end), scrolls it into view and takes the focus.
    void goTo(qsizetype position);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class LineNumberGutter;

    void paintGutter(const QRect& area);
    void fitGutter();
    void followScroll(const QRect& area, int dy);
    QColor markColour() const;
    void recolourMark();

    QWidget* gutter_ = nullptr;
};

} // namespace vestimo::gui
