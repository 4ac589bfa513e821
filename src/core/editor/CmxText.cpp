#include "core/editor/CmxText.h"

#include <array>

namespace vestimo::editor {

namespace {

// Bytes 0x80..0x9F; the rest of the code page coincides with Latin-1. The unassigned bytes map
// to the C1 control of the same number.
constexpr std::array<char16_t, 32> HighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char16_t CharacterOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80u] : char16_t{byte};
}

// The byte of a character, or -1 when the code page has none.
int ByteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

} // namespace

QString DecodeCmxText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
            text += u'\n';
            ++i;
        } else if (byte == '\r') {
            text += BareCarriageReturn;
        } else if (byte == '\n') {
            text += BareLineFeed;
        } else {
            text += QChar(CharacterOf(byte));
        }
    }
    return text;
}

QByteArray EncodeCmxText(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() + text.size() / 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\r':
            if (i + 1 < n && text[i + 1] == u'\n') {
                ++i;
            }
            [[fallthrough]];
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            bytes += "\r\n";
            continue;
        case BareCarriageReturn:
            bytes += '\r';
            continue;
        case BareLineFeed:
            bytes += '\n';
            continue;
        default:
            break;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            // One character outside the code page, one "?".
            ++i;
            bytes += '?';
            continue;
        }
        const int byte = ByteOf(c);
        bytes += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return bytes;
}

} // namespace vestimo::editor
