// Writing one result's file into the output folder without ever leaving a cut file.
#include "core/export/ResultFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "core/Error.h"
#include "core/util/FileSink.h"
#include "core/util/Files.h"

namespace tabulon {
namespace {

constexpr std::size_t kChunk = 1 << 20;

// A new file beside `path` under a name of fixed length, so that a final name near the file
// system's length limit still gets a temporary one.
std::unique_ptr<FileSink> createPartFile(const std::string& path) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    for (int attempt = 0;; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".tabulon-%012llx.part",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        try {
            return std::make_unique<FileSink>((folder / name).string(), 0666);
        } catch (const FileError& e) {
            if (e.errorNumber() != EEXIST || attempt == 100)
                throw FileError(e.reason(), path, e.errorNumber());
        }
    }
}

void copyInto(const StoredText& text, FileSink& sink) {
    const int fd = ::open(text.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw SystemFileError(errno, text.path);
    // One buffer for every file of a save: a save of a million small results must not set up a
    // large buffer a million times.
    thread_local const std::unique_ptr<char[]> buffer(new char[kChunk]);
    try {
        for (;;) {
            const ssize_t got = ::read(fd, buffer.get(), kChunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw SystemFileError(errno, text.path);
            if (got == 0) break;
            sink.write({buffer.get(), static_cast<std::size_t>(got)});
        }
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

}  // namespace

void WriteResultFile(const StoredText& text, const std::string& path) {
    std::unique_ptr<FileSink> part = createPartFile(path);
    const std::string partPath = part->path();
    try {
        copyInto(text, *part);
        part->write("\r\n");
        part->close();
        if (std::rename(partPath.c_str(), path.c_str()) != 0) throw SystemFileError(errno, path);
    } catch (const FileError& e) {
        part.reset();
        DeleteFileQuietly(partPath);
        // A failure to read the stored text names that file; any other names the result's file.
        if (e.path() == text.path) throw;
        throw FileError(e.reason(), path, e.errorNumber());
    }
}

}  // namespace tabulon
