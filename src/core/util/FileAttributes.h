// The attribute bits of a file-system entry, read the same way on every platform.
#pragma once

#include <string>
#include <system_error>

namespace tabulon {

inline constexpr int kAttrReadOnly = 1;
inline constexpr int kAttrHidden = 2;
inline constexpr int kAttrSystem = 4;
inline constexpr int kAttrDirectory = 16;
inline constexpr int kAttrArchive = 32;
// Returned when the entry does not exist or cannot be examined.
inline constexpr int kInvalidAttributes = -1;

// The attributes of the entry the path names, following symbolic links: read-only when the
// owner may not write it, hidden when its name begins with ".", directory for folders and
// archive for every regular file; system is never set. Never fails: an entry that is missing
// or cannot be examined gives kInvalidAttributes.
int fileAttributesOf(const std::string& path);
// The same; error says why an entry gave kInvalidAttributes ("not found" when it is missing).
int fileAttributesOf(const std::string& path, std::error_code& error);

// True when an entry of that name (no folder part) is hidden: it begins with "." and is
// neither "." nor "..".
bool isHiddenName(const std::string& name);

}  // namespace tabulon
