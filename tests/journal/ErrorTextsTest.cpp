#include "core/catalogue/PlatformErrors.h"

#include <gtest/gtest.h>

namespace vestimo::test {
namespace {

using platform::JournalError;

// The journal's problems keep the words they had when the journal wrote them itself: they are
// shown in History and kept as notes in journals already written.
TEST(journalError, EveryKindKeepsItsWords) {
    using K = JournalError::Kind;
    const auto E = [](K kind, K cause, const char* name, qint64 number, const char* reason) {
        return JournalError{kind, cause, QString::fromUtf8(name), number, QString::fromUtf8(reason)};
    };
    const struct {
        JournalError error;
        const char* text;
    } cases[] = {
        {E(K::NotOpen, K::None, "", 0, ""), "the journal is not open"},
        {E(K::Database, K::None, "", 0, ""), "the database gave no reason"},
        {E(K::Database, K::None, "", 0, "disk I/O error"), "disk I/O error"},
        {E(K::NoSuchRun, K::None, "", 7, ""), "the journal has no run 7"},
        {E(K::NoSuchChange, K::None, "", 8, ""), "the journal has no change 8"},
        {E(K::FolderMissing, K::None, "/p", 0, ""), "the folder /p does not exist"},
        {E(K::FolderNotWritable, K::None, "/p", 0, ""), "the folder /p cannot be written to"},
        {E(K::FileIsLink, K::None, "journal.sqlite", 0, ""),
         "journal.sqlite is a link; the journal is never written through one"},
        {E(K::FileNotAFile, K::None, "journal.sqlite-wal", 0, ""), "journal.sqlite-wal is not a file"},
        {E(K::NotOpened, K::NoDriver, "/p/j", 0, ""),
         "/p/j cannot be opened: the SQLite driver for Qt is not installed"},
        {E(K::NotUsable, K::Newer, "/p/j", 3, ""),
         "/p/j cannot be used: it was written by a newer Vestimo (journal version 3)"},
        {E(K::NotUsable, K::NoWriteAheadLog, "/p/j", 0, ""),
         "/p/j cannot be used: the database refused its write-ahead log"},
        {E(K::Unreadable, K::None, "/p/j", 0, "Permission denied"), "/p/j cannot be read: Permission denied"},
        {E(K::Unreadable, K::Check, "/p/j", 0, "row 3 missing"), "/p/j cannot be read: row 3 missing"},
        {E(K::NotSetAside, K::NotADatabase, "/p/j", 0, ""),
         "/p/j is damaged (it is not a database) and could not be set aside"},
        {E(K::LogNotSetAside, K::Database, "/p/j", 0, ""),
         "/p/j is damaged (the database gave no reason) and its log could not be set aside"},
        {E(K::NotStartedAfresh, K::None, "/p/j", 0, ""), "/p/j could not be started afresh"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(texts::journalError(c.error), QString::fromUtf8(c.text));
    }
}

TEST(platformErrors, DigestLockAndFitKindsKeepTheirWords) {
    using D = platform::DigestError::Kind;
    EXPECT_EQ(texts::digestError({D::Link, 0, {}}), "it is a link, not a file");
    EXPECT_EQ(texts::digestError({D::NotRegularFile, 0, {}}), "it is not an ordinary file");
    EXPECT_EQ(texts::digestError({D::TooLarge, qint64{16} * 1024 * 1024, {}}), "it is larger than 16 MiB");
    EXPECT_EQ(texts::digestError({D::System, 0, "Input/output error"}), "Input/output error");

    using Lock = platform::ProgramLock::Result;
    EXPECT_EQ(texts::lockError({Lock::Kind::Failed, Lock::Problem::Link, {}}), "it is a symbolic link");
    EXPECT_EQ(texts::lockError({Lock::Kind::Failed, Lock::Problem::NotRegularFile, {}}),
              "not an ordinary file");
    EXPECT_EQ(texts::lockError({Lock::Kind::Failed, Lock::Problem::Unusable, {}}), "it cannot be used");

    using F = platform::FitError::Kind;
    const struct {
        platform::FitError error;
        const char* text;
    } fits[] = {
        {{F::FarTooLarge, 0, {}}, "the picture is far larger than any texture"},
        {{F::NotDecoded, 0, {}}, "not a readable picture"},
        {{F::NoMemoryToConvert, 0, {}}, "there was not enough memory to convert the picture"},
        {{F::NoMemoryToReduce, 0, {}}, "there was not enough memory to reduce the colours"},
        {{F::QualityTooLow, 0, {}}, "256 colours cannot show this picture well enough"},
        {{F::NotReduced, 4, {}}, "the colours could not be reduced (error 4)"},
    };
    for (const auto& c : fits) {
        platform::FitResult fit;
        fit.error = c.error;
        EXPECT_EQ(texts::fitError(fit), QString::fromUtf8(c.text));
    }
}

} // namespace
} // namespace vestimo::test
