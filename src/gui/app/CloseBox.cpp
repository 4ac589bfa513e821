#include "gui/app/CloseBox.h"

#include <QCloseEvent>
#include <QObject>
#include <QWidget>

namespace vestimo::gui {

namespace {

class IgnoreClose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void removeCloseBox(QWidget* window) {
    Qt::WindowFlags flags = window->windowFlags();
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    flags &= ~Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->installEventFilter(new IgnoreClose(window));
}

} // namespace vestimo::gui
