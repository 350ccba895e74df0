// The temporary folder, where each export run makes its private folder.
#pragma once

#include <string>

namespace tabulon {

// The folder named by the environment variable TEMP when that is a folder; otherwise the
// system's temporary folder.
std::string tempFolder();

}  // namespace tabulon
