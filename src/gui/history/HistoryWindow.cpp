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

struct HistoryWindow::Ui {
    QTreeWidget* tree = nullptr;
    QCheckBox* showEmptyRuns = nullptr;
    QPushButton* putBackButton = nullptr;
    QPushButton* closeButton = nullptr;
};

HistoryWindow::HistoryWindow(journal::Journal& journal, MessageBoxes& messages)
    : controller_(journal), messages_(messages), ui_(std::make_unique<Ui>()) {
    Ui& ui = *ui_;
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(texts::historyCaption());
    auto* help = new QLabel(texts::historyHelp(), this);
    ui.tree = new QTreeWidget(this);
    ui.tree->setObjectName(QStringLiteral("treHistory"));
    ui.tree->setColumnCount(ColumnCount);
    ui.tree->setHeaderLabels({texts::historyColumnWhat(), texts::historyColumnHappened(),
                              texts::historyColumnReason(), texts::historyColumnFolder()});
    ui.tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui.tree->header()->setSectionResizeMode(QHeaderView::Interactive);
    ui.tree->setColumnWidth(FileColumn, 300);
    ui.tree->setColumnWidth(HappenedColumn, 220);
    ui.tree->setColumnWidth(ReasonColumn, 220);
    ui.showEmptyRuns = new QCheckBox(texts::showRunsWithoutChanges(), this);
    ui.showEmptyRuns->setObjectName(QStringLiteral("chkShowEmptyRuns"));
    ui.putBackButton = new QPushButton(texts::putBackButton(), this);
    ui.putBackButton->setObjectName(QStringLiteral("cmdPutBack"));
    ui.closeButton = new QPushButton(texts::closeHistoryButton(), this);
    ui.closeButton->setObjectName(QStringLiteral("cmdCloseHistory"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ui.showEmptyRuns);
    buttons->addStretch();
    buttons->addWidget(ui.putBackButton);
    buttons->addWidget(ui.closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(ui.tree, 1);
    layout->addLayout(buttons);
    connect(ui.putBackButton, &QPushButton::clicked, this, &HistoryWindow::onPutBackClicked);
    connect(ui.closeButton, &QPushButton::clicked, this, &QWidget::hide);
    connect(ui.showEmptyRuns, &QCheckBox::toggled, this, &HistoryWindow::showListing);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::hide);
    }
    assignMnemonics(this);
    resize(900, 480);
}

HistoryWindow::~HistoryWindow() = default;

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
    listing_ = controller_.load();
    showListing();
}

void HistoryWindow::showListing() {
    ui_->tree->clear();
    if (!listing_.error.isEmpty()) {
        auto* item = new QTreeWidgetItem(ui_->tree, {listing_.error});
        item->setFlags(Qt::ItemIsEnabled);
    }
    const bool all = ui_->showEmptyRuns->isChecked();
    for (const HistoryController::Run& run : listing_.runs) {
        if (!all && !run.changedSomething) {
            continue;
        }
        auto* runItem = new QTreeWidgetItem(ui_->tree, {run.title, run.outcome});
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
    const QList<QTreeWidgetItem*> selected = ui_->tree->selectedItems();
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
        messages_.show(texts::selectSomethingToPutBack());
        return;
    }
    const HistoryController::Outcome outcome = controller_.putBack(runs, changes);
    messages_.show(outcome.message, outcome.details);
    reload();
}

} // namespace vestimo::gui
