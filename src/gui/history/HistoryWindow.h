#pragma once

#include "gui/app/MessageBoxes.h"
#include "gui/history/HistoryController.h"

#include <QWidget>

#include <memory>

namespace vestimo::gui {

// History: the journal's runs, newest first, each with its changes (file name, what happened, why,
// and the folder). Runs that changed nothing wait behind "Show runs without changes". "Put Back"
// undoes the selected runs or changes and ends with one message. Escape and Ctrl+W close it.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    // The tree's columns.
    enum Column { FileColumn, HappenedColumn, ReasonColumn, FolderColumn, ColumnCount };

    HistoryWindow(journal::Journal& journal, MessageBoxes& messages);
    ~HistoryWindow() override;

    // Reads the journal afresh.
    void reload();
    // Shows the window, centred on `parent` when it opens (raised when it is open already).
    void showOver(const QWidget* parent);

private:
    void onPutBackClicked();
    // Fills the tree from the last reading, with or without the runs that changed nothing.
    void showListing();

    HistoryController controller_;
    MessageBoxes& messages_;
    HistoryController::Listing listing_;
    struct Ui;
    std::unique_ptr<Ui> ui_;
};

} // namespace vestimo::gui
