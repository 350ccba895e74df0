// Reads a text file back into text.
#include "core/export/ReadTextFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/Error.h"
#include "core/util/Files.h"
#include "core/util/Utf16.h"

namespace tabulon {

std::string ReadTextFile(const std::string& path) {
    if (!FileExists(path)) return "";
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw Error("Permission denied: " + path);
    std::string bytes;
    // Results can run to hundreds of megabytes: read them into one allocation.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get())) throw Error("Device I/O error: " + path);
    if (bytes.empty()) return "empty file";
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return utf16BytesToUtf8(bytes, true);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return utf16BytesToUtf8(bytes, false);
    return bytes;
}

}  // namespace tabulon
