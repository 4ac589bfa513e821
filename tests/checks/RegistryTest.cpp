#include "core/FileFilter.h"
#include "core/checks/CheckRegistry.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vestimo;

TEST(CheckRegistry, EveryCheckIsNamedOnceAndJudgesAKindOfFile) {
    QSet<QString> keys;
    QSet<QString> buttons;
    for (const checks::RegisteredCheck& check : checks::checkRegistry()) {
        keys.insert(check.key);
        buttons.insert(QString::fromLatin1(check.objectName));
        EXPECT_EQ(checks::findCheck(check.key), &check);
        EXPECT_FALSE(check.caption().isEmpty()) << check.objectName;
        EXPECT_FALSE(check.optionHelp().isEmpty()) << check.objectName;
        EXPECT_EQ(fileKind(check.make().filter).filter, check.make().filter) << check.objectName;
    }
    EXPECT_EQ(keys.size(), static_cast<qsizetype>(checks::checkRegistry().size()));
    EXPECT_EQ(buttons.size(), keys.size());
    EXPECT_EQ(checks::findCheck(QStringLiteral("nothing")), nullptr);
}

TEST(FileKinds, EachKindHasItsRowAndAPathIsToldByItsSuffix) {
    for (const FileKind& kind : fileKinds()) {
        EXPECT_EQ(&fileKind(kind.filter), &kind);
        EXPECT_EQ(kindOfPath(QStringLiteral("dir/Name.") + kind.suffix.toUpper()), kind.filter);
        EXPECT_NE(kind.noFiles(), kind.wrongKind());
    }
    EXPECT_EQ(kindOfPath(QStringLiteral("notes.txt")), std::nullopt);
    EXPECT_EQ(kindOfPath(QStringLiteral("cmx")), std::nullopt);
}
