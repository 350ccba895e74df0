// The workbooks that tabulon-cli's paths name.
#include "cli/PathArguments.h"

#include <filesystem>

#include "cli/Terminal.h"
#include "core/util/FolderTree.h"

namespace tabulon::cli {

std::vector<std::string> workbookPaths(const std::vector<std::string>& paths,
                                       const std::string& extension, Terminal& terminal) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (!std::filesystem::is_directory(path, ec)) {
            files.push_back(path);
            continue;
        }
        std::vector<UnreadableFolder> unreadable;
        const auto tree = folderTreeFiles(path, "*." + extension, terminal, &unreadable);
        for (const UnreadableFolder& folder : unreadable)
            terminal.reportPathError(folder.path, folder.reason);
        if (tree.empty() && unreadable.empty()) writeMessage(stderr, path + ": no matching files");
        files.insert(files.end(), tree.begin(), tree.end());
    }
    return files;
}

}  // namespace tabulon::cli
