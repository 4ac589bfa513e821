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
    : QWidget(parent), m_editor(editor) {
    m_label = named(new StatusLine(this), "lblCmxStatus");
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_gotoButton = button(this, "cmdGotoFault", texts::gotoFaultyLineButton());
    m_gotoButton->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_gotoButton);

    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveCheckRow::due);
    connect(m_gotoButton, &QPushButton::clicked, this, &LiveCheckRow::goToFault);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), &window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &LiveCheckRow::goToFault);
}

void LiveCheckRow::restart() {
    m_pause.start();
}

void LiveCheckRow::runPendingCheck() {
    if (m_pause.isActive()) {
        m_pause.stop();
        emit due();
    }
}

void LiveCheckRow::display(const editor::LiveCheckStatus& status) {
    m_pause.stop();
    m_status = status;
    m_label->setText(status.text);
    m_label->setToolTip(status.text);
    m_gotoButton->setEnabled(status.faultyLine > 0);
    m_editor.markLineAt(status.faultyLine > 0 ? status.faultyPosition : -1);
}

void LiveCheckRow::goToFault() {
    if (m_status.faultyLine > 0) {
        m_editor.goTo(m_status.faultyPosition);
    }
}

} // namespace vestimo::gui
