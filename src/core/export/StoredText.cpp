// One result's text, kept in a file of the run's private folder.
#include "core/export/StoredText.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/Error.h"

namespace tabulon {

std::string StoredText::read() const {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw SystemFileError(errno, path);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (got != bytes.size()) throw SystemFileError(std::ferror(file.get()) ? errno : EIO, path);
    return bytes;
}

}  // namespace tabulon
