#include "gui/report/ReportWindow.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/RunReport.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vestimo::gui {

namespace {

QStandardItem* cell(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setToolTip(text); // long reasons and paths are cut off in their columns
    item->setData(sortKey, ReportWindow::SortRole);
    return item;
}

// Room for the table's columns, never more than the screen offers.
QSize initialSize(const QWidget& window) {
    QSize wanted(900, 560);
    if (const QScreen* screen =
            window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableSize() * 9 / 10);
    }
    return wanted;
}

} // namespace

ReportDesktop ReportDesktop::system() {
    return {[](QWidget* parent, const QString& suggested) {
                return QFileDialog::getSaveFileName(parent, texts::saveReportTitle(), suggested,
                                                    texts::saveReportFilters());
            },
            [](const QUrl& folder) { return QDesktopServices::openUrl(folder); }};
}

void VerdictFilter::setVerdict(std::optional<report::RunVerdict> verdict) {
    verdict_ = verdict;
    invalidateFilter();
}

bool VerdictFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!verdict_) {
        return true;
    }
    const QModelIndex verdict = sourceModel()->index(sourceRow, ReportWindow::VerdictColumn, sourceParent);
    return verdict.data(ReportWindow::VerdictRole).toInt() == static_cast<int>(*verdict_);
}

// The window's table, its rows and the verdict it is filtered by.
struct ReportWindow::Ui {
    QStandardItemModel* model;
    VerdictFilter* filter;
    QTableView* table;
    QComboBox* verdicts;
};

ReportWindow::ReportWindow(report::RunReport report, MessageBoxes& messages, ReportDesktop desktop,
                           QWidget* parent)
    : QDialog(parent), report_(std::move(report)), messages_(messages), desktop_(std::move(desktop)),
      ui_(std::make_unique<Ui>(Ui{new QStandardItemModel(this), new VerdictFilter(this),
                                  named(new QTableView(this), "tblReport"),
                                  named(new QComboBox(this), "cboVerdict")})) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(texts::reportWindowTitle());
    setSizeGripEnabled(true);

    auto* facts = new QFormLayout;
    for (const report::RunFact& fact : report_.facts) {
        auto* value = new QLabel(fact.value, this);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        facts->addRow(fact.label + u':', value);
    }

    ui_->verdicts->addItem(texts::verdictAll());
    // After "all", the run's own verdicts in the order they are named to the player.
    for (const report::RunVerdict verdict : report::verdictsOf(report_.kind)) {
        ui_->verdicts->addItem(report::verdictLabel(verdict), static_cast<int>(verdict));
    }
    auto* showLabel = new QLabel(texts::reportShowLabel(), this);
    showLabel->setBuddy(ui_->verdicts);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(showLabel);
    filterRow->addWidget(ui_->verdicts);
    filterRow->addStretch();

    buildTable();

    auto* closing = named(new QLabel(report_.closingLine(), this), "lblReportClosing");
    closing->setTextFormat(Qt::PlainText);
    QFont bold = closing->font();
    bold.setBold(true);
    closing->setFont(bold);

    auto* save = button(this, "cmdSaveReport", texts::saveReportButton());
    auto* open = button(this, "cmdOpenProblemFolder", texts::openProblemFolderButton());
    open->setEnabled(!report_.problemFolder.isEmpty());
    auto* close = button(this, "cmdCloseReport", texts::closeReportButton());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(open);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(facts);
    layout->addLayout(filterRow);
    layout->addWidget(ui_->table, 1);
    layout->addWidget(closing);
    // Alt+letter on each button, drawn the way the main windows draw theirs.
    assignMnemonics(this);
    layout->addLayout(buttons);

    connect(ui_->verdicts, &QComboBox::currentIndexChanged, this, &ReportWindow::onVerdictChosen);
    connect(save, &QPushButton::clicked, this, &ReportWindow::onSaveClicked);
    connect(open, &QPushButton::clicked, this, &ReportWindow::onOpenProblemFolderClicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(initialSize(*this));
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::buildTable() {
    ui_->model->setHorizontalHeaderLabels(
        {texts::columnFile(), texts::columnVerdict(), texts::columnReason(), texts::columnWhere()});
    ui_->model->setRowCount(static_cast<int>(report_.rows.size()));
    for (int row = 0; row < ui_->model->rowCount(); ++row) {
        const report::RunRow& entry = report_.rows[row];
        ui_->model->setItem(row, FileColumn, cell(entry.file, entry.file.toCaseFolded()));
        // Verdicts sort in the order the filter names them, not alphabetically.
        QStandardItem* verdict = cell(report::verdictLabel(entry.verdict), static_cast<int>(entry.verdict));
        verdict->setData(static_cast<int>(entry.verdict), VerdictRole);
        ui_->model->setItem(row, VerdictColumn, verdict);
        ui_->model->setItem(row, ReasonColumn, cell(entry.reason, entry.reason.toCaseFolded()));
        const QString where = QDir::toNativeSeparators(entry.where);
        ui_->model->setItem(row, WhereColumn, cell(where, where.toCaseFolded()));
    }
    ui_->filter->setSourceModel(ui_->model);
    ui_->filter->setSortRole(SortRole);
    showReportTable(*ui_->table, ui_->filter, {FileColumn, ReasonColumn});
}

void showReportTable(QTableView& table, QAbstractItemModel* model, std::initializer_list<int> cappedColumns) {
    table.setModel(model);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setWordWrap(false);
    table.verticalHeader()->setVisible(false);
    table.horizontalHeader()->setStretchLastSection(true);
    // The report's own order until the player picks a column.
    table.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table.setSortingEnabled(true);
    table.resizeColumnsToContents();
    for (const int column : cappedColumns) {
        table.setColumnWidth(column, std::min(table.columnWidth(column), 320));
    }
}

void ReportWindow::onVerdictChosen(int index) {
    const QVariant verdict = ui_->verdicts->itemData(index);
    ui_->filter->setVerdict(
        verdict.isValid() ? std::optional(static_cast<report::RunVerdict>(verdict.toInt())) : std::nullopt);
}

void ReportWindow::onSaveClicked() {
    const QString suggested = QDir(QDir::homePath()).filePath(texts::suggestedReportName());
    const QString path = desktop_.chooseSaveFile ? desktop_.chooseSaveFile(this, suggested) : QString();
    if (path.isEmpty()) {
        return;
    }
    const platform::FileResult saved = report::saveReport(report_, path);
    if (!saved.ok) {
        messages_.show(texts::reportNotSaved(path, texts::fileError(saved.error)));
    }
}

void ReportWindow::onOpenProblemFolderClicked() {
    const bool opened = desktop_.openUrl && desktop_.openUrl(QUrl::fromLocalFile(report_.problemFolder));
    if (!opened) {
        messages_.show(texts::problemFolderNotOpened(report_.problemFolder));
    }
}

} // namespace vestimo::gui
