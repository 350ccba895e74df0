// The attribute bits of a file-system entry, read the same way on every platform.
#include "core/util/FileAttributes.h"

#include <filesystem>
#include <system_error>

#include "core/util/PathText.h"

namespace fs = std::filesystem;

namespace tabulon {
namespace {

// The name of the entry a path names, also when the path ends in separators.
std::string entryName(std::string path) {
    while (path.size() > 1 && path.back() == pathSeparator()) path.pop_back();
    return GetFileName(path);
}

}  // namespace

bool isHiddenName(const std::string& name) {
    return name.size() > 1 && name.front() == '.' && name != "..";
}

int fileAttributesOf(const std::string& path) {
    std::error_code error;
    return fileAttributesOf(path, error);
}

int fileAttributesOf(const std::string& path, std::error_code& error) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    if (path.empty()) return kInvalidAttributes;
    const fs::file_status status = fs::status(fs::path(path), error);
    if (error || !fs::exists(status)) return kInvalidAttributes;

    int attributes = 0;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        attributes |= kAttrReadOnly;
    if (isHiddenName(entryName(path))) attributes |= kAttrHidden;
    if (fs::is_directory(status)) attributes |= kAttrDirectory;
    if (fs::is_regular_file(status)) attributes |= kAttrArchive;
    return attributes;
}

}  // namespace tabulon
