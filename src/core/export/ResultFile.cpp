// Writing one result's file into the output folder without ever leaving a cut file.
#include "core/export/ResultFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

// The file of a stored text, open for reading. The file that gathers a run's small texts is
// read for many results in a row, so it stays open until another file is asked for.
class StoredFile {
  public:
    ~StoredFile() { close(); }
    int open(const std::string& path) {
        if (fd_ >= 0 && path == path_) return fd_;
        close();
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) throw SystemFileError(errno, path);
        path_ = path;
        return fd_;
    }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace

void ReadStoredText(const StoredText& text, const std::function<void(std::string_view)>& write) {
    thread_local StoredFile stored;
    const int fd = stored.open(text.path);
    // One buffer for every file of a save: a save of a million small results must not set up a
    // large buffer a million times.
    thread_local const std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (std::uint64_t done = 0; done < text.size;) {
        const ssize_t got = ::pread(fd, buffer.get(), std::min<std::uint64_t>(text.size - done, kChunk),
                                    static_cast<off_t>(text.offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            stored.close();
            throw SystemFileError(error, text.path);
        }
        if (got == 0) {
            stored.close();
            throw FileError("Input past end of file", text.path);
        }
        write({buffer.get(), static_cast<std::size_t>(got)});
        done += static_cast<std::uint64_t>(got);
    }
    // A file of its own is read once; it is not kept open.
    if (text.offset == 0) stored.close();
}

void WriteResultFile(const StoredText& text, const std::string& path, std::string_view end) {
    std::unique_ptr<FileSink> part = createPartFile(path);
    const std::string partPath = part->path();
    try {
        ReadStoredText(text, [&](std::string_view bytes) { part->write(bytes); });
        part->write(end);
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
