// A new file, created exclusively and never through a link, written with large buffered writes.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

class FileSink {
  public:
    // Creates the file; fails when any entry of that name exists, a link included. `mode` is
    // narrowed by the process's umask. Throws FileError with the system's reason.
    explicit FileSink(std::string path, mode_t mode = 0600);
    // Takes over `fd`, a file open for writing, known by `path` in messages.
    FileSink(int fd, std::string path) : path_(std::move(path)), fd_(fd) {}
    ~FileSink();
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void write(std::string_view bytes);
    // Writes what is buffered; throws FileError.
    void flush();
    // Writes what is buffered and closes the file; throws FileError.
    void close();
    int fd() const { return fd_; }

    const std::string& path() const { return path_; }
    // Bytes written so far, the buffered ones included.
    std::uint64_t size() const { return size_; }

  private:

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t size_ = 0;
};

// The call that writes bytes to a file descriptor, as write(2) does. Tests put a failing one in
// place to act out a full disk; nullptr restores write(2).
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
void SetWriteCall(WriteCall call);

// Writes all of `bytes` to `fd` through the write call in place; throws FileError with the
// system's reason and `path`.
void WriteAll(int fd, std::string_view bytes, const std::string& path);

}  // namespace tabulon
