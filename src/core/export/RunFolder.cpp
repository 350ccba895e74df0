// The private folder of one export run inside the temporary folder.
#include "core/export/RunFolder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/Error.h"
#include "core/export/TempFolder.h"
#include "core/util/PathText.h"

namespace tabulon {

std::string RunFolder::path() {
    std::lock_guard lock(mutex_);
    if (!path_.empty()) return path_;
    std::string pattern = JoinPath(TempFolder(), "tabulon-XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name that did not exist before.
    if (::mkdtemp(name.data()) == nullptr) throw SystemFileError(errno, pattern);
    path_ = name.data();
    return path_;
}

void RunFolder::remove() {
    std::string gone;
    {
        std::lock_guard lock(mutex_);
        gone.swap(path_);
    }
    if (!gone.empty()) RemoveFolderQuietly(gone);
}

std::string RunFolder::current() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void RemoveFolderQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

}  // namespace tabulon
