#pragma once

#include <QByteArray>
#include <QSplitter>

#include <vector>

namespace vestimo::gui {

// One pane of a splitter as the sharing sees it, along the splitter's direction.
struct PaneRoom {
    int wish = 0;      // the room it asks for (its size hint)
    int minimum = 0;   // never less than this
    bool grows = true; // takes a share of any room beyond the wishes
};

// Shares `room` among `panes`: each gets its wish where there is room, extra room goes to the
// growing panes in proportion to their wishes, and where room is short pane `yielding` gives up
// its share first, down to its minimum, then the others alike. Where even the minimums do not fit,
// every pane gets its minimum (the caller's content scrolls).
std::vector<int> shareRoom(int room, const std::vector<PaneRoom>& panes, int yielding);

// A splitter that, until the user drags it or remembered positions are restored, shares its room
// with shareRoom(): after that it keeps the user's proportions, as any splitter does.
class FittingSplitter : public QSplitter {
    Q_OBJECT

public:
    explicit FittingSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The pane that gives up room first (the last one unless set).
    void setYielding(int index) { yielding_ = index; }
    // Whether pane `index` takes a share of extra room (every pane does unless set). A pane that
    // does not keeps its width also after the user has dragged the splitter.
    void setGrowing(int index, bool grows);
    // Positions saved with saveState(); from then on they count as the user's. False (and the
    // sharing stays) when `state` is not one.
    bool restorePositions(const QByteArray& state);
    // True while the panes are still shared by their wishes.
    bool sharingByWishes() const { return byWishes_; }

    // The panes' wishes and the handles between them (QSplitter's own leaves the handles out).
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void shareByWishes();

    int yielding_ = -1;
    std::vector<bool> growing_;
    bool byWishes_ = true;
};

// Both windows' frame: the browsing column ("splitBrowser", never growing) beside `top` over
// `bottom` ("splitViewer"), where the pane `yielding` of the two gives up room first and only the
// panes in `growing` take room to spare.
FittingSplitter* browserBesideViewer(QWidget* browser, QWidget* top, QWidget* bottom, int yielding,
                                     bool bottomGrows);

} // namespace vestimo::gui
