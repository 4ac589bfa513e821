#pragma once

#include "gui/app/MessageBoxes.h"

#include <QStringList>

#include <functional>

namespace vestimo::test {

// Records every message instead of showing it; questions are answered from `answers` (Yes when
// it runs out).
class RecordingMessages : public gui::MessageBoxes {
public:
    void show(const QString& message, const QString& detailText = {}) override {
        messages.append(message);
        details.append(detailText);
        if (onShow) {
            onShow(message);
        }
    }
    // The message as any other; the report's plain text stands in its details.
    void showReport(const QString& message, const QString& informativeText,
                    const report::RunReport& report) override {
        reports.append(report);
        informative.append(informativeText);
        show(message, QString::fromUtf8(report::toText(report)));
    }
    bool ask(const QString& question) override {
        questions.append(question);
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    // Recorded with the other questions; answered from `choices` (Discard when it runs out).
    SaveChoice askToSave(const QString& question) override {
        questions.append(question);
        saveQuestions.append(question);
        return choices.isEmpty() ? SaveChoice::Discard : choices.takeFirst();
    }
    // Recorded as a message; the action is taken when `takeOffers` says so.
    bool offer(const QString& message, const QString& action) override {
        offered.append(action);
        show(message);
        return takeOffers;
    }
    void clear() {
        offered.clear();
        messages.clear();
        details.clear();
        questions.clear();
        saveQuestions.clear();
        reports.clear();
        informative.clear();
    }

    QStringList messages;
    QStringList details;
    QStringList questions;
    QList<bool> answers;
    QStringList saveQuestions; // those asked with Save, Discard and Cancel
    QList<SaveChoice> choices;
    QStringList offered; // the second button of each offer, in order
    bool takeOffers = false;
    // One per message shown with a report, in order: the report and the line under the message.
    QList<report::RunReport> reports;
    QStringList informative;
    // Called as each message is shown, while the program waits for the box to be closed.
    std::function<void(const QString&)> onShow;
};

} // namespace vestimo::test
