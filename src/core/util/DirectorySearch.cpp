// The wildcard search over one folder's entries, filtered by attribute bits.
#include "core/util/DirectorySearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/util/FileAttributes.h"
#include "core/util/NameMatching.h"
#include "core/util/PathText.h"

namespace fs = std::filesystem;

namespace tabulon {
namespace {

constexpr int kFilteredBits = kAttrHidden | kAttrSystem | kAttrDirectory;

}  // namespace

DirectorySearch::DirectorySearch(const std::string& pathPattern, int attributes) {
    const auto cut = pathPattern.rfind(pathSeparator());
    const std::string folder = cut == std::string::npos ? std::string(".")
                               : cut == 0               ? pathPattern.substr(0, 1)
                                                        : pathPattern.substr(0, cut);
    const std::string pattern =
        cut == std::string::npos ? pathPattern : pathPattern.substr(cut + 1);

    std::vector<std::pair<std::u32string, std::string>> found;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!pattern.empty() && !matchesWildcard(name, pattern)) continue;
        // The entry's type comes from the folder listing where the file system gives it, so
        // only links cost a look at the entry itself; the read-only bit plays no part here.
        std::error_code typeError;
        const int type = it->is_directory(typeError)      ? kAttrDirectory
                         : it->is_regular_file(typeError) ? kAttrArchive
                                                          : 0;
        if (typeError || type == 0) continue;
        const int hidden = isHiddenName(name) ? kAttrHidden : 0;
        if (((type | hidden) & kFilteredBits & ~attributes) != 0) continue;
        found.emplace_back(foldedName(name), name);
    }
    error_ = error;
    std::sort(found.begin(), found.end());
    names_.reserve(found.size());
    for (auto& [key, name] : found) names_.push_back(std::move(name));
}

std::string DirectorySearch::next() {
    return position_ < names_.size() ? names_[position_++] : std::string();
}

}  // namespace tabulon
