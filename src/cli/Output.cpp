#include "cli/Output.h"

#include "core/catalogue/CommandLine.h"

#include <QJsonDocument>

#include <algorithm>

#include <cstdio>

#include <poll.h>
#include <unistd.h>

namespace vestimo::cli {

namespace {

// Often enough to look alive, rarely enough to cost nothing.
constexpr qint64 RedrawIntervalMs = 100;

bool shownAsEscape(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)               // C0, DEL, C1
           || c == 0x061C || c == 0x200E || c == 0x200F                    // marks that change the direction
           || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) //
           || c == 0x2028 || c == 0x2029 || c == 0xFEFF // line breaks and the invisible mark
           || (c >= 0xD800 && c <= 0xDFFF);             // a half of a surrogate pair
}

// The stand-ins for stray bytes: the second halves of surrogate pairs that no byte 0x80 to 0xFF
// of valid text can turn into.
constexpr char32_t StrayByteBase = 0xDC00;

bool isStrayByte(char32_t c) {
    return c >= StrayByteBase + 0x80 && c <= StrayByteBase + 0xFF;
}

QString escape(char32_t c) {
    const QString digits = QString::number(static_cast<uint>(c), 16).toUpper();
    if (c < 0x100) {
        return QStringLiteral("\\x") + digits.rightJustified(2, u'0');
    }
    return QStringLiteral("\\u{") + digits.rightJustified(4, u'0') + u'}';
}

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
qsizetype sequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (qsizetype i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

QString printable(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            shown += c;
            shown += text[++i];
            continue;
        }
        const char32_t code = c.unicode();
        if (code == u'\\') {
            shown += QStringLiteral("\\\\");
        } else if (isStrayByte(code)) {
            shown += escape(code - StrayByteBase);
        } else if (shownAsEscape(code)) {
            shown += escape(code);
        } else {
            shown += c;
        }
    }
    return shown;
}

QString withStrayBytes(const QByteArray& bytes) {
    QString text;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = sequenceLength(bytes, at);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(StrayByteBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + at, length);
        at += length;
    }
    return text;
}

QString escapedBytes(const QByteArray& bytes) {
    return printable(withStrayBytes(bytes));
}

void Output::write(FILE* stream, const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream) !=
        static_cast<size_t>(bytes.size())) {
        failed_ = true;
    }
}

void Output::line(const QString& text) {
    write(stdout, printable(text).toUtf8() + '\n');
}

void Output::lines(const QStringList& texts) {
    for (const QString& text : texts) {
        line(text);
    }
}

void Output::json(const QJsonObject& document) {
    wroteJson_ = true;
    write(stdout, QJsonDocument(document).toJson(QJsonDocument::Indented));
}

void Output::error(const QString& text) {
    if (firstError_.isEmpty()) {
        firstError_ = text;
    }
    errorLine(QStringLiteral("vestimo: ") + text);
}

void Output::errorLine(const QString& text) {
    // The error output may be gone; the report's fate is what the status tells.
    const QByteArray bytes = printable(text).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

int Output::usageError(const QString& problem, const QString& usage) {
    error(problem);
    errorLine(usage);
    return finish(Stopped);
}

bool Output::gone() {
    pollfd out{STDOUT_FILENO, 0, 0};
    if (!failed_ && ::poll(&out, 1, 0) == 1 && (out.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        failed_ = true;
    }
    return failed_;
}

bool Output::flush() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        failed_ = true;
    }
    return !failed_;
}

int Output::finish(int status) {
    if (!jsonCommand_.isEmpty() && !wroteJson_ && status >= Stopped) {
        json({{QStringLiteral("command"), jsonCommand_},
              {QStringLiteral("exitStatus"), status},
              {QStringLiteral("error"), firstError_}});
    }
    flush();
    if (failed_) {
        error(texts::outputFailed());
        status = Stopped;
    }
    std::fflush(stderr);
    return status;
}

TerminalProgress::TerminalProgress() : shown_(::isatty(STDERR_FILENO) == 1) {}

void TerminalProgress::start(qint64 maximum) {
    maximum_ = maximum;
    value_ = 0;
    sinceDrawn_.start();
    draw();
}

void TerminalProgress::advance(int characters) {
    value_ += characters;
    if (sinceDrawn_.elapsed() >= RedrawIntervalMs) {
        draw();
    }
}

void TerminalProgress::finish() {
    if (!shown_) {
        return;
    }
    // Blank the line and go back to its start, so the report begins at the left.
    const QByteArray blank = '\r' + QByteArray(printable(label_).toUtf8().size() + 8, ' ') + '\r';
    std::fwrite(blank.constData(), 1, static_cast<size_t>(blank.size()), stderr);
    std::fflush(stderr);
}

void TerminalProgress::draw() {
    sinceDrawn_.restart();
    if (!shown_) {
        return;
    }
    const qint64 percent = maximum_ > 0 ? std::min<qint64>(100, value_ * 100 / maximum_) : 100;
    const QByteArray text = '\r' + printable(label_).toUtf8() + ' ' + QByteArray::number(percent) + '%';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

} // namespace vestimo::cli
