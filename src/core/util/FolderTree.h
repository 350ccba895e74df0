// The files of a folder tree that the file list takes in.
#pragma once

#include <string>
#include <vector>

namespace tabulon {

class Activity;

// The paths to append to the file list for a collection of folders (each ending in a
// separator), folder by folder in collection order and, within a folder, in the order of
// ListFiles with the pattern. Left out: names beginning with "~" (the lock files that
// spreadsheet programs leave beside open workbooks) and files whose attributes are exactly
// hidden + archive (a writable dot-file); a hidden read-only file is kept. No path holds a
// doubled separator after its root.
std::vector<std::string> AddFolderTree(const std::vector<std::string>& folders,
                                       const std::string& pattern);

// AddFolderTree over the folder and every folder below it (CollectSubfolders with recursion).
std::vector<std::string> FolderTreeFiles(const std::string& folder, const std::string& pattern,
                                         Activity& activity);

}  // namespace tabulon
