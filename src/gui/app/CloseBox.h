#pragma once

class QWidget;

namespace vestimo::gui {

// Takes away a window's close command: no close button on its title bar, and close requests from
// the window manager (Alt+F4, the title bar) are ignored. The program ends through its own
// "Close This Program" only.
void removeCloseBox(QWidget* window);

} // namespace vestimo::gui
