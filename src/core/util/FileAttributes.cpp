// The attribute bits of a file-system entry, read the same way on every platform.
#include "core/util/FileAttributes.h"

#include <filesystem>
#include <system_error>

#include "core/util/PathText.h"

namespace fs = std::filesystem;

namespace tabulon {
namespace {

// A dot-file is hidden; the special names "." and ".." stand for folders, not hidden names.
bool IsHiddenName(std::string path) {
    while (path.size() > 1 && path.back() == PathSeparator()) path.pop_back();
    const std::string name = GetFileName(path);
    return name.size() > 1 && name.front() == '.' && name != "..";
}

}  // namespace

int FileAttributesOf(const std::string& path) {
    if (path.empty()) return kInvalidAttributes;
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path), error);
    if (error || !fs::exists(status)) return kInvalidAttributes;

    int attributes = 0;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        attributes |= kAttrReadOnly;
    if (IsHiddenName(path)) attributes |= kAttrHidden;
    if (fs::is_directory(status)) attributes |= kAttrDirectory;
    if (fs::is_regular_file(status)) attributes |= kAttrArchive;
    return attributes;
}

}  // namespace tabulon
