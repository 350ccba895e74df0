// The temporary folder, where each export run makes its private folder.
#include "core/export/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/util/PathText.h"

namespace fs = std::filesystem;

namespace tabulon {

std::string tempFolder() {
    std::error_code ec;
    if (const char* temp = std::getenv("TEMP");
        temp != nullptr && *temp != '\0' && fs::is_directory(fs::path(temp), ec)) {
        return temp;
    }
    // The library's own choice also looks at TEMP, and fails when TEMP is no folder.
    const fs::path system = fs::temp_directory_path(ec);
    if (!ec && fs::is_directory(system, ec)) return system.string();
    return std::string(1, pathSeparator()) + "tmp";
}

}  // namespace tabulon
