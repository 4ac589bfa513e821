#include "gui/app/WindowLooks.h"

#include "core/catalogue/Windows.h"
#include "platform/FileSystem.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QGroupBox>
#include <QHelpEvent>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace vestimo::gui {

QIcon applicationIcon() {
    QIcon built;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/%1.png").arg(size);
        if (QFile::exists(file)) {
            built.addFile(file, QSize(size, size));
        }
    }
    return QIcon::fromTheme(platform::applicationId(), built);
}

QString shownDirectory(const QString& path) {
    const QString home = QDir::cleanPath(QDir::homePath());
    const QString clean = QDir::cleanPath(path);
    if (clean == home) {
        return QStringLiteral("~");
    }
    if (home != QStringLiteral("/") && clean.startsWith(home + u'/')) {
        return QStringLiteral("~") + clean.mid(home.size());
    }
    return clean;
}

QSize openingSize(const QSize& wanted, const QRect& available) {
    // Room for the window's frame and title bar, which the size does not include.
    const QSize free = (available.size() - QSize(16, 48)).expandedTo(QSize(320, 240));
    return wanted.boundedTo(free);
}

int listHeightForRows(const QListWidget& list, int rows, bool withIcons) {
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.font = list.font();
    option.fontMetrics = list.fontMetrics();
    option.text = QStringLiteral("Xg");
    option.features = QStyleOptionViewItem::HasDisplay;
    if (withIcons) {
        const int side = list.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &list);
        option.features |= QStyleOptionViewItem::HasDecoration;
        option.decorationSize = list.iconSize().isValid() ? list.iconSize() : QSize(side, side);
    }
    const int row = list.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &list).height();
    return rows * (row + 2 * list.spacing()) + 2 * list.frameWidth();
}

QSize editorSizeFor(const QPlainTextEdit& editor, int columns, int rows) {
    const QFontMetrics metrics(editor.font());
    const int margin = static_cast<int>(editor.document()->documentMargin());
    const int bar = editor.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &editor);
    // One pixel more per line than the font's spacing: the layout rounds each line up.
    const int width =
        columns * metrics.horizontalAdvance(u'M') + 2 * margin + 2 * editor.frameWidth() + bar + 2;
    const int height = rows * (metrics.lineSpacing() + 1) + 2 * margin + 2 * editor.frameWidth() + bar;
    return {width, height};
}

QLineEdit* pathLine(QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QStringLiteral("txtPath"));
    line->setReadOnly(true);
    // It can be selected and copied with the mouse; Tab goes past it to the commands.
    line->setFocusPolicy(Qt::ClickFocus);
    return line;
}

void showDirectory(QWidget& window, QLineEdit& line, const QString& path) {
    window.setWindowTitle(texts::windowTitleFor(shownDirectory(path)));
    line.setText(QDir::toNativeSeparators(path));
    line.setToolTip(line.text());
    line.setCursorPosition(0);
}

void keepPlaceWhenHidden(QWidget* control) {
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
}

namespace {

// The scroll area's wish is its content's, however large: the window decides what fits.
class ContentScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() != nullptr ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

// Shows a list's cut names whole, as tool tips.
class CutNameTips : public QObject {
public:
    explicit CutNameTips(QAbstractItemView& list) : QObject(&list), list_(list) {
        list.viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) {
            return false;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString name = cutNameAt(list_, help->pos());
        if (name.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), name, list_.viewport());
        }
        return true;
    }

private:
    QAbstractItemView& list_;
};

} // namespace

QScrollArea* scrollingContent(QWidget* window, QWidget* content) {
    auto* area = new ContentScrollArea(window);
    area->setObjectName(QStringLiteral("scrollWindow"));
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    // A narrow margin: on the smallest screens every pixel is a line of the editor.
    auto* holder = new QWidget;
    auto* margin = new QVBoxLayout(holder);
    const int edge = window->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, window) / 2;
    margin->setContentsMargins(edge, edge, edge, edge);
    margin->addWidget(content);
    // The frames keep half their margins, for the same reason.
    for (QGroupBox* frame : content->findChildren<QGroupBox*>()) {
        if (QLayout* inside = frame->layout()) {
            const QMargins was = inside->contentsMargins();
            inside->setContentsMargins(was.left() / 2, was.top() / 2, was.right() / 2, was.bottom() / 2);
        }
    }
    area->setWidget(holder);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return area;
}

QString cutNameAt(const QAbstractItemView& list, const QPoint& pos) {
    const QModelIndex index = list.indexAt(pos);
    if (!index.isValid()) {
        return {};
    }
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.font = list.font();
    option.fontMetrics = list.fontMetrics();
    option.decorationSize = list.iconSize();
    const int needed = list.itemDelegateForIndex(index)->sizeHint(option, index).width();
    // The part of the row the list shows: elided to the row's width, clipped at the list's edge.
    const QRect shown = list.visualRect(index).intersected(list.viewport()->rect());
    return needed > shown.width() ? index.data(Qt::DisplayRole).toString().trimmed() : QString();
}

void showRows(QListWidget* list, bool withIcons) {
    list->setMinimumHeight(listHeightForRows(*list, LeastListRows, withIcons));
    // No sideways scrolling, which would take a row: a name too long for the list shows whole as
    // its tool tip, and the path line holds the whole path.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    new CutNameTips(*list);
}

QString captionWithMnemonic(const QString& text, const QKeySequence& shortcut) {
    QString caption = text;
    caption.replace(u'&', QStringLiteral("&&"));
    if (shortcut.isEmpty()) {
        return caption;
    }
    const QString key = shortcut.toString(QKeySequence::PortableText);
    const QString letter = key.section(u'+', -1);
    if (letter.size() != 1) {
        return caption;
    }
    // Prefer the letter where it starts a word, as the shortcut was chosen.
    qsizetype at = -1;
    for (qsizetype k = 0; k < caption.size(); ++k) {
        if (caption[k].toUpper() == letter[0].toUpper() && (k == 0 || !caption[k - 1].isLetterOrNumber())) {
            at = k;
            break;
        }
    }
    if (at < 0) {
        at = caption.indexOf(letter, 0, Qt::CaseInsensitive);
    }
    if (at >= 0) {
        caption.insert(at, u'&');
    }
    return caption;
}

namespace {

// The letters `button` could answer to, best first: its words' initials, then any letter of it.
QList<QChar> mnemonicCandidates(const QString& text) {
    QList<QChar> candidates;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (text[k].isLetter() && (k == 0 || !text[k - 1].isLetterOrNumber())) {
            candidates.append(text[k].toUpper());
        }
    }
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            candidates.append(c.toUpper());
        }
    }
    return candidates;
}

} // namespace

void captionAfterMnemonics(QWidget* window, QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    QSet<QString> taken;
    for (const QAbstractButton* other : window->findChildren<QAbstractButton*>()) {
        if (other != button) {
            taken.insert(other->shortcut().toString(QKeySequence::PortableText));
        }
    }
    for (const QChar c : mnemonicCandidates(caption)) {
        const QString key = QStringLiteral("Alt+") + c;
        if (!taken.contains(key)) {
            button->setShortcut(QKeySequence(key));
            return;
        }
    }
}

void assignMnemonics(QWidget* window) {
    QSet<QChar> taken;
    const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        // Cancel, the one button enabled during a run, answers Escape instead.
        if (button->objectName() == QLatin1String("cmdCancel")) {
            continue;
        }
        const QList<QChar> candidates = mnemonicCandidates(button->text());
        const auto free = std::find_if(candidates.begin(), candidates.end(),
                                       [&taken](QChar c) { return !taken.contains(c); });
        if (free == candidates.end()) {
            continue;
        }
        taken.insert(*free);
        button->setShortcut(QKeySequence(QStringLiteral("Alt+") + *free));
    }
}

} // namespace vestimo::gui
