#include "platform/LineReader.h"

#include "platform/ReadOpen.h"

#include <unistd.h>

namespace vestimo::platform {

LineReader::LineReader(const QString& path) {
    const ReadOpen opened = openForReading(QFile::encodeName(path).constData(), Links::Refuse);
    if (opened.fd < 0) {
        error_ = QString::fromLocal8Bit(opened.error);
        return;
    }
    open_ = file_.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!open_) {
        error_ = file_.errorString();
        ::close(opened.fd);
    }
}

bool LineReader::fill() {
    buffer_ = file_.read(1 << 16);
    position_ = 0;
    return !buffer_.isEmpty();
}

bool LineReader::next(QByteArray& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (position_ >= buffer_.size() && !fill()) {
            return any;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        any = true;
        const qsizetype end = buffer_.indexOf('\r', position_);
        if (end < 0) {
            line.append(buffer_.constData() + position_, buffer_.size() - position_);
            position_ = buffer_.size();
            continue;
        }
        line.append(buffer_.constData() + position_, end - position_);
        position_ = end + 1;
        skipLineFeed_ = true;
        return true;
    }
}

} // namespace vestimo::platform
