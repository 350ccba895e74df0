// File names of one save, kept apart: a name that was given out already gets a number.
#include "core/export/DistinctNames.h"

#include <cstring>

namespace tabulon {

bool DistinctNames::claim(std::string_view name) {
    if (taken_.find(name) != taken_.end()) return false;
    char* kept = static_cast<char*>(arena_.allocate(name.size() == 0 ? 1 : name.size(), 1));
    std::memcpy(kept, name.data(), name.size());
    taken_.emplace(kept, name.size());
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
