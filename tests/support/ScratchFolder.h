// A private temporary folder for one test, removed with the object, with helpers that build small
// file trees inside it.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace tabulon::testing {

class ScratchFolder {
  public:
    ScratchFolder() {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                ("tabulon_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path, without a trailing separator.
    const std::filesystem::path& path() const { return path_; }
    // The path of an entry below the folder ("A/B" uses the native separator); nothing is created.
    std::string file(const std::string& relative) const {
        return (path_ / std::filesystem::path(relative).make_preferred()).string();
    }
    // Creates a file (and its folders) holding a few bytes.
    std::string createFile(const std::string& relative) const {
        const std::string p = file(relative);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream(p) << "x";
        return p;
    }
    std::string createFolder(const std::string& relative) const {
        const std::string p = file(relative);
        std::filesystem::create_directories(p);
        return p;
    }
    // Takes the owner's write permission away: the entry becomes read-only.
    std::string readOnly(const std::string& relative) const {
        const std::string p = file(relative);
        std::filesystem::permissions(p, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        return p;
    }

  private:
    std::filesystem::path path_;
};

// The bytes of a file; empty when it cannot be read.
inline std::string bytesOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names of a folder's entries, sorted.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every entry of a folder with its bytes, by name; a folder as "/".
inline std::map<std::string, std::string> contentsOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const std::string& name : namesIn(folder))
        contents[name] =
            std::filesystem::is_directory(folder / name) ? "/" : bytesOf(folder / name);
    return contents;
}

}  // namespace tabulon::testing
