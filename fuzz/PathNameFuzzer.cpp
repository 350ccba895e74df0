// The path and name helpers on arbitrary UTF-8 (or not) texts: the input is a name, a NUL byte
// and a pattern or second path.
#include <cstdint>
#include <string>

#include "core/util/FileAttributes.h"
#include "core/util/FolderPathText.h"
#include "core/util/NameMatching.h"
#include "core/util/PathText.h"
#include "core/util/Utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string name = input.substr(0, cut);
    const std::string other = cut == std::string::npos ? std::string() : input.substr(cut + 1);
    (void)tabulon::GetFileName(name);
    (void)tabulon::StripExtension(name);
    (void)tabulon::joinPath(name, other);
    (void)tabulon::withTrailingSeparator(name);
    (void)tabulon::repairRootSeparator(name);
    (void)tabulon::isHiddenName(name);
    (void)tabulon::foldedName(name);
    (void)tabulon::matchesWildcard(name, other);
    (void)tabulon::utf16BytesToUtf8(name, true);
    (void)tabulon::utf16BytesToUtf8(other, false);
    return 0;
}
