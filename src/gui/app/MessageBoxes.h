#pragma once

#include "core/report/RunReport.h"

#include <QString>

class QWidget;

namespace vestimo::gui {

// The program's only way to tell the user something. Every box has one message, an OK button,
// no icon and the title "Vestimo"; the windows take this interface so tests can record instead.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows `message`; `details` (may be empty) goes behind a "Show Details..." button.
    virtual void show(const QString& message, const QString& details = {}) = 0;
    // Shows `message` with `informative` under it (may be empty) and a "Report..." button that
    // opens `report` in its own window.
    virtual void showReport(const QString& message, const QString& informative,
                            const report::RunReport& report) = 0;
    // A Yes/No question, standing in for the system's own confirmation; true for Yes.
    virtual bool ask(const QString& question) = 0;
    // What to do with unsaved work before it would be lost.
    enum class SaveChoice { Save, Discard, Cancel };
    // A question with Save, Discard and Cancel, Cancel the default. Without a way to offer three
    // buttons, Yes discards and No cancels.
    virtual SaveChoice askToSave(const QString& question) {
        return ask(question) ? SaveChoice::Discard : SaveChoice::Cancel;
    }
    // Shows `message` with OK and a second button `action`; true when the user chose `action`.
    // Without a way to offer it, the message alone and no action.
    virtual bool offer(const QString& message, const QString& action) {
        (void)action;
        show(message);
        return false;
    }
};

// Real modal message boxes over `parent` (the active window when null).
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const QString& message, const QString& details = {}) override;
    // The report window opens as the box closes, and stays open beside the program's window.
    void showReport(const QString& message, const QString& informative,
                    const report::RunReport& report) override;
    bool ask(const QString& question) override;
    SaveChoice askToSave(const QString& question) override;
    bool offer(const QString& message, const QString& action) override;

private:
    QWidget* parent_;
};

} // namespace vestimo::gui
