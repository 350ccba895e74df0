// The wildcard search over one folder's entries, filtered by attribute bits.
#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace tabulon {

// One search over a folder, with its own position: searches never disturb one another.
// The search takes a snapshot of the matching names when it is made, ordered by name without
// regard to case, so its order is stable however the file system stores the folder.
class DirectorySearch {
  public:
    // pathPattern is a folder path followed by a wildcard pattern for the names ("/data/*.xl*");
    // a path that ends in a separator searches for every name. An entry is returned unless it
    // has the hidden, system or directory attribute and that bit is missing from attributes;
    // entries that are neither folders nor regular files, and "." and "..", are never returned.
    // A folder that does not exist or cannot be read gives an empty search, and error() says
    // why.
    DirectorySearch(const std::string& pathPattern, int attributes);

    // The next name (without folder), or the empty text when there are no more.
    std::string next();
    // Why the folder could not be read (or not to its end); no error when it could.
    const std::error_code& error() const { return error_; }

  private:
    std::vector<std::string> names_;
    std::error_code error_;
    std::size_t position_ = 0;
};

}  // namespace tabulon
