#include "gui/widgets/FittingSplitter.h"

#include <QResizeEvent>

#include <algorithm>
#include <numeric>

namespace vestimo::gui {

namespace {

// Adds `extra` to the growing panes in proportion to their sizes (to the last pane when none grows).
void growInto(std::vector<int>& sizes, const std::vector<PaneRoom>& panes, int extra) {
    int growingWish = 0;
    for (std::size_t k = 0; k < panes.size(); ++k) {
        growingWish += panes[k].grows ? std::max(1, sizes[k]) : 0;
    }
    if (growingWish == 0) {
        sizes.back() += extra;
        return;
    }
    const int total = extra;
    std::size_t last = 0;
    for (std::size_t k = 0; k < panes.size(); ++k) {
        if (panes[k].grows) {
            const int share =
                static_cast<int>(static_cast<qint64>(total) * std::max(1, sizes[k]) / growingWish);
            sizes[k] += share;
            extra -= share;
            last = k;
        }
    }
    sizes[last] += extra; // what the rounding left
}

// Takes `shortBy` from the panes: from `first` as far as its minimum allows, then from the others
// alike, a pane at its minimum leaving its part to the rest.
void shrinkBy(std::vector<int>& sizes, const std::vector<PaneRoom>& panes, std::size_t first, int shortBy) {
    const auto giveUp = [&](std::size_t k, int most) {
        const int given = std::min({shortBy, most, sizes[k] - panes[k].minimum});
        if (given > 0) {
            sizes[k] -= given;
            shortBy -= given;
        }
    };
    giveUp(first, shortBy);
    for (std::size_t round = 0; shortBy > 0 && round <= panes.size(); ++round) {
        int able = 0;
        for (std::size_t k = 0; k < panes.size(); ++k) {
            able += sizes[k] > panes[k].minimum ? 1 : 0;
        }
        if (able == 0) {
            return;
        }
        const int each = std::max(1, shortBy / able);
        for (std::size_t k = 0; k < panes.size() && shortBy > 0; ++k) {
            giveUp(k, each);
        }
    }
}

} // namespace

std::vector<int> shareRoom(int room, const std::vector<PaneRoom>& panes, int yielding) {
    std::vector<int> sizes;
    for (const PaneRoom& pane : panes) {
        sizes.push_back(std::max(pane.wish, pane.minimum));
    }
    if (sizes.empty()) {
        return sizes;
    }
    const int wished = std::accumulate(sizes.begin(), sizes.end(), 0);
    if (room >= wished) {
        growInto(sizes, panes, room - wished);
    } else {
        const bool valid = yielding >= 0 && static_cast<std::size_t>(yielding) < panes.size();
        shrinkBy(sizes, panes, valid ? static_cast<std::size_t>(yielding) : panes.size() - 1, wished - room);
    }
    return sizes;
}

FittingSplitter::FittingSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    setChildrenCollapsible(false);
    // Only a drag by the user raises this; positions set here do not.
    connect(this, &QSplitter::splitterMoved, this, [this] { byWishes_ = false; });
}

void FittingSplitter::setGrowing(int index, bool grows) {
    if (index < 0) {
        return;
    }
    if (growing_.size() <= static_cast<std::size_t>(index)) {
        growing_.resize(static_cast<std::size_t>(index) + 1, true);
    }
    growing_[static_cast<std::size_t>(index)] = grows;
    // The splitter's own sharing, after a drag: a pane without stretch keeps its size.
    bool anyFixed = false;
    for (const bool g : growing_) {
        anyFixed = anyFixed || !g;
    }
    for (int k = 0; k < count(); ++k) {
        const bool g =
            static_cast<std::size_t>(k) >= growing_.size() || growing_[static_cast<std::size_t>(k)];
        setStretchFactor(k, anyFixed && g ? 1 : 0);
    }
}

bool FittingSplitter::restorePositions(const QByteArray& state) {
    if (state.isEmpty() || !restoreState(state)) {
        return false;
    }
    byWishes_ = false;
    return true;
}

QSize FittingSplitter::sizeHint() const {
    QSize wish = QSplitter::sizeHint();
    const int handles = std::max(0, count() - 1) * handleWidth();
    return orientation() == Qt::Horizontal ? wish + QSize(handles, 0) : wish + QSize(0, handles);
}

void FittingSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    if (byWishes_) {
        shareByWishes();
    }
}

void FittingSplitter::shareByWishes() {
    std::vector<PaneRoom> panes;
    int room = orientation() == Qt::Horizontal ? contentsRect().width() : contentsRect().height();
    for (int k = 0; k < count(); ++k) {
        const QWidget* pane = widget(k);
        const QSize wish = pane->sizeHint().expandedTo(pane->minimumSize());
        const QSize least = pane->minimumSizeHint().expandedTo(pane->minimumSize());
        const bool grows =
            static_cast<std::size_t>(k) >= growing_.size() || growing_[static_cast<std::size_t>(k)];
        panes.push_back(orientation() == Qt::Horizontal ? PaneRoom{wish.width(), least.width(), grows}
                                                        : PaneRoom{wish.height(), least.height(), grows});
        if (k > 0) {
            room -= handleWidth();
        }
    }
    const std::vector<int> sizes = shareRoom(room, panes, yielding_);
    setSizes(QList<int>(sizes.begin(), sizes.end()));
}

FittingSplitter* browserBesideViewer(QWidget* browser, QWidget* top, QWidget* bottom, int yielding,
                                     bool bottomGrows) {
    auto* right = new FittingSplitter(Qt::Vertical);
    right->setObjectName(QStringLiteral("splitViewer"));
    right->addWidget(top);
    right->addWidget(bottom);
    right->setYielding(yielding);
    if (!bottomGrows) {
        right->setGrowing(1, false);
    }
    auto* columns = new FittingSplitter(Qt::Horizontal);
    columns->setObjectName(QStringLiteral("splitBrowser"));
    columns->addWidget(browser);
    columns->addWidget(right);
    columns->setYielding(1);
    columns->setGrowing(0, false);
    return columns;
}

} // namespace vestimo::gui
