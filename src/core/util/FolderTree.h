// The files of a folder tree that the file list takes in.
#pragma once

#include <string>
#include <vector>

#include "core/util/UnreadableFolders.h"

namespace tabulon {

class EventPass;

// The paths to append to the file list for a collection of folders (each ending in a
// separator), folder by folder in collection order and, within a folder, in the order of
// ListFiles with the pattern. Left out: names beginning with "~" (the lock files that
// spreadsheet programs leave beside open workbooks) and files whose attributes are exactly
// hidden + archive (a writable dot-file); a hidden read-only file is kept. No path holds a
// doubled separator after its root. A folder whose files cannot be listed or looked at is noted
// in unreadable (when given).
std::vector<std::string> AddFolderTree(const std::vector<std::string>& folders,
                                       const std::string& pattern,
                                       std::vector<UnreadableFolder>* unreadable = nullptr);

// AddFolderTree over the folder and every folder below it (CollectSubfolders with recursion);
// the folders of the tree that cannot be read are noted in unreadable (when given), each once.
std::vector<std::string> folderTreeFiles(const std::string& folder, const std::string& pattern,
                                         EventPass& events,
                                         std::vector<UnreadableFolder>* unreadable = nullptr);

}  // namespace tabulon
