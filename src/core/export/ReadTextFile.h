// Reads a text file back into text.
#pragma once

#include <string>

namespace tabulon {

// The file's text: "" for a missing file, "empty file" for an empty one, a UTF-16 file (with its
// byte-order mark kept as the first character) turned into UTF-8, any other file as it is.
// Throws Error when the file exists but cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace tabulon
