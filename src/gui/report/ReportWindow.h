#pragma once

#include "core/report/RunReport.h"

#include <QDialog>
#include <QSortFilterProxyModel>
#include <QString>
#include <QUrl>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

class QAbstractItemModel;
class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace vestimo::gui {

class MessageBoxes;

// A report's table: read-only whole rows, the given order until a column is picked, columns as
// wide as their text but for `cappedColumns`, which stop at a width that leaves the others room.
void showReportTable(QTableView& table, QAbstractItemModel* model, std::initializer_list<int> cappedColumns);

// What the report window asks of the desktop; tests put recorders in their place.
struct ReportDesktop {
    // Where to save the report: a path, or empty when the player cancels.
    std::function<QString(QWidget* parent, const QString& suggested)> chooseSaveFile;
    // Opens a folder in the desktop's file manager; false when nothing could open it.
    std::function<bool(const QUrl& folder)> openUrl;

    // The desktop's own save dialog and file manager.
    static ReportDesktop system();
};

// Shows one verdict, or every row.
class VerdictFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setVerdict(std::optional<report::RunVerdict> verdict);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::optional<report::RunVerdict> verdict_;
};

// The report of a run (objectName frmReport): its counts, a table of every file with its verdict,
// reason and place (sorted by any column, filtered by verdict), and the count of files that could
// not be moved in bold. Saves the report and opens the problem folder.
class ReportWindow : public QDialog {
    Q_OBJECT

public:
    // The table's columns.
    enum Column { FileColumn, VerdictColumn, ReasonColumn, WhereColumn, ColumnCount };
    // Each cell's sort key; the verdict cell also carries the verdict under VerdictRole.
    static constexpr int SortRole = Qt::UserRole + 1;
    static constexpr int VerdictRole = Qt::UserRole + 2;

    ReportWindow(report::RunReport report, MessageBoxes& messages,
                 ReportDesktop desktop = ReportDesktop::system(), QWidget* parent = nullptr);

    ~ReportWindow() override;

    const report::RunReport& report() const { return report_; }

private:
    void buildTable();
    void onVerdictChosen(int index);
    void onSaveClicked();
    void onOpenProblemFolderClicked();

    report::RunReport report_;
    MessageBoxes& messages_;
    ReportDesktop desktop_;
    struct Ui;
    std::unique_ptr<Ui> ui_;
};

} // namespace vestimo::gui
