// The folder of the temporary files that every result passes through.
#pragma once

#include <string>

namespace tabulon {

// The folder named by the environment variable TEMP when that is a folder; otherwise the
// system's temporary folder.
std::string TempFolder();

// The temporary file for a name part: the folder, the name part and ".csv", joined without a
// doubled separator.
std::string TempFilePath(const std::string& folder, const std::string& namePart);

}  // namespace tabulon
