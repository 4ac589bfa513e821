#pragma once

#include "core/collection/Collection.h"

#include <QAbstractListModel>
#include <QImage>
#include <QListView>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

namespace vestimo::gui {

// The shown cards of a collection, one row each; the pictures come from the window, which keeps
// them in memory (the model never loads one).
class SkinsModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { PictureRole = Qt::UserRole + 1, FailureRole };
    // The picture held for a card, or null; and why it could not be drawn, or empty.
    using PictureLookup = std::function<const QImage*(const QString& key)>;
    using FailureLookup = std::function<QString(const QString& key)>;

    SkinsModel(PictureLookup pictures, FailureLookup failures, QObject* parent);

    // Shows `visible` (indexes into `collection` and its cards' `keys`, which must outlive the showing).
    void show(const collection::Collection* collection, const std::vector<QString>* keys,
              std::vector<qsizetype> visible);
    // The same rows, whose cards changed in place.
    void refresh(const collection::Collection* collection);
    // The row showing the card `key`, or -1.
    int rowOf(const QString& key) const;
    const collection::Card* cardAt(int row) const;
    // The key of the card at `row`, or empty.
    const QString& keyAt(int row) const;
    qsizetype cardIndexAt(int row) const;
    const collection::Collection* collection() const { return collection_; }
    // A card's picture arrived or went.
    void pictureChanged(const QString& key);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    PictureLookup pictures_;
    FailureLookup failures_;
    const collection::Collection* collection_ = nullptr;
    const std::vector<QString>* keys_ = nullptr;
    std::vector<qsizetype> visible_;
    QHash<QString, int> rows_;
};

// Paints a card: its picture (or a placeholder), name, kind, a dot for each tone present and a
// ring for each tone missing, and a badge for each problem, whose reason is its tool tip.
class CardDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // The side of the square pictures are drawn at.
    static constexpr int PictureSide = 128;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    // The tool tip at `pos` over the card, or empty for the card's own.
    static QString tipAt(const QPoint& pos, const QRect& rect, const QFontMetrics& metrics,
                         const collection::Card& card, const collection::Collection& collection);
};

// The cards (lstSkins): icons in rows, all of one size, laid out in batches so ten thousand cards
// show at once. `count` is the cards shown and `problemCount` the problems in the whole folder.
class SkinsList : public QListView {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countsChanged)
    Q_PROPERTY(int problemCount READ problemCount NOTIFY countsChanged)

public:
    explicit SkinsList(QWidget* parent);

    int count() const { return count_; }
    int problemCount() const { return problemCount_; }
    void setCounts(int count, int problemCount);

    // The first and last rows in view (-1, -1 when none).
    std::pair<int, int> rowsInView() const;

signals:
    void countsChanged();
    // Double-click or Enter on a card.
    void cardActivated(int row);
    // The card's menu was asked for at `globalPos`.
    void menuRequested(int row, const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int count_ = 0;
    int problemCount_ = 0;
};

} // namespace vestimo::gui
