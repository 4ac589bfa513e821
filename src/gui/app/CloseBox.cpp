#include "gui/app/CloseBox.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QObject>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace vestimo::gui {

namespace {

void clickIfEnabled(QAbstractButton* button) {
    if (button->isEnabled()) {
        button->click();
    }
}

class CloseLikeButton : public QObject {
public:
    CloseLikeButton(QWidget* window, QAbstractButton* button) : QObject(window), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            // The window stays; the button's routine hides both windows when it ends the program.
            event->ignore();
            if (button_ != nullptr) {
                clickIfEnabled(button_);
            }
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QAbstractButton> button_;
};

} // namespace

void closeThrough(QWidget* window, QAbstractButton* closeButton) {
    window->installEventFilter(new CloseLikeButton(window, closeButton));
    // Ctrl+Q as on every Linux desktop, whatever keyboard scheme the platform reports.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window);
    QObject::connect(quit, &QShortcut::activated, closeButton,
                     [closeButton] { clickIfEnabled(closeButton); });
}

} // namespace vestimo::gui
