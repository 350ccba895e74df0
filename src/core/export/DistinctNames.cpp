// File names of one save, kept apart as case-insensitive file systems see them.
#include "core/export/DistinctNames.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>

namespace tabulon {
namespace {

// The name with every character replaced by its simple case folding (UTF-8 in, UTF-8 out);
// bytes that are not UTF-8 stay as they are.
void foldCase(std::string_view name, std::string& folded) {
    folded.clear();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
    const auto length = static_cast<std::int32_t>(name.size());
    for (std::int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {  // most names are ASCII
            const char c = static_cast<char>(bytes[i++]);
            folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            continue;
        }
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            folded.append(
                name.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
            continue;
        }
        std::uint8_t out[U8_MAX_LENGTH];
        std::int32_t written = 0;
        U8_APPEND_UNSAFE(out, written, u_foldCase(c, U_FOLD_CASE_DEFAULT));
        folded.append(reinterpret_cast<const char*>(out), static_cast<std::size_t>(written));
    }
}

}  // namespace

bool DistinctNames::claim(std::string_view name) {
    foldCase(name, folded_);
    if (taken_.find(folded_) != taken_.end()) return false;
    char* kept = static_cast<char*>(arena_.allocate(folded_.empty() ? 1 : folded_.size(), 1));
    std::memcpy(kept, folded_.data(), folded_.size());
    taken_.emplace(kept, folded_.size());
    return true;
}

std::string DistinctNames::take(const std::string& name) {
    if (claim(name)) return name;
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (int number = 2;; ++number) {
        std::string candidate = stem + " (" + std::to_string(number) + ")" + extension;
        if (claim(candidate)) return candidate;
    }
}

}  // namespace tabulon
