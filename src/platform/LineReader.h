#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vestimo::platform {

// Reads a text file line by line without holding it whole: a carriage return ends a line and a
// line feed right after it is skipped. Only an ordinary file that is not a link opens.
class LineReader {
public:
    explicit LineReader(const QString& path);
    bool isOpen() const { return open_; }
    QString error() const { return open_ ? file_.errorString() : error_; }
    // The next line's bytes, or false at the end.
    bool next(QByteArray& line);

private:
    bool fill();

    QFile file_;
    bool open_ = false;
    QString error_; // why it did not open
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool skipLineFeed_ = false;
};

} // namespace vestimo::platform
