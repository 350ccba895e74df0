// Testing for, deleting and writing files.
#include "core/util/Files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/Error.h"

namespace fs = std::filesystem;

namespace tabulon {

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    static_cast<void>(fs::last_write_time(fs::path(path), ec));
    return !ec;
}

void DeleteFileQuietly(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec)) return;
    fs::remove(fs::path(path), ec);
}

void WriteTextFile(const std::string& text, const std::string& path, std::string_view end) {
    std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::error_code ec;
        const fs::path parent = fs::path(path).parent_path();
        if (path.empty() || (!parent.empty() && !fs::is_directory(parent, ec)))
            throw Error("Path not found: " + path);
        throw Error("Permission denied: " + path);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                         std::fwrite(end.data(), 1, end.size(), file) == end.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) throw Error("Device I/O error: " + path);
}

}  // namespace tabulon
