#pragma once

#include "gui/app/MessageBoxes.h"

#include <QStringList>

#include <functional>

namespace vestimo::test {

// Records every message instead of showing it; questions are answered from `answers` (Yes when
// it runs out).
class RecordingMessages : public platform::MessageBoxes {
public:
    void show(const QString& message, const QString& detailText = {}) override {
        messages.append(message);
        details.append(detailText);
        if (onShow) {
            onShow(message);
        }
    }
    bool ask(const QString& question) override {
        questions.append(question);
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void clear() {
        messages.clear();
        details.clear();
        questions.clear();
    }

    QStringList messages;
    QStringList details;
    QStringList questions;
    QList<bool> answers;
    // Called as each message is shown, while the program waits for the box to be closed.
    std::function<void(const QString&)> onShow;
};

} // namespace vestimo::test
