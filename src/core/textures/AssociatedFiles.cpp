#include "core/textures/AssociatedFiles.h"

#include "core/FileFilter.h"
#include "core/cmx/CmxLayout.h"
#include "platform/Wildcard.h"

#include <algorithm>
#include <utility>

namespace vestimo::textures {

namespace {

const QString BitmapExtension = QStringLiteral(".bmp");

std::size_t prefixLength(const std::string& key) {
    if (key[0] == 'C') {
        return 6;
    }
    if (key == "B*CA" || key == "B*DO") {
        return 7;
    }
    return 9;
}

// The code point of the valid UTF-8 sequence at bytes[i] and its length, or a length of 0.
std::pair<char32_t, int> utf8Sequence(const QByteArray& bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return {0, 0};
    }
    if (i + length > bytes.size()) {
        return {0, 0};
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) {
            return {0, 0};
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        return {0, 0};
    }
    return {c, length};
}

// A stored name as text that keeps every byte: valid UTF-8 as its characters, each other byte as
// the lone surrogate U+DC80..U+DCFF, which no character of a prefix can equal. A prefix then
// matches such a name exactly where it matches its bytes.
QString byteText(const QByteArray& stored) {
    QString text;
    text.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size();) {
        const auto [c, length] = utf8Sequence(stored, i);
        if (length == 0) {
            text += QChar(static_cast<char16_t>(0xDC00u + static_cast<unsigned char>(stored[i])));
            ++i;
            continue;
        }
        const char32_t one[] = {c};
        text += QString::fromUcs4(one, 1);
        i += length;
    }
    return text;
}

// Case-folded, each lone surrogate (a stray byte of a stored name) kept as it is: folding whole
// would turn them into replacement characters that a prefix could match.
QString folded(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate()) {
            folded += QStringView(name).sliced(run, i - run).toString().toCaseFolded();
            folded += c;
            run = i + 1;
        }
    }
    folded += QStringView(name).sliced(run).toString().toCaseFolded();
    return folded;
}

} // namespace

BitmapIndex::BitmapIndex(QStringList bitmapNames, const QList<QByteArray>& storedOnly)
    : names_(std::move(bitmapNames)) {
    for (const QByteArray& stored : storedOnly) {
        names_.append(byteText(stored));
    }
    folded_.reserve(static_cast<std::size_t>(names_.size()));
    for (const QString& name : names_) {
        folded_.push_back(folded(name));
    }
    std::sort(folded_.begin(), folded_.end());
}

bool BitmapIndex::hasBitmapFor(const QString& prefix) const {
    if (prefix.contains(u'*') || prefix.contains(u'?')) {
        // The file list reads these as wildcards: ask it the same question, name by name.
        const QString pattern = prefix + patternOf(FileFilter::Bitmaps);
        return std::any_of(names_.begin(), names_.end(),
                           [&](const QString& name) { return platform::wildcardMatch(pattern, name); });
    }
    // Every indexed name ends in ".bmp"; it belongs when it begins with the prefix and the two
    // do not overlap.
    const QString folded = prefix.toCaseFolded();
    for (auto it = std::lower_bound(folded_.begin(), folded_.end(), folded);
         it != folded_.end() && it->startsWith(folded); ++it) {
        if (it->size() >= folded.size() + BitmapExtension.size()) {
            return true;
        }
    }
    return false;
}

QString bitmapPrefix(const QString& cmxName) {
    const std::string name = cmxName.toStdString();
    const std::string key = cmx::classKey(name);
    if (!cmx::isSkinClass(key)) {
        return {};
    }
    return QString::fromStdString(std::string(cmx::firstCharacters(name, prefixLength(key))));
}

QString skinClaiming(const QString& bitmapName, const QStringList& cmxNames) {
    QString claiming;
    qsizetype longest = 0;
    const QString bitmap = folded(bitmapName);
    for (const QString& cmxName : cmxNames) {
        const QString prefix = folded(bitmapPrefix(cmxName));
        // Prefixes of skin classes are never empty; the bitmap's name must go on past its prefix.
        if (prefix.size() > longest && bitmap.size() >= prefix.size() + BitmapExtension.size() &&
            bitmap.startsWith(prefix) && bitmap.endsWith(BitmapExtension)) {
            claiming = cmxName;
            longest = prefix.size();
        }
    }
    return claiming;
}

QString meshFileName(const QString& cmxName) {
    const std::string name = cmxName.toStdString();
    const QString base = QString::fromStdString(std::string(cmx::dropLastCharacters(name, 4)));
    const bool head = cmx::classKey(name)[0] == 'C';
    return QStringLiteral("xskin-") + base +
           (head ? QStringLiteral("-HEAD-HEAD.skn") : QStringLiteral("-PELVIS-BODY.skn"));
}

} // namespace vestimo::textures
