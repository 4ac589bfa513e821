#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <ostream>
#include <string>

// Readable failures: gtest prints texts instead of their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vestimo::test {

// A temporary folder for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    QString path() const { return dir_.path(); }
    std::string pathStd() const { return dir_.path().toStdString(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // Writes `bytes` to `name` (creating folders on the way) and returns the full path.
    QString write(const QString& name, const QByteArray& bytes) const;
    QString mkdir(const QString& name) const;

private:
    QTemporaryDir dir_;
};

QByteArray readAll(const QString& path);
bool exists(const QString& path);

// A small valid skin description: header, one PELVIS record and the closing "0".
QByteArray validCmx(const QByteArray& name = "B001FAFit_test");
// Lines joined with CR LF, each ended by it.
QByteArray crlfLines(const QList<QByteArray>& lines);

// False when a file can be written into the (read-only) `folder` anyway: root writes anywhere,
// so a read-only test means nothing then.
bool canEnforcePermissions(const QString& folder);

// Where the real-world sample files live (beside the project).
QString realWorldDir();

} // namespace vestimo::test
