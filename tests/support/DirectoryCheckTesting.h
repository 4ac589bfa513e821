#pragma once

#include "core/catalogue/Checks.h"
#include "core/checks/DirectoryCheck.h"

#include <QDir>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace vestimo::test {

// The maintainers' address as configured for this build; it ends several closing messages.
inline QString Contact() {
    return texts::maintainerContact();
}

// Counts what the walk tells the bar; can act just before each name's turn.
struct RecordingProgress : checks::RunProgress {
    QList<qint64> starts;
    qint64 advanced = 0;
    int advances = 0;
    std::function<void()> beforeTurn;
    void start(qint64 maximum) override { starts.append(maximum); }
    void advance(int characters) override {
        advanced += characters;
        ++advances;
        if (beforeTurn) {
            beforeTurn();
        }
    }
};

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
        }
        return false;
    }
};

// The ordinary files of a folder, sorted; the listing left behind and the journal are not counted.
inline QStringList Files(const QString& directory) {
    QStringList names = QDir(directory).entryList(QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("Temp.txt"));
    names.removeIf([](const QString& name) { return name.startsWith(QStringLiteral("journal.sqlite")); });
    return names;
}

inline QStringList MovedNames(const checks::DirectoryReport& report) {
    QStringList names;
    for (const auto& line : report.moved) {
        names.append(line.name);
    }
    names.sort();
    return names;
}

inline QStringList Sorted(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) {
        list.append(QString::fromStdString(name));
    }
    list.sort();
    return list;
}

inline QByteArray Bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

} // namespace vestimo::test
