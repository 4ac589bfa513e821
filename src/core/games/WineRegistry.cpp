#include "core/games/WineRegistry.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vestimo::core::games {

namespace {

constexpr QByteArrayView Header = "WINE REGISTRY Version 2";

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Where the string that opens at `text[0]` (a quote) closes, or -1 when it never does.
qsizetype closingQuote(QByteArrayView text) {
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i;
        }
    }
    return -1;
}

// The key of a "[key] timestamp" line: up to the first "]" that no backslash escapes.
QString keyOfLine(QByteArrayView line) {
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == ']') {
            return unescapeRegistryString(line.sliced(1, i - 1));
        }
    }
    return unescapeRegistryString(line.sliced(1));
}

// A string value of a `"name"=value` line whose name is InstallPath; empty otherwise.
QString installPathOfLine(QByteArrayView line) {
    const qsizetype nameEnd = closingQuote(line);
    if (nameEnd < 0) {
        return {};
    }
    if (unescapeRegistryString(line.sliced(1, nameEnd - 1)).compare(u"InstallPath", Qt::CaseInsensitive) !=
        0) {
        return {};
    }
    QByteArrayView rest = line.sliced(nameEnd + 1).trimmed();
    if (!rest.startsWith('=')) {
        return {};
    }
    rest = rest.sliced(1).trimmed();
    // A plain string, or the "expandable" kind when it holds nothing to expand.
    if (rest.startsWith("str(2):")) {
        rest = rest.sliced(7);
    }
    if (!rest.startsWith('"')) {
        return {};
    }
    const qsizetype valueEnd = closingQuote(rest);
    if (valueEnd < 0) {
        return {};
    }
    const QString value = unescapeRegistryString(rest.sliced(1, valueEnd - 1)).trimmed();
    return value.contains(u'%') ? QString() : value;
}

// Looks for the rare letter first: most key lines hold no "x" at all.
bool mentionsMaxis(QByteArrayView line) {
    const char* data = line.data();
    const std::size_t size = static_cast<std::size_t>(line.size());
    for (const char x : {'x', 'X'}) {
        std::size_t from = 2;
        while (from + 2 < size) {
            const void* found = std::memchr(data + from, x, size - from - 2);
            if (found == nullptr) {
                break;
            }
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
            if ((data[at - 2] | 0x20) == 'm' && (data[at - 1] | 0x20) == 'a' &&
                (data[at + 1] | 0x20) == 'i' && (data[at + 2] | 0x20) == 's') {
                return true;
            }
            from = at + 1;
        }
    }
    return false;
}

} // namespace

QString unescapeRegistryString(QByteArrayView escaped) {
    QString out;
    out.reserve(escaped.size());
    qsizetype plainStart = 0;
    auto flushPlain = [&](qsizetype end) {
        if (end > plainStart) {
            out += QString::fromUtf8(escaped.sliced(plainStart, end - plainStart));
        }
    };
    qsizetype i = 0;
    while (i < escaped.size()) {
        if (escaped[i] != '\\' || i + 1 >= escaped.size()) {
            ++i;
            continue;
        }
        flushPlain(i);
        const char c = escaped[i + 1];
        i += 2;
        if (c == 'x' || c == 'X') {
            int value = 0;
            int digits = 0;
            while (digits < 4 && i < escaped.size() && hexValue(escaped[i]) >= 0) {
                value = value * 16 + hexValue(escaped[i]);
                ++i;
                ++digits;
            }
            if (digits == 0) {
                out += u'x';
            } else {
                out += QChar(static_cast<char16_t>(value));
            }
        } else if (c >= '0' && c <= '7') {
            int value = c - '0';
            for (int digits = 1; digits < 3 && i < escaped.size() && escaped[i] >= '0' && escaped[i] <= '7';
                 ++digits) {
                value = value * 8 + (escaped[i] - '0');
                ++i;
            }
            out += QChar(static_cast<char16_t>(value));
        } else {
            switch (c) {
            case 'a':
                out += u'\a';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'e':
                out += QChar(27);
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'v':
                out += u'\v';
                break;
            default:
                out += QChar::fromLatin1(c);
                break;
            }
        }
        plainStart = i;
    }
    flushPlain(escaped.size());
    return out;
}

bool isGameKey(const QString& key) {
    QString rest = key.toLower();
    while (rest.startsWith(u'\\')) {
        rest.remove(0, 1);
    }
    for (const QStringView prefix : {QStringView(u"machine\\"), QStringView(u"software\\classes\\")}) {
        if (rest.startsWith(prefix)) {
            rest.remove(0, prefix.size());
        }
    }
    while (rest.endsWith(u'\\')) {
        rest.chop(1);
    }
    return rest == u"software\\maxis\\the sims" || rest == u"software\\wow6432node\\maxis\\the sims";
}

void InstallPathScan::feed(QByteArrayView line) {
    if (state_ == State::Header) {
        // The first line that says anything must be the header; an optional UTF-8 mark before it.
        QByteArrayView text = line.trimmed();
        if (text.startsWith("\xEF\xBB\xBF")) {
            text = text.sliced(3);
        }
        if (text.isEmpty()) {
            return;
        }
        state_ = text == Header ? State::Elsewhere : State::Done;
        return;
    }
    if (state_ == State::Done || line.isEmpty()) {
        return;
    }
    if (line[0] == '[') {
        // Only a line that mentions the maker can be the game's key; the others are passed over
        // without decoding (names with other letters than ASCII are always escaped).
        state_ = mentionsMaxis(line) && isGameKey(keyOfLine(line)) ? State::InGameKey : State::Elsewhere;
        return;
    }
    if (state_ == State::InGameKey && line[0] == '"') {
        // Past the bound a line is only counted, never decoded or remembered: a registry of
        // millions of such lines costs no more than reading it.
        if (paths_.size() >= most_) {
            if (QByteArrayView(line)
                    .first(std::min<qsizetype>(line.size(), 14))
                    .compare("\"InstallPath\"=", Qt::CaseInsensitive) == 0) {
                ++ignored_;
            }
            return;
        }
        const QString path = installPathOfLine(line);
        if (path.isEmpty() || seen_.contains(path)) {
            return;
        }
        seen_.insert(path);
        paths_.append(path);
    }
}

QStringList installPathsInRegistry(QByteArrayView text) {
    InstallPathScan scan(std::numeric_limits<qsizetype>::max());
    while (!text.isEmpty()) {
        qsizetype end = text.indexOf('\n');
        if (end < 0) {
            end = text.size();
        }
        QByteArrayView line = text.first(end);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        scan.feed(line);
        text = end < text.size() ? text.sliced(end + 1) : QByteArrayView();
    }
    return scan.installPaths();
}

} // namespace vestimo::core::games
