#include "gui/app/MessageBoxes.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/RunReport.h"
#include "core/catalogue/Windows.h"
#include "gui/report/ReportWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vestimo::gui {

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

bool QtMessageBoxes::offer(const QString& message, const QString& action) {
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), message, QMessageBox::Ok, owner(parent_));
    box.setTextFormat(Qt::PlainText);
    QPushButton* chosen = box.addButton(action, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == chosen;
}

void QtMessageBoxes::showReport(const QString& message, const QString& informative,
                                const report::RunReport& report) {
    QWidget* parent = owner(parent_);
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), message, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (!informative.isEmpty()) {
        box.setInformativeText(informative);
    }
    QPushButton* opensReport = box.addButton(texts::reportButton(), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() != opensReport) {
        return;
    }
    auto* window = new gui::ReportWindow(report, *this, gui::ReportDesktop::system(), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

bool QtMessageBoxes::ask(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), question,
                    QMessageBox::Yes | QMessageBox::No, owner(parent_));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

MessageBoxes::SaveChoice QtMessageBoxes::askToSave(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::applicationTitle(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner(parent_));
    box.setTextFormat(Qt::PlainText);
    // The captions are the program's own, whatever the desktop would call these buttons.
    box.button(QMessageBox::Save)->setText(texts::saveButton());
    box.button(QMessageBox::Discard)->setText(texts::discardButton());
    box.button(QMessageBox::Cancel)->setText(texts::cancelButton());
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

} // namespace vestimo::gui
