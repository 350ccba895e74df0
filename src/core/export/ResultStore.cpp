// The results of one export run, each kept in a file of the run's private folder.
#include "core/export/ResultStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/Error.h"
#include "core/export/ReadTextFile.h"
#include "core/util/FileSink.h"
#include "core/util/Files.h"
#include "core/util/PathText.h"

namespace tabulon {
namespace {

// True when the file starts with a UTF-16 byte-order mark, which the read-back turns into text.
bool startsWithByteOrderMark(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw SystemFileError(errno, path);
    unsigned char head[2] = {0, 0};
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got == 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF));
}

}  // namespace

void ResultStore::reset() {
    texts_.clear();
    folder_.remove();
}

void ResultStore::clear() {
    for (const StoredText& text : texts_) DeleteFileQuietly(text.path);
    texts_.clear();
}

StoredText ResultStore::keep(const std::string& tempPath) {
    const std::string path = JoinPath(std::filesystem::path(tempPath).parent_path().string(),
                                      std::to_string(++kept_) + ".result");
    if (startsWithByteOrderMark(tempPath)) {
        const std::string text = ReadTextFile(tempPath);
        FileSink sink(path);
        sink.write(text);
        sink.close();
        return {path, text.size()};
    }
    // A second name for the same file: no copy, and it fails when the name is taken.
    if (::link(tempPath.c_str(), path.c_str()) != 0) throw SystemFileError(errno, path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) throw SystemFileError(ec.value(), path);
    return {path, size};
}

}  // namespace tabulon
