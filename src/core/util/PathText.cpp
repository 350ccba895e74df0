// Cutting path texts into folder, file name and extension.
#include "core/util/PathText.h"

#include <filesystem>

namespace tabulon {

char pathSeparator() { return static_cast<char>(std::filesystem::path::preferred_separator); }

std::string GetFileName(const std::string& path) {
    const auto p = path.rfind(pathSeparator());
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string StripExtension(const std::string& text) {
    const auto p = text.rfind('.');
    return p == std::string::npos ? text : text.substr(0, p);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char sep = pathSeparator();
    std::string joined = folder;
    if (joined.back() != sep) joined += sep;
    std::size_t start = 0;
    while (start < name.size() && name[start] == sep) ++start;
    return joined + name.substr(start);
}

}  // namespace tabulon
