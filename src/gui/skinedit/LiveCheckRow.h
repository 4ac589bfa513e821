#pragma once

#include "core/editor/LiveCheck.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vestimo::gui {

class CmxEditor;

// The row under the CMX editor: the check's status (lblCmxStatus) and "Go to Faulty Line"
// (cmdGotoFault, also Ctrl+G anywhere in the window). It waits for a pause in the typing before
// asking for a check, and shows the status it is handed; it decides nothing itself.
class LiveCheckRow : public QWidget {
    Q_OBJECT

public:
    // How long the typing must pause before the text is checked.
    static constexpr int PauseMs = 300;

    LiveCheckRow(CmxEditor& editor, QWidget& window, QWidget* parent);

    // Starts the wait again; `due` follows once it ends.
    void restart();
    // Whether a check is waiting for the pause to end.
    bool pending() const { return pause_.isActive(); }
    // Ends a waiting pause at once, raising `due` as the timer would (for tests, which never wait).
    void runPendingCheck();

    // Shows `status` (an empty one shows nothing) and ends any wait.
    void display(const editor::LiveCheckStatus& status);
    const editor::LiveCheckStatus& status() const { return status_; }

    // Moves the editor's cursor to the start of the faulty line, when there is one.
    void goToFault();

signals:
    // The text should be checked now.
    void due();

private:
    CmxEditor& editor_;
    QLabel* label_ = nullptr;
    QPushButton* gotoButton_ = nullptr;
    QTimer pause_;
    editor::LiveCheckStatus status_;
};

} // namespace vestimo::gui
