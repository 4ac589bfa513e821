#pragma once

class QAbstractButton;
class QWidget;

namespace vestimo::gui {

// Makes a window's close commands (the title bar's close button, Alt+F4 from the window manager,
// Ctrl+Q) do what `closeButton`, the window's "Close This Program", does: click it when it is
// enabled, nothing when it is not. The window itself never closes on its own, so the program's
// one ending stays that button's routine.
void closeThrough(QWidget* window, QAbstractButton* closeButton);

} // namespace vestimo::gui
