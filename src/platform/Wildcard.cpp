#include "platform/Wildcard.h"

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
