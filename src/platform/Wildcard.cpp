#include "platform/Wildcard.h"

namespace vestimo::platform {

bool WildcardMatch(const QString& pattern, const QString& name) {
    const QString p = pattern.toCaseFolded();
    const QString n = name.toCaseFolded();
    // Greedy match with one backtrack point per star: linear in practice, never exponential.
    qsizetype pi = 0;
    qsizetype ni = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == u'*') {
            starP = pi++;
            starN = ni;
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
