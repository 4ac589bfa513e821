#include "gui/history/HistoryWindow.h"

#include "core/catalogue/History.h"
#include "gui/app/WindowLooks.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

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
    m_tree->setColumnCount(ColumnCount);
    m_tree->setHeaderLabels({texts::historyColumnWhat(), texts::historyColumnHappened(),
                             texts::historyColumnReason(), texts::historyColumnFolder()});
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_tree->setColumnWidth(FileColumn, 300);
    m_tree->setColumnWidth(HappenedColumn, 220);
    m_tree->setColumnWidth(ReasonColumn, 220);
    m_showEmptyRuns = new QCheckBox(texts::showRunsWithoutChanges(), this);
    m_showEmptyRuns->setObjectName(QStringLiteral("chkShowEmptyRuns"));
    m_putBackButton = new QPushButton(texts::putBackButton(), this);
    m_putBackButton->setObjectName(QStringLiteral("cmdPutBack"));
    m_closeButton = new QPushButton(texts::closeHistoryButton(), this);
    m_closeButton->setObjectName(QStringLiteral("cmdCloseHistory"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showEmptyRuns);
    buttons->addStretch();
    buttons->addWidget(m_putBackButton);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    connect(m_putBackButton, &QPushButton::clicked, this, &HistoryWindow::onPutBackClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_showEmptyRuns, &QCheckBox::toggled, this, &HistoryWindow::showListing);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::hide);
    }
    assignMnemonics(this);
    resize(900, 480);
}

void HistoryWindow::showOver(const QWidget* parent) {
    if (!isVisible() && parent != nullptr) {
        const QScreen* screen =
            parent->screen() != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
        // The size it shows at: never below what its layout needs, never larger than the screen
        // the parent is on (nor off it).
        QRect placed(QPoint(), size().expandedTo(minimumSizeHint()));
        if (available.isValid()) {
            placed.setSize(placed.size().boundedTo(available.size()));
        }
        // Inside the frames, so the centres agree whatever the frames are.
        placed.moveCenter(parent->geometry().center());
        if (available.isValid()) {
            placed.moveLeft(
                std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
            placed.moveTop(
                std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
        }
        setGeometry(placed);
    }
    show();
    raise();
    activateWindow();
}

void HistoryWindow::reload() {
    m_listing = m_controller.load();
    showListing();
}

void HistoryWindow::showListing() {
    m_tree->clear();
    if (!m_listing.error.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_tree, {m_listing.error});
        item->setFlags(Qt::ItemIsEnabled);
    }
    const bool all = m_showEmptyRuns->isChecked();
    for (const HistoryController::Run& run : m_listing.runs) {
        if (!all && !run.changedSomething) {
            continue;
        }
        auto* runItem = new QTreeWidgetItem(m_tree, {run.title, run.outcome});
        runItem->setData(0, IdRole, run.id);
        runItem->setData(0, IsRunRole, true);
        runItem->setToolTip(0, run.title);
        for (const HistoryController::Change& change : run.changes) {
            QStringList cells(ColumnCount);
            cells[FileColumn] = change.name;
            cells[HappenedColumn] = change.happened;
            cells[ReasonColumn] = change.reason;
            cells[FolderColumn] = change.folder;
            auto* item = new QTreeWidgetItem(runItem, cells);
            item->setData(0, IdRole, change.id);
            item->setData(0, IsRunRole, false);
            item->setToolTip(FileColumn, change.file);
            item->setToolTip(FolderColumn, change.folder);
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
