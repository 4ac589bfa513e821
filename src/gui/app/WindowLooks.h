#pragma once

#include <QKeySequence>
#include <QPushButton>
#include <QRadioButton>
#include <QSize>
#include <QString>
#include <QStyleOptionButton>
#include <QStylePainter>

class QAbstractButton;
class QAbstractItemView;
class QLineEdit;
class QListWidget;
class QPoint;
class QScrollArea;
class QPlainTextEdit;
class QRect;
class QWidget;

// How both windows look and sit on the desktop: their icon, their size, their titles and the
// Alt+letter shortcuts of their buttons.
namespace vestimo::gui {

// The program's icon, from the desktop's icon theme or the copy built into the program.
QIcon applicationIcon();

// `path` as the title shows it: the home folder as "~".
QString shownDirectory(const QString& path);

// The size both windows open at on a screen whose free area is `available`: the layout's wish
// (`wanted`) where the screen has room for it, else the free area (frame and title bar aside).
QSize openingSize(const QSize& wanted, const QRect& available);

// The rows a list shows where the window has room, and the fewest it gives up to before the
// window's content scrolls.
constexpr int WishedListRows = 10;
constexpr int LeastListRows = 5;
// The same for the CMX editor's lines.
constexpr int WishedEditorLines = 25;
constexpr int LeastEditorLines = 8;

// The height a list needs to show `rows` rows (with an icon per row when `withIcons`).
int listHeightForRows(const QListWidget& list, int rows, bool withIcons);
// The size a text box needs to show `columns` x `rows` characters of its font, scroll bars included.
QSize editorSizeFor(const QPlainTextEdit& editor, int columns, int rows);

// Puts `content`, with a narrow margin (and its frames with narrow margins), in a scroll area
// that fills `window`: where the window is smaller
// than the content's least size, the content scrolls instead of leaving the screen. The window's size hint is
// the content's.
QScrollArea* scrollingContent(QWidget* window, QWidget* content);

// The whole name of the item at `pos` of `list`'s viewport where the list cuts it (elided, or
// running past the list's edge); empty where it shows whole.
QString cutNameAt(const QAbstractItemView& list, const QPoint& pos);

// The read-only line (txtPath) under the directory list that shows the full path.
QLineEdit* pathLine(QWidget* parent);
// The title ("Vestimo - ~/skins") and the path line for the skin directory `path`.
void showDirectory(QWidget& window, QLineEdit& line, const QString& path);
// A control that comes and goes keeps its room, so nothing else moves.
void keepPlaceWhenHidden(QWidget* control);
// Lets a list give up rows down to LeastListRows, without a horizontal scroll bar; a name the list
// cuts shows whole as its tool tip.
void showRows(QListWidget* list, bool withIcons);

// `text` with "&" before the shortcut's letter, so the style underlines it; the caption itself
// (text()) stays exactly as the program words it.
QString captionWithMnemonic(const QString& text, const QKeySequence& shortcut);

// Gives every button of `window` but Cancel (see makeCancelButton) an Alt+letter shortcut, no two
// alike: each takes the first free initial of its caption's words, else any free letter of it.
void assignMnemonics(QWidget* window);
// Captions `button` and gives it a letter none of `window`'s other buttons has, so a button added
// after assignMnemonics never takes a letter the others always had.
void captionAfterMnemonics(QWidget* window, QAbstractButton* button, const QString& caption);

// A button that underlines its shortcut's letter while its caption stays as worded.
template <typename Base, QStyle::ControlElement Element> class UnderlinedButton : public Base {
public:
    using Base::Base;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.text = captionWithMnemonic(this->text(), this->shortcut());
        painter.drawControl(Element, option);
    }
};
using PushButton = UnderlinedButton<QPushButton, QStyle::CE_PushButton>;
using RadioButton = UnderlinedButton<QRadioButton, QStyle::CE_RadioButton>;

} // namespace vestimo::gui
