// Turning paths dropped on the file list into list entries.
#include "core/util/DroppedPaths.h"

#include "core/util/DirectorySearch.h"
#include "core/util/FileAttributes.h"
#include "core/util/FolderTree.h"

namespace tabulon {
namespace {

// A search that includes folders finds the path, and the path has the directory bit.
bool IsVisibleFolder(const std::string& path) {
    if (DirectorySearch(path, kAttrDirectory).next().empty()) return false;
    const int attributes = FileAttributesOf(path);
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
}

}  // namespace

std::vector<std::string> DroppedPathEntries(const std::vector<std::string>& dropped,
                                            EventPass& events,
                                            std::vector<UnreadableFolder>* unreadable) {
    std::vector<std::string> entries;
    for (const std::string& path : dropped) {
        if (!IsVisibleFolder(path)) {
            entries.push_back(path);
            continue;
        }
        std::vector<std::string> files = FolderTreeFiles(path, "*.*", events, unreadable);
        entries.insert(entries.end(), files.begin(), files.end());
    }
    return entries;
}

}  // namespace tabulon
