#include "platform/Wildcard.h"

#include <optional>

namespace vestimo::platform {

namespace {

bool sameCharacter(QChar a, QChar b) {
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

bool hasSurrogates(const QString& text) {
    for (const QChar c : text) {
        if (c.isSurrogate()) {
            return true;
        }
    }
    return false;
}

// "*.cmx" and its like, the patterns every listing uses: a case-blind look at the name's end
// instead of the general match, which would try each position of the name.
std::optional<bool> endsWithTail(const QString& pattern, const QString& name) {
    if (!pattern.startsWith(u'*')) {
        return std::nullopt;
    }
    const QStringView tail = QStringView(pattern).mid(1);
    if (tail.contains(u'*') || tail.contains(u'?')) {
        return std::nullopt;
    }
    if (name.size() < tail.size()) {
        return false;
    }
    const qsizetype from = name.size() - tail.size();
    for (qsizetype i = 0; i < tail.size(); ++i) {
        if (!sameCharacter(tail[i], name[from + i])) {
            return false;
        }
    }
    return true;
}

} // namespace

bool wildcardMatch(const QString& pattern, const QString& name) {
    // Character by character, without copying: this runs once per file of a folder. Names with
    // characters beyond the basic plane are folded whole first, so pairs compare as one.
    if (hasSurrogates(pattern) || hasSurrogates(name)) {
        const QString foldedPattern = pattern.toCaseFolded();
        const QString foldedName = name.toCaseFolded();
        if (!hasSurrogates(foldedPattern) && !hasSurrogates(foldedName)) {
            return wildcardMatch(foldedPattern, foldedName);
        }
    }
    if (const std::optional<bool> quick = endsWithTail(pattern, name)) {
        return *quick;
    }
    const QString& p = pattern;
    const QString& n = name;
    // Greedy match with one backtrack point per star: linear in practice, never exponential.
    qsizetype pi = 0;
    qsizetype ni = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == u'*') {
            starP = pi++;
            starN = ni;
        } else if (pi < p.size() && (p[pi] == u'?' || sameCharacter(p[pi], n[ni]))) {
            ++pi;
            ++ni;
        } else if (starP >= 0) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') {
        ++pi;
    }
    return pi == p.size();
}

} // namespace vestimo::platform
