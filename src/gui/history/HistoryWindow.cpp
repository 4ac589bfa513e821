#include "gui/history/HistoryWindow.h"

#include "core/catalogue/History.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vestimo::gui {

namespace {

// Which row is a run and which a change, and its id in the journal.
constexpr int IdRole = Qt::UserRole;
constexpr int IsRunRole = Qt::UserRole + 1;

} // namespace

HistoryWindow::HistoryWindow(journal::Journal& journal, platform::MessageBoxes& messages)
    : m_controller(journal), m_messages(messages) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(texts::historyCaption());
    auto* help = new QLabel(texts::historyHelp(), this);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treHistory"));
    m_tree->setColumnCount(3);
    m_tree->setHeaderLabels(
        {texts::historyColumnWhat(), texts::historyColumnHappened(), texts::historyColumnReason()});
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_tree->setColumnWidth(0, 360);
    m_tree->setColumnWidth(1, 240);
    m_putBackButton = new QPushButton(texts::putBackButton(), this);
    m_putBackButton->setObjectName(QStringLiteral("cmdPutBack"));
    m_closeButton = new QPushButton(texts::closeHistoryButton(), this);
    m_closeButton->setObjectName(QStringLiteral("cmdCloseHistory"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_putBackButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    connect(m_putBackButton, &QPushButton::clicked, this, &HistoryWindow::onPutBackClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
    resize(900, 480);
}

void HistoryWindow::reload() {
    m_tree->clear();
    const HistoryController::Listing listing = m_controller.load();
    if (!listing.error.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_tree, {listing.error});
        item->setFlags(Qt::ItemIsEnabled);
    }
    for (const HistoryController::Run& run : listing.runs) {
        auto* runItem = new QTreeWidgetItem(m_tree, {run.title, run.outcome});
        runItem->setData(0, IdRole, run.id);
        runItem->setData(0, IsRunRole, true);
        for (const HistoryController::Change& change : run.changes) {
            auto* item = new QTreeWidgetItem(runItem, {change.file, change.happened, change.reason});
            item->setData(0, IdRole, change.id);
            item->setData(0, IsRunRole, false);
        }
    }
}

void HistoryWindow::onPutBackClicked() {
    QList<qint64> runs;
    QList<qint64> changes;
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    for (const QTreeWidgetItem* item : selected) {
        const QVariant id = item->data(0, IdRole);
        if (!id.isValid()) {
            continue;
        }
        if (item->data(0, IsRunRole).toBool()) {
            runs.append(id.toLongLong());
        } else if (item->parent() == nullptr || !item->parent()->isSelected()) {
            changes.append(id.toLongLong()); // a selected run takes its changes with it
        }
    }
    if (runs.isEmpty() && changes.isEmpty()) {
        m_messages.show(texts::selectSomethingToPutBack());
        return;
    }
    const HistoryController::Outcome outcome = m_controller.putBack(runs, changes);
    m_messages.show(outcome.message, outcome.details);
    reload();
}

} // namespace vestimo::gui
