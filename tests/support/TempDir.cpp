#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vestimo::test {

namespace {

// Set before any test runs: a file a test sends to the trash never reaches the user's own trash.
[[maybe_unused]] const bool kOwnTrash = [] {
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", VESTIMO_TEST_DATA_HOME);
    }
    return true;
}();

} // namespace

TempDir::TempDir() {
    EXPECT_TRUE(dir_.isValid());
}

QString TempDir::write(const QString& name, const QByteArray& bytes) const {
    const QString full = dir_.filePath(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
    file.write(bytes);
    return full;
}

QString TempDir::mkdir(const QString& name) const {
    const QString full = dir_.filePath(name);
    QDir().mkpath(full);
    return full;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool exists(const QString& path) {
    return QFileInfo::exists(path);
}

QByteArray crlfLines(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line + "\r\n";
    }
    return out;
}

QByteArray validCmx(const QByteArray& name) {
    return crlfLines({"// Character File. Copyright 1997, Maxis Inc.", "Version 300", "0", "1", name, "0",
                      "0", "1", "PELVIS", "xskin-" + name + "-PELVIS-BODY", "0", "0", "0"});
}

QString realWorldDir() {
    return QStringLiteral(VESTIMO_REALWORLD_DIR);
}

bool canEnforcePermissions(const QString& folder) {
    const QString probe = folder + "/.probe";
    QFile file(probe);
    const bool wrote = file.open(QIODevice::WriteOnly);
    file.close();
    QFile::remove(probe);
    return !wrote;
}

} // namespace vestimo::test
