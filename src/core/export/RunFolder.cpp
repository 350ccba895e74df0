// The private folder of one export run inside the temporary folder, marked as alive by a lock.
#include "core/export/RunFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "core/export/Leftovers.h"
#include "core/export/TempFolder.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

constexpr const char* kLockName = "lock";
// A folder without a lock file is taken for ended only when nothing has changed it for this long.
constexpr std::time_t kUnlockedAge = 24 * 60 * 60;

// "tabulon-" and the six characters that mkdtemp puts in place of XXXXXX.
bool isRunFolderName(std::string_view name) {
    constexpr std::string_view prefix = "tabulon-";
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
    for (const char c : name.substr(prefix.size())) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
}

// Whether the run of the folder open as `folder` has ended. Its lock is taken then and stays
// taken while `lock` is open, so that no other run removes the folder at the same time.
bool runEnded(int folder, const struct stat& info, int& lock) {
    lock = ::openat(folder, kLockName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (lock >= 0) return ::flock(lock, LOCK_EX | LOCK_NB) == 0;
    return errno == ENOENT && std::time(nullptr) - info.st_mtime > kUnlockedAge;
}

}  // namespace

void removeEndedRunFolders(const std::string& tempFolder) {
    DIR* const listing = ::opendir(tempFolder.c_str());
    if (listing == nullptr) return;
    const int temp = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (!isRunFolderName(entry->d_name)) continue;
        const int folder =
            ::openat(temp, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder < 0) continue;
        struct stat info {};
        int lock = -1;
        if (::fstat(folder, &info) == 0 && info.st_uid == ::geteuid() &&
            runEnded(folder, info, lock)) {
            const std::string path = joinPath(tempFolder, entry->d_name);
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
            // FAT through FUSE keeps a folder whose removed lock file is still open: the emptied
            // folder goes once the lock is let go.
            if (lock >= 0) ::close(std::exchange(lock, -1));
            ::rmdir(path.c_str());
        }
        if (lock >= 0) ::close(lock);
        ::close(folder);
    }
    ::closedir(listing);
}

std::string RunFolder::path() {
    std::lock_guard lock(mutex_);
    if (path_.empty()) path_ = makeLocked();
    return path_;
}

std::string RunFolder::makeLocked() {
    const std::string temp = tempFolder();
    removeEndedRunFolders(temp);
    std::string name = joinPath(temp, "tabulon-XXXXXX");
    {
        LeftoverLock leftovers;
        // mkdtemp makes the folder with mode 0700 under a name that did not exist before.
        if (::mkdtemp(name.data()) == nullptr) throw systemFileError(errno, name);
        leftovers.keep(name);
    }
    // The lock file is locked under another name and then named: whoever finds "lock" finds
    // it locked while this run lives. Without a lock the folder is still private and removed
    // with the run; only a run killed meanwhile leaves it for a day.
    const std::string unlocked = joinPath(name, "lock.new");
    const int fd =
        ::open(unlocked.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        std::rename(unlocked.c_str(), joinPath(name, kLockName).c_str()) == 0) {
        lock_ = fd;
    } else {
        if (fd >= 0) ::close(fd);
        ::unlink(unlocked.c_str());
    }
    return name;
}

int RunFolder::createFile(std::string& name) {
    const std::string folder = path();
    std::lock_guard lock(mutex_);
    name = joinPath(folder, std::to_string(++files_) + ".texts");
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw systemFileError(errno, name);
    return fd;
}

void RunFolder::remove() {
    std::string gone;
    int lock = -1;
    {
        std::lock_guard guard(mutex_);
        gone.swap(path_);
        std::swap(lock, lock_);
    }
    if (gone.empty()) return;
    removeFolderQuietly(gone);
    LeftoverLock().forget(gone);
    // Let go of the lock only once the folder is gone.
    if (lock >= 0) ::close(lock);
}

std::string RunFolder::current() const {
    std::lock_guard lock(mutex_);
    return path_;
}

}  // namespace tabulon
