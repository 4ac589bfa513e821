#include "gui/app/MessageBoxes.h"

#include "core/catalogue/Common.h"

#include <QApplication>
#include <QMessageBox>

namespace vestimo::platform {

namespace {

QWidget* owner(QWidget* parent) {
    return parent != nullptr ? parent : QApplication::activeWindow();
}

} // namespace

void QtMessageBoxes::show(const QString& message, const QString& details) {
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), message, QMessageBox::Ok, owner(parent_));
    box.setTextFormat(Qt::PlainText);
    if (!details.isEmpty()) {
        box.setDetailedText(details);
    }
    box.exec();
}

bool QtMessageBoxes::ask(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), question,
                    QMessageBox::Yes | QMessageBox::No, owner(parent_));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace vestimo::platform
