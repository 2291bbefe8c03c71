#include "forms/Wildcard.h"

#include "forms/CaseFold.h"

WildcardPattern::WildcardPattern(QStringView pattern) : folded_(Folded(pattern)) {
    if (folded_ == U"*")
        kind_ = Kind::AnyName;
    else if (folded_.find_first_of(U"*?") == std::u32string::npos)
        kind_ = Kind::Literal;
    else
        kind_ = Kind::General;
}

bool WildcardPattern::Matches(std::u32string_view name) const {
    if (kind_ == Kind::AnyName) return true;
    if (kind_ == Kind::Literal) return name == folded_;

    const std::u32string_view pattern = folded_;
    size_t p = 0, n = 0;
    size_t star = std::u32string_view::npos; // position of the last "*" seen
    size_t starName = 0;                     // where the run of that "*" ends for now
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            starName = n;
        } else if (star != std::u32string_view::npos) {
            // Let the last "*" take one more character and retry after it.
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

WildcardMask::WildcardMask(QStringView mask) {
    for (qsizetype start = 0;;) {
        const qsizetype end = mask.indexOf(u';', start);
        patterns_.emplace_back(mask.mid(start, end < 0 ? -1 : end - start));
        if (end < 0) break;
        start = end + 1;
    }
}

bool WildcardMask::Matches(std::u32string_view foldedName) const {
    for (const WildcardPattern& pattern : patterns_)
        if (pattern.Matches(foldedName)) return true;
    return false;
}

bool ContainsWildcard(QStringView text) {
    return text.contains(u'*') || text.contains(u'?');
}

bool WildcardMatch(QStringView pattern, QStringView name) {
    return WildcardPattern(pattern).Matches(Folded(name));
}
