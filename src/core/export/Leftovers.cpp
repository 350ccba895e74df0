// What the process must not leave behind however it ends.
#include "core/export/Leftovers.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace tabulon {
namespace {

namespace fs = std::filesystem;

// Never destroyed: removeLeftovers() may run at exit(), after other static objects have gone.
struct Kept {
    std::mutex mutex;
    std::vector<std::string> paths;
    bool atExit = false;
};

Kept& kept() {
    static Kept* const instance = new Kept;
    return *instance;
}

}  // namespace

LeftoverLock::LeftoverLock() { kept().mutex.lock(); }

LeftoverLock::~LeftoverLock() { kept().mutex.unlock(); }

void LeftoverLock::keep(const std::string& path) {
    Kept& k = kept();
    if (!k.atExit) {
        std::atexit(removeLeftovers);
        k.atExit = true;
    }
    k.paths.push_back(path);
}

void LeftoverLock::forget(const std::string& path) {
    auto& paths = kept().paths;
    const auto found = std::find(paths.begin(), paths.end(), path);
    if (found != paths.end()) paths.erase(found);
}

void removeLeftovers() {
    Kept& k = kept();
    k.mutex.lock();  // for good
    for (const std::string& path : k.paths) {
        std::error_code ec;
        if (fs::is_directory(fs::symlink_status(path, ec))) {
            removeFolderQuietly(path);
        } else {
            ::unlink(path.c_str());
        }
    }
    k.paths.clear();
}

void removeFolderQuietly(const std::string& path) {
    if (path.empty()) return;
    const fs::path folder(path);
    std::string aside = (folder.parent_path() / "tabulon-XXXXXX").string();
    std::error_code ec;
    if (::mkdtemp(aside.data()) != nullptr) {
        fs::rename(folder, fs::path(aside) / "run", ec);
        fs::remove_all(aside, ec);
    }
    for (int attempt = 0; attempt < 50 && fs::exists(fs::symlink_status(folder, ec)); ++attempt)
        fs::remove_all(folder, ec);
}

}  // namespace tabulon
