// The files of a folder tree that the file list takes in.
#include "core/util/FolderTree.h"

#include "core/util/CollectSubfolders.h"
#include "core/util/FileAttributes.h"
#include "core/util/FolderPathText.h"
#include "core/util/ListFiles.h"
#include "core/util/PathText.h"

namespace tabulon {

std::vector<std::string> AddFolderTree(const std::vector<std::string>& folders,
                                       const std::string& pattern,
                                       std::vector<UnreadableFolder>* unreadable) {
    constexpr int kWritableHidden = kAttrHidden | kAttrArchive;
    std::vector<std::string> paths;
    for (const std::string& entry : folders) {
        if (entry.empty()) continue;
        const std::string folder = entry.substr(0, entry.size() - 1);
        std::error_code error;
        const FileNameArray names = ListFiles(folder, pattern, &error);
        noteUnreadableFolder(unreadable, entry, error);
        for (int i = 1; i <= names.upperBound(); ++i) {
            const std::string& name = names[i];
            if (name.front() == '~') continue;
            const std::string path = folder + pathSeparator() + name;
            // A file that vanished since the listing has no attributes and is left out too.
            const int attributes = fileAttributesOf(path, error);
            if (attributes == kInvalidAttributes) noteUnsearchableFolder(unreadable, entry, error);
            if (attributes == kWritableHidden || attributes == kInvalidAttributes) continue;
            paths.push_back(repairRootSeparator(path));
        }
    }
    return paths;
}

std::vector<std::string> folderTreeFiles(const std::string& folder, const std::string& pattern,
                                         EventPass& events,
                                         std::vector<UnreadableFolder>* unreadable) {
    std::vector<std::string> folders{withTrailingSeparator(folder)};
    CollectSubfolders(folders, true, events, unreadable);
    return AddFolderTree(folders, pattern, unreadable);
}

}  // namespace tabulon
