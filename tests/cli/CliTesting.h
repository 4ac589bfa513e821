#pragma once

#include "support/TempDir.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// The built program run as a separate process, as scripts run it: no display, nothing inherited
// that would give it one.
namespace vestimo::test {

struct Ran {
    int status = -1;
    QByteArray out;
    QByteArray err;
    QStringList lines() const { return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts); }
    QJsonObject json() const {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        return document.object();
    }
};

inline Ran RunVestimo(const QStringList& arguments, const QMap<QString, QString>& environment = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        env.remove(QString::fromLatin1(name));
    }
    for (auto it = environment.begin(); it != environment.end(); ++it) {
        env.insert(it.key(), it.value());
    }
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VESTIMO_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    Ran ran;
    ran.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.out = process.readAllStandardOutput();
    ran.err = process.readAllStandardError();
    return ran;
}

// Every file below `root` with a digest of its content.
inline QMap<QString, QByteArray> Hashes(const QString& root) {
    QMap<QString, QByteArray> hashes;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        hashes.insert(QDir(root).relativeFilePath(path),
                      QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256));
    }
    return hashes;
}

// The files a check moved into a program folder: everything but the listing and the lock.
inline QStringList MovedInto(const QString& program) {
    QStringList names = QDir(program).entryList(QDir::Files, QDir::Name);
    names.removeIf([](const QString& name) {
        return name == QStringLiteral("Temp.txt") || name.endsWith(QStringLiteral(".lock")) ||
               name.startsWith(QStringLiteral("journal.sqlite"));
    });
    return names;
}

} // namespace vestimo::test
