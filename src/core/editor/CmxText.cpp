#include "core/editor/CmxText.h"

#include "core/cmx/CodePage.h"

namespace vestimo::editor {

QString decodeCmxText(const QByteArray& bytes) {
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
            text += QChar(cmx::codePageCharacter(byte));
        }
    }
    return text;
}

QByteArray encodeCmxText(QStringView text) {
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
        const std::optional<unsigned char> byte = cmx::codePageByte(c);
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

QByteArray bytesToSave(QStringView rawText) {
    QByteArray bytes = encodeCmxText(rawText);
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) {
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace vestimo::editor
