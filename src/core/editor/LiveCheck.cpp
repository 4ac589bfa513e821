#include "core/editor/LiveCheck.h"

#include "core/catalogue/LiveCheck.h"
#include "core/catalogue/Verdicts.h"
#include "core/cmx/CheckCmxFile.h"
#include "core/editor/CmxText.h"

#include <string_view>

namespace vestimo::editor {

LiveCheckStatus liveCheck(QStringView rawText, const QString& nameBoxText, bool differsFromFile) {
    const auto shown = [differsFromFile](const QString& text) {
        return differsFromFile ? texts::cmxStatusNotSaved(text) : text;
    };
    // Every character encodes to at least half a byte's worth (a surrogate pair to one "?"), so a
    // text this long is too large without encoding it.
    constexpr qint64 Mebibyte = qint64{1024} * 1024;
    if (rawText.size() > 2 * CmxFileLimit) {
        return {shown(texts::cmxTextTooLargeToCheck(CmxFileLimit / Mebibyte)), 0, -1};
    }
    const QByteArray bytes = bytesToSave(rawText);
    if (bytes.size() > CmxFileLimit) {
        return {shown(texts::cmxTextTooLargeToCheck(CmxFileLimit / Mebibyte)), 0, -1};
    }
    const cmx::CmxVerdict verdict = cmx::judgeCmxText(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), nameBoxText, false);
    // Bytes in memory are always read whole, so no file name is ever needed for the message.
    const QString message = shown(texts::cmxCheckMessage(verdict, {}));
    if (verdict.kind != cmx::CmxVerdict::Kind::Fault) {
        return {message, 0, -1};
    }
    return {message, verdict.line, lineStartInText(rawText, verdict.line)};
}

// Follows the encoding: each line break character becomes CR LF and a bare carriage return's
// stand-in a lone CR, and the check ends a line at every CR, taking an LF right after it along.
qsizetype lineStartInText(QStringView rawText, int line) {
    const qsizetype n = rawText.size();
    int current = 1;
    for (qsizetype i = 0; i < n && current < line; ++i) {
        const char16_t c = rawText[i].unicode();
        switch (c) {
        case u'\r':
            if (i + 1 < n && rawText[i + 1] == u'\n') {
                ++i;
            }
            break;
        case u'\n':
        case u'\u2028':
        case u'\u2029':
            break;
        case BareCarriageReturn:
            if (i + 1 < n && rawText[i + 1] == BareLineFeed) {
                ++i;
            }
            break;
        default:
            continue;
        }
        ++current;
        if (current == line) {
            return i + 1;
        }
    }
    return current == line ? 0 : n;
}

} // namespace vestimo::editor
