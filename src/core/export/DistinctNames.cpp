// File names of one save, kept apart: a name that was given out already gets a number.
#include "core/export/DistinctNames.h"

namespace tabulon {

std::string DistinctNames::take(const std::string& name) {
    if (taken_.insert(name).second) return name;
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (int number = 2;; ++number) {
        std::string candidate = stem + " (" + std::to_string(number) + ")" + extension;
        if (taken_.insert(candidate).second) return candidate;
    }
}

}  // namespace tabulon
