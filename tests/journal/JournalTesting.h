#pragma once

#include "core/catalogue/PlatformErrors.h"
#include "core/journal/Journal.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vestimo::test {

// A skin folder, a program folder, a trash of its own (the real one is never touched) and a
// journal in the program folder.
class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        const platform::JournalStatus opened = journal.open(program.path());
        ASSERT_TRUE(opened.ok) << texts::journalError(opened.error).toStdString();
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QString trashed(const QString& name) const { return dataHome.filePath("Trash/files/" + name); }
    QString trashInfo(const QString& name) const {
        return dataHome.filePath("Trash/info/" + name + ".trashinfo");
    }

    // Every file under `folder` with its bytes, the journal's own files left out.
    static QMap<QString, QByteArray> Contents(const QString& folder) {
        QMap<QString, QByteArray> contents;
        const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        for (const QString& name : names) {
            if (!name.startsWith("journal.sqlite")) {
                contents.insert(name, readAll(QDir(folder).filePath(name)));
            }
        }
        return contents;
    }

    TempDir skins;
    TempDir program;
    TempDir dataHome;
    journal::Journal journal;
};

} // namespace vestimo::test
