// Comparing names: file names without regard to case, sheet names by shell patterns.
#include "core/util/NameMatching.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/util/Utf16.h"

namespace tabulon {
namespace {

// Simple upper-case folding for the scripts that file names commonly use.
char32_t fold(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;     // Latin-1
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                // Cyrillic with marks
    return c;
}

// One element of a pattern: "*", "?", a set "[...]" or a character of its own.
struct PatternElement {
    enum class Kind { Star, Any, Set, Literal } kind = Kind::Literal;
    char32_t literal = 0;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // of a set
    bool negated = false;

    bool matches(char32_t c) const {
        if (kind == Kind::Literal) return c == literal;
        if (kind == Kind::Any) return true;
        const bool in = std::any_of(ranges.begin(), ranges.end(),
                                    [c](const auto& r) { return c >= r.first && c <= r.second; });
        return in != negated;
    }
};

// The elements of a pattern: "*" and "?" always; sets and backslash escapes in a shell pattern.
std::vector<PatternElement> parsePattern(const std::u32string& pattern, bool shell) {
    using Kind = PatternElement::Kind;
    std::vector<PatternElement> elements;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        PatternElement element;
        const char32_t c = pattern[i];
        if (c == U'*') {
            element.kind = Kind::Star;
        } else if (c == U'?') {
            element.kind = Kind::Any;
        } else if (!shell) {
            element.literal = c;
        } else if (c == U'\\' && i + 1 < pattern.size()) {
            element.literal = pattern[++i];
        } else if (c == U'[') {
            // "[!...]" or "[^...]" negates; a "]" first is one of the set; no closing "]" makes
            // the "[" a character of its own.
            std::size_t j = i + 1;
            const bool negated = j < pattern.size() && (pattern[j] == U'!' || pattern[j] == U'^');
            if (negated) ++j;
            const std::size_t first = j;
            while (j < pattern.size() && (pattern[j] != U']' || j == first)) ++j;
            if (j >= pattern.size()) {
                element.literal = c;
            } else {
                element.kind = Kind::Set;
                element.negated = negated;
                for (std::size_t k = first; k < j; ++k) {
                    if (k + 2 < j && pattern[k + 1] == U'-') {
                        element.ranges.emplace_back(pattern[k], pattern[k + 2]);
                        k += 2;
                    } else {
                        element.ranges.emplace_back(pattern[k], pattern[k]);
                    }
                }
                i = j;
            }
        } else {
            element.literal = c;
        }
        elements.push_back(std::move(element));
    }
    return elements;
}

// Each element but "*" takes one character: on a mismatch the last "*" takes one more.
bool matches(const std::u32string& name, const std::vector<PatternElement>& elements) {
    using Kind = PatternElement::Kind;
    std::size_t n = 0, p = 0;
    std::size_t starAt = elements.size(), resumeAt = 0;
    while (n < name.size()) {
        if (p < elements.size() && elements[p].kind != Kind::Star && elements[p].matches(name[n])) {
            ++n;
            ++p;
        } else if (p < elements.size() && elements[p].kind == Kind::Star) {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != elements.size()) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < elements.size() && elements[p].kind == Kind::Star) ++p;
    return p == elements.size();
}

}  // namespace

std::u32string foldedName(const std::string& text) {
    std::u32string out = decodeUtf8(text);
    std::transform(out.begin(), out.end(), out.begin(), fold);
    return out;
}

bool matchesWildcard(const std::string& name, const std::string& pattern) {
    const std::u32string nameKey = foldedName(name);
    const std::u32string patternKey = foldedName(pattern);
    if (matches(nameKey, parsePattern(patternKey, false))) return true;
    const bool dotStarEnd = patternKey.ends_with(U".*");
    return dotStarEnd && nameKey.find(U'.') == std::u32string::npos &&
           matches(nameKey, parsePattern(patternKey.substr(0, patternKey.size() - 2), false));
}

bool matchesShellPattern(const std::string& name, const std::string& pattern) {
    return matches(decodeUtf8(name), parsePattern(decodeUtf8(pattern), true));
}

}  // namespace tabulon
