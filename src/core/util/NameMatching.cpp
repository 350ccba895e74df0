// Comparing file names without regard to case: wildcard patterns and the case-folded form.
#include "core/util/NameMatching.h"

#include <algorithm>

namespace tabulon {
namespace {

// Decodes UTF-8 into code points; a byte that starts no valid sequence stands for itself, moved
// into the range U+DC80..U+DCFF so that it can equal no real character.
std::u32string Decode(const std::string& text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xF0 && lead < 0xF5 ? 4
                           : lead >= 0xE0                ? 3
                           : lead >= 0xC2 && lead < 0xE0 ? 2
                                                         : 0;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        bool valid = length > 0 && i + length <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (valid) {
            out += code;
            i += length;
        } else {
            out += static_cast<char32_t>(0xDC00 + lead);
            ++i;
        }
    }
    return out;
}

// Simple upper-case folding for the scripts that file names commonly use.
char32_t Fold(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;     // Latin-1
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;                // Cyrillic with marks
    return c;
}

bool Matches(const std::u32string& name, const std::u32string& pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::u32string::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::u32string::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

}  // namespace

std::u32string FoldedName(const std::string& text) {
    std::u32string out = Decode(text);
    std::transform(out.begin(), out.end(), out.begin(), Fold);
    return out;
}

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
    const std::u32string foldedName = FoldedName(name);
    const std::u32string foldedPattern = FoldedName(pattern);
    if (Matches(foldedName, foldedPattern)) return true;
    const bool dotStarEnd = foldedPattern.ends_with(U".*");
    return dotStarEnd && foldedName.find(U'.') == std::u32string::npos &&
           Matches(foldedName, foldedPattern.substr(0, foldedPattern.size() - 2));
}

}  // namespace tabulon
