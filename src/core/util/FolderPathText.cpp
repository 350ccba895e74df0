// Folder path texts: the trailing separator and the doubled separator after a root.
#include "core/util/FolderPathText.h"

#include "core/util/PathText.h"

namespace tabulon {

std::string withTrailingSeparator(const std::string& folder) {
    if (!folder.empty() && folder.back() == pathSeparator()) return folder;
    return folder + pathSeparator();
}

std::string repairRootSeparator(std::string path) {
    const char sep = pathSeparator();
    if (sep == '/') {
        // A leading "//" would otherwise name the same root twice; there are no drive letters.
        if (path.starts_with("//")) path.erase(0, 1);
        return path;
    }
    const std::string doubled = std::string(":") + sep + sep;
    for (auto at = path.find(doubled); at != std::string::npos; at = path.find(doubled, at + 1))
        path.erase(at + 1, 1);
    return path;
}

}  // namespace tabulon
