// Turning paths dropped on the file list into list entries.
#include "core/util/DroppedPaths.h"

#include "core/util/DirectorySearch.h"
#include "core/util/FileAttributes.h"
#include "core/util/FolderTree.h"

namespace tabulon {
namespace {

// A search that includes folders finds the path, and the path has the directory bit.
bool isVisibleFolder(const std::string& path) {
    if (DirectorySearch(path, kAttrDirectory).next().empty()) return false;
    const int attributes = fileAttributesOf(path);
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
}

}  // namespace

std::vector<std::string> droppedPathEntries(const std::vector<std::string>& dropped,
                                            EventPass& events,
                                            std::vector<UnreadableFolder>* unreadable) {
    std::vector<std::string> entries;
    for (const std::string& path : dropped) {
        if (!isVisibleFolder(path)) {
            entries.push_back(path);
            continue;
        }
        std::vector<std::string> files = folderTreeFiles(path, "*.*", events, unreadable);
        entries.insert(entries.end(), files.begin(), files.end());
    }
    return entries;
}

}  // namespace tabulon
