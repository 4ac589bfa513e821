#pragma once

#include <functional>

class QAbstractButton;
class QWidget;

namespace vestimo::gui {

// Makes a window's close commands (the title bar's close button, Alt+F4 from the window manager,
// Ctrl+Q) do what `closeButton`, the window's "Close This Program", does: click it when it is
// enabled. When it is not, `whenDisabled` is asked instead (nothing happens without one): a
// request to close is never silently ignored where the window has something to say. The window
// itself never closes on its own, so the program's one ending stays that button's routine. During
// a run (see BackgroundRun) a request cancels the run first and is carried out after its end.
void closeThrough(QWidget* window, QAbstractButton* closeButton, std::function<void()> whenDisabled = {});

} // namespace vestimo::gui
