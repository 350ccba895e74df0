// Listing the names of one folder's files that match a wildcard pattern.
#include "core/util/ListFiles.h"

#include "core/Error.h"
#include "core/util/DirectorySearch.h"
#include "core/util/FileAttributes.h"
#include "core/util/FolderPathText.h"

namespace tabulon {

const std::string& FileNameArray::operator[](int index) const {
    static const std::string kEmptyElement;
    if (names_.empty() && index == 0) return kEmptyElement;
    if (index < 1 || index > upperBound()) throw Error("Subscript out of range");
    return names_[static_cast<std::size_t>(index - 1)];
}

FileNameArray ListFiles(const std::string& folder, const std::string& pattern,
                        std::error_code* error) {
    DirectorySearch search(withTrailingSeparator(folder) + pattern, kAttrHidden | kAttrSystem);
    if (error != nullptr) *error = search.error();
    std::vector<std::string> names;
    names.reserve(100);
    for (std::string name = search.next(); !name.empty(); name = search.next())
        names.push_back(std::move(name));
    names.shrink_to_fit();
    return FileNameArray(std::move(names));
}

}  // namespace tabulon
