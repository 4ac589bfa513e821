#include "gui/app/CloseBox.h"

#include "gui/app/BackgroundRun.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QObject>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace vestimo::gui {

namespace {

class CloseLikeButton : public QObject {
public:
    CloseLikeButton(QWidget* window, QAbstractButton* button, std::function<void()> whenDisabled)
        : QObject(window), button_(button), whenDisabled_(std::move(whenDisabled)) {}

    void request() {
        if (button_ == nullptr) {
            return;
        }
        // A run is cancelled first; the request comes again once its end has been told.
        if (BackgroundRun* run = BackgroundRun::of(qobject_cast<QWidget*>(parent()))) {
            run->cancel([self = QPointer<CloseLikeButton>(this)] {
                if (self) {
                    self->request();
                }
            });
            return;
        }
        if (button_->isEnabled()) {
            button_->click();
        } else if (whenDisabled_) {
            whenDisabled_();
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            // The window stays; the button's routine hides both windows when it ends the program.
            event->ignore();
            request();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QAbstractButton> button_;
    std::function<void()> whenDisabled_;
};

} // namespace

void closeThrough(QWidget* window, QAbstractButton* closeButton, std::function<void()> whenDisabled) {
    auto* closing = new CloseLikeButton(window, closeButton, std::move(whenDisabled));
    window->installEventFilter(closing);
    // Ctrl+Q as on every Linux desktop, whatever keyboard scheme the platform reports.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), window);
    QObject::connect(quit, &QShortcut::activated, closing, [closing] { closing->request(); });
}

} // namespace vestimo::gui
