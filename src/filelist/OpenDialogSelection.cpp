// The list entries for the files chosen in the open-file dialog.
#include "filelist/OpenDialogSelection.h"

#include "core/util/FolderPathText.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

// The folder as the dialog names it: a root keeps its separator ("/", "C:\"), any other folder
// has none.
std::string dialogFolder(const std::string& path) {
    const auto cut = path.rfind(pathSeparator());
    std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
    if (folder.empty() || folder.back() == ':') folder += pathSeparator();
    return folder;
}

}  // namespace

std::optional<std::vector<std::string>> openDialogEntries(const std::vector<std::string>& chosen) {
    if (chosen.size() == 1) {
        if (chosen.front().size() > kOpenDialogResultCapacity) return std::nullopt;
        return chosen;
    }
    if (chosen.empty()) return std::vector<std::string>();
    const std::string folder = dialogFolder(chosen.front());
    std::size_t resultLength = folder.size();
    std::vector<std::string> entries;
    for (const std::string& path : chosen) {
        const std::string name = GetFileName(path);
        resultLength += 1 + name.size();
        entries.push_back(repairRootSeparator(folder + pathSeparator() + name));
    }
    if (resultLength > kOpenDialogResultCapacity) return std::nullopt;
    return entries;
}

}  // namespace tabulon
