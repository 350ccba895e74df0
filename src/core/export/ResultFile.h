// Writing one result's file into the output folder without ever leaving a cut file, and
// flushing what a save wrote to the disk.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon {

class ResultStore;

// Writes result k's text followed by `end` (the window's CR LF by default) under a temporary name
// (".tabulon-XXXXXXXXXXXX.part") in `folder` and renames it to `name` there once complete,
// replacing an earlier file of that name. On failure nothing written is left, an earlier file of
// that name is left as it was, and a FileError names the system's reason and the file's path (or
// the store's file when that could not be read).
void WriteResultFile(const ResultStore& store, std::size_t k, const std::string& folder,
                     const std::string& name, std::string_view end = "\r\n");

// Writes everything written to the file system of `folder` to the disk, so that saved files
// survive a power cut; throws FileError naming the folder.
void FlushToDisk(const std::string& folder);

}  // namespace tabulon
