#pragma once

#include "core/report/SkinSetReport.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace vestimo::gui {

class MessageBoxes;

// The skin-set report of one folder (objectName frmSkinReport), read only: a table of its rows,
// sortable by any column, a count line, "Copy" (the rows as text) and Close. Ctrl+C copies the
// selected rows, or every row when none is selected.
class SkinReportWindow : public QDialog {
    Q_OBJECT

public:
    enum Column {
        KindColumn,
        FilesColumn,
        DescriptionColumn,
        TonesPresentColumn,
        TonesMissingColumn,
        MeshColumn,
        AdviceColumn,
        ColumnCount
    };
    // Each cell's sort key.
    static constexpr int SortRole = Qt::UserRole + 1;
    // The row's place in the report, on the kind cell.
    static constexpr int RowRole = Qt::UserRole + 2;

    SkinReportWindow(QList<report::ReportRow> rows, const QString& directory, QWidget* parent = nullptr);

    ~SkinReportWindow() override;

    const QList<report::ReportRow>& rows() const { return rows_; }
    // The rows selected in the table, top to bottom as shown; all of them when none is selected.
    QList<report::ReportRow> chosenRows() const;

private:
    void buildTable();
    void copyAll();
    void copyChosen();

    QList<report::ReportRow> rows_;
    struct Ui;
    std::unique_ptr<Ui> ui_;
};

// "Skin Set Report...": makes the report of `directory` on a worker (see BackgroundRun), reading
// and moving nothing else, with `bar` (if any) busy meanwhile, and hands its window (a child of
// `parent`, deleted when closed) to `show`. A folder that cannot be listed is told through
// `messages` instead; a cancelled report is not shown.
void openSkinReport(const QString& directory, MessageBoxes& messages, QWidget* parent,
                    const std::function<void(QWidget* window)>& show, QProgressBar* bar = nullptr);

} // namespace vestimo::gui
