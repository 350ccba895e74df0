// Testing for, deleting and writing files.
#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// True when the path names an existing entry, a folder included; never fails.
bool FileExists(const std::string& path);

// Deletes the file; every failure is ignored.
void DeleteFileQuietly(const std::string& path);

// Creates or truncates the file and writes the text (UTF-8) followed by `end`.
// Throws Error when the file cannot be written.
void WriteTextFile(const std::string& text, const std::string& path, std::string_view end = "\r\n");

}  // namespace tabulon
