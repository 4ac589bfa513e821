#pragma once

#include "gui/app/MessageBoxes.h"
#include "gui/history/HistoryController.h"

#include <QWidget>

class QTreeWidget;
class QPushButton;

namespace vestimo::gui {

// History: the journal's runs, newest first, each with its changes (file, what happened, why).
// "Put Back" undoes the selected runs or changes and ends with one message.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    HistoryWindow(journal::Journal& journal, platform::MessageBoxes& messages);

    // Reads the journal afresh.
    void reload();

private:
    void onPutBackClicked();

    HistoryController m_controller;
    platform::MessageBoxes& m_messages;
    QTreeWidget* m_tree = nullptr;
    QPushButton* m_putBackButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace vestimo::gui
