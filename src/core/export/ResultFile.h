// Writing one result's file into the output folder without ever leaving a cut file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/export/StoredText.h"

namespace tabulon {

// Writes the stored text followed by `end` (the window's CR LF by default) under a temporary name in the file's folder and
// renames it to `path` once complete, replacing an earlier file of that name. On failure the
// temporary file is removed, an earlier file at `path` is left as it was, and a FileError names
// the system's reason and `path`.
// Hands the stored text to `write` in order, in pieces of up to 1 MiB. Throws FileError naming
// the stored file when it cannot be read.
void ReadStoredText(const StoredText& text, const std::function<void(std::string_view)>& write);

void WriteResultFile(const StoredText& text, const std::string& path,
                     std::string_view end = "\r\n");

}  // namespace tabulon
