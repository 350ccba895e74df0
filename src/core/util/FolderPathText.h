// Folder path texts: the trailing separator and the doubled separator after a root.
#pragma once

#include <string>

namespace tabulon {

// The folder path ending in one separator: one is appended when the path does not end in one.
std::string withTrailingSeparator(const std::string& folder);

// Removes the doubled separator that joining a root folder (which already ends in a separator)
// and a name leaves behind: "//name" becomes "/name", and on Windows every ":\\" becomes ":\".
std::string repairRootSeparator(std::string path);

}  // namespace tabulon
