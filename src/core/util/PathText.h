// Cutting path texts into folder, file name and extension.
#pragma once

#include <string>

namespace tabulon {

// The native folder separator ("/" here, "\" on Windows).
char pathSeparator();

// The text after the last folder separator; the whole text when there is none.
std::string GetFileName(const std::string& path);

// The text before the last "."; a text without "." is returned unchanged.
std::string StripExtension(const std::string& text);

// Joins a folder and a name with exactly one separator between them.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace tabulon
