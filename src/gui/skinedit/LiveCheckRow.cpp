#include "gui/skinedit/LiveCheckRow.h"

#include "core/catalogue/LiveCheck.h"
#include "gui/app/WidgetNames.h"
#include "gui/skinedit/CmxEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

namespace vestimo::gui {

namespace {

// One line that never asks for more width than it gets: a long message is cut short with "..."
// (text() and the tooltip keep all of it), so the window keeps its size.
class StatusLine : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
};

} // namespace

LiveCheckRow::LiveCheckRow(CmxEditor& editor, QWidget& window, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    label_ = named(new StatusLine(this), "lblCmxStatus");
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    gotoButton_ = button(this, "cmdGotoFault", texts::gotoFaultyLineButton());
    gotoButton_->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    layout->addWidget(gotoButton_);

    pause_.setSingleShot(true);
    pause_.setInterval(PauseMs);
    connect(&pause_, &QTimer::timeout, this, &LiveCheckRow::due);
    connect(gotoButton_, &QPushButton::clicked, this, &LiveCheckRow::goToFault);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), &window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &LiveCheckRow::goToFault);
}

void LiveCheckRow::restart() {
    pause_.start();
}

void LiveCheckRow::runPendingCheck() {
    if (pause_.isActive()) {
        pause_.stop();
        emit due();
    }
}

void LiveCheckRow::display(const editor::LiveCheckStatus& status) {
    pause_.stop();
    status_ = status;
    label_->setText(status.text);
    label_->setToolTip(status.text);
    gotoButton_->setEnabled(status.faultyLine > 0);
    editor_.markLineAt(status.faultyLine > 0 ? status.faultyPosition : -1);
}

void LiveCheckRow::goToFault() {
    if (status_.faultyLine > 0) {
        editor_.goTo(status_.faultyPosition);
    }
}

} // namespace vestimo::gui
