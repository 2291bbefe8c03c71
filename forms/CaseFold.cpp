#include "forms/CaseFold.h"

namespace {

// Reads the code point at `i` and moves `i` past it.
char32_t NextCodePoint(QStringView text, qsizetype& i) {
    const char16_t unit = text[i++].unicode();
    if (QChar::isHighSurrogate(unit) && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(unit, text[i++].unicode());
    return unit;
}

} // namespace

void AppendFolded(QStringView text, std::u32string& out) {
    for (qsizetype i = 0; i < text.size();)
        out.push_back(FoldCodePoint(NextCodePoint(text, i)));
}

std::u32string Folded(QStringView text) {
    std::u32string out;
    out.reserve(text.size());
    AppendFolded(text, out);
    return out;
}

bool EqualIgnoringCase(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (FoldCodePoint(NextCodePoint(a, i)) != FoldCodePoint(NextCodePoint(b, j))) return false;
    return i == a.size() && j == b.size();
}
