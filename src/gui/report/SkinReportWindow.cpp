#include "gui/report/SkinReportWindow.h"

#include "core/catalogue/MakerTools.h"
#include "core/catalogue/RunReport.h"
#include "gui/app/BackgroundRun.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/WidgetNames.h"
#include "gui/app/WindowLooks.h"
#include "gui/report/ReportWindow.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace vestimo::gui {

namespace {

QStandardItem* cell(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setToolTip(text); // long descriptions and advice are cut off in their columns
    item->setData(sortKey, SkinReportWindow::SortRole);
    return item;
}

QStandardItem* textCell(const QString& text) {
    return cell(text, text.toCaseFolded());
}

QString meshText(const report::ReportRow& row) {
    if (row.kind != report::RowKind::BodySkin) {
        return {};
    }
    switch (row.mesh) {
    case report::MeshState::Present:
        return texts::skinReportMeshPresent();
    case report::MeshState::CaseDiffers:
        return texts::skinReportMeshCaseDiffers();
    case report::MeshState::Missing:
        return texts::skinReportMeshMissing();
    }
    return {};
}

QString tones(const report::ReportRow& row, const QStringList& list) {
    return row.kind == report::RowKind::BodySkin ? list.join(QStringLiteral(", ")) : QString();
}

QSize initialSize(const QWidget& window) {
    QSize wanted(1000, 600);
    if (const QScreen* screen =
            window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen()) {
        wanted = wanted.boundedTo(screen->availableSize() * 9 / 10);
    }
    return wanted;
}

} // namespace

// The window's table and its rows, sorted.
struct SkinReportWindow::Ui {
    QStandardItemModel* model;
    QSortFilterProxyModel* sorted;
    QTableView* table;
};

SkinReportWindow::SkinReportWindow(QList<report::ReportRow> rows, const QString& directory, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)),
      ui_(std::make_unique<Ui>(Ui{new QStandardItemModel(this), new QSortFilterProxyModel(this),
                                  named(new QTableView(this), "tblSkinReport")})) {
    setObjectName(QStringLiteral("frmSkinReport"));
    setWindowTitle(texts::skinReportTitle(QDir::toNativeSeparators(directory)));
    setSizeGripEnabled(true);
    buildTable();

    const auto bodySkins = std::count_if(rows_.begin(), rows_.end(), [](const report::ReportRow& row) {
        return row.kind == report::RowKind::BodySkin;
    });
    auto* count =
        named(new QLabel(texts::skinReportCount(rows_.size(), bodySkins), this), "lblSkinReportCount");
    count->setTextFormat(Qt::PlainText);

    auto* copy = button(this, "cmdCopyReport", texts::copyReportButton());
    auto* close = button(this, "cmdCloseSkinReport", texts::closeReportButton());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui_->table, 1);
    layout->addWidget(count);
    layout->addLayout(buttons);
    assignMnemonics(this);

    connect(copy, &QPushButton::clicked, this, &SkinReportWindow::copyAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* copySelection = new QShortcut(QKeySequence::Copy, this);
    copySelection->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copySelection, &QShortcut::activated, this, &SkinReportWindow::copyChosen);
    resize(initialSize(*this));
}

SkinReportWindow::~SkinReportWindow() = default;

void SkinReportWindow::buildTable() {
    ui_->model->setHorizontalHeaderLabels(
        {texts::skinReportColumnKind(), texts::skinReportColumnFiles(), texts::skinReportColumnDescription(),
         texts::skinReportColumnTonesPresent(), texts::skinReportColumnTonesMissing(),
         texts::skinReportColumnMesh(), texts::skinReportColumnAdvice()});
    ui_->model->setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < ui_->model->rowCount(); ++row) {
        const report::ReportRow& entry = rows_[row];
        // Kinds sort in the report's own order, not alphabetically; the row number keeps files
        // in their order within a kind.
        QStandardItem* kind =
            cell(report::rowKindText(entry.kind), static_cast<int>(entry.kind) * 1'000'000 + row);
        kind->setData(row, RowRole);
        ui_->model->setItem(row, KindColumn, kind);
        ui_->model->setItem(row, FilesColumn, textCell(entry.files.join(QStringLiteral(", "))));
        ui_->model->setItem(row, DescriptionColumn, textCell(entry.description));
        ui_->model->setItem(row, TonesPresentColumn, textCell(tones(entry, entry.tonesPresent)));
        ui_->model->setItem(row, TonesMissingColumn, textCell(tones(entry, entry.tonesMissing)));
        ui_->model->setItem(row, MeshColumn, textCell(meshText(entry)));
        ui_->model->setItem(row, AdviceColumn, textCell(entry.advice));
    }
    ui_->sorted->setSourceModel(ui_->model);
    ui_->sorted->setSortRole(SortRole);
    showReportTable(*ui_->table, ui_->sorted, {FilesColumn, DescriptionColumn});
    ui_->table->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

QList<report::ReportRow> SkinReportWindow::chosenRows() const {
    const QModelIndexList selected = ui_->table->selectionModel()->selectedRows(KindColumn);
    if (selected.isEmpty()) {
        QList<report::ReportRow> shown;
        for (int row = 0; row < ui_->sorted->rowCount(); ++row) {
            shown.append(rows_[ui_->sorted->index(row, KindColumn).data(RowRole).toInt()]);
        }
        return shown;
    }
    QList<int> shownRows;
    for (const QModelIndex& index : selected) {
        shownRows.append(index.row());
    }
    std::sort(shownRows.begin(), shownRows.end());
    QList<report::ReportRow> chosen;
    for (const int row : shownRows) {
        chosen.append(rows_[ui_->sorted->index(row, KindColumn).data(RowRole).toInt()]);
    }
    return chosen;
}

void SkinReportWindow::copyAll() {
    QGuiApplication::clipboard()->setText(report::reportText(rows_));
}

void SkinReportWindow::copyChosen() {
    QGuiApplication::clipboard()->setText(report::reportText(chosenRows()));
}

void openSkinReport(const QString& directory, MessageBoxes& messages, QWidget* parent,
                    const std::function<void(QWidget* window)>& show, QProgressBar* bar) {
    auto made = std::make_shared<report::SkinSetReport>();
    const QPointer<QWidget> owner = parent;
    const QPointer<QProgressBar> shownOn = bar;
    BackgroundRun::start(
        parent != nullptr ? parent->window() : nullptr, bar,
        [directory, made](BackgroundRun& run) {
            // Reading has no count to show: the bar only says the report is being made.
            run.startProgress(-1);
            *made = report::makeSkinSetReport(directory);
        },
        [directory, made, &messages, owner, shownOn, show](bool cancelled) {
            if (shownOn) {
                shownOn->setVisible(false);
            }
            // The report changes nothing: a cancelled one is simply not shown.
            if (cancelled) {
                return;
            }
            if (!made->ok) {
                messages.show(texts::skinReportNotMade(QDir::toNativeSeparators(directory), made->error));
                return;
            }
            auto* window = new SkinReportWindow(std::move(made->rows), directory, owner);
            window->setAttribute(Qt::WA_DeleteOnClose);
            if (show) {
                show(window);
            } else {
                window->show();
            }
        });
}

} // namespace vestimo::gui
