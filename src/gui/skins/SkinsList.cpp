#include "gui/skins/SkinsList.h"

#include "core/catalogue/SkinsWindow.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace vestimo::gui {

namespace {

constexpr int Margin = 4;
constexpr int MarkSide = 12;
constexpr int MarkGap = 4;
constexpr int CardWidth = CardDelegate::PictureSide + 2 * Margin + 16;
constexpr std::array<const char*, 3> Tones = {"lgt", "med", "drk"};

// The colour of a tone's dot.
QColor toneColour(const QString& tone) {
    if (tone == QLatin1String("lgt")) {
        return {0xf1, 0xc2, 0x7d};
    }
    if (tone == QLatin1String("med")) {
        return {0xc6, 0x86, 0x42};
    }
    return {0x8d, 0x55, 0x24};
}

struct Mark {
    enum class Kind { TonePresent, ToneMissing, Badge };
    Kind kind = Kind::Badge;
    QRect rect;
    QString tone;
    qsizetype problem = -1;
};

// Where the tone marks and badges of `card` sit in the card's `rect`; those past its right edge
// are left out (their reasons are in the card's own tool tip).
std::vector<Mark> marksOf(const QRect& rect, const QFontMetrics& metrics, const collection::Card& card) {
    std::vector<Mark> marks;
    const int top = rect.top() + Margin + CardDelegate::PictureSide + 4 + 2 * metrics.height() + 4;
    int x = rect.left() + Margin;
    const auto place = [&](Mark mark) {
        mark.rect = QRect(x, top, MarkSide, MarkSide);
        x += MarkSide + MarkGap;
        if (mark.rect.right() <= rect.right() - Margin) {
            marks.push_back(std::move(mark));
        }
    };
    for (const char* tone : Tones) {
        const QString name = QString::fromLatin1(tone);
        if (card.tonesPresent.contains(name)) {
            place({Mark::Kind::TonePresent, {}, name});
        } else if (card.tonesMissing.contains(name)) {
            place({Mark::Kind::ToneMissing, {}, name});
        }
    }
    x += MarkGap;
    for (const qsizetype problem : card.problems) {
        place({Mark::Kind::Badge, {}, {}, problem});
    }
    return marks;
}

QString badgeTip(const collection::Collection& collection, qsizetype problem) {
    if (problem < 0 || problem >= static_cast<qsizetype>(collection.problems.size())) {
        return {};
    }
    const collection::Problem& found = collection.problems[static_cast<std::size_t>(problem)];
    return texts::skinsBadgeTip(collection::badgeText(found.kind), found.reason);
}

void paintMark(QPainter& painter, const Mark& mark) {
    painter.setPen(Qt::NoPen);
    switch (mark.kind) {
    case Mark::Kind::TonePresent:
        painter.setBrush(toneColour(mark.tone));
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.drawEllipse(mark.rect.adjusted(1, 1, -1, -1));
        break;
    case Mark::Kind::ToneMissing:
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        painter.drawEllipse(mark.rect.adjusted(1, 1, -1, -1));
        painter.drawLine(mark.rect.bottomLeft() + QPoint(2, -2), mark.rect.topRight() + QPoint(-2, 2));
        break;
    case Mark::Kind::Badge:
        painter.setBrush(QColor(0xc0, 0x30, 0x30));
        painter.drawRoundedRect(mark.rect, 3, 3);
        painter.setPen(Qt::white);
        painter.drawText(mark.rect, Qt::AlignCenter, texts::skinsBadgeMark());
        break;
    }
}

} // namespace

// ---- the model

SkinsModel::SkinsModel(PictureLookup pictures, FailureLookup failures, QObject* parent)
    : QAbstractListModel(parent), pictures_(std::move(pictures)), failures_(std::move(failures)) {}

void SkinsModel::show(const collection::Collection* collection, const std::vector<QString>* keys,
                      std::vector<qsizetype> visible) {
    beginResetModel();
    collection_ = collection;
    keys_ = keys;
    visible_ = std::move(visible);
    rows_.clear();
    rows_.reserve(static_cast<qsizetype>(visible_.size()));
    for (std::size_t row = 0; row < visible_.size(); ++row) {
        rows_.insert(keyAt(static_cast<int>(row)), static_cast<int>(row));
    }
    endResetModel();
}

const QString& SkinsModel::keyAt(int row) const {
    static const QString none;
    const qsizetype at = cardIndexAt(row);
    return at < 0 ? none : (*keys_)[static_cast<std::size_t>(at)];
}

void SkinsModel::refresh(const collection::Collection* collection) {
    collection_ = collection;
    if (!visible_.empty()) {
        emit dataChanged(index(0), index(static_cast<int>(visible_.size()) - 1));
    }
}

int SkinsModel::rowOf(const QString& key) const {
    return rows_.value(key, -1);
}

const collection::Card* SkinsModel::cardAt(int row) const {
    const qsizetype at = cardIndexAt(row);
    return at < 0 ? nullptr : &collection_->cards[static_cast<std::size_t>(at)];
}

qsizetype SkinsModel::cardIndexAt(int row) const {
    if (collection_ == nullptr || keys_ == nullptr || row < 0 || row >= static_cast<int>(visible_.size())) {
        return -1;
    }
    const qsizetype at = visible_[static_cast<std::size_t>(row)];
    return at < static_cast<qsizetype>(collection_->cards.size()) &&
                   at < static_cast<qsizetype>(keys_->size())
               ? at
               : -1;
}

void SkinsModel::pictureChanged(const QString& key) {
    const int row = rowOf(key);
    if (row >= 0) {
        emit dataChanged(index(row), index(row), {PictureRole});
    }
}

int SkinsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

QVariant SkinsModel::data(const QModelIndex& index, int role) const {
    const collection::Card* card = cardAt(index.row());
    if (card == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return card->name;
    case Qt::ToolTipRole: {
        QStringList lines{card->name, collection::kindText(card->kind), texts::skinsCardFiles(card->files())};
        for (const qsizetype problem : card->problems) {
            lines.append(badgeTip(*collection_, problem));
        }
        const QString failure = failures_(keyAt(index.row()));
        if (!failure.isEmpty()) {
            lines.append(texts::skinsNoPicture(failure));
        }
        return lines.join(QLatin1Char('\n'));
    }
    case PictureRole: {
        const QImage* picture = pictures_(keyAt(index.row()));
        return picture == nullptr ? QVariant() : QVariant(*picture);
    }
    case FailureRole:
        return failures_(keyAt(index.row()));
    default:
        return {};
    }
}

// ---- the delegate

void CardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const auto* model = qobject_cast<const SkinsModel*>(index.model());
    const collection::Card* card = model == nullptr ? nullptr : model->cardAt(index.row());
    if (card == nullptr) {
        return;
    }
    painter->save();
    const QRect rect = option.rect;
    if ((option.state & QStyle::State_Selected) != 0) {
        painter->fillRect(rect, option.palette.highlight());
    }
    const QRect pictureRect(rect.left() + (rect.width() - PictureSide) / 2, rect.top() + Margin, PictureSide,
                            PictureSide);
    const QVariant picture = index.data(SkinsModel::PictureRole);
    if (picture.isValid()) {
        const QImage image = picture.value<QImage>();
        // The whole picture, as large as the square allows, its proportions kept.
        const double scale = std::min(static_cast<double>(PictureSide) / std::max(1, image.width()),
                                      static_cast<double>(PictureSide) / std::max(1, image.height()));
        const QSize fitted(qRound(image.width() * scale), qRound(image.height() * scale));
        painter->drawImage(QRect(pictureRect.topLeft() + QPoint((PictureSide - fitted.width()) / 2,
                                                                (PictureSide - fitted.height()) / 2),
                                 fitted),
                           image);
    } else {
        // Until the picture comes, or when it cannot be drawn.
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.palette.alternateBase());
        painter->drawRoundedRect(pictureRect.adjusted(8, 8, -8, -8), 6, 6);
    }
    const QFontMetrics metrics = option.fontMetrics;
    const QColor text = (option.state & QStyle::State_Selected) != 0
                            ? option.palette.highlightedText().color()
                            : option.palette.text().color();
    painter->setPen(text);
    const int textWidth = rect.width() - 2 * Margin;
    QRect line(rect.left() + Margin, pictureRect.bottom() + 4, textWidth, metrics.height());
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                      QFontMetrics(bold).elidedText(card->name, Qt::ElideRight, textWidth));
    painter->setFont(option.font);
    line.translate(0, metrics.height());
    painter->drawText(line, Qt::AlignHCenter | Qt::AlignVCenter,
                      metrics.elidedText(collection::kindText(card->kind), Qt::ElideRight, textWidth));
    painter->setRenderHint(QPainter::Antialiasing);
    for (const Mark& mark : marksOf(rect, metrics, *card)) {
        paintMark(*painter, mark);
    }
    painter->restore();
}

QSize CardDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& /*index*/) const {
    const int lines = 2 * option.fontMetrics.height();
    return {CardWidth, Margin + PictureSide + 4 + lines + 4 + MarkSide + Margin};
}

bool CardDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index) {
    const auto* model = qobject_cast<const SkinsModel*>(index.model());
    const collection::Card* card = model == nullptr ? nullptr : model->cardAt(index.row());
    if (event->type() == QEvent::ToolTip && card != nullptr) {
        const QString tip = tipAt(event->pos(), option.rect, option.fontMetrics, *card, *model->collection());
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QString CardDelegate::tipAt(const QPoint& pos, const QRect& rect, const QFontMetrics& metrics,
                            const collection::Card& card, const collection::Collection& collection) {
    for (const Mark& mark : marksOf(rect, metrics, card)) {
        if (!mark.rect.contains(pos)) {
            continue;
        }
        switch (mark.kind) {
        case Mark::Kind::TonePresent:
            return texts::skinsTonePresent(mark.tone);
        case Mark::Kind::ToneMissing:
            return texts::skinsToneMissing(mark.tone);
        case Mark::Kind::Badge:
            return badgeTip(collection, mark.problem);
        }
    }
    return {};
}

// ---- the list

SkinsList::SkinsList(QWidget* parent) : QListView(parent) {
    setObjectName(QStringLiteral("lstSkins"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(500);
    setSpacing(4);
    setWrapping(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CardDelegate(this));
}

void SkinsList::setCounts(int count, int problemCount) {
    if (count == count_ && problemCount == problemCount_) {
        return;
    }
    count_ = count;
    problemCount_ = problemCount;
    emit countsChanged();
}

std::pair<int, int> SkinsList::rowsInView() const {
    const int rows = model() == nullptr ? 0 : model()->rowCount();
    if (rows == 0) {
        return {-1, -1};
    }
    const QRect area = viewport()->rect();
    const QSize card = itemDelegate()->sizeHint(QStyleOptionViewItem(), QModelIndex());
    const int across = std::max(1, area.width() / (card.width() + 2 * spacing()));
    const int down = area.height() / (card.height() + 2 * spacing()) + 2;
    int first = -1;
    // The first card in view: at the top left, or a little below it where a row's gap is.
    for (int y = 0; y < card.height() + 2 * spacing() && first < 0; y += 4) {
        for (int x = 0; x < card.width() + 2 * spacing() && first < 0; x += 8) {
            first = indexAt(QPoint(x, y)).row();
        }
    }
    if (first < 0) {
        first = 0;
    }
    return {first, std::min(rows - 1, first + across * down - 1)};
}

void SkinsList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit cardActivated(currentIndex().row());
        return;
    }
    QListView::keyPressEvent(event);
}

void SkinsList::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex at = indexAt(event->pos());
    if (at.isValid()) {
        setCurrentIndex(at);
        emit menuRequested(at.row(), event->globalPos());
    }
}

} // namespace vestimo::gui
