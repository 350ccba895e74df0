// Writing one result's file into the output folder without ever leaving a cut file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/export/StoredText.h"

namespace tabulon {

// Hands the stored text to `write` in order, in pieces of up to 1 MiB. Throws FileError naming
// the stored file when it cannot be read.
void ReadStoredText(const StoredText& text, const std::function<void(std::string_view)>& write);

// Writes the stored text followed by `end` (the window's CR LF by default) to `path`, giving the
// file that name only once it is complete: written with no name and then linked under `path`
// where the system allows it, else under a temporary name in the file's folder and renamed. An
// earlier file of that name is replaced. On failure nothing written is left, an earlier file at
// `path` is left as it was, and a FileError names the system's reason and `path`.
void WriteResultFile(const StoredText& text, const std::string& path,
                     std::string_view end = "\r\n");

// Whether files may be written with no name first (true unless the system has shown that it
// cannot). Tests turn it off to exercise the temporary names that other systems get.
void UseUnnamedFiles(bool use);

}  // namespace tabulon
