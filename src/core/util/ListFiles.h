// Listing the names of one folder's files that match a wildcard pattern.
#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace tabulon {

// The names ListFiles returns, indexed from 1: with n names the indexes run from 1 to n; with
// none the array holds one empty element at index 0, so a loop from 1 to upperBound() never
// runs. Callers always loop from 1 to upperBound().
class FileNameArray {
  public:
    explicit FileNameArray(std::vector<std::string> names) : names_(std::move(names)) {}

    int lowerBound() const { return names_.empty() ? 0 : 1; }
    int upperBound() const { return static_cast<int>(names_.size()); }
    // The element at the index; throws Error ("Subscript out of range") outside the bounds.
    const std::string& operator[](int index) const;

  private:
    std::vector<std::string> names_;
};

// The names (no folder part) of the folder's regular files that match the pattern, hidden
// ones included and folders left out, in the directory search's order. The folder may end in
// a separator or not. A folder that is missing or cannot be read gives no names, and error (when
// given) says why.
FileNameArray ListFiles(const std::string& folder, const std::string& pattern,
                        std::error_code* error = nullptr);

}  // namespace tabulon
